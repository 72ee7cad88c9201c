#pragma once

#include <QStringList>

// `tablora-bench find N`: builds a table of N sample records (at least 10)
// whose last record alone holds a rare name, and times the program's search
// (RecordSearch::find) from the first row as Enter in the find bar runs it:
// the name in the last record with case ignored ("last_ms"), with case
// matched ("last_case_ms"), in its column only ("last_column_ms"), and a text
// found nowhere, a full pass ("none_ms"). Each runs five times; the median of
// the wall time and of the processor time ("last_cpu_ms", ...) are printed
// with three decimals after "records N". Returns 1 when a search finds the
// wrong row, 2 with the usage line on a wrong N.
int runFindBench(const QStringList &args);
