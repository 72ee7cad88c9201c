#pragma once

#include "Console.h"
#include "Progress.h"

#include <QStringList>

class ProgramDir;
struct ConvertOptions;

// The commands of tablora-convert. A new database takes its default column
// widths from the settings beside the program (dir), as New does in the window.
class Converter
{
public:
    Converter(Console &console, const ProgramDir &dir);

    // Runs one command line (without the program name) and returns the exit
    // status: 0 done; 1 with one line on standard error when the input is bad
    // or the output cannot be written; 2 with the usage text for a command
    // line that is not understood.
    int run(const QStringList &arguments);

private:
    void toCsv(const ConvertOptions &options);
    void fromCsv(const ConvertOptions &options);
    void upgrade(const ConvertOptions &options);
    void info(const ConvertOptions &options);
    void fail(const QString &message);

    Console &m_console;
    const ProgramDir &m_dir;
    Progress m_progress;
};
