#pragma once

#include <QStringList>

// `tablora-bench sort IN.db COL DIR OUT.db`: reads the database IN, sorts it by
// column COL (0-7) in direction DIR (1 ascending, -1 descending) as the program
// does, with the user's locale, and writes the result to OUT. args are the
// words after "sort". Prints "records N" and "sort_ms X", X being the time to
// work out the order and apply it to the table model, file reading and writing
// left out. Returns 0; 1 with a one-line reason on stderr when IN cannot be
// read or OUT cannot be written; 2 with the usage line on wrong arguments.
int runSortBench(const QStringList &args);
