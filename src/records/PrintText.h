#pragma once

#include <QString>

class TableData;

// The Print text of a table, the lines the print command sends to the printer,
// one line at a time so that a million records never stand in memory twice.
// Line 0 holds the titles of columns 0 to 7, line 1 is empty, and line 2 + r
// is record r in the table's current row order. Cells are joined by " | ";
// nothing is padded or trimmed, so an empty cell keeps its place between two
// separators and every record line holds exactly seven of them.
namespace PrintText {

int lineCount(const TableData &table);
QString line(const TableData &table, int index);

} // namespace PrintText
