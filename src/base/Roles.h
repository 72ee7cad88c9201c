#pragma once

#include <QString>

// The Roles, as an account slot of data/other.dat stores them and the status
// bar shows the current one. A Role is its text: a slot may hold any text,
// which counts as an ordinary user's. Roles compare exactly, case included.
namespace Roles {

// Every right; the built-in administrator's, never stored in a slot.
inline constexpr QLatin1StringView kAdministrator{"admin"};
// The database rights, and the administrative ones the moderator's keys grant.
inline constexpr QLatin1StringView kModerator{"moder"};
// An ordinary user, as the user manager stores one.
inline constexpr QLatin1StringView kGuest{"guest"};
// An ordinary user whose slot holds no Role at all.
inline constexpr QLatin1StringView kUnset{"user"};

} // namespace Roles
