#include "BenchCommands.h"
#include "base/WorkProgress.h"
#include "document/CsvDetection.h"
#include "document/CsvReader.h"
#include "document/CsvWriter.h"
#include "document/DatabaseCodec.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>

namespace {

qint64 cpuMs()
{
    return qint64(std::clock()) * 1000 / CLOCKS_PER_SEC;
}

struct Timing
{
    qint64 wallMs = 0;
    qint64 cpuMs = 0;
};

// The best of runs of step, in wall and in processor time (each its own best).
Timing best(int runs, const std::function<void()> &step)
{
    Timing fastest{std::numeric_limits<qint64>::max(), std::numeric_limits<qint64>::max()};
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        const qint64 cpuStart = cpuMs();
        step();
        fastest.wallMs = std::min(fastest.wallMs, timer.elapsed());
        fastest.cpuMs = std::min(fastest.cpuMs, cpuMs() - cpuStart);
    }
    return fastest;
}

void print(const char *name, const Timing &timing)
{
    std::printf("%s_ms %lld\n%s_cpu_ms %lld\n", name, timing.wallMs, name, timing.cpuMs);
}

// The import as the window runs it after its dialog: the file read, then the
// text read as the detected options say.
TableData importCsv(const QString &path, WorkProgress *progress)
{
    const QByteArray text = DatabaseCodec::readWholeFile(path, progress, 300);
    CsvReadOptions options;
    options.encoding = CsvDetection::encoding(text);
    options.delimiter = CsvDetection::delimiter(text);
    options.replaceBreaks = true;
    options.removeFormulaMarks = true;
    return CsvReader(options).read(text, progress);
}

} // namespace

// Open and Save of IN as OUT.db, then the export of the table as OUT.csv and
// its import, as the window's commands run them (semicolons, the byte order
// mark and the formula marks: the most work the options give). Each step is
// the best of five runs, with the progress the window follows and without
// it. The import must give back the table.
int runCsvBench(const QStringList &args)
{
    const QString database = args.at(1) + QStringLiteral(".db");
    const QString csv = args.at(1) + QStringLiteral(".csv");
    constexpr int kRuns = 5;
    try {
        TableData table;
        const Timing open = best(kRuns, [&] {
            WorkProgress progress;
            table = TableData();
            table = DatabaseCodec::readBaseFile(args.at(0), &progress);
        });
        const Timing openedQuietly = best(kRuns, [&] {
            table = TableData();
            table = DatabaseCodec::readBaseFile(args.at(0));
        });
        const Timing save = best(kRuns, [&] {
            WorkProgress progress;
            DatabaseCodec::writeTableFile(database, table, &progress);
        });
        const Timing savedQuietly = best(kRuns, [&] { DatabaseCodec::writeTableFile(database, table); });
        CsvWriteOptions write;
        write.delimiter = ';';
        write.byteOrderMark = true;
        write.protectFormulas = true;
        const Timing exported = best(kRuns, [&] {
            WorkProgress progress;
            CsvWriter::writeFile(csv, table, write, &progress);
        });
        const Timing exportedQuietly = best(kRuns, [&] { CsvWriter::writeFile(csv, table, write); });
        TableData back;
        const Timing imported = best(kRuns, [&] {
            WorkProgress progress;
            back = TableData();
            back = importCsv(csv, &progress);
        });
        const Timing importedQuietly = best(kRuns, [&] {
            back = TableData();
            back = importCsv(csv, nullptr);
        });
        for (int c = 0; c < kColumnCount; ++c)
            back.setWidth(c, table.width(c));
        if (!(back == table)) {
            std::fprintf(stderr, "csv: the imported table differs from the exported one\n");
            return 1;
        }
        std::printf("records %d\n", table.recordCount());
        print("open", open);
        print("open_no_progress", openedQuietly);
        print("save", save);
        print("save_no_progress", savedQuietly);
        print("export", exported);
        print("export_no_progress", exportedQuietly);
        print("import", imported);
        print("import_no_progress", importedQuietly);
        std::printf("ratio %.2f\ncpu_ratio %.2f\n",
                    double(exported.wallMs + imported.wallMs) / double(std::max<qint64>(open.wallMs + save.wallMs, 1)),
                    double(exported.cpuMs + imported.cpuMs) / double(std::max<qint64>(open.cpuMs + save.cpuMs, 1)));
    } catch (const TabloraError &e) {
        std::fprintf(stderr, "csv: %s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
