#include "RowSorter.h"

#include <algorithm>
#include <numeric>

namespace RowSorter {

QCollator collator(const QLocale &locale)
{
    QCollator c(locale);
    c.setCaseSensitivity(Qt::CaseInsensitive);
    return c;
}

std::vector<int> sortedOrder(const TableData &table, int column, int factor, const QCollator &collator)
{
    std::vector<int> order(table.recordCount());
    std::iota(order.begin(), order.end(), 0);
    if (column < 0 || column >= kColumnCount || factor == 0)
        return order;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const int c = collator.compare(table.cell(a, column), table.cell(b, column));
        return factor > 0 ? c < 0 : c > 0;
    });
    return order;
}

} // namespace RowSorter
