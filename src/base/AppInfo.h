#pragma once

#include <QString>

// Fixed facts about the program that several windows and files quote.
namespace AppInfo {

inline constexpr QLatin1StringView kTitle{"Tablora 1.5"};

// Host name of the program's web site, used by the error log, the help menu and
// the update check. It lies in a domain reserved for examples, so no link of
// the program reaches a stranger's server.
inline constexpr QLatin1StringView kSiteHost{"tablora.example.org"};

// The author's e-mail address, used by the help menu's mail commands and the
// about box; in the same reserved domain as the site.
inline constexpr QLatin1StringView kAuthorMail{"dev@tablora.example.org"};

// "http://", the host, then the path if any.
inline QString siteAddress(QLatin1StringView path = {})
{
    return QStringLiteral("http://") + kSiteHost + path;
}

// "mailto:" and the author's address, then the query ("?subject=...") if any.
inline QString authorMailLink(QLatin1StringView query = {})
{
    return QStringLiteral("mailto:") + kAuthorMail + query;
}

inline QString programPageAddress()
{
    return siteAddress(QLatin1StringView("/soft/tablora.php"));
}

} // namespace AppInfo
