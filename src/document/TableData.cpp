#include "TableData.h"

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
    std::vector<Record> sorted;
    sorted.reserve(withRoom(m_records.size()));
    for (int from : order)
        sorted.push_back(std::move(m_records[from]));
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
