#include "SafeWrite.h"

#include "FileDescriptor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <new>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Errors are errno values, 0 for success, until the top turns one into words.
using Error = int;

QString reasonOf(Error error)
{
    return qt_error_string(error);
}

// The errors of a folder that takes no new file while its files may still be
// written: no right to add an entry, or no inode left for one.
bool folderRefusesNewFile(Error error)
{
    return error == EACCES || error == EPERM || error == ENOSPC || error == EDQUOT;
}

// The writer's result; running out of memory is a failure like any other,
// so that the new file is removed all the same.
Error runWriter(const SafeWrite::ContentWriter &write, int fd)
{
    try {
        return write(fd);
    } catch (const std::bad_alloc &) {
        return ENOMEM;
    }
}

std::atomic<std::int64_t> g_syncNanoseconds{0};

// Adds the time from its making to its end to syncTime().
class SyncClock
{
public:
    SyncClock()
        : m_start(std::chrono::steady_clock::now())
    {
    }
    ~SyncClock()
    {
        const auto spent = std::chrono::steady_clock::now() - m_start;
        g_syncNanoseconds += std::chrono::duration_cast<std::chrono::nanoseconds>(spent).count();
    }
    SyncClock(const SyncClock &) = delete;
    SyncClock &operator=(const SyncClock &) = delete;

private:
    std::chrono::steady_clock::time_point m_start;
};

Error syncData(int fd)
{
    const SyncClock clock;
    while (::fdatasync(fd) != 0) {
        if (errno != EINTR)
            return errno;
    }
    return 0;
}

// The rename is already done when the folder is synced, so its failure is
// not reported: the target holds the new bytes, and a folder that cannot be
// synced (some network and FUSE file systems) would otherwise fail every save.
void syncFolder(const QByteArray &folder)
{
    const FileDescriptor fd(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    const SyncClock clock;
    if (fd.isOpen())
        ::fsync(fd.get());
}

struct Target
{
    QByteArray path;
    QByteArray folder;
    QByteArray name;
    bool exists = false;
    struct stat status
    {};
    int permissions = -1; // asked for; otherwise the old file's
};

// The file a path names, a symbolic link followed.
QString resolved(const QString &path)
{
    const QFileInfo info(path);
    if (info.isSymLink()) {
        const QString canonical = info.canonicalFilePath();
        return canonical.isEmpty() ? info.symLinkTarget() : canonical;
    }
    return info.absoluteFilePath();
}

// Nothing when the path may be replaced.
std::optional<QString> inspect(const QString &path, const SafeWrite::Options &options, Target &target)
{
    const QFileInfo info(options.followLinks ? resolved(path) : QFileInfo(path).absoluteFilePath());
    target.path = QFile::encodeName(info.absoluteFilePath());
    target.folder = QFile::encodeName(info.absolutePath());
    target.name = QFile::encodeName(info.fileName());
    target.permissions = options.permissions;
    if (!options.followLinks && ::lstat(target.path.constData(), &target.status) == 0
        && S_ISLNK(target.status.st_mode)) {
        return std::nullopt; // the rename puts the new file in the link's place
    }
    if (::stat(target.path.constData(), &target.status) == 0) {
        target.exists = true;
        if (S_ISDIR(target.status.st_mode))
            return reasonOf(EISDIR);
        if (!S_ISREG(target.status.st_mode))
            return QStringLiteral("Not a regular file");
        // A file its owner made read-only is not replaced behind their back.
        if (::access(target.path.constData(), W_OK) != 0)
            return reasonOf(errno);
    } else if (errno != ENOENT) {
        return reasonOf(errno);
    }
    return std::nullopt;
}

// A name in the target's folder for the new file: hidden, after the target,
// short enough for any file system.
QByteArray temporaryPath(const Target &target)
{
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray suffix(8, '\0');
    for (char &c : suffix)
        c = kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters - 1))];
    return target.folder + "/." + target.name.left(200) + '.' + suffix;
}

