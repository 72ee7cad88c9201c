#pragma once

#include "ReadingModel.h"

class TableData;

// Checks a table the reader gave against what the reading rules say it must
// hold, then that writing it and reading it back gives it again.
void checkTable(const TableData &table, const ReadingModel::Table &expected);
void checkRoundTrip(const TableData &table);
