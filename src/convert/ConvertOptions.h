#pragma once

#include "base/Counts.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// One command line of tablora-convert, checked and taken apart.
struct ConvertOptions
{
    enum class Command { Help, ToCsv, FromCsv, Upgrade, Info };

    Command command = Command::Help;
    // File names as given; "-" is standard input or output.
    QString input;
    QString output; // empty for info
    char delimiter = ',';
    std::optional<std::array<int, kColumnCount>> widths;
    bool replaceBreaks = false;
    bool replaceUnencodable = false;
    bool protectFormulas = false;

    // Arguments without the program name. "--help" anywhere asks for help;
    // "--" ends the options. Throws UsageError.
    static ConvertOptions parse(const QStringList &arguments);

    // The text of --help, also printed after a usage error.
    static QString usage();
};
