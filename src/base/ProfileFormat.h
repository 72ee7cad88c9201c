#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

#include <optional>

// The private-profile (INI) format, worked on the Windows-1251 bytes of a
// whole file. It reads and edits files the platform's profile functions write,
// so that either side reads the other's files the same way:
//
// - CR LF, LF and CR each end a line.
// - Space, tab and vertical tab around names and values are not part of them;
//   any other byte is (the no-break space A0 included).
// - A line whose first non-blank byte is ";" is a comment. There are no
//   comments at the end of other lines.
// - A line whose first non-blank byte is "[" starts a section; its name runs
//   to the first "]" (the rest of the line is ignored) or, without one, to the
//   end of the line.
// - Any other line that holds "=" is a key line, split at its first "=".
//   Lines before the first section, and lines that fit none of the above,
//   belong to no key.
// - Names match without regard to case, compared as Windows-1251 text. The
//   names a caller gives are taken without blanks around them, for matching
//   and for writing alike.
// - Of sections with the same name only the first counts, for reading and
//   writing alike; within it the first key of a name counts.
namespace ProfileFormat {

// The value of the key, or nothing when the file, the section or the key is
// missing. One matching pair of " or ' around the value is removed; an empty
// value is a value.
std::optional<QByteArray> value(QByteArrayView text, QStringView section, QStringView key);

// The file with the key set to value, every other byte kept. An existing key
// line becomes name=value with the file's spelling of the name and the line's
// own ending (CR LF when it was the last line and had none). A new key goes
// right after the last key line of its section (the header when it has none);
// a new section goes to the end of the file. New lines end in CR LF, and a
// last line without an ending gets CR LF first.
// The value is written as given, the names trimmed; the caller makes sure they
// hold no line break, no "]" in the section and no "=" in the key.
QByteArray withValue(QByteArrayView text, QStringView section, QStringView key, QByteArrayView value);

} // namespace ProfileFormat