// The new file before it takes the target's place. Where the system offers
// unnamed files, it gets its name only once it is complete, so an
// interrupted write leaves nothing behind in the folder.
struct NewFile
{
    FileDescriptor fd;
    QByteArray path; // empty while unnamed
};

Error create(const Target &target, NewFile &file)
{
    const mode_t mode = target.permissions >= 0 ? mode_t(target.permissions)
        : target.exists                         ? (target.status.st_mode & 07777)
                                                : 0666; // less the umask
#ifdef O_TMPFILE
    if (::access("/proc/self/fd", X_OK) == 0) {
        file.fd = FileDescriptor(::open(target.folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode));
        if (file.fd.isOpen())
            return 0;
        // Not offered by this file system (or kernel): a named file instead.
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            return errno;
    }
#endif
    for (int attempt = 0; attempt < 100; ++attempt) {
        file.path = temporaryPath(target);
        file.fd = FileDescriptor(::open(file.path.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, mode));
        if (file.fd.isOpen())
            return 0;
        if (errno != EEXIST)
            break;
    }
    const Error error = errno;
    file.path.clear();
    return error;
}

// Gives an unnamed file its temporary name.
Error name(const Target &target, NewFile &file)
{
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(file.fd.get());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray path = temporaryPath(target);
        if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, path.constData(), AT_SYMLINK_FOLLOW) == 0) {
            file.path = path;
            return 0;
        }
        if (errno != EEXIST)
            return errno;
    }
    return EEXIST;
}

// Writes, syncs, names and closes the new file, then renames it over the
// target. Whatever fails, the new file is removed and the target untouched.
Error writeAndRename(const Target &target, NewFile &file, const SafeWrite::ContentWriter &write)
{
    if (target.permissions >= 0) {
        ::fchmod(file.fd.get(), mode_t(target.permissions));
    } else if (target.exists) {
        // The replacement keeps the old file's permissions and, where the
        // writer may give it, its owner (best effort).
        ::fchmod(file.fd.get(), target.status.st_mode & 07777);
        if ((target.status.st_uid != ::geteuid() || target.status.st_gid != ::getegid())
            && ::fchown(file.fd.get(), target.status.st_uid, target.status.st_gid) != 0) {
            // kept by the writer: only a privileged writer may give files away
        }
    }
    Error error = runWriter(write, file.fd.get());
    if (!error)
        error = syncData(file.fd.get());
    if (!error && file.path.isEmpty())
        error = name(target, file);
    if (!error)
        error = file.fd.close();
    if (!error && ::rename(file.path.constData(), target.path.constData()) != 0)
        error = errno;
    if (error) {
        if (!file.path.isEmpty())
            ::unlink(file.path.constData());
        return error;
    }
    syncFolder(target.folder);
    return 0;
}

// Overwrites the existing target where no new file can be made beside it.
Error writeInPlace(const Target &target, qint64 size, const SafeWrite::ContentWriter &write)
{
    FileDescriptor fd(::open(target.path.constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!fd.isOpen())
        return errno;
    struct stat status
    {};
    if (::fstat(fd.get(), &status) != 0)
        return errno;
    if (!S_ISREG(status.st_mode)) // put in the file's place since the look
        return EINVAL;
    // Reserving the room first makes a full disk fail before the first byte
    // of the old content changes. File systems without reservation go on.
    if (size > status.st_size) {
        int result;
        while ((result = ::fallocate(fd.get(), FALLOC_FL_KEEP_SIZE, 0, off_t(size))) != 0 && errno == EINTR) {
        }
        if (result != 0 && errno != EOPNOTSUPP)
            return errno;
    }
    Error error = runWriter(write, fd.get());
    if (!error && size < status.st_size) {
        while (::ftruncate(fd.get(), off_t(size)) != 0) {
            if (errno != EINTR) {
                error = errno;
                break;
            }
        }
    }
    if (!error)
        error = syncData(fd.get());
    if (!error)
        error = fd.close();
    return error;
}

QString folderRefusal(const Target &target, Error error)
{
    return reasonOf(error)
        + QStringLiteral(". В папке \"%1\" нельзя создать новый файл.")
              .arg(QDir::toNativeSeparators(QFile::decodeName(target.folder)));
}

} // namespace

