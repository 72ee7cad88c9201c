#include "EditRecordDialog.h"

#include "base/ui/DialogParts.h"
#include "records/RecordCommands.h"

#include <QPushButton>

EditRecordDialog::EditRecordDialog(RecordCommands &commands, ErrorReporter &errors, int row, QWidget *parent)
    : RecordDialog(commands.titles(), QStringLiteral("EditRecordDialog"),
                   QStringLiteral("Tablora 1.5 [Изменить запись]"), QStringLiteral("Изменить"), QSize(406, 366), parent)
    , m_commands(commands)
    , m_record(commands.anchorRecord(row, this))
{
    m_okButton = DialogParts::button(this, QStringLiteral("okButton"), QStringLiteral("OK"), QRect(8, 336, 75, 25));
    m_okButton->hide();
    setTabOrder(m_cancelButton, m_okButton);
    setCells(commands.record(row));
    DialogParts::onClick(m_confirmButton, errors, [this] { onChangeRecordClicked(); });
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);
}

void EditRecordDialog::setViewMode()
{
    setWindowTitle(QStringLiteral("Tablora 1.5 [Просмотр записи]"));
    m_confirmButton->hide();
    m_cancelButton->hide();
    m_confirmButton->setDefault(false);
    m_okButton->show();
    m_okButton->setDefault(true);
}

void EditRecordDialog::onChangeRecordClicked()
{
    if (m_commands.writeRecord(*m_record, cells()))
        accept();
}
