#pragma once

#include <Qt>

#include <cstdint>
#include <vector>

class QCollator;
class TableData;

// The collation keys of one column, one per row, kept compact for a million
// rows: the first eight bytes of each key sit in the row's sort entry, where
// most comparisons end, and the rest of all keys in one shared buffer.
class SortKeys
{
public:
    SortKeys(const TableData &table, int column, const QCollator &collator);

    // The rows in the order of their keys, ascending or descending; rows with
    // equal keys keep their order in the table either way. Sorts the entries
    // in place, so it is meant to be asked once.
    std::vector<int> order(Qt::SortOrder direction);

private:
    struct Entry
    {
        std::uint64_t head; // the key's first eight bytes, big-endian, zero-padded
        std::uint32_t row;
        std::uint32_t headLength; // bytes of the key in head: 0 to 8
    };

    int compare(const Entry &a, const Entry &b) const;

    std::vector<Entry> m_entries;
    std::vector<unsigned char> m_tails; // bytes past the eighth, row after row
    std::vector<size_t> m_tailStarts; // row r's tail is [m_tailStarts[r], m_tailStarts[r + 1])
};
