#include "BenchCommands.h"
#include "document/DatabaseCodec.h"

#include <QElapsedTimer>
#include <cstdio>
#include <ctime>

namespace {

// Processor time of the process, in ms: on a machine shared with other work
// it varies far less than the wall time.
qint64 cpuMs()
{
    return qint64(std::clock()) * 1000 / CLOCKS_PER_SEC;
}

// Reads IN with the given reader and writes OUT with the program's writer, as
// Save does, and prints how long each took, in wall time and processor time.
int readAndWrite(const char *command, TableData (*read)(const QString &), const QStringList &args)
{
    QElapsedTimer timer;
    timer.start();
    const qint64 cpuStart = cpuMs();
    TableData table;
    try {
        table = read(args.at(0));
    } catch (const TabloraError &e) {
        std::fprintf(stderr, "%s: cannot read %s: %s\n", command, qPrintable(args.at(0)), qPrintable(e.message()));
        return 1;
    }
    const qint64 readMs = timer.restart();
    const qint64 readCpuMs = cpuMs() - cpuStart;
    try {
        DatabaseCodec::WriteBaseFile(
            args.at(1), DatabaseCodec::EncodePlainList(DatabaseCodec::BuildPlainList(table)));
    } catch (const TabloraError &e) {
        std::fprintf(stderr, "%s: %s\n", command, qPrintable(e.message()));
        return 1;
    }
    const qint64 writeMs = timer.elapsed();
    const qint64 writeCpuMs = cpuMs() - cpuStart - readCpuMs;
    std::printf("records %d\nread_ms %lld\nwrite_ms %lld\nread_cpu_ms %lld\nwrite_cpu_ms %lld\n", table.recordCount(),
                readMs, writeMs, readCpuMs, writeCpuMs);
    return 0;
}

} // namespace

// Open, then Save.
int runRoundtrip(const QStringList &args)
{
    return readAndWrite("roundtrip", DatabaseCodec::ReadBaseFile, args);
}

// The import of a version-1.0 database, then Save: the conversion to the
// current format.
int runImport(const QStringList &args)
{
    return readAndWrite("import", DatabaseCodec::ReadPlainFile, args);
}
