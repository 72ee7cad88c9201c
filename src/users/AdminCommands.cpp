#include "AdminCommands.h"

#include "Accounts.h"
#include "SettingKeys.h"
#include "TManagerForm.h"
#include "TOptionsForm.h"
#include "base/DesktopServices.h"

namespace AdminCommands {

void Manager(Settings &settings, DesktopServices &desktop, ErrorReporter &errors, const ProgramDir &dir,
             const QString &role, const QString &messageCaption, QWidget *parent)
{
    Accounts::RightsCheck(settings, role, Keys::moderEditUsers(), Keys::pravaManager());
    TManagerForm form(settings, desktop, errors, dir, messageCaption, parent);
    desktop.execDialog(form);
}

void Options(Settings &settings, DesktopServices &desktop, ErrorReporter &errors, const ProgramDir &dir,
             const QString &role, QWidget *parent, const std::function<void()> &applyTableLook)
{
    Accounts::RightsCheck(settings, role, Keys::moderEditOptions(), Keys::pravaEditOptions());
    {
        TOptionsForm form(settings, desktop, errors, dir, parent);
        desktop.execDialog(form);
    }
    applyTableLook();
}

} // namespace AdminCommands
