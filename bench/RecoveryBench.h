#pragma once

#include <QStringList>

// `tablora-bench recovery N`: the recovery copy of a table of N sample
// records with unsaved changes, as the window keeps it. The table is first
// written and read back, so that its records share the blocks of a file
// read, as after Open; then five copies are taken. Prints "records N", then
// the medians of the window's pause for a copy ("pause_ms": the snapshot and
// the start of the writer; "pause_cpu_ms", the same in processor time), of
// the time until the copy is on the disk ("write_ms", on its own thread),
// and the same pause for a table whose records each own their text, as
// after adding them ("pause_own_ms").
// Returns 1 when a copy did not read back as the table, 2 with the usage
// line on a wrong N.
int runRecoveryBench(const QStringList &args);
