#include "SortKeys.h"

#include "SortKeyWriter.h"
#include "base/Parallel.h"
#include "document/TableData.h"

#include <QtEndian>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <new>
#include <numeric>
#include <string>

namespace {

constexpr size_t kHeadBytes = 8;
// Each part has a writer of its own and stores its keys' rests apart.
constexpr int kMostParts = 64;
// Texts are looked up among those seen while at least one row in this many
// of a stretch of rows repeats one; below that the lookups stop.
constexpr size_t kRepeatShare = 8;
constexpr size_t kStretch = 16384;
// The beginnings of the keys are written first when fewer than one in this
// many of a sample of the rows tie with another in them: a tie costs the
// whole key besides, and the ties of a sample are far fewer than those of
// all rows.
constexpr size_t kTieShare = 8;
constexpr size_t kSampleRows = 4096;
// How many entries ahead the rests of keys are asked for, where they are
// read from all over the memory.
constexpr size_t kAhead = 8;
// How many rows ahead the texts are asked for while keys are written.
constexpr size_t kTextsAhead = 8;

// The eight bytes at p of a key that ends in a zero byte, as a head:
// big-endian, the bytes from the key's end on zero. Eight bytes from p must
// be readable.
std::uint64_t headAt(const unsigned char *p)
{
    std::uint64_t bytes = qFromLittleEndian<std::uint64_t>(p);
    // Marks the zero bytes; the lowest mark, the first zero in memory, is
    // always right.
    const std::uint64_t zeros = (bytes - 0x0101010101010101ULL) & ~bytes & 0x8080808080808080ULL;
    if (zeros != 0) {
        const int end = __builtin_ctzll(zeros) / 8;
        bytes &= end == 0 ? 0 : ~std::uint64_t(0) >> (64 - 8 * end);
    }
    return qbswap(bytes);
}

// The head of a key, or of the first up to eight bytes of one.
std::uint64_t headOf(QByteArrayView key)
{
    unsigned char bytes[kHeadBytes] = {};
    std::memcpy(bytes, key.data(), std::min(size_t(key.size()), kHeadBytes));
    return headAt(bytes);
}

// Whether the key goes on past its head: its end, the zero, is not in it.
bool fullHead(std::uint64_t head)
{
    return (head & 0xFF) != 0;
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

// Sorts count entries by their heads, ascending for sign 1 and descending for
// -1, and entries with equal heads that hold their keys' ends by their
// numbers, in place: the entries are moved into buckets by the first byte of
// their heads, each bucket by the next byte, and so on, and few entries are
// sorted one by one. Needs no second array of the entries, as a sort by the
// last byte first does.
template<typename Keyed>
void sortByHeadInPlace(Keyed *entries, size_t count, int sign, int byte = 0)
{
    const auto before = [sign](const Keyed &a, const Keyed &b) {
        return a.head != b.head ? (a.head < b.head) == (sign > 0) : a.key < b.key;
    };
    constexpr size_t kFewEntries = 32;
    for (;;) {
        if (count < kFewEntries) {
            for (size_t i = 1; i < count; ++i) {
                const Keyed entry = entries[i];
                size_t j = i;
                for (; j > 0 && before(entry, entries[j - 1]); --j)
                    entries[j] = entries[j - 1];
                entries[j] = entry;
            }
            return;
        }
        if (byte == int(kHeadBytes)) {
            // The heads are equal: the keys too where they end in them. Keys
            // that go on are ordered by their rests later, numbers included.
            if (!fullHead(entries[0].head))
                std::sort(entries, entries + count, [](const Keyed &a, const Keyed &b) { return a.key < b.key; });
            return;
        }
        const int shift = 8 * (int(kHeadBytes) - 1 - byte);
        // The buckets in the order they go in: by the byte, or its opposite.
        const auto bucket = [shift, sign](const Keyed &e) {
            const auto digit = size_t((e.head >> shift) & 0xFF);
            return sign > 0 ? digit : 255 - digit;
        };
        std::array<size_t, 256> number{};
        for (size_t i = 0; i < count; ++i)
            ++number[bucket(entries[i])];
        if (std::find(number.begin(), number.end(), count) != number.end()) {
            ++byte; // all in one bucket
            continue;
        }
        std::array<size_t, 256> next;
        std::array<size_t, 256> end;
        size_t at = 0;
        for (size_t b = 0; b < 256; ++b) {
            next[b] = at;
            at += number[b];
            end[b] = at;
        }
        // Each entry goes to the next free place of its bucket, and the one
        // there moves on in its turn.
        for (size_t b = 0; b < 256; ++b) {
            while (next[b] < end[b]) {
                Keyed moving = entries[next[b]];
                for (size_t to = bucket(moving); to != b; to = bucket(moving))
                    std::swap(moving, entries[next[to]++]);
                entries[next[b]++] = moving;
            }
        }
        size_t first = 0;
        for (size_t b = 0; b < 256; ++b) {
            if (number[b] > 1)
                sortByHeadInPlace(entries + first, number[b], sign, byte + 1);
            first += number[b];
        }
        return;
    }
}

} // namespace

// Bytes kept for as long as the store lives, with eight readable bytes after
// each, each at a place told in 32 bits: its block (4 MB, or a block of its
// own where longer) and where in the block, in steps of four bytes.
class SortKeys::ByteStore
{
public:
    std::uint32_t keep(const unsigned char *bytes, size_t size)
    {
        if (m_used + size + kHeadBytes > m_capacity) {
            if (m_blocks.size() == kMostBlocks)
                throw std::bad_alloc(); // 16 GB of keys for one part
            m_capacity = std::max(kBlockBytes, size + kHeadBytes);
            m_blocks.emplace_back(new unsigned char[m_capacity]);
            m_used = 0;
        }
        unsigned char *const at = m_blocks.back().get() + m_used;
        std::memcpy(at, bytes, size);
        std::memset(at + size, 0, kHeadBytes);
        const auto place = std::uint32_t((m_blocks.size() - 1) << kOffsetBits | m_used / kStep);
        m_used = (m_used + size + kStep - 1) / kStep * kStep;
        return place;
    }
    const unsigned char *at(std::uint32_t place) const
    {
        return m_blocks[place >> kOffsetBits].get() + size_t(place & ((1u << kOffsetBits) - 1)) * kStep;
    }

private:
    static constexpr int kOffsetBits = 20;
    static constexpr size_t kStep = 4;
    static constexpr size_t kBlockBytes = kStep << kOffsetBits;
    static constexpr size_t kMostBlocks = size_t(1) << (32 - kOffsetBits);
    std::vector<std::unique_ptr<unsigned char[]>> m_blocks;
    size_t m_used = 0;
    size_t m_capacity = 0;
};

// One part's keys while they are written, numbered and kept from the part's
// first row on in the entries and rests.
struct SortKeys::Part
{
    size_t firstRow = 0;
    size_t endRow = 0;
    std::uint32_t keys = 0;
    bool shared = false; // some rows share a key: m_keyOfRow holds the key of each
};

SortKeys::SortKeys(const TableData &table, int column, const QCollator &collator, int parts, Writing writing)
    : m_table(table)
    , m_column(column)
    , m_parts(std::clamp(parts, 1, kMostParts))
    , m_rows(size_t(table.recordCount()))
    , m_entries(new Entry[m_rows])
{
    std::vector<Part> keys(static_cast<size_t>(m_parts));
    m_writers.resize(size_t(m_parts));
    for (int p = 0; p < m_parts; ++p) {
        keys[size_t(p)].firstRow = rowStart(p);
        keys[size_t(p)].endRow = rowStart(p + 1);
    }
    // A column of numbers alone is sorted by their digits. Each part makes
    // its writer meanwhile, which takes a few checks of the collator.
    std::vector<char> numbers(static_cast<size_t>(m_parts));
    Parallel::forEachPart(m_parts, [&](int p) {
        m_writers[size_t(p)] = std::make_unique<SortKeyWriter>(collator);
        const Part &part = keys[size_t(p)];
        bool all = m_writers[size_t(p)]->digitsInCharacterOrder();
        for (size_t row = part.firstRow; all && row < part.endRow; ++row) {
            for (const QChar c : table.cell(int(row), column))
                all = all && c >= u'0' && c <= u'9';
        }
        numbers[size_t(p)] = all;
    });
    const bool digits = std::find(numbers.begin(), numbers.end(), false) == numbers.end();
    for (;;) {
        m_beginnings = !digits && m_writers[0]->writesKeyStarts()
            && (writing == Writing::Beginnings || (writing == Writing::Chosen && beginningsWorthIt(*m_writers[0])));
        if (!m_beginnings) {
            // The rests of the keys, written whole, in a store for each part.
            for (int p = 0; p < m_parts; ++p)
                m_stores.push_back(std::make_unique<ByteStore>());
            m_keyOfRow.reset(new std::uint32_t[m_rows]); // touched only where rows share keys
        }
        Parallel::forEachPart(m_parts, [&](int p) { writeKeys(keys[size_t(p)], p, digits); });
        const auto outside = [](const std::unique_ptr<SortKeyWriter> &w) { return w->metTextOutsideWeights(); };
        if (std::none_of(m_writers.begin(), m_writers.end(), outside))
            break;
        // A text holds a character the weights do not weigh (one typed or
        // pasted, which the file cannot hold): ICU's keys for every text,
        // since the two kinds do not compare.
        for (const std::unique_ptr<SortKeyWriter> &writer : m_writers)
            writer->dropCharacterWeights();
        m_stores.clear();
        m_keyOfRow.reset();
    }

    // The parts' keys one after the other. A part numbers its keys from its
    // first row on, so where the parts before it gave every row a key of its
    // own, its keys already stand in their places.
    m_firstKey.push_back(0);
    const bool shared = std::any_of(keys.begin(), keys.end(), [](const Part &part) { return part.shared; });
    for (Part &part : keys) {
        const std::uint32_t first = m_firstKey.back();
        const auto gap = std::uint32_t(part.firstRow - first);
        if (shared && !part.shared) // each row its own key, none written
            std::iota(m_keyOfRow.get() + part.firstRow, m_keyOfRow.get() + part.endRow, std::uint32_t(part.firstRow));
        if (gap > 0) {
            Entry *const entries = m_entries.get() + part.firstRow;
            for (std::uint32_t k = 0; k < part.keys; ++k)
                entries[k].key -= gap;
            if (shared) {
                for (size_t row = part.firstRow; row < part.endRow; ++row)
                    m_keyOfRow[row] -= gap;
            }
            std::memmove(m_entries.get() + first, entries, part.keys * sizeof(Entry));
        }
        m_firstKey.push_back(first + part.keys);
    }
    m_keyCount = m_firstKey.back();
    if (!shared)
        m_keyOfRow.reset();
}

SortKeys::~SortKeys() = default;

// The beginnings are worth writing first where the keys of a sample of rows,
// spread over the table, hardly tie in them.
bool SortKeys::beginningsWorthIt(SortKeyWriter &writer) const
{
    const size_t count = std::min(m_rows, kSampleRows);
    std::vector<std::uint64_t> heads(count);
    for (size_t i = 0; i < count; ++i)
        heads[i] = headOf(writer.keyStart(m_table.cell(int(m_rows * i / count), m_column), int(kHeadBytes)));
    std::sort(heads.begin(), heads.end());
    size_t tied = 0;
    for (size_t i = 0; i < count;) {
        size_t j = i + 1;
        while (j < count && heads[j] == heads[i])
            ++j;
        if (j - i > 1)
            tied += j - i;
        i = j;
    }
    return tied * kTieShare < count;
}

// Writes the keys of the part's rows: their heads alone, or whole, one per
// text while texts repeat, one per row where they hardly do.
void SortKeys::writeKeys(Part &part, int p, bool digits)
{
    SortKeyWriter &writer = *m_writers[size_t(p)];
    part.keys = 0;
    part.shared = false;
    if (m_beginnings) {
        for (size_t row = part.firstRow; row < part.endRow; ++row) {
            if (row + kTextsAhead < part.endRow)
                __builtin_prefetch(m_table.cell(int(row + kTextsAhead), m_column).utf16());
            const QByteArrayView start = writer.keyStart(m_table.cell(int(row), m_column), int(kHeadBytes));
            m_entries[row] = {headOf(start), std::uint32_t(row), 0};
        }
        part.keys = std::uint32_t(part.endRow - part.firstRow);
        return;
    }
    ByteStore &store = *m_stores[size_t(p)];
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
        if (row + kTextsAhead < part.endRow)
            __builtin_prefetch(m_table.cell(int(row + kTextsAhead), m_column).utf16());
        const QStringView text = m_table.cell(int(row), m_column);
        if (lookingUp) {
            const std::uint32_t found = index.find(text); // the part's own number of the key
            if (found != TextIndex::kNone) {
                if (!part.shared) { // the rows before had keys of their own, numbered as they are
                    std::iota(m_keyOfRow.get() + part.firstRow, m_keyOfRow.get() + row, std::uint32_t(part.firstRow));
                    part.shared = true;
                }
                m_keyOfRow[row] = std::uint32_t(part.firstRow + found);
                ++repeats;
                continue;
            }
        }
        const auto key = std::uint32_t(part.firstRow + part.keys++);
        const QByteArrayView bytes = digits ? writer.digitKey(text) : writer.key(text);
        const auto *data = reinterpret_cast<const unsigned char *>(bytes.data());
        const std::uint64_t head = headOf(bytes);
        m_entries[key] = {head, key,
                          fullHead(head) ? store.keep(data + kHeadBytes, size_t(bytes.size()) - kHeadBytes) : 0};
        if (part.shared)
            m_keyOfRow[row] = key;
        if (lookingUp)
            index.add(text, key - std::uint32_t(part.firstRow));
    }
}

