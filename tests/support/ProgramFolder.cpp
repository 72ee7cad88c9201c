#include "ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QTest>

ProgramFolder::ProgramFolder()
{
    QVERIFY2(m_dir.isValid(), qPrintable(m_dir.errorString()));
    makeFolder(QStringLiteral("data"));
}

void ProgramFolder::makeFolder(const QString &relative) const
{
    QVERIFY2(QDir(path()).mkpath(relative), qPrintable(relative));
}

void ProgramFolder::write(const QString &relative, const QByteArray &bytes) const
{
    QFile file(filePath(relative));
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(file.errorString()));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray ProgramFolder::read(const QString &relative) const
{
    QFile file(filePath(relative));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
