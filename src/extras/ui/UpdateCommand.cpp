#include "UpdateCommand.h"

#include "UpdateDialog.h"
#include "base/SettingKeys.h"
#include "document/Document.h"
#include "document/FileCommands.h"
#include "document/RecoveryCopy.h"
#include "extras/UpdateSignature.h"
#include "users/Accounts.h"

UpdateCommand::UpdateCommand(const Document &document, const Settings &settings, FileCommands &files,
                             RecoveryCopy &recovery, DesktopServices &desktop, ErrorReporter &errors,
                             const ProgramDir &dir)
    : m_document(document)
    , m_settings(settings)
    , m_files(files)
    , m_recovery(recovery)
    , m_desktop(desktop)
    , m_errors(errors)
    , m_dir(dir)
    , m_trustedKey(UpdateSignature::projectKey())
{
}

void UpdateCommand::checkUpdate(QWidget *parent)
{
    Accounts::checkRights(m_settings, m_document.role(), Keys::pravaUpdateProgram());
    UpdateDialog dialog(
        m_desktop, m_errors, m_dir, m_trustedKey, [this] { return m_files.promptStep(); }, parent);
    m_desktop.execDialog(dialog);
    // The updater runs: the changes were saved or given up.
    if (m_desktop.terminateRequested())
        m_recovery.discard();
}
