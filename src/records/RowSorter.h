#pragma once

#include "document/TableData.h"

#include <QCollator>

#include <vector>

// The order of the table's rows by one column.
namespace RowSorter {

// The collator the program sorts with: the given locale, case ignored.
QCollator collator(const QLocale &locale = QLocale());

// The new row order (new row i is old row order[i]) when sorted by column
// with factor: ascending for a positive factor, descending for a negative one.
// Rows that compare equal keep their order; a column outside 0..7 or a factor
// of 0 gives the identity.
std::vector<int> sortedOrder(const TableData &table, int column, int factor, const QCollator &collator);

} // namespace RowSorter
