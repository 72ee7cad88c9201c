#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The three information pages of the help menu, line by line, and the file
// they are shown from. Each page ends in a script that scrolls it down one
// pixel every 20 ms up to its limit (220 pixels on the thanks page, 420 on
// the others) and then returns to the top.
namespace InfoPages {

enum class Page { License, History, Thanks };

QStringList lines(Page page);

// The scroll script's thirteen lines for the given limit.
QStringList scrollScript(int limit);

// The file's content: every line in Windows-1251 followed by CR LF, with no
// character-set declaration.
QByteArray fileBytes(const QStringList &lines);

// Replaces the file at path with the lines; throws TabloraError naming the
// path and the system's reason when it cannot be written, leaving an earlier
// file as it was.
void writeFile(const QString &path, const QStringList &lines);

} // namespace InfoPages
