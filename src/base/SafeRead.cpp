#include "SafeRead.h"

#include "FileDescriptor.h"
#include "Parallel.h"
#include "WorkProgress.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <new>
#include <vector>

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

// One read of up to room bytes into into, at offset (pread) or, for a
// negative offset, at the file's own position (read); an interrupted read is
// made again. The bytes read, 0 at the end of the file, or -errno.
qint64 readOnce(int fd, char *into, size_t room, qint64 offset)
{
    for (;;) {
        const ssize_t n = offset < 0 ? ::read(fd, into, room) : ::pread(fd, into, room, off_t(offset));
        if (n >= 0 || errno != EINTR)
            return n < 0 ? -errno : n;
    }
}

// The most one read takes when the progress is reported: a few
// milliseconds' worth from the page cache, far more from a disk.
constexpr qint64 kReportedRead = qint64(4) << 20;

// Reads [begin, end) of the file into data + begin, as far as the file
// goes: 0 and the bytes read in count, or the errno of the read that failed
// (ECANCELED for a stop asked for).
int readRange(int fd, char *data, qint64 begin, qint64 end, qint64 &count, WorkProgress *progress)
{
    for (count = 0; begin + count < end;) {
        const qint64 room = end - begin - count;
        const qint64 n = readOnce(fd, data + begin + count, size_t(progress ? std::min(room, kReportedRead) : room),
                                  begin + count);
        if (n < 0)
            return int(-n);
        if (n == 0)
            break;
        count += n;
        if (progress) {
            progress->advance(n);
            if (progress->stopRequested())
                return ECANCELED;
        }
    }
    return 0;
}

// Reads the measured size of a large file in parts at once, one thread
// each, so that the copying and the filling of the memory use every
// processor. Returns 0 and the bytes read up to the first end of the file
// in used, or the errno of the first read that failed. The file's offset
// is left at used.
int readInParts(int fd, char *data, qint64 measured, qsizetype &used, WorkProgress *progress)
{
    const int parts = Parallel::partsFor(measured, qint64(8) << 20);
    std::vector<qint64> counts(size_t(parts), 0);
    std::vector<int> errors(size_t(parts), 0);
    Parallel::forEachPart(parts, [&](int part) {
        errors[size_t(part)] = readRange(fd, data, measured * part / parts, measured * (part + 1) / parts,
                                         counts[size_t(part)], progress);
    });
    used = 0;
    for (int part = 0; part < parts; ++part) {
        if (errors[size_t(part)] != 0)
            return errors[size_t(part)];
        used += counts[size_t(part)];
        if (counts[size_t(part)] < measured * (part + 1) / parts - measured * part / parts)
            break; // the file ended here: it shrank since it was measured
    }
    return ::lseek(fd, off_t(used), SEEK_SET) < 0 ? errno : 0;
}

// Reads to the end. The buffer starts at the measured size, read in parts;
// a file that grows meanwhile, or reports no size as files under /proc do,
// is read on in small pieces up to the limit.
int readAll(int fd, qint64 measured, qint64 maxSize, QByteArray &bytes, WorkProgress *progress)
{
    bytes = QByteArray(qsizetype(measured), Qt::Uninitialized);
    qsizetype used = 0;
    if (const int error = readInParts(fd, bytes.data(), measured, used, progress))
        return error;
    if (used < measured) {
        bytes.truncate(used);
        return 0;
    }
    // What the file grew by since it was measured, up to the limit.
    char more[65536];
    for (;;) {
        const qint64 n = readOnce(fd, more, sizeof more, -1);
        if (n < 0)
            return int(-n);
        if (n == 0)
            break;
        if (bytes.size() + n > maxSize)
            return EFBIG;
        bytes.append(more, n);
    }
    return 0;
}

} // namespace

namespace SafeRead {

Content wholeFile(const QString &path, qint64 maxSize, WorkProgress *progress)
{
    Content content;
    const QByteArray name = QFile::encodeName(path);
    struct stat status
    {};
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
        if (const int error = readAll(fd.get(), status.st_size, maxSize, content.bytes, progress)) {
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
