#include "BenchCommands.h"
#include "document/DatabaseCodec.h"

#include <QElapsedTimer>
#include <cstdio>

// Reads IN with the program's reader and writes OUT with its writer, as Open
// and Save do, and prints how long each took.
int runRoundtrip(const QStringList &args)
{
    QElapsedTimer timer;
    timer.start();
    TableData table;
    try {
        table = DatabaseCodec::ReadBaseFile(args.at(0));
    } catch (const TabloraError &e) {
        std::fprintf(
            stderr, "roundtrip: cannot read %s: %s\n", qPrintable(args.at(0)), qPrintable(e.message()));
        return 1;
    }
    const qint64 readMs = timer.restart();
    try {
        DatabaseCodec::WriteBaseFile(
            args.at(1), DatabaseCodec::EncodePlainList(DatabaseCodec::BuildPlainList(table)));
    } catch (const TabloraError &e) {
        std::fprintf(stderr, "roundtrip: %s\n", qPrintable(e.message()));
        return 1;
    }
    const qint64 writeMs = timer.elapsed();
    std::printf("records %d\nread_ms %lld\nwrite_ms %lld\n", table.recordCount(), readMs, writeMs);
    return 0;
}
