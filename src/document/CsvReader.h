#pragma once

#include "CsvOptions.h"
#include "CsvReadError.h"
#include "TableData.h"

#include <QByteArrayView>
#include <QList>
#include <QStringList>

#include <optional>

class WorkProgress;

// Reads delimited text as CsvWriter writes it and as spreadsheet programs do
// (RFC 4180): cells are split at the delimiter, rows end at CR LF, LF or a
// lone CR, and a cell in double quotes may hold the delimiter, line breaks
// and doubled quotes. A quote inside an unquoted cell is taken as it is. A
// leading UTF-8 byte order mark is skipped.
//
// Every row is a record, an empty line included, but for the first when it
// gives the column titles; a row of fewer than eight cells gets empty ones.
// Failures are CsvReadError, naming the line: a row of more than eight cells
// (with the number it holds), a quoted cell that is not closed or is
// followed by more text, text that is not UTF-8 where UTF-8 is read, and a
// cell holding a line break unless breaks are replaced by spaces (a CR LF is
// one break). The widths of the table read are those of a fresh TableData.
class CsvReader
{
public:
    explicit CsvReader(const CsvReadOptions &options);

    // A large text is read in parts on threads of their own; with progress,
    // the reading is the stage that ends the bar, counted in bytes, and it
    // stops (WorkStopped) when asked. The table is the same whatever the
    // number of parts.
    TableData read(QByteArrayView text, WorkProgress *progress = nullptr) const;
    TableData read(QByteArrayView text, int parts, WorkProgress *progress = nullptr) const;

    // The first rows of a text as its reader would take them, for a look
    // before reading: each with all the cells it holds, titles included.
    // The rows stop at the first problem, which is told.
    struct Preview
    {
        QList<QStringList> rows;
        std::optional<CsvReadError> problem;
    };
    Preview preview(QByteArrayView text, int rowCount) const;

private:
    CsvReadOptions m_options;
};
