#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

// The one way the program replaces a whole file (databases, settings files,
// pages it writes). The bytes go to a temporary file beside the target, which
// replaces the target only when it is complete, so a failed or interrupted
// write leaves an existing file as it was.
namespace SafeWrite {

enum class InPlace {
    Never,       // a folder that takes no new file fails the write
    AsLastResort // a writable file in such a folder is written in place
};

// Replaces the file at path with bytes. Nothing on success; otherwise the
// system's reason for the failure.
std::optional<QString> replaceFile(const QString &path, QByteArrayView bytes, InPlace inPlace);

// The absolute path with the platform's separators, as messages name files.
QString nativeFullPath(const QString &path);

} // namespace SafeWrite
