#include "SafeRead.h"

#include "FileDescriptor.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <new>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Nothing for a regular file.
QString refusalOfKind(const struct stat &status)
{
    if (S_ISREG(status.st_mode))
        return QString();
    if (S_ISDIR(status.st_mode))
        return qt_error_string(EISDIR);
    return QStringLiteral("Not a regular file");
}

// Reads to the end. The buffer starts at the measured size; a file that
// grows meanwhile, or reports no size as files under /proc do, is read on
// in small pieces up to the limit.
int readAll(int fd, qint64 measured, qint64 maxSize, QByteArray &bytes)
{
    bytes = QByteArray(qsizetype(measured), Qt::Uninitialized);
    qsizetype used = 0;
    char more[65536];
    for (;;) {
        const bool full = used == bytes.size();
        char *into = full ? more : bytes.data() + used;
        const size_t room = full ? sizeof more : size_t(bytes.size() - used);
        const ssize_t n = ::read(fd, into, room);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            break;
        if (full) {
            if (bytes.size() + n > maxSize)
                return EFBIG;
            bytes.append(more, n);
        }
        used += n;
    }
    bytes.truncate(used);
    return 0;
}

} // namespace

namespace SafeRead {

Content wholeFile(const QString &path, qint64 maxSize)
{
    Content content;
    const QByteArray name = QFile::encodeName(path);
    struct stat status {};
    if (::stat(name.constData(), &status) != 0) {
        content.missing = errno == ENOENT || errno == ENOTDIR;
        content.failure = qt_error_string(errno);
        return content;
    }
    if (content.failure = refusalOfKind(status); !content.ok())
        return content;

    // Not blocking on open keeps a FIFO put in the file's place since the
    // look from stopping the program; the second look catches it.
    const FileDescriptor fd(::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!fd.isOpen() || ::fstat(fd.get(), &status) != 0) {
        content.failure = qt_error_string(errno);
        return content;
    }
    if (content.failure = refusalOfKind(status); !content.ok())
        return content;
    if (status.st_size > maxSize) {
        content.failure = qt_error_string(EFBIG);
        return content;
    }
    ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK);
    try {
        if (const int error = readAll(fd.get(), status.st_size, maxSize, content.bytes)) {
            content.bytes.clear();
            content.failure = qt_error_string(error);
        }
    } catch (const std::bad_alloc &) {
        content.bytes = QByteArray();
        content.failure = qt_error_string(ENOMEM);
    }
    return content;
}

} // namespace SafeRead
