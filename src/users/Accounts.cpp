#include "Accounts.h"

#include "base/DesktopServices.h"
#include "base/Roles.h"
#include "base/SettingKeys.h"
#include "base/Settings.h"
#include "base/TabloraError.h"

namespace {

std::optional<QString> refuse(DesktopServices &desktop)
{
    desktop.showMessage(QStringLiteral("Ошибка"), Accounts::loginFailureMessage(), DesktopServices::Icon::Information);
    return std::nullopt;
}

} // namespace

namespace Accounts {

QString refusalMessage()
{
    return QStringLiteral("У Вас не достаточно прав, чтобы выполнить это действие. Обратитесь к администратору!");
}

QString loginFailureMessage()
{
    return QStringLiteral("Вы ввели не верный логин/пароль. Попробуйте ещё раз, проверьте состояние кнопки CAPS LOCK");
}

std::optional<QString> checkLogin(const Settings &settings, DesktopServices &desktop, const QString &login,
                                  const QString &password)
{
    if (!settings.read(Keys::questionOnStart()))
        return Roles::kAdministrator;
    if (login == settings.read(Keys::adminLogin())) {
        if (password != settings.read(Keys::adminPassword()))
            return refuse(desktop);
        return Roles::kAdministrator;
    }
    for (int n = 1; n <= kAccountSlotCount; ++n) {
        // A free slot is no account: an empty login never reaches its Role.
        const QString slotLogin = settings.read(Keys::login(n));
        if (slotLogin.isEmpty() || login != slotLogin)
            continue;
        // The first slot with this login decides.
        if (password != settings.read(Keys::password(n)))
            return refuse(desktop);
        return settings.read(Keys::slotRole(n));
    }
    return refuse(desktop);
}

void checkRights(const Settings &settings, const QString &role, const BoolKey &userKey)
{
    if (!hasRight(settings, role, userKey))
        throw TabloraError(refusalMessage());
}

bool hasRight(const Settings &settings, const QString &role, const BoolKey &userKey)
{
    return role == Roles::kAdministrator || role == Roles::kModerator || settings.read(userKey);
}

void checkRights(const Settings &settings, const QString &role, const BoolKey &moderatorKey, const BoolKey &userKey)
{
    if (role == Roles::kAdministrator)
        return;
    if (!settings.read(role == Roles::kModerator ? moderatorKey : userKey))
        throw TabloraError(refusalMessage());
}

} // namespace Accounts
