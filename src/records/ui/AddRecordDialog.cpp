#include "AddRecordDialog.h"

#include "base/ui/DialogParts.h"
#include "records/RecordCommands.h"

AddRecordDialog::AddRecordDialog(RecordCommands &commands, ErrorReporter &errors, QWidget *parent)
    : RecordDialog(commands.titles(), QStringLiteral("AddRecordDialog"),
                   QStringLiteral("Tablora 1.5 [Добавить запись]"), QStringLiteral("Добавить"), QSize(407, 366), parent)
    , m_commands(commands)
{
    DialogParts::onClick(m_confirmButton, errors, [this] { onAddRecordClicked(); });
}

void AddRecordDialog::onAddRecordClicked()
{
    m_commands.appendRecord(cells());
    accept();
}
