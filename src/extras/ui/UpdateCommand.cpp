#include "UpdateCommand.h"

#include "UpdateDialog.h"
#include "base/SettingKeys.h"
#include "document/Document.h"
#include "document/FileCommands.h"
#include "users/Accounts.h"

UpdateCommand::UpdateCommand(const Document &document, const Settings &settings, FileCommands &files,
                             DesktopServices &desktop, ErrorReporter &errors, const ProgramDir &dir)
    : m_document(document)
    , m_settings(settings)
    , m_files(files)
    , m_desktop(desktop)
    , m_errors(errors)
    , m_dir(dir)
{
}

void UpdateCommand::checkUpdate(QWidget *parent)
{
    Accounts::checkRights(m_settings, m_document.role(), Keys::userMayUpdateProgram());
    UpdateDialog dialog(
        m_desktop, m_errors, m_dir, [this] { return m_files.promptStep(); }, parent);
    m_desktop.execDialog(dialog);
}
