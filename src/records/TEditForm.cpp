#include "TEditForm.h"

#include "RecordCommands.h"
#include "users/DialogParts.h"

#include <QPushButton>

TEditForm::TEditForm(RecordCommands &commands, ErrorReporter &errors, const Record &record, QWidget *parent)
    : RecordForm(commands.titles(), QStringLiteral("EditForm"), QStringLiteral("Tablora 1.5 [Изменить запись]"),
                 QStringLiteral("Изменить"), QSize(406, 366), parent)
    , m_commands(commands)
{
    BitBtn3 = DialogParts::button(this, QStringLiteral("BitBtn3"), QStringLiteral("OK"), QRect(8, 336, 75, 25));
    BitBtn3->hide();
    setTabOrder(BitBtn2, BitBtn3);
    setCells(record);
    DialogParts::onClick(BitBtn1, errors, [this] { BitBtn1Click(); });
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
