#pragma once

#include "base/TabloraError.h"

#include <QtGlobal>

// Text that CsvReader cannot take as a table, and where. The message is a
// short English description for the converter ("the row has more than 8
// cells"); the window words its own from the fields.
class CsvReadError : public TabloraError
{
public:
    enum class Kind {
        Empty, // no row at all, not even the titles
        TooManyCells, // a row of more cells than the table has columns
        QuoteNotClosed,
        TextAfterQuote, // text between a closing quote and the next delimiter
        NotUtf8,
        LineBreak, // a line break in a quoted cell, where breaks are not replaced
    };

    CsvReadError(Kind kind, qint64 line, int record, int column, int cells, QString message)
        : TabloraError(std::move(message))
        , kind(kind)
        , line(line)
        , record(record)
        , column(column)
        , cells(cells)
    {
    }

    Kind kind;
    // The line of the text, counting from 1, where the problem is.
    qint64 line;
    // The record (from 0; -1 for the titles) and column of the cell, where
    // the problem is in one cell.
    int record;
    int column;
    // For TooManyCells, the number of cells the row holds.
    int cells;
};