// Only the key's head was written: the whole key now, its bytes past the head
// (or the zero that ends it) appended. Its row is its number.
void SortKeys::writeRest(std::vector<unsigned char> &rests, std::uint32_t key, int side)
{
    const QByteArrayView whole = m_writers[size_t(side)]->key(m_table.cell(int(key), m_column));
    static const unsigned char kEnded[] = {0};
    const auto *bytes =
        size_t(whole.size()) > kHeadBytes ? reinterpret_cast<const unsigned char *>(whole.data()) + kHeadBytes : kEnded;
    const size_t size = size_t(whole.size()) > kHeadBytes ? size_t(whole.size()) - kHeadBytes : 1;
    rests.insert(rests.end(), bytes, bytes + size);
}

const unsigned char *SortKeys::restOf(const Entry &e) const
{
    size_t part = 0;
    while (e.key >= m_firstKey[part + 1])
        ++part;
    return m_stores[part]->at(e.rest);
}

bool SortKeys::equal(const Entry &a, const Entry &b) const
{
    return a.head == b.head
        && (!fullHead(a.head)
            || std::strcmp(reinterpret_cast<const char *>(restOf(a)), reinterpret_cast<const char *>(restOf(b))) == 0);
}

// Sorts by the heads, then orders the keys that tie in them by the bytes that
// follow, eight at a time: each round reads the next eight bytes of every key
// of a run once, into an item of its own, where comparing whole keys would
// read two rests for each comparison from all over the memory. Keys equal to
// their end go in the order of their numbers.
void SortKeys::sortSide(Entry *entries, size_t count, int sign, int side)
{
    sortByHeadInPlace(entries, count, sign);

    struct Item
    {
        std::uint64_t head; // the eight bytes of the key from the run's offset on
        const unsigned char *rest; // the key's bytes after its head
        std::uint32_t key;
        std::uint32_t place; // its entry's rest
    };
    // The items from begin to end, whose keys share their first offset bytes.
    struct Run
    {
        size_t begin;
        size_t end;
        size_t offset;
    };
    std::vector<Item> items;
    std::vector<unsigned char> written; // the rests of a run's keys, where only their heads were written
    std::vector<size_t> writtenAt; // where each begins in written
    std::vector<Run> runs;
    // Where the rests were written whole, those of keys that tie in their
    // heads are asked for ahead, across runs.
    const auto tied = [&](size_t k) {
        return fullHead(entries[k].head)
            && ((k > 0 && entries[k - 1].head == entries[k].head)
                || (k + 1 < count && entries[k + 1].head == entries[k].head));
    };
    size_t asked = 0;
    const auto askAhead = [&](size_t upTo) {
        for (; !m_beginnings && asked < std::min(upTo, count); ++asked) {
            if (tied(asked))
                __builtin_prefetch(restOf(entries[asked]));
        }
    };
    for (size_t i = 0; i < count;) {
        size_t j = i + 1;
        while (j < count && entries[j].head == entries[i].head)
            ++j;
        askAhead(j + 2 * kAhead);
        if (j - i > 1 && fullHead(entries[i].head)) {
            items.resize(j - i);
            if (!m_beginnings) {
                for (size_t k = i; k < j; ++k)
                    items[k - i] = {0, restOf(entries[k]), entries[k].key, entries[k].rest};
            } else {
                written.clear();
                writtenAt.clear();
                for (size_t k = i; k < j; ++k) {
                    writtenAt.push_back(written.size());
                    writeRest(written, entries[k].key, side);
                }
                written.resize(written.size() + kHeadBytes); // readable past the last
                for (size_t k = i; k < j; ++k)
                    items[k - i] = {0, written.data() + writtenAt[k - i], entries[k].key, 0};
            }
            runs.push_back({0, j - i, kHeadBytes});
            while (!runs.empty()) {
                const Run run = runs.back();
                runs.pop_back();
                const size_t from = run.offset - kHeadBytes; // the rests begin after the head
                // The bytes all the run's keys share here are passed over at
                // once: texts that share long beginnings (a word, then a
                // number) would take a pass over the items for each.
                std::uint64_t differ = 0;
                for (size_t k = run.begin; k < run.end; ++k) {
                    items[k].head = headAt(items[k].rest + from);
                    differ |= items[k].head ^ items[run.begin].head;
                }
                const int shared = differ == 0 ? int(kHeadBytes) : __builtin_clzll(differ) / 8;
                sortByHeadInPlace(items.data() + run.begin, run.end - run.begin, sign, shared);
                for (size_t k = run.begin; k < run.end;) {
                    size_t l = k + 1;
                    while (l < run.end && items[l].head == items[k].head)
                        ++l;
                    if (l - k > 1 && fullHead(items[k].head))
                        runs.push_back({k, l, run.offset + kHeadBytes});
                    k = l;
                }
            }
            for (size_t k = i; k < j; ++k)
                entries[k] = {entries[k].head, items[k - i].key, items[k - i].place};
        }
        i = j;
    }
}

