#include "BenchCommands.h"
#include "DiskWaits.h"
#include "document/DatabaseCodec.h"

#include <QElapsedTimer>

#include <chrono>
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
// Save does (the look for text the file cannot hold included), and prints how
// long each took, in wall time and processor time, and how much of the write
// was spent waiting for the disk.
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
    const auto syncBefore = DiskWaits::syncs();
    try {
        if (DatabaseCodec::findUnencodable(table)) {
            std::fprintf(stderr, "%s: the table holds text the file cannot hold\n", command);
            return 1;
        }
        DatabaseCodec::writeTableFile(args.at(1), table);
    } catch (const TabloraError &e) {
        std::fprintf(stderr, "%s: %s\n", command, qPrintable(e.message()));
        return 1;
    }
    const qint64 writeMs = timer.elapsed();
    const qint64 writeCpuMs = cpuMs() - cpuStart - readCpuMs;
    const auto syncMs = std::chrono::duration_cast<std::chrono::milliseconds>(DiskWaits::syncs() - syncBefore).count();
    std::printf("records %d\nread_ms %lld\nwrite_ms %lld\nsync_ms %lld\n", table.recordCount(), readMs, writeMs,
                qint64(syncMs));
    std::printf("read_cpu_ms %lld\nwrite_cpu_ms %lld\n", readCpuMs, writeCpuMs);
    return 0;
}

} // namespace

// Open, then Save.
int runRoundtrip(const QStringList &args)
{
    return readAndWrite(
        "roundtrip", [](const QString &path) { return DatabaseCodec::readBaseFile(path); }, args);
}

// The import of a version-1.0 database, then Save: the conversion to the
// current format.
int runImport(const QStringList &args)
{
    return readAndWrite(
        "import", [](const QString &path) { return DatabaseCodec::readPlainFile(path); }, args);
}
