#include "AdminCommands.h"

#include "SettingsDialog.h"
#include "UserManagerDialog.h"
#include "base/DesktopServices.h"
#include "base/SettingKeys.h"
#include "users/Accounts.h"

namespace AdminCommands {

void openUserManager(Settings &settings, DesktopServices &desktop, ErrorReporter &errors, const ProgramDir &dir,
                     const QString &role, const QString &messageCaption, QWidget *parent)
{
    Accounts::checkRights(settings, role, Keys::moderEditUsers(), Keys::pravaManager());
    UserManagerDialog dialog(settings, desktop, errors, dir, messageCaption, parent);
    desktop.execDialog(dialog);
}

void openProgramSettings(Settings &settings, DesktopServices &desktop, ErrorReporter &errors, const ProgramDir &dir,
                         const QString &role, QWidget *parent, const std::function<void()> &applyTableLook)
{
    Accounts::checkRights(settings, role, Keys::moderEditOptions(), Keys::pravaEditOptions());
    {
        SettingsDialog dialog(settings, desktop, errors, dir, parent);
        desktop.execDialog(dialog);
    }
    applyTableLook();
}

} // namespace AdminCommands