template<typename Put>
void SortKeys::sortEntries(int sign, Put put)
{
    const size_t count = m_keyCount;
    if (m_parts == 1) {
        sortSide(m_entries.get(), count, sign, 0);
        for (size_t k = 0; k < count; ++k)
            put(k, m_entries[k]);
        return;
    }
    // The values of the heads that split a sample of them into as many sides
    // as parts, alike in size; the sample's heads equal to a value go to the
    // side that comes nearer to its share.
    const auto sides = size_t(m_parts);
    const size_t samples = std::min<size_t>(count, 1024);
    std::vector<std::uint64_t> sample(samples);
    for (size_t i = 0; i < samples; ++i)
        sample[i] = m_entries[count * i / samples].head;
    std::sort(sample.begin(), sample.end());
    std::vector<std::uint64_t> splits; // side s holds the heads from splits[s - 1] on, below splits[s]
    for (size_t s = 1; s < sides; ++s) {
        const size_t share = samples * s / sides;
        const std::uint64_t at = sample[std::min(share, samples - 1)];
        const auto below = size_t(std::lower_bound(sample.begin(), sample.end(), at) - sample.begin());
        const auto upTo = size_t(std::upper_bound(sample.begin(), sample.end(), at) - sample.begin());
        const auto away = [share](size_t n) { return n > share ? n - share : share - n; };
        const std::uint64_t split = at != ~std::uint64_t(0) && away(upTo) < away(below) ? at + 1 : at;
        splits.push_back(std::max(split, splits.empty() ? 0 : splits.back()));
    }
    const auto sideOf = [&splits](const Entry &e) { // few sides: one by one
        size_t s = 0;
        while (s < splits.size() && splits[s] <= e.head)
            ++s;
        return s;
    };

    // The entries of each side together, side after side: each part puts
    // its own in the order of their sides, each entry moved to the next free
    // place of its side and the one there moving on in its turn; then the
    // parts' blocks of each side are rotated next to each other. The order
    // within a side does not matter: it is sorted to the end, entries with
    // equal keys by their numbers.
    Entry *const entries = m_entries.get();
    std::vector<std::vector<size_t>> blockBegin(sides, std::vector<size_t>(sides + 1)); // [part][side]
    Parallel::forEachPart(m_parts, [&](int p) {
        const size_t first = m_firstKey[size_t(p)];
        const size_t end = m_firstKey[size_t(p) + 1];
        std::vector<size_t> &begin = blockBegin[size_t(p)];
        if (sides == 2) { // one pass
            const Entry *const middle = std::partition(entries + first, entries + end,
                                                       [&splits](const Entry &e) { return e.head < splits[0]; });
            begin = {first, size_t(middle - entries), end};
            return;
        }
        std::vector<size_t> counts(sides);
        for (size_t k = first; k < end; ++k)
            ++counts[sideOf(entries[k])];
        begin[0] = first;
        for (size_t s = 0; s < sides; ++s)
            begin[s + 1] = begin[s] + counts[s];
        std::vector<size_t> next(begin.begin(), begin.end() - 1);
        for (size_t s = 0; s < sides; ++s) {
            while (next[s] < begin[s + 1]) {
                Entry moving = entries[next[s]];
                for (size_t to = sideOf(moving); to != s; to = sideOf(moving))
                    std::swap(moving, entries[next[to]++]);
                entries[next[s]++] = moving;
            }
        }
    });
    struct Block
    {
        size_t begin;
        size_t size;
    };
    std::vector<Block> blocks; // by part, then side, where they are now
    for (const std::vector<size_t> &begin : blockBegin) {
        for (size_t s = 0; s < sides; ++s)
            blocks.push_back({begin[s], begin[s + 1] - begin[s]});
    }
    std::vector<size_t> sideBegin(sides + 1);
    size_t placed = 0;
    for (size_t s = 0; s < sides; ++s) {
        sideBegin[s] = placed;
        for (size_t p = 0; p < sides; ++p) {
            Block &block = blocks[p * sides + s];
            if (block.begin != placed) {
                // The blocks between move up by the block's size.
                std::rotate(entries + placed, entries + block.begin, entries + block.begin + block.size);
                for (Block &other : blocks) {
                    if (other.begin >= placed && other.begin < block.begin)
                        other.begin += block.size;
                }
                block.begin = placed;
            }
            placed += block.size;
        }
    }
    sideBegin[sides] = placed;
    Parallel::forEachPart(m_parts, [&](int p) {
        const auto s = size_t(p);
        const size_t n = sideBegin[s + 1] - sideBegin[s];
        sortSide(entries + sideBegin[s], n, sign, p);
        // Ascending, the low sides come first; descending, the high ones.
        const size_t at = sign > 0 ? sideBegin[s] : count - sideBegin[s] - n;
        for (size_t k = 0; k < n; ++k)
            put(at + k, entries[sideBegin[s] + k]);
    });
}

std::vector<int> SortKeys::order(Qt::SortOrder direction)
{
    const int sign = direction == Qt::AscendingOrder ? 1 : -1;
    std::vector<int> rows(m_rows);
    if (!m_keyOfRow) {
        // A key per row, numbered as the rows: the order of the keys is the
        // order of the rows.
        sortEntries(sign, [&rows](size_t k, const Entry &e) { rows[k] = int(e.key); });
        return rows;
    }

    // The keys in order, then their ranks: equal keys share one.
    std::vector<Entry> sorted(m_keyCount);
    sortEntries(sign, [&sorted](size_t k, const Entry &e) { sorted[k] = e; });
    m_entries.reset();
    std::vector<std::uint32_t> rankOfKey(sorted.size());
    std::uint32_t rank = 0;
    for (size_t k = 0; k < sorted.size(); ++k) {
        if (k > 0 && !equal(sorted[k - 1], sorted[k]))
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
