#pragma once

#include <QString>

#include <optional>

class DesktopServices;
class Settings;
struct BoolKey;

// Accounts, Roles and rights. Nothing is kept in memory: every check reads
// data/other.dat, so a change saved by a dialog takes effect at the next use.
//
// Roles: "admin" has every right; "moder" has the database rights and the
// administrative ones the moderator's keys grant (Keys::moderatorMay...); any
// other Role ("guest", "user", whatever a slot holds) is an ordinary user and
// has what the user's keys grant (Keys::userMay...). Roles compare exactly,
// case included.
namespace Accounts {

QString refusalMessage();
QString loginFailureMessage();

// Checks a login name and password against the administrator and the ten
// account slots. On success returns the Role they log in as; on failure shows
// the failure message and returns nothing. While the login question is
// switched off every input logs in as "admin". A slot whose login is empty is
// free and matches nothing; only the administrator's login may be empty, as
// it is before the first accounts are saved.
std::optional<QString> checkLogin(const Settings &settings, DesktopServices &desktop, const QString &login,
                                  const QString &password);

// The database form: "admin" and "moder" pass, any other Role needs the
// user's right userKey. Throws TabloraError with the refusal message.
void checkRights(const Settings &settings, const QString &role, const BoolKey &userKey);
// The same test without the refusal: whether the check would pass.
bool hasRight(const Settings &settings, const QString &role, const BoolKey &userKey);

// The administrative form: "admin" passes, "moder" needs moderatorKey, any
// other Role userKey.
void checkRights(const Settings &settings, const QString &role, const BoolKey &moderatorKey, const BoolKey &userKey);

} // namespace Accounts
