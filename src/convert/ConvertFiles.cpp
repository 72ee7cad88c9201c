#include "ConvertFiles.h"

#include "ConvertError.h"
#include "base/IntegerText.h"
#include "base/SafeWrite.h"
#include "document/DatabaseCodec.h"

#include <QFile>
#include <QTemporaryFile>

namespace {

// Enough of a file to hold its first line when that is an integer.
constexpr qint64 kFirstBytes = 4096;

bool isStandard(const QString &name)
{
    return name == u"-";
}

[[noreturn]] void failToRead(const QString &name, const QString &reason)
{
    throw ConvertError(QStringLiteral("%1: cannot read it: %2").arg(ConvertFiles::inputName(name), reason));
}

QByteArray firstBytesOf(const QString &path, const QString &name)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        failToRead(name, file.errorString());
    return file.read(kFirstBytes);
}

// The readers take a path; standard input becomes a temporary file first.
void copyToTemporaryFile(const QByteArray &bytes, QTemporaryFile &file)
{
    if (!file.open() || file.write(bytes) != bytes.size() || !file.flush())
        throw ConvertError(QStringLiteral("%1: cannot keep it in a temporary file: %2")
                               .arg(ConvertFiles::inputName(QStringLiteral("-")), file.errorString()));
    file.close();
}

} // namespace

namespace ConvertFiles {

QString inputName(const QString &name)
{
    return isStandard(name) ? QStringLiteral("standard input") : name;
}

QString outputName(const QString &name)
{
    return isStandard(name) ? QStringLiteral("standard output") : name;
}

QByteArray readInput(const QString &name, QIODevice &standardInput)
{
    if (isStandard(name)) {
        QByteArray bytes = standardInput.readAll();
        if (const auto *file = qobject_cast<QFileDevice *>(&standardInput);
            file && file->error() != QFileDevice::NoError)
            failToRead(name, file->errorString());
        return bytes;
    }
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        failToRead(name, file.errorString());
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        failToRead(name, file.errorString());
    return bytes;
}

void writeOutput(const QString &name, QByteArrayView bytes, QIODevice &standardOutput)
{
    if (isStandard(name)) {
        auto *file = qobject_cast<QFileDevice *>(&standardOutput);
        if (standardOutput.write(bytes.data(), bytes.size()) != bytes.size() || (file && !file->flush()))
            throw ConvertError(
                QStringLiteral("%1: cannot write: %2").arg(outputName(name), standardOutput.errorString()));
        return;
    }
    // A folder that takes no temporary file fails the run rather than have
    // the file rewritten in place, where an interruption would damage it.
    if (const auto reason = SafeWrite::replaceFile(name, bytes, SafeWrite::InPlace::Never))
        throw ConvertError(QStringLiteral("%1: cannot write: %2").arg(name, *reason));
}

DatabaseFormat formatOf(QByteArrayView firstBytes)
{
    qsizetype end = 0;
    while (end < firstBytes.size() && firstBytes[end] != '\r' && firstBytes[end] != '\n')
        ++end;
    return IntegerText::parse(firstBytes.first(end)) ? DatabaseFormat::Version10 : DatabaseFormat::Current;
}

Database readDatabase(const QString &name, QIODevice &standardInput)
{
    QTemporaryFile copy;
    QString path = name;
    QByteArray firstBytes;
    if (isStandard(name)) {
        const QByteArray bytes = readInput(name, standardInput);
        copyToTemporaryFile(bytes, copy);
        path = copy.fileName();
        firstBytes = bytes.first(std::min<qsizetype>(bytes.size(), kFirstBytes));
    } else {
        firstBytes = firstBytesOf(path, name);
    }
    const DatabaseFormat format = formatOf(firstBytes);
    try {
        if (format == DatabaseFormat::Version10)
            return {format, DatabaseCodec::readPlainFile(path)};
        return {format, DatabaseCodec::readBaseFile(path)};
    } catch (const DatabaseReadError &e) {
        const QString what = format == DatabaseFormat::Version10 ? QStringLiteral("a version-1.0 database")
                                                                 : QStringLiteral("a database");
        throw ConvertError(QStringLiteral("%1: not readable as %2: %3").arg(inputName(name), what, e.message()));
    }
}

} // namespace ConvertFiles
