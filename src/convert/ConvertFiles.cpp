#include "ConvertFiles.h"

#include "ConvertError.h"
#include "base/FileDescriptor.h"
#include "base/IntegerText.h"
#include "base/SafeRead.h"
#include "base/SafeWrite.h"
#include "document/DatabaseCodec.h"

#include <QFile>

#include <cerrno>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>

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

[[noreturn]] void failToWrite(const QString &name, const QString &reason)
{
    throw ConvertError(QStringLiteral("%1: cannot write: %2").arg(ConvertFiles::outputName(name), reason));
}

[[noreturn]] void failAsTooLarge(const QString &name, qint64 maxSize)
{
    failToRead(name, QStringLiteral("it holds more than %1 bytes, the most the converter reads").arg(maxSize));
}

// What a path names, a symbolic link followed; nothing when it names nothing.
std::optional<struct stat> statusOf(const QString &path)
{
    struct stat status
    {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return status;
}

QByteArray readStandardInput(QIODevice &standardInput, qint64 maxSize)
{
    // Redirected from a file, standard input is measured first, as a named
    // file is: one over the limit is refused before a byte of it is read. A
    // pipe tells its size only by its end, which comes at the limit at most.
    if (const auto *file = qobject_cast<QFileDevice *>(&standardInput); file && file->handle() >= 0) {
        struct stat status
        {};
        const off_t at = ::lseek(file->handle(), 0, SEEK_CUR);
        if (::fstat(file->handle(), &status) == 0 && S_ISREG(status.st_mode) && at >= 0
            && status.st_size - at > maxSize)
            failAsTooLarge(QStringLiteral("-"), maxSize);
    }
    QByteArray bytes;
    for (;;) {
        const QByteArray piece = standardInput.read(qint64(1) << 20);
        if (piece.isEmpty())
            break;
        if (bytes.size() + piece.size() > maxSize)
            failAsTooLarge(QStringLiteral("-"), maxSize);
        bytes.append(piece);
    }
    if (const auto *file = qobject_cast<QFileDevice *>(&standardInput); file && file->error() != QFileDevice::NoError)
        failToRead(QStringLiteral("-"), file->errorString());
    return bytes;
}

// Writes bytes to the character device at path as they stand. Opening does
// not wait (a device that would block its opener fails instead); writing does.
void writeToDevice(const QString &path, QByteArrayView bytes)
{
    const FileDescriptor fd(::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat status
    {};
    if (!fd.isOpen() || ::fstat(fd.get(), &status) != 0)
        failToWrite(path, qt_error_string(errno));
    if (!S_ISCHR(status.st_mode)) // put in the device's place since the look
        failToWrite(path, QStringLiteral("Not a regular file"));
    ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK);
    for (qsizetype written = 0; written < bytes.size();) {
        const ssize_t n = ::write(fd.get(), bytes.data() + written, size_t(bytes.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            failToWrite(path, qt_error_string(n < 0 ? errno : EIO));
        written += n;
    }
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

qint64 maxInputSize()
{
    return DatabaseCodec::maxFileSize();
}

QByteArray readInput(const QString &name, QIODevice &standardInput, qint64 maxSize)
{
    if (isStandard(name))
        return readStandardInput(standardInput, maxSize);
    SafeRead::Content content = SafeRead::wholeFile(name, maxSize);
    if (content.ok())
        return std::move(content.bytes);
    // The safe read has refused it; a look says why in the converter's words.
    if (const std::optional<struct stat> status = statusOf(name)) {
        if (!S_ISREG(status->st_mode) && !S_ISDIR(status->st_mode))
            failToRead(name, QStringLiteral("not a regular file (\"-\" reads standard input)"));
        if (S_ISREG(status->st_mode) && status->st_size > maxSize)
            failAsTooLarge(name, maxSize);
    }
    failToRead(name, content.failure);
}

void writeOutput(const QString &name, QByteArrayView bytes, QIODevice &standardOutput)
{
    if (isStandard(name)) {
        auto *file = qobject_cast<QFileDevice *>(&standardOutput);
        if (standardOutput.write(bytes.data(), bytes.size()) != bytes.size() || (file && !file->flush()))
            failToWrite(name, standardOutput.errorString());
        return;
    }
    if (const std::optional<struct stat> status = statusOf(name); status && S_ISCHR(status->st_mode))
        return writeToDevice(name, bytes);
    // A folder that takes no temporary file fails the run rather than have
    // the file rewritten in place, where an interruption would damage it.
    if (const auto reason = SafeWrite::replaceFile(name, bytes, SafeWrite::InPlace::Never))
        failToWrite(name, *reason);
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
    QByteArray bytes = readInput(name, standardInput);
    const DatabaseFormat format = formatOf(QByteArrayView(bytes).first(std::min<qsizetype>(bytes.size(), kFirstBytes)));
    try {
        if (format == DatabaseFormat::Version10)
            return {format, DatabaseCodec::fillTable(bytes)};
        return {format, DatabaseCodec::readBaseText(std::move(bytes))};
    } catch (const DatabaseReadError &e) {
        const QString what = format == DatabaseFormat::Version10 ? QStringLiteral("a version-1.0 database")
                                                                 : QStringLiteral("a database");
        throw ConvertError(QStringLiteral("%1: not readable as %2: %3").arg(inputName(name), what, e.message()));
    }
}

} // namespace ConvertFiles
