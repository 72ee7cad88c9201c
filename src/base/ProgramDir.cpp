#include "ProgramDir.h"

#include <QCoreApplication>
#include <QDir>

ProgramDir::ProgramDir(QString directory)
    : m_path(QDir::cleanPath(directory))
{
}

ProgramDir ProgramDir::ofApplication()
{
    return ProgramDir(QCoreApplication::applicationDirPath());
}

QString ProgramDir::file(const QString &relative) const
{
    return QDir::toNativeSeparators(m_path + QLatin1Char('/') + relative);
}
