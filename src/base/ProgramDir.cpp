#include "ProgramDir.h"

#include "TabloraError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTemporaryFile>

namespace {

constexpr QFile::Permissions kOwnerFolder = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
constexpr QFile::Permissions kOwnerFile = QFile::ReadOwner | QFile::WriteOwner;

[[noreturn]] void refuseFolder(const QString &folder, const QString &reason)
{
    throw TabloraError(
        QStringLiteral("Не удалось создать папку программы %1: %2").arg(QDir::toNativeSeparators(folder), reason));
}

// Makes the missing folders of path, each its owner's only.
void makeOwnerOnlyPath(const QString &path, const QString &forFolder)
{
    const QFileInfo info(path);
    if (info.isDir())
        return;
    if (info.exists())
        refuseFolder(forFolder, QStringLiteral("%1 не является папкой").arg(QDir::toNativeSeparators(path)));
    makeOwnerOnlyPath(info.absolutePath(), forFolder);
    if (!QDir().mkdir(path, kOwnerFolder) && !QFileInfo(path).isDir())
        refuseFolder(forFolder, QStringLiteral("нельзя создать %1").arg(QDir::toNativeSeparators(path)));
}

// Copies the folder from into the new folder to, its owner's only.
void copyTree(const QString &from, const QString &to, const QString &forFolder)
{
    if (!QDir().mkdir(to, kOwnerFolder))
        refuseFolder(forFolder, QStringLiteral("нельзя создать %1").arg(QDir::toNativeSeparators(to)));
    const QFileInfoList entries =
        QDir(from).entryInfoList(QDir::Dirs | QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        const QString target = to + QLatin1Char('/') + entry.fileName();
        if (entry.isDir()) {
            copyTree(entry.filePath(), target, forFolder);
            continue;
        }
        QFile source(entry.filePath());
        if (!source.copy(target) || !QFile::setPermissions(target, kOwnerFile))
            refuseFolder(forFolder,
                         QStringLiteral("нельзя скопировать %1: %2")
                             .arg(QDir::toNativeSeparators(entry.filePath()), source.errorString()));
    }
}

} // namespace

ProgramDir::ProgramDir(QString directory, QString shippedDirectory)
    : m_path(QDir::cleanPath(directory))
    , m_shippedPath(shippedDirectory.isEmpty() ? m_path : QDir::cleanPath(shippedDirectory))
{
}

ProgramDir ProgramDir::ofApplication()
{
    const QString executableDir = QCoreApplication::applicationDirPath();
    const QString userDir = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/tablora");
    return choose(executableDir, probe(executableDir), userDir);
}

ProgramDir ProgramDir::prepareForApplication()
{
    const ProgramDir dir = ofApplication();
    if (dir.path() != dir.shippedPath())
        seed(dir.shippedPath(), dir.path());
    return dir;
}

ProgramDir::Probe ProgramDir::probe(const QString &executableDir)
{
    Probe probe;
    QTemporaryFile trial(executableDir + QStringLiteral("/.write-test-XXXXXX"));
    probe.writable = trial.open();
    probe.installed = QFileInfo::exists(executableDir + QLatin1Char('/') + installedMark());
    return probe;
}

ProgramDir ProgramDir::choose(const QString &executableDir, const Probe &probe, const QString &userDir)
{
    if (probe.writable && !probe.installed)
        return ProgramDir(executableDir);
    ProgramDir dir(userDir, executableDir);
    dir.m_installed = probe.installed;
    return dir;
}

QStringList ProgramDir::seededFolders()
{
    return {QStringLiteral("data"), QStringLiteral("db"), QStringLiteral("Примеры")};
}

void ProgramDir::seed(const QString &from, const QString &to)
{
    const QFileInfo target(to);
    if (target.exists() || target.isSymLink())
        return;
    makeOwnerOnlyPath(target.absolutePath(), to);
    QTemporaryDir staging(target.absolutePath() + QStringLiteral("/.") + target.fileName() + QStringLiteral("-XXXXXX"));
    if (!staging.isValid())
        refuseFolder(to, staging.errorString());
    for (const QString &folder : seededFolders()) {
        const QString source = from + QLatin1Char('/') + folder;
        if (QFileInfo(source).isDir())
            copyTree(source, staging.filePath(folder), to);
    }
    if (QDir().rename(staging.path(), to)) {
        staging.setAutoRemove(false);
        return;
    }
    // Another start of the program may have put its copy in place first.
    if (!QFileInfo(to).isDir())
        refuseFolder(to, QStringLiteral("нельзя переименовать %1").arg(QDir::toNativeSeparators(staging.path())));
}

QString ProgramDir::file(const QString &relative) const
{
    return QDir::toNativeSeparators(m_path + QLatin1Char('/') + relative);
}

QString ProgramDir::shippedFile(const QString &relative) const
{
    return QDir::toNativeSeparators(m_shippedPath + QLatin1Char('/') + relative);
}
