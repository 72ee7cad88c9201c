#pragma once

#include "BenchCommands.h"

#include <QCoreApplication>
#include <QStringList>

#include <memory>

// The application object a command needs.
using ApplicationMaker = std::unique_ptr<QCoreApplication> (*)(int &argc, char **argv);

// One command of a bench executable: its name, the words it takes, and the
// application object it needs; QCoreApplication where none is named.
struct CommandSpec
{
    const char *name;
    const char *arguments;
    BenchCommand run;
    ApplicationMaker makeApplication = nullptr;
};

// Runs the command named by the first argument with the words after it,
// each command with the application object it needs; the usage lines, and
// exit code 2, where no command fits.
int runBenchCommand(int argc, char *argv[], const char *program, const CommandSpec *begin, const CommandSpec *end);
