#include "BenchCommands.h"
#include "SampleTable.h"
#include "document/DatabaseCodec.h"

#include <cstdio>

int runGen(const QStringList &args)
{
    bool ok = false;
    const int count = args.at(0).toInt(&ok);
    if (!ok || count < 0) {
        std::fprintf(stderr, "gen: the record count must be a number of 0 or more\n");
        return 1;
    }
    try {
        const TableData table = sampleTable(count);
        DatabaseCodec::writeTableFile(args.at(1), table);
    } catch (const TabloraError &e) {
        std::fprintf(stderr, "gen: %s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
