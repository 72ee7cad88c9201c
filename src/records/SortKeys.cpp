#include "SortKeys.h"

#include "SortKeyWriter.h"
#include "base/Parallel.h"
#include "document/TableData.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

namespace {

constexpr int kHeadBytes = 8;
// Texts are looked up among those seen while at least one row in this many
// of a stretch of rows repeats one; below that the lookups stop.
constexpr size_t kRepeatShare = 8;
constexpr size_t kStretch = 16384;

// The first length bytes at p (at most eight), big-endian and zero-padded,
// as a sort entry's head holds them.
std::uint64_t headOf(const unsigned char *p, size_t length)
{
    std::uint64_t head = 0;
    for (size_t i = 0; i < size_t(kHeadBytes); ++i)
        head = head << 8 | (i < length ? p[i] : 0u);
    return head;
}

std::uint64_t hashOf(QStringView text)
{
    std::uint64_t h = 0x9E3779B97F4A7C15ULL ^ std::uint64_t(text.size());
    const char16_t *p = text.utf16();
    qsizetype left = text.size();
    for (; left >= 4; p += 4, left -= 4) {
        std::uint64_t word;
        std::memcpy(&word, p, sizeof word);
        h = (h ^ word) * 0xFF51AFD7ED558CCDULL;
        h ^= h >> 32;
    }
    for (; left > 0; ++p, --left)
        h = (h ^ *p) * 0xC4CEB9FE1A85EC53ULL;
    return h ^ (h >> 29);
}

// The texts a part has given keys, found by text: open addressing over a
// power-of-two table of slots. The texts are copied into a pool of their
// own, where looking them up stays in a little memory instead of roaming
// over the table's.
class TextIndex
{
public:
    static constexpr std::uint32_t kNone = 0xFFFFFFFF;

    // The key of text, or kNone; then add(text, key) may follow.
    std::uint32_t find(QStringView text)
    {
        if (2 * (m_used + 1) > m_slots.size())
            grow();
        m_hash = hashOf(text);
        const size_t mask = m_slots.size() - 1;
        for (m_slot = size_t(m_hash) & mask;; m_slot = (m_slot + 1) & mask) {
            const Slot &s = m_slots[m_slot];
            if (s.key == kNone)
                return kNone;
            if (s.hash == std::uint32_t(m_hash >> 32) && textOf(s.key) == text)
                return s.key;
        }
    }
    // Adds the text find() did not find.
    void add(QStringView text, std::uint32_t key)
    {
        m_slots[m_slot] = {key, std::uint32_t(m_hash >> 32)};
        ++m_used;
        if (m_places.size() <= key)
            m_places.resize(key + 1);
        m_places[key] = {m_pool.size(), size_t(text.size())};
        m_pool.append(text.utf16(), size_t(text.size()));
    }
    void clear() { *this = TextIndex(); }

private:
    struct Slot
    {
        std::uint32_t key;
        std::uint32_t hash; // the high half of the text's hash
    };
    struct Place
    {
        size_t begin;
        size_t size;
    };

    QStringView textOf(std::uint32_t key) const
    {
        return QStringView(m_pool.data() + m_places[key].begin, qsizetype(m_places[key].size));
    }
    void grow()
    {
        const size_t size = std::max<size_t>(1024, 2 * m_slots.size());
        std::vector<Slot> old = std::exchange(m_slots, std::vector<Slot>(size, Slot{kNone, 0}));
        const size_t mask = m_slots.size() - 1;
        for (const Slot &s : old) {
            if (s.key == kNone)
                continue;
            size_t i = size_t(hashOf(textOf(s.key))) & mask;
            while (m_slots[i].key != kNone)
                i = (i + 1) & mask;
            m_slots[i] = s;
        }
    }

    std::vector<Slot> m_slots;
    size_t m_used = 0;
    std::u16string m_pool;
    std::vector<Place> m_places; // of each key's text in the pool
    std::uint64_t m_hash = 0; // of the text last looked for
    size_t m_slot = 0; // where it was not found
};

} // namespace

// One part's keys while they are written, numbered from 0 and kept from
// the part's first row on in the entries and tail starts.
struct SortKeys::Part
{
    size_t firstRow = 0;
    size_t endRow = 0;
    std::uint32_t keys = 0;
    std::vector<unsigned char> tails;
    bool shared = false; // some rows share a key
};

