#include "PrintFileTarget.h"

#include "base/SafeWrite.h"
#include "base/TabloraError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

QString PrintFileTarget::failureMessage(const QString &fileName, const QString &reason)
{
    return QStringLiteral("Не удалось напечатать базу данных в файл %1: %2")
        .arg(SafeWrite::nativeFullPath(fileName), reason);
}

PrintFileTarget::PrintFileTarget(const QString &fileName)
    : m_fileName(fileName)
{
    // A name of its own in the same folder, so that the move is a rename; it
    // begins with a dot, as file managers hide such names.
    const QFileInfo chosen(fileName);
    for (int attempt = 0;; ++attempt) {
        const QString suffix = attempt == 0 ? QStringLiteral(".part") : QStringLiteral(".%1.part").arg(attempt);
        const QString name = chosen.dir().filePath(QLatin1Char('.') + chosen.fileName() + suffix);
        QFile part(name);
        if (part.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            m_partName = name;
            return;
        }
        if (part.error() != QFileDevice::OpenError || !QFileInfo::exists(name) || attempt >= 100)
            throw TabloraError(failureMessage(fileName, part.errorString()));
    }
}

PrintFileTarget::~PrintFileTarget()
{
    if (!m_committed)
        QFile::remove(m_partName);
}

void PrintFileTarget::commit()
{
    if (std::rename(QFile::encodeName(m_partName).constData(), QFile::encodeName(m_fileName).constData()) != 0)
        throw TabloraError(failureMessage(m_fileName, QString::fromLocal8Bit(std::strerror(errno))));
    m_committed = true;
}
