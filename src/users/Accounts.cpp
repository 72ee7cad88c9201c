#include "Accounts.h"

#include "base/DesktopServices.h"
#include "base/SettingKeys.h"
#include "base/Settings.h"
#include "base/TabloraError.h"

namespace {

const QString kAdmin = QStringLiteral("admin");
const QString kModer = QStringLiteral("moder");

bool refuse(DesktopServices &desktop)
{
    desktop.showMessage(QStringLiteral("Ошибка"), Accounts::loginFailureMessage(), DesktopServices::Icon::Information);
    return false;
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

bool checkLogin(const Settings &settings, DesktopServices &desktop, const QString &login, const QString &password,
                QString &role)
{
    if (!settings.read(Keys::questionOnStart())) {
        role = kAdmin;
        return true;
    }
    if (login == settings.read(Keys::adminLogin())) {
        if (password != settings.read(Keys::adminPassword()))
            return refuse(desktop);
        role = kAdmin;
        return true;
    }
    for (int n = 1; n <= kAccountSlotCount; ++n) {
        // A free slot is no account: an empty login never reaches its Role.
        const QString slotLogin = settings.read(Keys::login(n));
        if (slotLogin.isEmpty() || login != slotLogin)
            continue;
        // The first slot with this login decides.
        if (password != settings.read(Keys::password(n)))
            return refuse(desktop);
        role = settings.read(Keys::prava(n));
        return true;
    }
    return refuse(desktop);
}

void checkRights(const Settings &settings, const QString &role, const BoolKey &pravaKey)
{
    if (!hasRight(settings, role, pravaKey))
        throw TabloraError(refusalMessage());
}

bool hasRight(const Settings &settings, const QString &role, const BoolKey &pravaKey)
{
    return role == kAdmin || role == kModer || settings.read(pravaKey);
}

void checkRights(const Settings &settings, const QString &role, const BoolKey &moderKey, const BoolKey &pravaKey)
{
    if (role == kAdmin)
        return;
    if (!settings.read(role == kModer ? moderKey : pravaKey))
        throw TabloraError(refusalMessage());
}

} // namespace Accounts
