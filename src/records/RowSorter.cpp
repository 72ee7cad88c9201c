#include "RowSorter.h"

#include "SortKeys.h"
#include "base/Parallel.h"
#include "document/TableData.h"

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
    return sortedOrder(table, column, factor, collator, Parallel::partsFor(table.recordCount(), 8192));
}

std::vector<int> sortedOrder(const TableData &table, int column, int factor, const QCollator &collator, int parts,
                             SortKeys::Writing writing)
{
    // A column outside the record (only a hand-edited setting holds one) has
    // nothing to compare, so every row compares equal, as with factor 0.
    if (column < 0 || column >= kColumnCount || factor == 0 || table.recordCount() < 2) {
        std::vector<int> identity(size_t(table.recordCount()));
        std::iota(identity.begin(), identity.end(), 0);
        return identity;
    }
    // The keys live only while the order is worked out.
    SortKeys keys(table, column, collator, parts, writing);
    return keys.order(factor > 0 ? Qt::AscendingOrder : Qt::DescendingOrder);
}

} // namespace RowSorter
