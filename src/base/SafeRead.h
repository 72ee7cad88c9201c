#pragma once

#include <QByteArray>
#include <QString>

class WorkProgress;

// The one way the program reads a whole file (databases, settings files).
// Only regular files are read: a folder, device, FIFO or socket is refused
// without being opened, so neither /dev/zero nor a FIFO without a writer can
// take the program's memory or block it. A file larger than the caller's
// limit, or one for which memory runs out, is refused too.
namespace SafeRead {

struct Content
{
    QByteArray bytes;
    // Why the file could not be read, in the system's words ("Is a
    // directory"); empty when it was.
    QString failure;
    // The path names no file, or runs through a file as if it were a folder.
    bool missing = false;

    bool ok() const { return failure.isEmpty(); }
};

// With progress, the bytes read are reported as they come, and a stop
// asked for ends the read with ECANCELED's reason.
Content wholeFile(const QString &path, qint64 maxSize, WorkProgress *progress = nullptr);

} // namespace SafeRead
