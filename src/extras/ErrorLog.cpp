#include "ErrorLog.h"

#include "base/AppInfo.h"
#include "base/Windows1251.h"

#include <QFile>

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
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const QByteArray bytes = Windows1251::encode(line) + "\r\n";
    return file.write(bytes) == bytes.size() && file.flush();
}

QString withFullStop(const QString &message)
{
    if (!message.isEmpty() && message.back().unicode() > u'.')
        return message + QLatin1Char('.');
    return message;
}

} // namespace ErrorLog
