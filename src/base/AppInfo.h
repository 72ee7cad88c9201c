#pragma once

#include <QString>

// Fixed facts about the program that several windows and files quote.
namespace AppInfo {

inline constexpr QLatin1StringView kTitle{"Tablora 1.5"};

// Host name of the program's web site, used by the error log, the help menu and
// the update check.
inline constexpr QLatin1StringView kSiteHost{"tablora.example.org"};

inline QString programPageAddress()
{
    return QStringLiteral("http://") + kSiteHost + QStringLiteral("/soft/tablora.php");
}

} // namespace AppInfo
