#include "RecordDialogs.h"

#include "RecordCommands.h"
#include "TAddForm.h"
#include "TBaseForm.h"
#include "TEditForm.h"
#include "base/DesktopServices.h"

RecordDialogs::RecordDialogs(RecordCommands &commands, DesktopServices &desktop, ErrorReporter &errors,
                             QWidget *owner)
    : m_commands(commands)
    , m_desktop(desktop)
    , m_errors(errors)
    , m_owner(owner)
{
}

void RecordDialogs::showModeless(QWidget *dialog)
{
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
    dialog->activateWindow();
}

void RecordDialogs::openAdd()
{
    m_commands.beginAdd();
    showModeless(new TAddForm(m_commands, m_errors, m_owner));
}

void RecordDialogs::openEdit()
{
    if (const std::optional<Record> record = m_commands.beginEdit())
        showModeless(new TEditForm(m_commands, m_errors, *record, m_owner));
}

void RecordDialogs::openView()
{
    if (const std::optional<Record> record = m_commands.beginView()) {
        TEditForm form(m_commands, m_errors, *record, m_owner);
        form.setViewMode();
        m_desktop.execDialog(form);
    }
}

void RecordDialogs::openColumns()
{
    m_commands.beginColumns();
    showModeless(new TBaseForm(m_commands, m_errors, m_owner));
}
