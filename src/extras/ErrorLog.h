#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

// errors.log: one line per error that reached the application-wide handler,
// appended in Windows-1251 with CR LF, never read by the program.
namespace ErrorLog {

// The locale's short date and long time (without a time-zone name); only the
// date when the time is exactly midnight.
QString dateTimeText(const QDateTime &when, const QLocale &locale);

// "Tablora 1.5 (<program page>)|Date and Time: <date time>|Error:<message>"
QString line(const QDateTime &when, const QLocale &locale, const QString &message);

// Appends the line and CR LF to the file, creating it when missing. Returns
// false when the file cannot be written or is anything but a regular file (a
// FIFO, a device, a socket, a folder), which is left alone at once; the
// caller goes on regardless.
bool append(const QString &path, const QString &line);

// The message as the error box shows it: with a full stop added when its last
// character's code is above that of the full stop (so not after ".", "!" or
// ")").
QString withFullStop(const QString &message);

} // namespace ErrorLog
