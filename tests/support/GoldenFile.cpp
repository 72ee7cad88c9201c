#include "GoldenFile.h"

#include "base/Windows1251.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtDebug>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// The text with its line ends made visible, one line of output per line.
QString reviewText(const QByteArray &bytes)
{
    QString text = Windows1251::decode(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\\r\\n\x01"));
    text.replace(QLatin1Char('\r'), QStringLiteral("\\r\x01"));
    text.replace(QLatin1Char('\n'), QStringLiteral("\\n\x01"));
    text.replace(QLatin1Char('\x01'), QLatin1Char('\n'));
    return text;
}

} // namespace

namespace GoldenFile {

bool matches(const QString &name, const QByteArray &actual)
{
    const QString golden = QStringLiteral(TABLORA_GOLDEN_DIR "/") + name;
    if (readAll(golden) == actual)
        return true;
    const QString fresh = QStringLiteral(TABLORA_GOLDEN_NEW_DIR "/") + name;
    QDir().mkpath(QFileInfo(fresh).path());
    QFile out(fresh);
    if (!out.open(QIODevice::WriteOnly) || out.write(actual) != actual.size())
        qWarning("cannot write %s", qPrintable(fresh));
    qWarning().noquote() << QStringLiteral("%1 differs from the golden file; the new text, for review:\n%2\n"
                                           "Once it is right: cp %3 %4")
                                .arg(name, reviewText(actual), fresh, golden);
    return false;
}

} // namespace GoldenFile