SortKeys::SortKeys(const TableData &table, int column, const QCollator &collator, int parts)
    : m_parts(std::clamp(parts, 1, 2))
    , m_rows(size_t(table.recordCount()))
    , m_entries(new Entry[m_rows])
    , m_tailStarts(new size_t[m_rows])
    , m_keyOfRow(m_rows)
{
    std::vector<Part> keys(static_cast<size_t>(m_parts));
    for (int p = 0; p < m_parts; ++p) {
        keys[size_t(p)].firstRow = rowStart(p);
        keys[size_t(p)].endRow = rowStart(p + 1);
    }
    // Each part has a writer of its own, made here since a QCollator may be
    // used by one thread only.
    std::vector<std::unique_ptr<SortKeyWriter>> writers;
    for (int p = 0; p < m_parts; ++p)
        writers.push_back(std::make_unique<SortKeyWriter>(collator));
    // A column of numbers alone is sorted by their digits.
    std::vector<char> numbers(static_cast<size_t>(m_parts));
    Parallel::forEachPart(m_parts, [&](int p) {
        const Part &part = keys[size_t(p)];
        bool all = writers[size_t(p)]->digitsInCharacterOrder();
        for (size_t row = part.firstRow; all && row < part.endRow; ++row) {
            for (const QChar c : table.cell(int(row), column))
                all = all && c >= u'0' && c <= u'9';
        }
        numbers[size_t(p)] = all;
    });
    const bool digits = std::find(numbers.begin(), numbers.end(), false) == numbers.end();
    Parallel::forEachPart(m_parts,
                          [&](int p) { writeKeys(keys[size_t(p)], table, column, *writers[size_t(p)], digits); });

    // The parts' keys one after the other, numbered on.
    m_firstKey.push_back(0);
    bool shared = false;
    for (Part &part : keys) {
        const std::uint32_t first = m_firstKey.back();
        Entry *const entries = m_entries.get() + part.firstRow;
        for (std::uint32_t k = 0; k < part.keys; ++k)
            entries[k].key += first;
        if (first > 0) {
            for (size_t row = part.firstRow; row < part.endRow; ++row)
                m_keyOfRow[row] += first;
        }
        std::memmove(m_entries.get() + first, entries, part.keys * sizeof(Entry));
        size_t *const tailStarts = m_tailStarts.get();
        std::memmove(tailStarts + first, tailStarts + part.firstRow, part.keys * sizeof(size_t));
        m_tails.push_back(std::move(part.tails));
        m_firstKey.push_back(first + part.keys);
        shared = shared || part.shared;
    }
    if (!shared)
        m_keyOfRow = {};
}

// Writes the keys of the part's rows: one per text while texts repeat,
// one per row where they hardly do.
void SortKeys::writeKeys(Part &part, const TableData &table, int column, SortKeyWriter &writer, bool digits)
{
    TextIndex index;
    bool lookingUp = true;
    size_t repeats = 0;
    for (size_t row = part.firstRow; row < part.endRow; ++row) {
        // A column whose texts hardly repeat is not worth the lookups.
        if (lookingUp && row > part.firstRow && (row - part.firstRow) % kStretch == 0) {
            lookingUp = repeats * kRepeatShare >= kStretch;
            repeats = 0;
            if (!lookingUp)
                index.clear();
        }
        const QStringView text = table.cell(int(row), column);
        if (lookingUp) {
            const std::uint32_t found = index.find(text);
            if (found != TextIndex::kNone) {
                m_keyOfRow[row] = found;
                ++repeats;
                part.shared = true;
                continue;
            }
        }
        const std::uint32_t key = part.keys++;
        const QByteArrayView bytes = digits ? writer.digitKey(text) : writer.key(text);
        const auto *data = reinterpret_cast<const unsigned char *>(bytes.data());
        const auto headLength = std::min<qsizetype>(bytes.size(), kHeadBytes);
        m_entries[part.firstRow + key] = {headOf(data, size_t(headLength)), key, std::uint32_t(headLength)};
        m_tailStarts[part.firstRow + key] = part.tails.size();
        part.tails.insert(part.tails.end(), data + headLength, data + bytes.size());
        m_keyOfRow[row] = key;
        if (lookingUp)
            index.add(text, key);
    }
}

