#include "SortKeys.h"

#include "SortKeyWriter.h"
#include "document/TableData.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr int kHeadBytes = 8;
}

SortKeys::SortKeys(const TableData &table, int column, const QCollator &collator)
{
    const int rows = table.recordCount();
    m_entries.reserve(size_t(rows));
    m_tailStarts.reserve(size_t(rows) + 1);
    m_tails.reserve(size_t(rows) * kHeadBytes);
    SortKeyWriter writer(collator);
    for (int row = 0; row < rows; ++row) {
        const QByteArrayView key = writer.key(table.cell(row, column));
        const auto *bytes = reinterpret_cast<const unsigned char *>(key.data());
        const auto headLength = std::min<qsizetype>(key.size(), kHeadBytes);
        std::uint64_t head = 0;
        for (int i = 0; i < kHeadBytes; ++i)
            head = head << 8 | (i < headLength ? bytes[i] : 0u);
        m_entries.push_back({head, std::uint32_t(row), std::uint32_t(headLength)});
        m_tailStarts.push_back(m_tails.size());
        m_tails.insert(m_tails.end(), bytes + headLength, bytes + key.size());
    }
    m_tailStarts.push_back(m_tails.size());
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
    const size_t aBegin = m_tailStarts[a.row], aSize = m_tailStarts[a.row + 1] - aBegin;
    const size_t bBegin = m_tailStarts[b.row], bSize = m_tailStarts[b.row + 1] - bBegin;
    const size_t common = std::min(aSize, bSize);
    if (common > 0) {
        const int c = std::memcmp(m_tails.data() + aBegin, m_tails.data() + bBegin, common);
        if (c != 0)
            return c < 0 ? -1 : 1;
    }
    return aSize < bSize ? -1 : aSize > bSize ? 1 : 0;
}

std::vector<int> SortKeys::order(Qt::SortOrder direction)
{
    // Ties broken by row number give the stable order without the extra
    // buffer and slower merging of a stable sort.
    const int sign = direction == Qt::AscendingOrder ? 1 : -1;
    std::sort(m_entries.begin(), m_entries.end(), [this, sign](const Entry &a, const Entry &b) {
        const int c = sign * compare(a, b);
        return c != 0 ? c < 0 : a.row < b.row;
    });
    std::vector<int> rows;
    rows.reserve(m_entries.size());
    for (const Entry &e : m_entries)
        rows.push_back(int(e.row));
    return rows;
}
