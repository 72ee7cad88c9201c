#include "BenchCommands.h"
#include "SortBench.h"

#include <QCoreApplication>
#include <cstdio>

namespace {

struct CommandSpec {
    const char *name;
    const char *arguments;
    BenchCommand run;
};

// A new command is one line here and one function in BenchCommands.h.
constexpr CommandSpec kCommands[] = {
    { "gen", "N OUT.db", runGen },
    { "roundtrip", "IN.db OUT.db", runRoundtrip },
    { "import", "OLD.db OUT.db", runImport },
    { "sort", "IN.db COL DIR OUT.db", runSortBench },
};

int argumentCount(const CommandSpec &spec)
{
    return int(QString::fromLatin1(spec.arguments).split(QLatin1Char(' '), Qt::SkipEmptyParts).size());
}

int usage()
{
    std::fprintf(stderr, "usage:\n");
    for (const CommandSpec &spec : kCommands)
        std::fprintf(stderr, "  tablora-bench %s %s\n", spec.name, spec.arguments);
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage();
    for (const CommandSpec &spec : kCommands) {
        if (args.first() == QLatin1String(spec.name)) {
            if (args.size() - 1 != argumentCount(spec))
                return usage();
            return spec.run(args.mid(1));
        }
    }
    return usage();
}
