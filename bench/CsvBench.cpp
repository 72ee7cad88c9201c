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
#include <limits>
#include <vector>

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

// One run of step, in wall and in processor time.
Timing timed(const std::function<void()> &step)
{
    QElapsedTimer timer;
    timer.start();
    const qint64 cpuStart = cpuMs();
    step();
    return {timer.elapsed(), cpuMs() - cpuStart};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
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
// mark and the formula marks: the most work the options give), each with the
// progress the window follows and without it. The steps run in turn, five
// rounds, so that a machine shared with other work slows all alike; each
// step's figure is its best run. The import must give back the table.
int runCsvBench(const QStringList &args)
{
    const QString database = args.at(1) + QStringLiteral(".db");
    const QString csv = args.at(1) + QStringLiteral(".csv");
    constexpr int kRounds = 5;
    try {
        TableData table = DatabaseCodec::readBaseFile(args.at(0));
        TableData back;
        CsvWriteOptions write;
        write.delimiter = ';';
        write.byteOrderMark = true;
        write.protectFormulas = true;
        struct Step
        {
            const char *name;
            std::function<void(WorkProgress *)> run;
            std::vector<Timing> runs;
        };
        std::vector<Step> steps = {
            {"open",
             [&](WorkProgress *progress) {
                 table = TableData();
                 table = DatabaseCodec::readBaseFile(args.at(0), progress);
             },
             {}},
            {"save", [&](WorkProgress *progress) { DatabaseCodec::writeTableFile(database, table, progress); }, {}},
            {"export", [&](WorkProgress *progress) { CsvWriter::writeFile(csv, table, write, progress); }, {}},
            {"import",
             [&](WorkProgress *progress) {
                 back = TableData();
                 back = importCsv(csv, progress);
             },
             {}},
        };
        std::vector<Step> quietSteps = steps;
        for (int round = 0; round < kRounds; ++round) {
            for (size_t i = 0; i < steps.size(); ++i) {
                steps[i].runs.push_back(timed([&] {
                    WorkProgress progress;
                    steps[i].run(&progress);
                }));
                quietSteps[i].runs.push_back(timed([&] { quietSteps[i].run(nullptr); }));
            }
        }
        for (int c = 0; c < kColumnCount; ++c)
            back.setWidth(c, table.width(c));
        if (!(back == table)) {
            std::fprintf(stderr, "csv: the imported table differs from the exported one\n");
            return 1;
        }
        std::printf("records %d\n", table.recordCount());
        const auto best = [](const std::vector<Timing> &runs) {
            Timing fastest{std::numeric_limits<qint64>::max(), std::numeric_limits<qint64>::max()};
            for (const Timing &run : runs) {
                fastest.wallMs = std::min(fastest.wallMs, run.wallMs);
                fastest.cpuMs = std::min(fastest.cpuMs, run.cpuMs);
            }
            return fastest;
        };
        std::vector<Timing> fastest;
        for (size_t i = 0; i < steps.size(); ++i) {
            fastest.push_back(best(steps[i].runs));
            const Timing quiet = best(quietSteps[i].runs);
            std::printf("%s_ms %lld\n%s_cpu_ms %lld\n", steps[i].name, fastest[i].wallMs, steps[i].name,
                        fastest[i].cpuMs);
            std::printf("%s_no_progress_ms %lld\n%s_no_progress_cpu_ms %lld\n", steps[i].name, quiet.wallMs,
                        steps[i].name, quiet.cpuMs);
        }
        // Export and import against Open and Save: the best runs', and the
        // median of the rounds' own.
        const auto ratio = [](qint64 csv, qint64 database) {
            return double(csv) / double(std::max<qint64>(database, 1));
        };
        std::vector<double> rounds;
        for (int round = 0; round < kRounds; ++round) {
            const auto at = [&](size_t step) { return steps[step].runs[size_t(round)].wallMs; };
            rounds.push_back(ratio(at(2) + at(3), at(0) + at(1)));
        }
        std::printf("ratio %.2f\ncpu_ratio %.2f\nround_ratio_median %.2f\n",
                    ratio(fastest[2].wallMs + fastest[3].wallMs, fastest[0].wallMs + fastest[1].wallMs),
                    ratio(fastest[2].cpuMs + fastest[3].cpuMs, fastest[0].cpuMs + fastest[1].cpuMs), median(rounds));
    } catch (const TabloraError &e) {
        std::fprintf(stderr, "csv: %s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
