#include "TAddForm.h"

#include "RecordCommands.h"
#include "base/ErrorReporter.h"

#include <QPushButton>

TAddForm::TAddForm(RecordCommands &commands, ErrorReporter &errors, QWidget *parent)
    : RecordForm(commands.titles(), QStringLiteral("Tablora 1.5 [Добавить запись]"), QStringLiteral("Добавить"),
                 QSize(407, 366), parent)
    , m_commands(commands)
{
    setObjectName(QStringLiteral("AddForm"));
    connect(BitBtn1, &QPushButton::clicked, this, [this, &errors] { errors.run([this] { BitBtn1Click(); }); });
}

void TAddForm::BitBtn1Click()
{
    m_commands.appendRecord(cells());
    accept();
}
