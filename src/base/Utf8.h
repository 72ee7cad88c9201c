#pragma once

#include <QByteArrayView>
#include <QChar>
#include <QStringView>

// UTF-8 a cell at a time, for CSV text. Qt's converters carry a
// call's worth of set-up that a million records of eight cells feel.
namespace Utf8 {

// Writes at most 3 bytes per UTF-16 unit of text to out and returns the end.
// A lone surrogate is written as U+FFFD.
char *encodeInto(char *out, QStringView text);

// Writes at most bytes.size() UTF-16 units to out and returns the end, or
// nullptr when bytes are not well-formed UTF-8 (RFC 3629: no overlong forms,
// no surrogates, nothing past U+10FFFF, no cut sequence).
QChar *decodeInto(QChar *out, QByteArrayView bytes);

// Whether bytes are well-formed UTF-8 as decodeInto takes them. With
// sampleOfLonger, bytes are the start of a longer text, and a sequence the
// end cuts short counts as well-formed.
bool isWellFormed(QByteArrayView bytes, bool sampleOfLonger = false);

} // namespace Utf8
