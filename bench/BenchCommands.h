#pragma once

#include <QStringList>

// One command of tablora-bench. It gets the arguments after its name (their
// number already checked), prints its figures on stdout and returns the exit
// code; a failure is one line on stderr and exit code 1.
using BenchCommand = int (*)(const QStringList &args);

int runGen(const QStringList &args);
int runGenDistinct(const QStringList &args);
int runRoundtrip(const QStringList &args);
int runStamp(const QStringList &args);
int runImport(const QStringList &args);
int runSave(const QStringList &args);
int runSettings(const QStringList &args);
int runPrint(const QStringList &args);
int runCsvBench(const QStringList &args);
int runPreview(const QStringList &args);
