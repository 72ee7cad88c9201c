#include "RecordDialogCommands.h"

#include "AddRecordDialog.h"
#include "ColumnTitlesDialog.h"
#include "EditRecordDialog.h"
#include "base/DesktopServices.h"
#include "records/RecordCommands.h"

RecordDialogCommands::RecordDialogCommands(RecordCommands &commands, DesktopServices &desktop, ErrorReporter &errors,
                                           QWidget *owner)
    : m_commands(commands)
    , m_desktop(desktop)
    , m_errors(errors)
    , m_owner(owner)
{
}

void RecordDialogCommands::showModeless(QWidget *dialog)
{
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
    dialog->activateWindow();
}

void RecordDialogCommands::openAdd()
{
    m_commands.beginAdd();
    showModeless(new AddRecordDialog(m_commands, m_errors, m_owner));
}

void RecordDialogCommands::openEdit()
{
    if (const std::optional<int> row = m_commands.beginEdit())
        showModeless(new EditRecordDialog(m_commands, m_errors, *row, m_owner));
}

void RecordDialogCommands::openView()
{
    if (const std::optional<int> row = m_commands.beginView()) {
        EditRecordDialog dialog(m_commands, m_errors, *row, m_owner);
        dialog.setViewMode();
        m_desktop.execDialog(dialog);
    }
}

void RecordDialogCommands::openColumnTitles()
{
    m_commands.beginColumns();
    showModeless(new ColumnTitlesDialog(m_commands, m_errors, m_owner));
}
