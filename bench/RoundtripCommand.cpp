#include "BenchCommands.h"
#include "DiskWaits.h"
#include "base/FileDescriptor.h"
#include "base/FileStamp.h"
#include "document/DatabaseCodec.h"

#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <vector>

#include <fcntl.h>

namespace {

// Processor time of the process, in ms: on a machine shared with other work
// it varies far less than the wall time.
qint64 cpuMs()
{
    return qint64(std::clock()) * 1000 / CLOCKS_PER_SEC;
}

// Reads IN with the given reader and writes OUT with the program's writer, as
// Save does (the look for text the file cannot hold included), and prints how
// long each took, in wall time and processor time, how much of the write was
// spent waiting for the disk, and what the stamp of the file written took
// (FileStamp, taken after every save and before every overwrite).
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
    timer.restart();
    const qint64 stampCpuStart = cpuMs();
    (void)FileStamp::of(args.at(1));
    std::printf("stamp_ms %lld\nstamp_cpu_ms %lld\n", timer.elapsed(), cpuMs() - stampCpuStart);
    return 0;
}

// Lets the system's cache drop the file's pages, so that the next read comes
// from the disk (on tmpfs the pages are the file, and stay).
void dropFromCache(const QString &path)
{
    const FileDescriptor fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC));
    if (fd.isOpen()) {
        ::fdatasync(fd.get());
        ::posix_fadvise(fd.get(), 0, 0, POSIX_FADV_DONTNEED);
    }
}

} // namespace

// The stamp of FILE, five times from the cache and five times with the file
// dropped from the cache first: the medians, in wall and processor time.
int runStamp(const QStringList &args)
{
    const QString path = args.at(0);
    if (!QFile::exists(path)) {
        std::fprintf(stderr, "stamp: %s does not exist\n", qPrintable(path));
        return 1;
    }
    for (const bool cold : {false, true}) {
        std::vector<qint64> wall;
        std::vector<qint64> cpu;
        (void)FileStamp::of(path); // in the cache, for the warm rounds
        for (int round = 0; round < 5; ++round) {
            if (cold)
                dropFromCache(path);
            QElapsedTimer timer;
            timer.start();
            const qint64 cpuStart = cpuMs();
            (void)FileStamp::of(path);
            wall.push_back(timer.elapsed());
            cpu.push_back(cpuMs() - cpuStart);
        }
        std::nth_element(wall.begin(), wall.begin() + 2, wall.end());
        std::nth_element(cpu.begin(), cpu.begin() + 2, cpu.end());
        const char *kind = cold ? "cold" : "warm";
        std::printf("%s_ms %lld\n%s_cpu_ms %lld\n", kind, wall[2], kind, cpu[2]);
    }
    std::printf("bytes %lld\n", QFile(path).size());
    return 0;
}

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
