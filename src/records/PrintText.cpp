#include "PrintText.h"

#include "document/TableData.h"

namespace PrintText {

namespace {

constexpr QStringView kSeparator = u" | ";

template<typename CellOf>
QString joined(CellOf cellOf)
{
    qsizetype length = (kColumnCount - 1) * kSeparator.size();
    for (int c = 0; c < kColumnCount; ++c)
        length += cellOf(c).size();
    QString text;
    text.reserve(length);
    for (int c = 0; c < kColumnCount; ++c) {
        if (c > 0)
            text += kSeparator;
        text += cellOf(c);
    }
    return text;
}

} // namespace

int lineCount(const TableData &table)
{
    return table.recordCount() + 2;
}

QString line(const TableData &table, int index)
{
    if (index == 0)
        return joined([&](int c) { return QStringView(table.title(c)); });
    if (index == 1)
        return {};
    return joined([&](int c) { return table.cell(index - 2, c); });
}

} // namespace PrintText
