#pragma once

#include "ReadingModel.h"

#include <functional>
#include <optional>

class TableData;

// Runs a reader on an input for which the reading rules give expected, or a
// failure when nothing: the reader must fail exactly then, and otherwise give
// that table, which written and read back is the same table again. The
// reader is asked to work in one part, then in two and three, however small
// the input: the parts must read the same table, or fail alike.
void checkReading(const std::optional<ReadingModel::Table> &expected, const std::function<TableData(int parts)> &read);
