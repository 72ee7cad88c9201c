#pragma once

#include <QStringList>

// `tablora-bench records N`: builds a table of N sample records, shows it in
// the main window's list (off screen) and times the record commands as the
// user runs them, each with the list's repaint: add, edit, delete and cut from
// the middle, paste, column titles, and last clear all, then its undo, redo
// and undo again ("undo_clear", "redo_clear", "undo_clear_again"), and a sort
// by column 1 and its undo ("sort", "undo_sort"). Each command up to the
// titles runs five times, the others once; the median is printed as
// "<command>_ms X" with three decimals, then "resets R", the number of
// whole-model resets the commands caused (0 expected). Returns 1 when an undo
// did not bring the table back, 2 with the usage line on a wrong N.
int runRecordsBench(const QStringList &args);
