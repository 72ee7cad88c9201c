#include "FileStamp.h"

#include "FileDescriptor.h"

#include <QCryptographicHash>
#include <QFile>

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

constexpr qint64 kSampleBytes = qint64(64) << 10;

// Hashes the bytes [offset, offset + size) of fd; false when a read fails.
bool addRange(QCryptographicHash &hash, int fd, qint64 offset, qint64 size)
{
    QByteArray buffer(qsizetype(size), Qt::Uninitialized);
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, buffer.data() + done, size_t(size - done), off_t(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    hash.addData(buffer);
    return true;
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
    stamp.m_modified = qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    if (!S_ISREG(status.st_mode))
        return stamp;
    // A file that cannot be read keeps an empty digest; the rest still tells
    // a change.
    const FileDescriptor fd(::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!fd.isOpen())
        return stamp;
    QCryptographicHash hash(QCryptographicHash::Sha1);
    const qint64 head = std::min(stamp.m_size, kSampleBytes);
    const qint64 tail = std::min(stamp.m_size - head, kSampleBytes);
    if (addRange(hash, fd.get(), 0, head) && addRange(hash, fd.get(), stamp.m_size - tail, tail))
        stamp.m_digest = hash.result();
    return stamp;
}

bool operator==(const FileStamp &a, const FileStamp &b)
{
    return a.m_known == b.m_known && a.m_exists == b.m_exists && a.m_device == b.m_device && a.m_inode == b.m_inode
        && a.m_size == b.m_size && a.m_modified == b.m_modified && a.m_digest == b.m_digest;
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
    stamp.m_digest = QByteArray::fromHex(json.value(QStringLiteral("digest")).toString().toLatin1());
    stamp.m_known = ok[0] && ok[1] && ok[2] && ok[3];
    return stamp;
}
