#include "RecoveryFolder.h"

#include "DocumentTexts.h"
#include "base/ProgramDir.h"
#include "base/SafeRead.h"
#include "base/SafeWrite.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr QFile::Permissions kOwnerFolder = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
// A description is a few hundred bytes.
constexpr qint64 kMaxDescriptionBytes = 64 << 10;

const QString kCopySuffix = QStringLiteral(".db");
const QString kDescriptionSuffix = QStringLiteral(".json");

std::optional<QString> makeOwnerOnly(const QString &path)
{
    if (QFileInfo(path).isDir())
        return std::nullopt;
    if (QDir().mkdir(path, kOwnerFolder) || QFileInfo(path).isDir())
        return std::nullopt;
    return QStringLiteral("нельзя создать папку %1").arg(QDir::toNativeSeparators(path));
}

bool moveFile(const QString &from, const QString &to)
{
    return QDir().rename(from, to);
}

// Whether a file, a folder or a link stands at path, by the name the system
// is given.
bool taken(const QString &path)
{
    struct stat status
    {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 || errno != ENOENT;
}

// Moves the file from to to, unless to is taken: looking and moving are one
// step, so nothing there is ever replaced.
bool moveWithoutReplacing(const QString &from, const QString &to)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system without the flag: a new name that cannot replace, then
    // the old one goes.
    return ::link(source.constData(), target.constData()) == 0 && ::unlink(source.constData()) == 0;
}

} // namespace

RecoveryFolder::RecoveryFolder(const ProgramDir &dir)
    : m_path(QDir::fromNativeSeparators(dir.file(QStringLiteral("recovery"))))
{
}

QString RecoveryFolder::copyPath(const QString &id) const
{
    return m_path + QLatin1Char('/') + id + kCopySuffix;
}

QString RecoveryFolder::descriptionPath(const QString &id) const
{
    return m_path + QLatin1Char('/') + id + kDescriptionSuffix;
}

std::optional<QString> RecoveryFolder::make() const
{
    return makeOwnerOnly(m_path);
}

QList<RecoveryFolder::Entry> RecoveryFolder::leftBehind() const
{
    const QDir folder(m_path);
    QSet<QString> copies;
    for (const QString &name : folder.entryList({QLatin1Char('*') + kCopySuffix}, QDir::Files | QDir::Hidden))
        copies.insert(name.chopped(kCopySuffix.size()));
    QList<Entry> found;
    QSet<QString> described;
    const QStringList descriptions = folder.entryList({QLatin1Char('*') + kDescriptionSuffix},
                                                      QDir::Files | QDir::Hidden);
    for (const QString &name : descriptions) {
        const QString id = name.chopped(kDescriptionSuffix.size());
        described.insert(id);
        const SafeRead::Content content = SafeRead::wholeFile(descriptionPath(id), kMaxDescriptionBytes);
        std::optional<RecoveryDescription> description = content.ok() ? RecoveryDescription::fromJson(content.bytes)
                                                                      : std::nullopt;
        if (description && description->process.state() != ProcessIdentity::State::Ended)
            continue; // its writer may still be at work
        if (!copies.contains(id)) {
            SafeWrite::removeFile(descriptionPath(id));
            continue;
        }
        found.append({id, std::move(description)});
    }
    for (const QString &id : copies) {
        if (!described.contains(id))
            found.append({id, std::nullopt});
    }
    std::sort(found.begin(), found.end(), [](const Entry &a, const Entry &b) {
        if (a.description.has_value() != b.description.has_value())
            return !a.description.has_value();
        return a.description && a.description->time > b.description->time;
    });
    return found;
}

QString RecoveryFolder::keptPath(const Entry &entry) const
{
    QString name = entry.description ? DocumentTexts::filePart(entry.description->fileName) : QString();
    if (name.endsWith(kCopySuffix, Qt::CaseInsensitive))
        name.chop(kCopySuffix.size());
    const QString time = entry.description
        ? entry.description->time.toLocalTime().toString(QStringLiteral("dd.MM.yyyy hh-mm-ss"))
        : entry.id;
    const QString stem = m_path + QStringLiteral("/kept/") + name + QStringLiteral(" (копия ") + time;
    QString path = stem + QStringLiteral(")") + kCopySuffix;
    for (int n = 2; taken(path); ++n)
        path = stem + QStringLiteral(") ") + QString::number(n) + kCopySuffix;
    return path;
}

bool RecoveryFolder::keep(const Entry &entry, const QString &keptPath) const
{
    if (makeOwnerOnly(QFileInfo(keptPath).absolutePath()) || !moveWithoutReplacing(copyPath(entry.id), keptPath))
        return false;
    SafeWrite::removeFile(descriptionPath(entry.id));
    return true;
}

QString RecoveryFolder::setAside(const Entry &entry) const
{
    const QString damaged = m_path + QStringLiteral("/damaged");
    if (makeOwnerOnly(damaged))
        return m_path;
    const QString copyName = QFileInfo(copyPath(entry.id)).fileName();
    if (!moveFile(copyPath(entry.id), damaged + QLatin1Char('/') + copyName))
        return m_path;
    const QString descriptionName = QFileInfo(descriptionPath(entry.id)).fileName();
    if (QFileInfo::exists(descriptionPath(entry.id)))
        moveFile(descriptionPath(entry.id), damaged + QLatin1Char('/') + descriptionName);
    return damaged;
}
