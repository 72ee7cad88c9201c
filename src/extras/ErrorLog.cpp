#include "ErrorLog.h"

#include "base/AppInfo.h"
#include "base/FileDescriptor.h"
#include "base/Windows1251.h"

#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

// Drops the time-zone field ("t", "tt", ...) and the blank before it from a
// time format, leaving quoted literals alone.
QString withoutTimeZone(const QString &format)
{
    QString out;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
            out.append(c);
        } else if (!quoted && c == QLatin1Char('t')) {
            while (out.endsWith(QLatin1Char(' ')))
                out.chop(1);
        } else {
            out.append(c);
        }
    }
    return out.trimmed();
}

} // namespace

namespace ErrorLog {

QString dateTimeText(const QDateTime &when, const QLocale &locale)
{
    const QString date = locale.toString(when.date(), QLocale::ShortFormat);
    if (when.time() == QTime(0, 0))
        return date;
    return date + QLatin1Char(' ')
        + locale.toString(when.time(), withoutTimeZone(locale.timeFormat(QLocale::LongFormat)));
}

QString line(const QDateTime &when, const QLocale &locale, const QString &message)
{
    return AppInfo::kTitle + QStringLiteral(" (") + AppInfo::programPageAddress() + QStringLiteral(")|Date and Time: ")
        + dateTimeText(when, locale) + QStringLiteral("|Error:") + message;
}

bool append(const QString &path, const QString &line)
{
    // Only a regular file is written, opened as the safe read opens files:
    // anything else at the path is refused before it is opened, and the
    // open does not wait, so a FIFO without a reader (or one put there since
    // the look) cannot hold up the window.
    const QByteArray name = QFile::encodeName(path);
    struct stat status
    {};
    if (::stat(name.constData(), &status) == 0 && !S_ISREG(status.st_mode))
        return false;
    const FileDescriptor fd(
        ::open(name.constData(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666));
    if (!fd.isOpen() || ::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return false;
    const QByteArray bytes = Windows1251::encode(line) + "\r\n";
    for (qsizetype written = 0; written < bytes.size();) {
        const ssize_t n = ::write(fd.get(), bytes.constData() + written, size_t(bytes.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        written += n;
    }
    return true;
}

QString withFullStop(const QString &message)
{
    if (!message.isEmpty() && message.back().unicode() > u'.')
        return message + QLatin1Char('.');
    return message;
}

} // namespace ErrorLog