namespace SafeWrite {

std::optional<QString> replaceFile(const QString &path, QByteArrayView bytes, InPlace inPlace)
{
    return replaceFile(
        path, bytes.size(), [bytes](int fd) { return writeAt(fd, 0, bytes); }, inPlace);
}

std::optional<QString> replaceFile(const QString &path, QByteArrayView bytes, const Options &options)
{
    return replaceFile(
        path, bytes.size(), [bytes](int fd) { return writeAt(fd, 0, bytes); }, options);
}

std::optional<QString> replaceFile(const QString &path, qint64 size, const ContentWriter &write, InPlace inPlace)
{
    Options options;
    options.inPlace = inPlace;
    return replaceFile(path, size, write, options);
}

std::optional<QString> replaceFile(const QString &path, qint64 size, const ContentWriter &write, const Options &options)
{
    const InPlace inPlace = options.inPlace;
    Target target;
    if (auto refusal = inspect(path, options, target))
        return refusal;
    NewFile file;
    if (const Error error = create(target, file)) {
        if (!folderRefusesNewFile(error))
            return reasonOf(error);
        if (inPlace == InPlace::Never || !target.exists)
            return folderRefusal(target, error);
        if (const Error inPlaceError = writeInPlace(target, size, write))
            return reasonOf(inPlaceError);
        return std::nullopt;
    }
    if (const Error error = writeAndRename(target, file, write))
        return reasonOf(error);
    return std::nullopt;
}

std::optional<QString> removeFile(const QString &path)
{
    const QByteArray name = QFile::encodeName(QFileInfo(path).absoluteFilePath());
    if (::unlink(name.constData()) != 0 && errno != ENOENT)
        return reasonOf(errno);
    syncFolder(QFile::encodeName(QFileInfo(path).absolutePath()));
    return std::nullopt;
}

struct Replacement::Files
{
    Target target;
    NewFile file;
};

Replacement::Replacement(const QString &path)
    : m_files(std::make_unique<Files>())
{
    if ((m_failure = inspect(path, Options(), m_files->target))) {
        m_files.reset();
    } else if (const Error error = create(m_files->target, m_files->file)) {
        m_failure = folderRefusesNewFile(error) ? folderRefusal(m_files->target, error) : reasonOf(error);
        m_files.reset();
    }
}

Replacement::~Replacement()
{
    discard();
}

void Replacement::discard()
{
    if (m_files && !m_files->file.path.isEmpty())
        ::unlink(m_files->file.path.constData());
    m_files.reset();
}

bool Replacement::append(QByteArrayView bytes)
{
    if (!m_files)
        return false;
    if (const Error error = writeAt(m_files->file.fd.get(), m_size, bytes)) {
        m_failure = reasonOf(error);
        discard();
        return false;
    }
    m_size += bytes.size();
    return true;
}

std::optional<QString> Replacement::commit()
{
    if (!m_files)
        return m_failure;
    // Every byte is in the new file already; writeAndRename removes it when
    // a step fails.
    const Error error = writeAndRename(m_files->target, m_files->file, [](int) { return 0; });
    m_files->file.path.clear();
    m_files.reset();
    if (error)
        m_failure = reasonOf(error);
    return m_failure;
}

QString nativeFullPath(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

int writeAt(int fd, qint64 offset, QByteArrayView bytes)
{
    const char *data = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const size_t piece = size_t(std::min<qsizetype>(left, qsizetype(1) << 30));
        const ssize_t n = ::pwrite(fd, data, piece, off_t(offset));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return EIO;
        data += n;
        offset += n;
        left -= n;
    }
    return 0;
}

std::chrono::nanoseconds syncTime()
{
    return std::chrono::nanoseconds(g_syncNanoseconds.load());
}

} // namespace SafeWrite
