#include "ConvertOptions.h"

#include "UsageError.h"
#include "base/IntegerText.h"

namespace {

using Command = ConvertOptions::Command;

enum Option : unsigned { Tsv = 1, Widths = 2, ReplaceBreaks = 4, ReplaceUnencodable = 8, ProtectFormulas = 16 };

struct OptionSpec
{
    const char *name;
    Option option;
    bool takesValue;
};

constexpr OptionSpec kOptions[] = {
    {"--tsv", Tsv, false},
    {"--widths", Widths, true},
    {"--replace-breaks", ReplaceBreaks, false},
    {"--replace-unencodable", ReplaceUnencodable, false},
    {"--protect-formulas", ProtectFormulas, false},
};

struct CommandSpec
{
    const char *name;
    Command command;
    const char *operands; // as the usage text names them
    unsigned options; // the Option bits the command takes
};

constexpr CommandSpec kCommands[] = {
    {"to-csv", Command::ToCsv, "IN OUT.csv", Tsv | ProtectFormulas},
    {"from-csv", Command::FromCsv, "IN.csv OUT.db", Tsv | Widths | ReplaceBreaks | ReplaceUnencodable},
    {"upgrade", Command::Upgrade, "OLD OUT.db", 0},
    {"info", Command::Info, "IN", 0},
};

const OptionSpec *findOption(const QString &name)
{
    for (const OptionSpec &spec : kOptions) {
        if (name == QLatin1String(spec.name))
            return &spec;
    }
    return nullptr;
}

const CommandSpec &findCommand(const QString &name)
{
    for (const CommandSpec &spec : kCommands) {
        if (name == QLatin1String(spec.name))
            return spec;
    }
    throw UsageError(QStringLiteral("unknown command \"%1\"").arg(name));
}

std::array<int, kColumnCount> parseWidths(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    std::array<int, kColumnCount> widths{};
    bool ok = parts.size() == kColumnCount;
    for (int c = 0; ok && c < kColumnCount; ++c) {
        const std::optional<std::int32_t> width = IntegerText::parse(QStringView(parts[c]));
        ok = width.has_value();
        widths[c] = width.value_or(0);
    }
    if (!ok)
        throw UsageError(QStringLiteral("--widths takes eight integers separated by commas, "
                                        "such as 30,100,100,100,100,100,100,50"));
    return widths;
}

void applyOption(const OptionSpec &spec, const QString &value, ConvertOptions &options)
{
    switch (spec.option) {
    case Tsv:
        options.delimiter = '\t';
        break;
    case Widths:
        options.widths = parseWidths(value);
        break;
    case ReplaceBreaks:
        options.replaceBreaks = true;
        break;
    case ReplaceUnencodable:
        options.replaceUnencodable = true;
        break;
    case ProtectFormulas:
        options.protectFormulas = true;
        break;
    }
}

} // namespace

ConvertOptions ConvertOptions::parse(const QStringList &arguments)
{
    ConvertOptions options;
    QStringList operands;
    unsigned given = 0;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        const bool looksLikeOption = !optionsEnded && argument.startsWith(QLatin1Char('-')) && argument != u"-";
        if (!looksLikeOption) {
            operands << argument;
            continue;
        }
        if (argument == u"--") {
            optionsEnded = true;
            continue;
        }
        if (argument == u"--help" || argument == u"-h")
            return ConvertOptions();
        const QString name = argument.section(QLatin1Char('='), 0, 0);
        const OptionSpec *spec = findOption(name);
        if (!spec)
            throw UsageError(QStringLiteral("unknown option \"%1\"").arg(argument));
        const bool inlineValue = argument.size() > name.size();
        QString value;
        if (spec->takesValue && inlineValue)
            value = argument.mid(name.size() + 1);
        else if (spec->takesValue && i + 1 < arguments.size())
            value = arguments[++i];
        else if (spec->takesValue)
            throw UsageError(QStringLiteral("%1 needs a value").arg(name));
        else if (inlineValue)
            throw UsageError(QStringLiteral("%1 takes no value").arg(name));
        given |= spec->option;
        applyOption(*spec, value, options);
    }

    if (operands.isEmpty())
        throw UsageError(QStringLiteral("no command given"));
    const CommandSpec &command = findCommand(operands.takeFirst());
    const qsizetype wanted = QString::fromLatin1(command.operands).count(QLatin1Char(' ')) + 1;
    if (operands.size() != wanted)
        throw UsageError(
            QStringLiteral("%1 takes %2").arg(QLatin1String(command.name), QLatin1String(command.operands)));
    for (const OptionSpec &spec : kOptions) {
        if ((given & spec.option) && !(command.options & spec.option))
            throw UsageError(
                QStringLiteral("%1 does not apply to %2").arg(QLatin1String(spec.name), QLatin1String(command.name)));
    }
    options.command = command.command;
    options.input = operands.value(0);
    options.output = operands.value(1);
    return options;
}

QString ConvertOptions::usage()
{
    return QStringLiteral("Usage: tablora-convert COMMAND [OPTIONS] FILES\n"
                          "Converts Tablora database files for scripts.\n"
                          "\n"
                          "Commands:\n"
                          "  to-csv IN OUT.csv        write the table of database IN as CSV: the column\n"
                          "                           titles, then one row of eight cells per record\n"
                          "  from-csv IN.csv OUT.db   make a database of a CSV file\n"
                          "  upgrade OLD OUT.db       write a version-1.0 database in the current format\n"
                          "  info IN                  print the format, record count, column titles and widths\n"
                          "\n"
                          "Options:\n"
                          "  --tsv                    tab-separated text instead of CSV (to-csv, from-csv)\n"
                          "  --widths W1,...,W8       the eight column widths of the new database (from-csv);\n"
                          "                           by default those the settings give a new database\n"
                          "  --replace-breaks         turn line breaks in cells into spaces (from-csv)\n"
                          "  --replace-unencodable    write \"?\" for characters Windows-1251 cannot hold\n"
                          "                           (from-csv)\n"
                          "  --protect-formulas       put an apostrophe before a cell that a spreadsheet\n"
                          "                           would run as a formula, such as =1+1 (to-csv)\n"
                          "  -h, --help               print this text\n"
                          "\n"
                          "A database IN may be in the current format or version 1.0. A file name \"-\"\n"
                          "stands for standard input or output. CSV is UTF-8 (RFC 4180).\n"
                          "Exit status: 0 done, 1 bad input or unwritable output, 2 wrong usage.\n"
                          "See tablora-convert(1).\n");
}
