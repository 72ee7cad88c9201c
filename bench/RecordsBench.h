#pragma once

#include <QStringList>

// `tablora-bench records N`: builds a table of N sample records, shows it in
// the main window's list (off screen) and times the record commands as the
// user runs them, each with the list's repaint: add, edit, delete and cut from
// the middle, paste, column titles, and last clear all, then its undo, redo
// and undo again ("undo_clear", "redo_clear", "undo_clear_again"). Each command
// but the last four runs five times; the median is printed as
// "<command>_ms X" with three decimals, then "resets R", the number of
// whole-model resets the commands caused (0 expected). Returns 1 when the
// undone clear did not bring every record back, 2 with the usage line on a
// wrong N.
int runRecordsBench(const QStringList &args);
