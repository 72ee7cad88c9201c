#pragma once

#include <QLocale>
#include <QString>

#include <optional>

class Record;
class TableData;
class TextMatcher;

// Finding records by a text in their cells: pure functions over the table's
// record strings, never through a view.
namespace RecordSearch {

enum class Direction { Forward, Backward };

struct Query
{
    QString text;
    bool matchCase = false;
    int column = -1; // 0 to 7, or -1 for every column, the number cell included
};

struct Hit
{
    int row = -1;
    int column = -1; // the first cell of the row that holds the text
    bool wrapped = false; // the search went past the end (or the top) to get here
};

// The first column of the record whose cell holds the matcher's text, or -1;
// with a column given, only that cell is looked at. A text never matches
// across two cells.
int matchIn(const Record &record, const TextMatcher &matcher, int column);

// The first matching row of rows begin to end - 1, counted from begin going
// forward and from end - 1 going backward.
std::optional<Hit> scan(const TableData &table, const TextMatcher &matcher, int column, int begin, int end,
                        Direction direction);

// The next matching row after row from (before it, going backward), going on
// from the other end of the table when none is left; the row from itself is
// looked at last. With from outside the table the search starts at the first
// row (the last, going backward) without wrapping. Nothing for an empty text.
std::optional<Hit> find(const TableData &table, const Query &query, int from, Direction direction,
                        const QLocale &locale = QLocale());

} // namespace RecordSearch