const unsigned char *SortKeys::tail(std::uint32_t key, size_t &size) const
{
    const int p = m_parts > 1 && key >= m_firstKey[1] ? 1 : 0;
    const std::vector<unsigned char> &tails = m_tails[size_t(p)];
    const size_t begin = m_tailStarts[key];
    size = (key + 1 == m_firstKey[size_t(p) + 1] ? tails.size() : m_tailStarts[key + 1]) - begin;
    return tails.data() + begin;
}

// Byte order of the whole keys. Zero padding keeps the heads in that order; on
// equal heads the shorter key is a prefix of the longer one, and only keys that
// fill their heads have tails to compare.
int SortKeys::compare(const Entry &a, const Entry &b) const
{
    if (a.head != b.head)
        return a.head < b.head ? -1 : 1;
    if (a.headLength != b.headLength)
        return a.headLength < b.headLength ? -1 : 1;
    size_t aSize = 0;
    size_t bSize = 0;
    const unsigned char *aTail = tail(a.key, aSize);
    const unsigned char *bTail = tail(b.key, bSize);
    const size_t common = std::min(aSize, bSize);
    if (common > 0) {
        const int c = std::memcmp(aTail, bTail, common);
        if (c != 0)
            return c < 0 ? -1 : 1;
    }
    return aSize < bSize ? -1 : aSize > bSize ? 1 : 0;
}

// Keys that share their first eight bytes are ordered by the bytes that
// follow, eight at a time: each round reads every tail of a run once, into
// an entry of its own, where comparing whole keys would read two tails for
// each comparison from all over the buffer.
void SortKeys::sortPart(Entry *entries, size_t count, int sign) const
{
    const auto before = [sign](const Entry &a, const Entry &b) {
        if (a.head != b.head)
            return (a.head < b.head) == (sign > 0);
        if (a.headLength != b.headLength)
            return (a.headLength < b.headLength) == (sign > 0);
        return a.key < b.key;
    };
    // The entries from begin to end, whose keys share their first offset
    // bytes: they are ordered by the bytes from there on.
    struct Run
    {
        size_t begin;
        size_t end;
        size_t offset;
    };
    std::vector<Run> runs;
    // Finds the runs among entries sorted by their keys' eight bytes from
    // offset on; at(i) is the entry at place i, with those bytes in its head.
    const auto findRuns = [&runs](auto at, size_t begin, size_t end, size_t offset) {
        for (size_t i = begin; i < end;) {
            const Entry &e = at(i);
            size_t j = i + 1;
            while (j < end && at(j).head == e.head && at(j).headLength == e.headLength)
                ++j;
            if (j - i > 1 && e.headLength == kHeadBytes)
                runs.push_back({i, j, offset + kHeadBytes});
            i = j;
        }
    };

    // Merge sorts: std::sort falls back to its slow heap sort on the number
    // column's texts in row order.
    std::stable_sort(entries, entries + count, before);
    findRuns([entries](size_t i) -> const Entry & { return entries[i]; }, 0, count, 0);
    // The entries keep their heads, which are equal throughout a run; only
    // the order of their keys changes. The next eight bytes of a run's keys
    // are sorted in scratch entries, at the run's places counted from the
    // first run it lies in; the runs found among them reuse those places
    // once they have been found.
    std::vector<Entry> scratch;
    const std::vector<Run> firstRuns = std::exchange(runs, {});
    for (const Run &first : firstRuns) {
        scratch.resize(std::max(scratch.size(), first.end - first.begin));
        const auto item = [&scratch, &first](size_t i) { return scratch.begin() + ptrdiff_t(i - first.begin); };
        runs.push_back(first);
        while (!runs.empty()) {
            const Run run = runs.back();
            runs.pop_back();
            for (size_t i = run.begin; i < run.end; ++i) {
                size_t size = 0;
                const unsigned char *bytes = tail(entries[i].key, size);
                const size_t from = run.offset - kHeadBytes; // the tail starts at the key's ninth byte
                const size_t length = size > from ? std::min(size - from, size_t(kHeadBytes)) : 0;
                const std::uint64_t head = length > 0 ? headOf(bytes + from, length) : 0;
                *item(i) = {head, entries[i].key, std::uint32_t(length)};
            }
            std::stable_sort(item(run.begin), item(run.end), before);
            for (size_t i = run.begin; i < run.end; ++i)
                entries[i].key = item(i)->key;
            findRuns([&item](size_t i) -> const Entry & { return *item(i); }, run.begin, run.end, run.offset);
        }
    }
}

