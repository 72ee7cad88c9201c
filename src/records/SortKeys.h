#pragma once

#include <Qt>

#include <cstdint>
#include <memory>
#include <vector>

class QCollator;
class SortKeyWriter;
class TableData;

// The collation keys of one column, kept compact for a million rows: the
// first eight bytes of each key sit in its sort entry, where most
// comparisons end, and the rest in a buffer of tails.
//
// A column of numbers alone is sorted by their digits, when the collator
// orders numbers as their characters (SortKeyWriter). A column whose texts
// repeat (towns, names, states) gets one key per distinct text: the keys
// are sorted, equal keys share a rank, and the rows are placed by rank, row
// by row, which keeps equal rows in their order. A column of texts that
// hardly repeat gets a key per row, and the rows are sorted by key and row
// number directly.
//
// The rows are cut into parts (one or two) that write their keys and sort
// their entries at once, each on a thread of its own with a collator of its
// own; the two sorted halves are merged from both ends at once. The order
// does not depend on the parts.
class SortKeys
{
public:
    SortKeys(const TableData &table, int column, const QCollator &collator, int parts);

    // The rows in the order of their keys, ascending or descending; rows with
    // equal keys keep their order in the table either way. Sorts the entries
    // in place, so it is meant to be asked once.
    std::vector<int> order(Qt::SortOrder direction);

private:
    struct Entry
    {
        std::uint64_t head; // the key's first eight bytes, big-endian, zero-padded
        std::uint32_t key; // the key's number
        std::uint32_t headLength; // bytes of the key in head: 0 to 8
    };
    struct Part;

    void writeKeys(Part &part, const TableData &table, int column, SortKeyWriter &writer, bool digits);
    int compare(const Entry &a, const Entry &b) const;
    // The bytes of a key past the eighth, and their count.
    const unsigned char *tail(std::uint32_t key, size_t &size) const;
    // Where the rows of part p begin; rowStart(parts) is their end.
    size_t rowStart(int p) const { return m_rows * size_t(p) / size_t(m_parts); }
    // Sorts count entries by key (then number), ascending for sign 1,
    // descending for -1.
    void sortPart(Entry *entries, size_t count, int sign) const;
    // The entries sorted by key (then number), handed to put one by one:
    // put(position, entry).
    template<typename Put>
    void sortEntries(int sign, Put put);

    int m_parts;
    size_t m_rows;
    // The parts' keys one after the other: room for one per row, left
    // untouched (and so costing no memory) where rows share keys.
    std::unique_ptr<Entry[]> m_entries;
    std::unique_ptr<size_t[]> m_tailStarts; // of each key, in its part's buffer
    std::vector<std::uint32_t> m_firstKey; // of each part; the last is the count of keys
    std::vector<std::vector<unsigned char>> m_tails; // each part's, key after key
    // The key of each row; empty when every row has a key of its own, whose
    // number is the row's.
    std::vector<std::uint32_t> m_keyOfRow;
};
