#include "FileLock.h"

#include "base/SafeRead.h"
#include "base/SafeWrite.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUuid>

#include <utility>

namespace {

// A lock is a few hundred bytes; anything much larger is not one of ours.
constexpr qint64 kMaxLockBytes = 16 << 10;

const QString kFormat = QStringLiteral("tablora-lock");

} // namespace

FileLock::FileLock()
    : m_window(QUuid::createUuid().toString(QUuid::WithoutBraces))
{
}

FileLock::~FileLock()
{
    release();
}

QString FileLock::lockPath(const QString &file)
{
    const QFileInfo link(file);
    const QString canonical = link.canonicalFilePath();
    const QFileInfo info(canonical.isEmpty() ? link.absoluteFilePath() : canonical);
    return info.absolutePath() + QStringLiteral("/.~lock.") + info.fileName() + QLatin1Char('#');
}

std::optional<FileLock::Holder> FileLock::read(const QString &lockPath)
{
    const SafeRead::Content content = SafeRead::wholeFile(lockPath, kMaxLockBytes);
    // A name too long for the folder cannot be taken either.
    if (content.missing || !(QFileInfo::exists(lockPath) || QFileInfo(lockPath).isSymLink()))
        return std::nullopt;
    Holder holder;
    const QJsonObject json = QJsonDocument::fromJson(content.bytes).object();
    if (!content.ok() || json.value(QStringLiteral("format")).toString() != kFormat)
        return holder; // another program's, or unreadable: nothing is known
    holder.known = true;
    holder.process = ProcessIdentity::fromJson(json.value(QStringLiteral("process")).toObject());
    holder.window = json.value(QStringLiteral("window")).toString();
    holder.since = QDateTime::fromString(json.value(QStringLiteral("since")).toString(), Qt::ISODateWithMs);
    return holder;
}

bool FileLock::holds(const QString &file) const
{
    return !m_held.isEmpty() && m_held == lockPath(file);
}

bool FileLock::isOwn(const Holder &holder) const
{
    return holder.known && holder.window == m_window && holder.process == ProcessIdentity::current();
}

std::optional<FileLock::Holder> FileLock::otherHolder(const QString &file) const
{
    std::optional<Holder> holder = read(lockPath(file));
    if (!holder || isOwn(*holder))
        return std::nullopt;
    if (holder->known && holder->process.state() == ProcessIdentity::State::Ended)
        return std::nullopt;
    return holder;
}

void FileLock::acquire(const QString &file, const QDateTime &now)
{
    release();
    if (otherHolder(file))
        return;
    const QString path = lockPath(file);
    const QJsonObject json{{QStringLiteral("format"), kFormat},
                           {QStringLiteral("process"), ProcessIdentity::current().toJson()},
                           {QStringLiteral("window"), m_window},
                           {QStringLiteral("since"), now.toUTC().toString(Qt::ISODateWithMs)}};
    SafeWrite::Options options;
    options.followLinks = false; // the folder may be anyone's
    if (!SafeWrite::replaceFile(path, QJsonDocument(json).toJson(), options))
        m_held = path;
}

void FileLock::release()
{
    const QString path = std::exchange(m_held, QString());
    if (path.isEmpty())
        return;
    if (const std::optional<Holder> holder = read(path); holder && isOwn(*holder))
        SafeWrite::removeFile(path);
}
