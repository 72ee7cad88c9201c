#include "TableData.h"

#include "base/MemoryPages.h"
#include "base/Parallel.h"

#include <cassert>

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
    MemoryPages::preferLarge(m_records.data() + m_records.size(),
                             (m_records.capacity() - m_records.size()) * sizeof(Record));
}

TableData TableData::sharedCopy() const
{
    TableData copy;
    copy.m_columns = m_columns;
    const size_t count = m_records.size();
    copy.m_records.reserve(count);
    MemoryPages::preferLarge(copy.m_records.data(), count * sizeof(Record));
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

void TableData::reorder(const std::vector<int> &order)
{
    assert(order.size() == m_records.size());
    const size_t count = m_records.size();
    std::vector<Record> sorted;
    sorted.reserve(withRoom(count));
    MemoryPages::preferLarge(sorted.data(), sorted.capacity() * sizeof(Record));
    sorted.resize(count);
    // The records are fetched from all over the table: each part gathers
    // its share of the new rows, asking ahead for the records it will need.
    const int parts = Parallel::partsFor(qint64(count), 8192);
    Parallel::forEachPart(parts, [&](int part) {
        const size_t end = count * size_t(part + 1) / size_t(parts);
        constexpr size_t kAhead = 16;
        for (size_t to = count * size_t(part) / size_t(parts); to < end; ++to) {
            if (to + kAhead < end)
                __builtin_prefetch(&m_records[size_t(order[to + kAhead])]);
            sorted[to] = std::move(m_records[size_t(order[to])]);
        }
    });
    m_records = std::move(sorted);
}

bool operator==(const TableData &a, const TableData &b)
{
    for (int c = 0; c < kColumnCount; ++c) {
        if (a.m_columns[c].title != b.m_columns[c].title || a.m_columns[c].width != b.m_columns[c].width)
            return false;
    }
    return a.m_records == b.m_records;
}
