#include "RecordSearch.h"

#include "TextMatcher.h"
#include "document/TableData.h"

namespace RecordSearch {

int matchIn(const Record &record, const TextMatcher &matcher, int column)
{
    if (column >= kColumnCount)
        return -1;
    // The whole record in one scan, even for one column: on short cells the
    // scan's set-up would cost more than the other cells' text. A hit that
    // runs into the next cell, or lies outside the column asked for, is
    // passed over.
    const QStringView text = record.text();
    for (qsizetype at = matcher.indexIn(text); at >= 0; at = matcher.indexIn(text, at + 1)) {
        int c = kColumnCount - 1;
        while (record.cellStart(c) > at)
            --c;
        const qsizetype end = c == kColumnCount - 1 ? text.size() : qsizetype(record.cellStart(c + 1));
        if (at + matcher.length() <= end && (column < 0 || c == column))
            return c;
        if (column >= 0 && c > column)
            return -1;
    }
    return -1;
}

std::optional<Hit> scan(const TableData &table, const TextMatcher &matcher, int column, int begin, int end,
                        Direction direction)
{
    const bool forward = direction == Direction::Forward;
    const int step = forward ? 1 : -1;
    for (int row = forward ? begin : end - 1; forward ? row < end : row >= begin; row += step) {
        const int c = matchIn(table.record(row), matcher, column);
        if (c >= 0)
            return Hit{row, c, false};
    }
    return std::nullopt;
}

std::optional<Hit> find(const TableData &table, const Query &query, int from, Direction direction,
                        const QLocale &locale)
{
    const TextMatcher matcher(query.text, query.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive, locale);
    const int count = table.recordCount();
    if (matcher.isEmpty() || count == 0)
        return std::nullopt;
    const bool forward = direction == Direction::Forward;
    if (from < 0 || from >= count)
        return scan(table, matcher, query.column, 0, count, direction);
    std::optional<Hit> hit = forward ? scan(table, matcher, query.column, from + 1, count, direction)
                                     : scan(table, matcher, query.column, 0, from, direction);
    if (hit)
        return hit;
    hit = forward ? scan(table, matcher, query.column, 0, from + 1, direction)
                  : scan(table, matcher, query.column, from, count, direction);
    if (hit)
        hit->wrapped = true;
    return hit;
}

} // namespace RecordSearch
