#include "BenchCommands.h"
#include "SampleTable.h"
#include "document/DatabaseCodec.h"

#include <cstdio>

namespace {

int writeTable(const char *command, const QString &countText, const QString &path, TableData (*make)(int))
{
    bool ok = false;
    const int count = countText.toInt(&ok);
    if (!ok || count < 0) {
        std::fprintf(stderr, "%s: the record count must be a number of 0 or more\n", command);
        return 1;
    }
    try {
        DatabaseCodec::writeTableFile(path, make(count));
    } catch (const TabloraError &e) {
        std::fprintf(stderr, "%s: %s\n", command, qPrintable(e.message()));
        return 1;
    }
    return 0;
}

} // namespace

int runGen(const QStringList &args)
{
    return writeTable("gen", args.at(0), args.at(1), sampleTable);
}

int runGenDistinct(const QStringList &args)
{
    const QString &kind = args.at(0);
    if (kind == QLatin1String("words"))
        return writeTable("gen-distinct", args.at(1), args.at(2), randomWordsTable);
    if (kind == QLatin1String("numbered"))
        return writeTable("gen-distinct", args.at(1), args.at(2), numberedTable);
    std::fprintf(stderr, "gen-distinct: the kind is words or numbered\n");
    return 1;
}
