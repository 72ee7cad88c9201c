#include "TableData.h"

#include "base/Parallel.h"

#include <cassert>
#include <cstdint>

TableData::TableData()
{
    for (int c = 0; c < kColumnCount; ++c)
        m_columns[c] = {initialTitle(c), initialWidth(c)};
}

QString TableData::initialTitle(int column)
{
    return column == 0 ? QStringLiteral("№") : QString::number(column) + QStringLiteral(" столбец");
}

int TableData::initialWidth(int column)
{
    return column == 0 ? 30 : column == kColumnCount - 1 ? 50 : 100;
}

int TableData::minimumWidth(int column)
{
    return column == 0 ? 30 : 5;
}

int TableData::maximumWidth(int column)
{
    return column == 0 ? 30 : 0;
}

int TableData::constrainedWidth(int column, int w)
{
    if (w >= 0 && w < minimumWidth(column))
        return minimumWidth(column);
    if (maximumWidth(column) > 0 && w > maximumWidth(column))
        return maximumWidth(column);
    return w;
}

void TableData::reserve(int count)
{
    const size_t wanted = withRoom(size_t(count));
    if (wanted <= m_records.capacity())
        return;
    m_records.reserve(wanted);
}

TableData TableData::sharedCopy() const
{
    TableData copy;
    copy.m_columns = m_columns;
    const size_t count = m_records.size();
    copy.m_records.resize(count);
    // Each copy counts one more user of its text: records that own their
    // texts have them all over the memory, so each part asks ahead for the
    // counts it will raise.
    const int parts = Parallel::partsFor(qint64(count), 65536);
    Parallel::forEachPart(parts, [&](int part) {
        const size_t end = count * size_t(part + 1) / size_t(parts);
        constexpr size_t kAhead = 16;
        for (size_t i = count * size_t(part) / size_t(parts); i < end; ++i) {
            if (i + kAhead < end)
                m_records[i + kAhead].prefetchShare();
            copy.m_records[i] = m_records[i].sharingCopy();
        }
    });
    return copy;
}

Record TableData::takeRecord(int row)
{
    Record taken = std::move(m_records[row]);
    m_records.erase(m_records.begin() + row);
    return taken;
}

void TableData::restoreRecords(std::vector<Record> records)
{
    assert(m_records.empty());
    m_records = std::move(records);
}

// In place, with room for half the records besides: the records bound for
// the first half of the new order are gathered aside, the others close up
// at the front in their old order, from where they are gathered into the
// second half, and the first half comes back last. A new vector of all the
// records would hold the table's records twice (40 MB for a million).
void TableData::reorder(const std::vector<int> &order)
{
    assert(order.size() == m_records.size());
    const size_t count = m_records.size();
    const size_t half = (count + 1) / 2; // the rest, count - half, is no more
    const int parts = Parallel::partsFor(qint64(count), 8192);
    // Moves count records from where from(i) says to to(i), i = 0, 1, ...:
    // each part its share, asking ahead for the records it will fetch.
    const auto gather = [parts](size_t count, auto from, auto to) {
        Parallel::forEachPart(parts, [&](int part) {
            const size_t end = count * size_t(part + 1) / size_t(parts);
            constexpr size_t kAhead = 16;
            for (size_t i = count * size_t(part) / size_t(parts); i < end; ++i) {
                if (i + kAhead < end)
                    __builtin_prefetch(&from(i + kAhead));
                to(i) = std::move(from(i));
            }
        });
    };

    // The old rows bound for the first half, one bit each.
    constexpr size_t kBits = 64;
    std::vector<std::uint64_t> early((count + kBits - 1) / kBits);
    for (size_t to = 0; to < half; ++to)
        early[size_t(order[to]) / kBits] |= std::uint64_t(1) << (size_t(order[to]) % kBits);
    std::vector<Record> first(half);
    gather(
        half, [&](size_t i) -> Record & { return m_records[size_t(order[i])]; },
        [&](size_t i) -> Record & { return first[i]; });

    // The others close up, and where each went: its old row less the early
    // rows before it.
    std::vector<std::uint32_t> earlyBefore(early.size());
    size_t at = 0;
    for (size_t word = 0; word < early.size(); ++word) {
        earlyBefore[word] = std::uint32_t(word * kBits - at);
        for (std::uint64_t bits = ~early[word]; bits != 0; bits &= bits - 1) {
            const size_t row = word * kBits + size_t(__builtin_ctzll(bits));
            if (row >= count)
                break;
            if (at != row)
                m_records[at] = std::move(m_records[row]);
            ++at;
        }
    }
    const auto closedUp = [&](size_t row) {
        const std::uint64_t below = early[row / kBits] & ((std::uint64_t(1) << (row % kBits)) - 1);
        return row - earlyBefore[row / kBits] - size_t(__builtin_popcountll(below));
    };
    // From the front into the second half: they do not meet, as count - half
    // is no more than half.
    gather(
        count - half, [&](size_t i) -> Record & { return m_records[closedUp(size_t(order[half + i]))]; },
        [&](size_t i) -> Record & { return m_records[half + i]; });
    gather(
        half, [&](size_t i) -> Record & { return first[i]; }, [&](size_t i) -> Record & { return m_records[i]; });
}

bool operator==(const TableData &a, const TableData &b)
{
    for (int c = 0; c < kColumnCount; ++c) {
        if (a.m_columns[c].title != b.m_columns[c].title || a.m_columns[c].width != b.m_columns[c].width)
            return false;
    }
    return a.m_records == b.m_records;
}
