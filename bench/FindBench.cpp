#include "FindBench.h"

#include "SampleTable.h"
#include "document/TableData.h"
#include "records/RecordSearch.h"

#include <QElapsedTimer>
#include <QTextStream>

#include <algorithm>
#include <ctime>
#include <vector>

namespace {

double medianMs(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

} // namespace

int runFindBench(const QStringList &args)
{
    QTextStream out(stdout);
    bool ok = false;
    const int count = args.value(0).toInt(&ok);
    if (!ok || count < 10) {
        QTextStream(stderr) << "usage: tablora-bench find N  (N at least 10)\n";
        return 2;
    }
    constexpr int kNameColumn = 5;
    TableData table = sampleTable(count);
    Record::Cells last = table.record(count - 1).cells();
    last[kNameColumn] = QStringLiteral("Склад Щербакова-Оболенская");
    table.setRecord(count - 1, Record(last));
    out << "records " << count << '\n';

    using RecordSearch::Direction;
    int wrong = 0;
    // Wall time, and processor time, which varies far less on a shared machine.
    const auto report = [&](const char *name, const RecordSearch::Query &query, int expectedRow) {
        std::vector<double> wall;
        std::vector<double> cpu;
        for (int run = 0; run < 5; ++run) {
            QElapsedTimer timer;
            const std::clock_t cpuStart = std::clock();
            timer.start();
            const std::optional<RecordSearch::Hit> hit = RecordSearch::find(table, query, 0, Direction::Forward);
            wall.push_back(double(timer.nsecsElapsed()) / 1e6);
            cpu.push_back(double(std::clock() - cpuStart) * 1000.0 / CLOCKS_PER_SEC);
            if ((hit ? hit->row : -1) != expectedRow)
                ++wrong;
        }
        out << name << "_ms " << QString::number(medianMs(wall), 'f', 3) << '\n';
        out << name << "_cpu_ms " << QString::number(medianMs(cpu), 'f', 3) << '\n';
        out.flush();
    };
    report("last", {QStringLiteral("щербакова"), false, -1}, count - 1);
    report("last_case", {QStringLiteral("Щербакова"), true, -1}, count - 1);
    report("last_column", {QStringLiteral("щербакова"), false, kNameColumn}, count - 1);
    report("none", {QStringLiteral("Жужелица"), false, -1}, -1);
    return wrong == 0 ? 0 : 1;
}
