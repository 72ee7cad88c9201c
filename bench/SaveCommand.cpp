#include "BenchCommands.h"
#include "document/DatabaseCodec.h"

#include <cstdio>

// Reads IN and saves it as OUT, telling on stdout when only the write is left
// ("writing") and when it has succeeded ("written"), for a test that kills it
// in between.
int runSave(const QStringList &args)
{
    try {
        const TableData table = DatabaseCodec::readBaseFile(args.at(0));
        std::printf("writing\n");
        std::fflush(stdout);
        DatabaseCodec::writeTableFile(args.at(1), table);
    } catch (const TabloraError &e) {
        std::fprintf(stderr, "save: %s\n", qPrintable(e.message()));
        return 1;
    }
    std::printf("written\n");
    return 0;
}
