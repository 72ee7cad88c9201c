#pragma once

#include "CsvOptions.h"

#include <QByteArray>
#include <QString>

class TableData;
class WorkProgress;

// A table as delimited text in UTF-8 by the rules of RFC 4180: the first row
// holds the eight column titles, every further row one record (the number
// cell first), in the table's order; rows end in CR LF. A cell is quoted
// when it holds a quote (written doubled), a comma, a semicolon, a tab or a
// line break, or when it starts or ends with a space, so that neither a
// reader that splits at another of these separators nor one that trims
// spaces changes it (and when it starts with U+FEFF, which a reader could
// take for a byte order mark). Empty cells stay empty. Column widths are not part of
// the text.
//
// A large table is written in parts on threads of their own; with progress,
// the writing is the stage that ends the bar, and it stops (WorkStopped)
// when asked. The text is the same whatever the number of parts.
namespace CsvWriter {

QByteArray write(const TableData &table, const CsvWriteOptions &options, WorkProgress *progress = nullptr);
QByteArray write(const TableData &table, const CsvWriteOptions &options, int parts, WorkProgress *progress);

// Writes the text as the file at path through a new file that replaces the
// target only when complete (SafeWrite), so a failed, interrupted or stopped
// write leaves an existing file as it was and no partial file behind. Throws
// WorkStopped, or TabloraError 'Cannot create file "<full path>". <the
// system's reason>' as a database's write does.
void writeFile(const QString &path, const TableData &table, const CsvWriteOptions &options,
               WorkProgress *progress = nullptr);

} // namespace CsvWriter
