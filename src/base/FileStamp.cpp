#include "FileStamp.h"

#include "FileDescriptor.h"

#include <QFile>

#include <cerrno>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xxhash.h>

namespace {

constexpr size_t kChunkBytes = size_t(1) << 20;

qint64 nanoseconds(const struct timespec &time)
{
    return qint64(time.tv_sec) * 1000000000 + time.tv_nsec;
}

// The XXH3 hash (128 bits) of everything fd holds from its start; empty when
// a read fails.
QByteArray hashOf(int fd)
{
    const std::unique_ptr<XXH3_state_t, decltype(&XXH3_freeState)> state(XXH3_createState(), &XXH3_freeState);
    if (!state || XXH3_128bits_reset(state.get()) != XXH_OK)
        return {};
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    const std::unique_ptr<char[]> buffer(new char[kChunkBytes]);
    for (;;) {
        const ssize_t n = ::read(fd, buffer.get(), kChunkBytes);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return {};
        if (n == 0)
            break;
        XXH3_128bits_update(state.get(), buffer.get(), size_t(n));
    }
    XXH128_canonical_t canonical;
    XXH128_canonicalFromHash(&canonical, XXH3_128bits_digest(state.get()));
    return QByteArray(reinterpret_cast<const char *>(canonical.digest), sizeof canonical.digest);
}

} // namespace

FileStamp FileStamp::of(const QString &path)
{
    FileStamp stamp;
    stamp.m_known = true;
    const QByteArray name = QFile::encodeName(path);
    struct stat status
    {};
    if (::stat(name.constData(), &status) != 0)
        return stamp;
    stamp.m_exists = true;
    stamp.m_device = qint64(status.st_dev);
    stamp.m_inode = qint64(status.st_ino);
    stamp.m_size = qint64(status.st_size);
    stamp.m_modified = nanoseconds(status.st_mtim);
    stamp.m_changed = nanoseconds(status.st_ctim);
    if (!S_ISREG(status.st_mode))
        return stamp;
    // A file that cannot be read keeps an empty digest; the rest still tells
    // a change.
    const FileDescriptor fd(::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (fd.isOpen())
        stamp.m_digest = hashOf(fd.get());
    return stamp;
}

bool operator==(const FileStamp &a, const FileStamp &b)
{
    return a.m_known == b.m_known && a.m_exists == b.m_exists && a.m_device == b.m_device && a.m_inode == b.m_inode
        && a.m_size == b.m_size && a.m_modified == b.m_modified && a.m_changed == b.m_changed
        && a.m_digest == b.m_digest;
}

QJsonObject FileStamp::toJson() const
{
    if (!m_known)
        return {};
    // Large integers as text: a JSON number holds 53 bits exactly.
    return {{QStringLiteral("exists"), m_exists},
            {QStringLiteral("device"), QString::number(m_device)},
            {QStringLiteral("inode"), QString::number(m_inode)},
            {QStringLiteral("size"), QString::number(m_size)},
            {QStringLiteral("modified"), QString::number(m_modified)},
            {QStringLiteral("changed"), QString::number(m_changed)},
            {QStringLiteral("digest"), QString::fromLatin1(m_digest.toHex())}};
}

FileStamp FileStamp::fromJson(const QJsonObject &json)
{
    FileStamp stamp;
    if (!json.value(QStringLiteral("exists")).isBool())
        return stamp;
    const auto number = [&json](const char *key, bool &ok) {
        return json.value(QLatin1String(key)).toString().toLongLong(&ok);
    };
    bool ok[4] = {};
    stamp.m_exists = json.value(QStringLiteral("exists")).toBool();
    stamp.m_device = number("device", ok[0]);
    stamp.m_inode = number("inode", ok[1]);
    stamp.m_size = number("size", ok[2]);
    stamp.m_modified = number("modified", ok[3]);
    // A stamp an earlier version wrote has no change time and another
    // digest: it differs from every file, so a save asks before it
    // overwrites.
    stamp.m_changed = json.value(QStringLiteral("changed")).toString().toLongLong();
    stamp.m_digest = QByteArray::fromHex(json.value(QStringLiteral("digest")).toString().toLatin1());
    stamp.m_known = ok[0] && ok[1] && ok[2] && ok[3];
    return stamp;
}
