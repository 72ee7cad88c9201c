#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

// The version file of the update server, Windows-1251 text read as lines:
// line 1 holds the newest release's number as an integer, line 2 its version
// as the user is shown it; further lines are ignored. Only the numbers are
// compared, never the version texts.
namespace UpdateVersionFile {

// The release number of this program.
inline constexpr int kThisRelease = 2;

struct Newest
{
    int release = 0;
    QString version; // empty when the file has no line 2
};

// Nothing when line 1 is missing or not an integer.
std::optional<Newest> read(QByteArrayView content);

inline bool isNewer(const Newest &newest)
{
    return newest.release > kThisRelease;
}

} // namespace UpdateVersionFile