template<typename Put>
void SortKeys::sortEntries(int sign, Put put)
{
    // Ties broken by number make the order a strict one: no two entries are
    // equal, so the halves merge from both ends.
    const auto before = [this, sign](const Entry &a, const Entry &b) {
        const int c = sign * compare(a, b);
        return c != 0 ? c < 0 : a.key < b.key;
    };
    const size_t count = m_firstKey.back();
    const size_t split = m_parts > 1 ? count / 2 : count;
    Entry *const entries = m_entries.get();
    Parallel::forEachPart(
        m_parts, [&](int p) { sortPart(entries + (p == 0 ? 0 : split), p == 0 ? split : count - split, sign); });
    if (m_parts == 1) {
        for (size_t k = 0; k < count; ++k)
            put(k, entries[k]);
        return;
    }
    // The first half from the fronts of the sorted halves, the second from
    // their backs.
    const Entry *const a = entries;
    const Entry *const b = entries + split;
    const size_t bSize = count - split;
    Parallel::forEachPart(2, [&](int p) {
        if (p == 0) {
            size_t i = 0, j = 0;
            for (size_t k = 0; k < count / 2; ++k)
                put(k, j == bSize || (i < split && before(a[i], b[j])) ? a[i++] : b[j++]);
        } else {
            size_t i = split, j = bSize; // one past the next to take
            for (size_t k = count; k-- > count / 2;)
                put(k, j == 0 || (i > 0 && before(b[j - 1], a[i - 1])) ? a[--i] : b[--j]);
        }
    });
}

std::vector<int> SortKeys::order(Qt::SortOrder direction)
{
    const int sign = direction == Qt::AscendingOrder ? 1 : -1;
    std::vector<int> rows(m_rows);
    if (m_keyOfRow.empty()) {
        // A key per row, numbered as the rows: the order of the keys is the
        // order of the rows.
        sortEntries(sign, [&rows](size_t k, const Entry &e) { rows[k] = int(e.key); });
        return rows;
    }

    // The keys in order, then their ranks: equal keys share one.
    std::vector<Entry> sorted(m_firstKey.back());
    sortEntries(sign, [&sorted](size_t k, const Entry &e) { sorted[k] = e; });
    m_entries.reset();
    std::vector<std::uint32_t> rankOfKey(sorted.size());
    std::uint32_t rank = 0;
    for (size_t k = 0; k < sorted.size(); ++k) {
        if (k > 0 && compare(sorted[k - 1], sorted[k]) != 0)
            ++rank;
        rankOfKey[sorted[k].key] = rank;
    }
    sorted = {};
    const size_t ranks = m_rows == 0 ? 0 : size_t(rank) + 1;

    // The rows placed by rank, each part's in row order after those of the
    // parts before it: equal rows keep their order.
    std::vector<std::vector<std::uint32_t>> next(static_cast<size_t>(m_parts), std::vector<std::uint32_t>(ranks));
    Parallel::forEachPart(m_parts, [&](int p) {
        std::vector<std::uint32_t> &count = next[size_t(p)];
        for (size_t row = rowStart(p); row < rowStart(p + 1); ++row)
            ++count[rankOfKey[m_keyOfRow[row]]];
    });
    std::uint32_t at = 0;
    for (size_t r = 0; r < ranks; ++r) {
        for (std::vector<std::uint32_t> &count : next)
            at += std::exchange(count[r], at);
    }
    Parallel::forEachPart(m_parts, [&](int p) {
        std::vector<std::uint32_t> &place = next[size_t(p)];
        for (size_t row = rowStart(p); row < rowStart(p + 1); ++row)
            rows[place[rankOfKey[m_keyOfRow[row]]]++] = int(row);
    });
    return rows;
}
