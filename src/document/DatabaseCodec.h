#pragma once

#include "DatabaseReadError.h"
#include "TableData.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

class WorkProgress;

// The Database file: the Base64 text, in one run without line breaks, of the
// plain line list - Windows-1251 lines, each followed by CR LF:
//   lines 0-7    the widths of columns 0-7, in decimal
//   lines 8-15   the titles of columns 0-7
//   line 16      N, the number of records
//   then 8 lines per record: the number cell and cells 1-7.
// A version-1.0 database is the plain line list itself, unencoded.
namespace DatabaseCodec {

// A count line may claim far more records than the file holds. The reader
// gives the records the lines hold and, beyond them, at most this many
// empty ones, so a hostile count can neither exhaust memory nor hang.
inline constexpr int kMaxPaddingRecords = 65536;

// The table as a plain line list; characters Windows-1251 cannot hold are
// written as "?" (see findUnencodable).
QByteArray buildPlainList(const TableData &table);

// The Base64 text of a plain line list. The overload for a temporary encodes
// in its buffer, which keeps a large save from holding both at full size.
QByteArray encodePlainList(const QByteArray &plainList);
QByteArray encodePlainList(QByteArray &&plainList);

// Writes the table as the Database file at path through a new file that
// replaces the target only when complete and synced (SafeWrite), so a failed
// or interrupted write leaves an existing file as it was. A database is never
// overwritten in place: a folder that takes no new file fails the write.
// Throws TabloraError 'Cannot create file "<full path>". <the system's reason>'.
// The text of encodePlainList(buildPlainList(table)) is never held whole: it
// is made, encoded and written piece by piece, in parts on threads of their
// own (PlainListWriter); with parts given, in that many. With progress, it
// reports as it goes and stops when asked: the write fails then with
// WorkStopped, and an existing file stays as it was.
void writeTableFile(const QString &path, const TableData &table, WorkProgress *progress = nullptr);
void writeTableFile(const QString &path, const TableData &table, int parts, WorkProgress *progress = nullptr);

// The failure of a write of a file of the user's: 'Cannot create file
// "<full path>". <reason>'.
TabloraError writeFailure(const QString &path, const QString &reason);

// The largest file the readers take: what one text buffer can index, and no
// more than a third of the memory. A larger file fails at once rather than
// filling the memory.
qint64 maxFileSize();

// All bytes of a file, with the readers' limits below (readBaseFile). With
// progress, the reading is the stage that ends at stageEnd, and it stops
// (WorkStopped) when asked. Throws DatabaseReadError 'Cannot read file
// "<full path>". <the system's reason>'.
QByteArray readWholeFile(const QString &path, WorkProgress *progress, int stageEnd);

// Reads a Database file through readBaseText. Only a regular file is read,
// and one too large for the memory fails at once. Throws DatabaseReadError
// when the file cannot be read or readBaseText fails; running out of memory
// on the way is such a failure too. With progress, it reports as it goes
// and stops (WorkStopped) when asked.
TableData readBaseFile(const QString &path, WorkProgress *progress = nullptr);

// The table in the text of a Database file: line breaks in the text (CR LF,
// lone CR or LF) are taken as CR LF, the text is decoded by the Base64
// reader's rule and the result goes through fillTable. Throws
// DatabaseReadError when the text is not a whole number of Base64 groups or
// fillTable fails. A large text is worked on in parts on threads of their
// own; with parts given, in that many (one or more). The table is the same
// either way.
TableData readBaseText(QByteArray text);
TableData readBaseText(QByteArray text, int parts, WorkProgress *progress = nullptr);

// A fresh table from a plain line list. Lines past the end read as empty.
// Widths (lines 0-7) and the count (line 16) must be integers in the syntax of
// IntegerText, else DatabaseReadError; widths follow TableData::setWidth.
// A count of 0 or less gives no records; records whose lines are missing get
// empty cells, up to kMaxPaddingRecords of them past the last line. Lines
// after the last record are ignored. Cells are kept whole, however long.
// Parts as for readBaseText.
TableData fillTable(QByteArrayView plainList);
TableData fillTable(QByteArrayView plainList, int parts);

// Reads a plain, unencoded line list file (the version-1.0 format) through
// fillTable, with readBaseFile's limits and progress. Throws
// DatabaseReadError. Parts as for readBaseText.
TableData readPlainFile(const QString &path, WorkProgress *progress = nullptr);
TableData readPlainFile(const QString &path, int parts, WorkProgress *progress = nullptr);

// Where a table holds text Windows-1251 cannot hold: the first such column
// title (record == -1), else the first such cell in record order.
struct Unencodable
{
    int record;
    int column;
};
std::optional<Unencodable> findUnencodable(const TableData &table);

} // namespace DatabaseCodec
