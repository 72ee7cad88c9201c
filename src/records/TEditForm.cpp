#include "TEditForm.h"

#include "DialogFrame.h"
#include "RecordCommands.h"
#include "base/ErrorReporter.h"

#include <QPushButton>

TEditForm::TEditForm(RecordCommands &commands, ErrorReporter &errors, const Record &record, QWidget *parent)
    : RecordForm(commands.titles(), QStringLiteral("Tablora 1.5 [Изменить запись]"), QStringLiteral("Изменить"),
                 QSize(406, 366), parent)
    , m_commands(commands)
{
    setObjectName(QStringLiteral("EditForm"));
    BitBtn3 = DialogFrame::button(this, QStringLiteral("BitBtn3"), QStringLiteral("OK"), QRect(8, 336, 75, 25));
    BitBtn3->hide();
    setTabOrder(BitBtn2, BitBtn3);
    setCells(record);
    connect(BitBtn1, &QPushButton::clicked, this, [this, &errors] { errors.run([this] { BitBtn1Click(); }); });
    connect(BitBtn3, &QPushButton::clicked, this, &QDialog::accept);
}

void TEditForm::setViewMode()
{
    setWindowTitle(QStringLiteral("Tablora 1.5 [Просмотр записи]"));
    BitBtn1->hide();
    BitBtn2->hide();
    BitBtn1->setDefault(false);
    BitBtn3->show();
    BitBtn3->setDefault(true);
}

void TEditForm::BitBtn1Click()
{
    if (m_commands.writeSelected(cells()))
        accept();
}
