#include "TAddForm.h"

#include "RecordCommands.h"
#include "users/DialogParts.h"

TAddForm::TAddForm(RecordCommands &commands, ErrorReporter &errors, QWidget *parent)
    : RecordForm(commands.titles(), QStringLiteral("AddForm"), QStringLiteral("Tablora 1.5 [Добавить запись]"),
                 QStringLiteral("Добавить"), QSize(407, 366), parent)
    , m_commands(commands)
{
    DialogParts::onClick(BitBtn1, errors, [this] { BitBtn1Click(); });
}

void TAddForm::BitBtn1Click()
{
    m_commands.appendRecord(cells());
    accept();
}
