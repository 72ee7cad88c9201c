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
// comparisons end, and the rest elsewhere, written only where needed.
//
// A column of numbers alone is sorted by their digits, when the collator
// orders numbers as their characters (SortKeyWriter). A column whose texts
// repeat (towns, names, states) gets one key per distinct text: the keys
// are sorted, equal keys share a rank, and the rows are placed by rank, row
// by row, which keeps equal rows in their order. A column of texts that
// hardly repeat gets a key per row, and the rows are sorted by key and row
// number directly. Where the texts hardly share their first eight key bytes
// either (names, words), only those are written at first, and a key is
// written whole only for the texts whose first bytes tie.
//
// The rows are cut into parts (as many as asked, up to 64) that write their
// keys at once, each on a thread of its own with a writer of its own. The
// keys are then split at values of their first bytes into as many sides,
// each sorted on a thread of its own; keys that tie in their first bytes
// stand on one side. The order does not depend on the parts.
class SortKeys
{
public:
    // How the keys are written: as a sample of the rows suggests, whole for
    // every text, or first their beginnings (the order is the same).
    enum class Writing { Chosen, Whole, Beginnings };

    SortKeys(const TableData &table, int column, const QCollator &collator, int parts,
             Writing writing = Writing::Chosen);
    ~SortKeys();
    SortKeys(const SortKeys &) = delete;
    SortKeys &operator=(const SortKeys &) = delete;

    // The rows in the order of their keys, ascending or descending; rows with
    // equal keys keep their order in the table either way. Sorts the entries
    // in place, so it is meant to be asked once.
    std::vector<int> order(Qt::SortOrder direction);

private:
    struct Entry
    {
        std::uint64_t head; // the key's first eight bytes, big-endian, zero after its end
        std::uint32_t key; // the key's number
        std::uint32_t rest; // where the rest of a key written whole is kept, in the store of its part
    };
    struct Part;
    class ByteStore;

    bool beginningsWorthIt(SortKeyWriter &writer) const;
    // Writes the keys of part p's rows with its writer.
    void writeKeys(Part &part, int p, bool digits);
    // The rest of a key written whole, past its head.
    const unsigned char *restOf(const Entry &e) const;
    // Whether two keys are equal, every byte.
    bool equal(const Entry &a, const Entry &b) const;
    // Sorts count entries by key (then number), ascending for sign 1,
    // descending for -1, with the writer of side s.
    void sortSide(Entry *entries, size_t count, int sign, int side);
    // Where only the heads were written, appends the bytes of key past the
    // eighth (the entry's head), ending in a zero, written now with side
    // s's writer.
    void writeRest(std::vector<unsigned char> &rests, std::uint32_t key, int side);
    // Where the rows of part p begin; rowStart(parts) is their end.
    size_t rowStart(int p) const { return m_rows * size_t(p) / size_t(m_parts); }
    // The entries sorted by key (then number), handed to put one by one,
    // from a thread of each side: put(position, entry).
    template<typename Put>
    void sortEntries(int sign, Put put);

    const TableData &m_table;
    int m_column;
    int m_parts;
    size_t m_rows;
    bool m_beginnings = false; // only the heads were written at first
    // One for each part, and then for each side, since a collator may be
    // used by one thread only.
    std::vector<std::unique_ptr<SortKeyWriter>> m_writers;
    // The keys, the parts' one after the other: room for one per row, left
    // untouched (and so costing no memory) where rows share keys.
    std::unique_ptr<Entry[]> m_entries;
    std::uint32_t m_keyCount = 0;
    std::vector<std::uint32_t> m_firstKey; // of each part
    // Where keys are written whole, the rests of the keys that go on past
    // their heads, in a store for each part.
    std::vector<std::unique_ptr<ByteStore>> m_stores;
    // The key of each row; null when every row has a key of its own, whose
    // number is the row's.
    std::unique_ptr<std::uint32_t[]> m_keyOfRow;
};
