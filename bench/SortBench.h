#pragma once

#include <QStringList>

// `tablora-bench sort IN.db COL DIR OUT.db`: reads the database IN, sorts it by
// column COL (0-7) in direction DIR (1 ascending, -1 descending) as the program
// does, with the user's locale, and writes the result to OUT as Save does.
// args are the words after "sort". Prints "records N", then the milliseconds
// of each step: "read_ms", "sort_ms" (working out the order and applying it
// to the table model), "write_ms" and, of the write, "sync_ms" (the wait for
// the disk). Returns 0; 1 with a one-line reason on stderr when IN cannot be
// read or OUT cannot be written; 2 with the usage line on wrong arguments.
int runSortBench(const QStringList &args);
