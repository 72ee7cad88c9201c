#pragma once

#include <QByteArray>

class Progress;
class TableData;

// A table as delimited text in UTF-8 by the rules of RFC 4180: the first row
// holds the eight column titles, every further row one record (the number
// cell first); rows end in CR LF. A cell is quoted when it holds a quote
// (written doubled), a comma, a semicolon, a tab or a line break, or when it
// starts or ends with a space, so that neither a reader that splits at
// another of these separators nor one that trims spaces changes it. Empty
// cells stay empty. Column widths are not part of the text.
namespace CsvWriter {

// delimiter: ',' for CSV, '\t' for tab-separated text.
QByteArray write(const TableData &table, char delimiter, Progress *progress = nullptr);

} // namespace CsvWriter
