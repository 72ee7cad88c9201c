#include "BenchCommands.h"
#include "document/DatabaseCodec.h"

#include <QElapsedTimer>
#include <cstdio>

namespace {

bool read(const char *command, const QString &path, TableData &table)
{
    try {
        table = DatabaseCodec::ReadBaseFile(path);
        return true;
    } catch (const TabloraError &e) {
        std::fprintf(stderr, "%s: cannot read %s: %s\n", command, qPrintable(path), qPrintable(e.message()));
        return false;
    }
}

bool write(const char *command, const QString &path, const QByteArray &encoded)
{
    try {
        DatabaseCodec::WriteBaseFile(path, encoded);
        return true;
    } catch (const TabloraError &e) {
        std::fprintf(stderr, "%s: %s\n", command, qPrintable(e.message()));
        return false;
    }
}

QByteArray encoded(const TableData &table)
{
    return DatabaseCodec::EncodePlainList(DatabaseCodec::BuildPlainList(table));
}

} // namespace

// Reads IN with the program's reader and writes OUT with its writer, as Open
// and Save do, and prints how long each took.
int runRoundtrip(const QStringList &args)
{
    QElapsedTimer timer;
    timer.start();
    TableData table;
    if (!read("roundtrip", args.at(0), table))
        return 1;
    const qint64 readMs = timer.restart();
    if (!write("roundtrip", args.at(1), encoded(table)))
        return 1;
    const qint64 writeMs = timer.elapsed();
    std::printf("records %d\nread_ms %lld\nwrite_ms %lld\n", table.recordCount(), readMs, writeMs);
    return 0;
}

// Reads IN and saves it as OUT, telling on stdout when only the write is left
// ("writing") and when it has succeeded ("written"), for a test that kills it
// in between.
int runSave(const QStringList &args)
{
    TableData table;
    if (!read("save", args.at(0), table))
        return 1;
    const QByteArray text = encoded(table);
    std::printf("writing\n");
    std::fflush(stdout);
    if (!write("save", args.at(1), text))
        return 1;
    std::printf("written\n");
    return 0;
}
