#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The Windows-1251 code page of the program's files. The mapping comes from
// Qt's "windows-1251" codec; it is taken into two lookup tables once, since
// databases of a million records pass through here.
namespace Windows1251 {

QString decode(QByteArrayView bytes);
// Writes bytes.size() characters to out and returns the end.
QChar *decodeInto(QChar *out, QByteArrayView bytes);
// Decodes one line: the bytes from begin up to the first CR or LF, or end.
// Sets lineEnd to that CR or LF (or end) and returns the end of the
// characters written. It may write up to seven characters past that end,
// where the caller leaves room: lines are decoded eight bytes at a time,
// and a line ends anywhere.
QChar *decodeLineInto(QChar *out, const char *begin, const char *end, const char *&lineEnd);

// Characters the code page cannot hold are written as "?".
QByteArray encode(QStringView text);
// Writes text.size() bytes to out and returns the end.
char *encodeInto(char *out, QStringView text);

// The text as the code page keeps it: each character it cannot hold becomes
// one "?", a character outside the BMP (two UTF-16 halves) included. encode
// writes such a character as two.
QString replaceUnencodable(QStringView text);

// Position of the first character the code page cannot hold, or -1.
qsizetype firstUnencodable(QStringView text);
inline bool canEncode(QStringView text)
{
    return firstUnencodable(text) < 0;
}

} // namespace Windows1251
