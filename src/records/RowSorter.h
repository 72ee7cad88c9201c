#pragma once

#include "SortKeys.h"

#include <QCollator>
#include <QLocale>

#include <vector>

class TableData;

// The order of the table's rows by one column: the column's texts compared by
// the collator's locale and settings, with the scripts in their default order
// (Latin before Cyrillic in every language; see SortKeyWriter), the result
// scaled by a factor (positive ascending, negative descending, 0 all rows
// equal). Rows that compare equal keep their previous relative order in both
// directions; there is no second key.
namespace RowSorter {

// The collator the program sorts with: the given locale, case ignored.
QCollator collator(const QLocale &locale = QLocale());

// The new row order of the table (new row i is old row order[i]) when sorted by
// column with factor; the identity for a column outside 0..7 or factor 0. A
// large table is worked on in parts on threads of their own (SortKeys); with
// parts given, in that many, and the keys written as asked. The order is the
// same either way.
std::vector<int> sortedOrder(const TableData &table, int column, int factor, const QCollator &collator);
std::vector<int> sortedOrder(const TableData &table, int column, int factor, const QCollator &collator, int parts,
                             SortKeys::Writing writing = SortKeys::Writing::Chosen);

} // namespace RowSorter
