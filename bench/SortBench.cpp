#include "SortBench.h"

#include "DiskWaits.h"
#include "base/TabloraError.h"
#include "document/DatabaseCodec.h"
#include "document/TableModel.h"
#include "records/RowSorter.h"

#include <QElapsedTimer>
#include <QTextStream>

#include <chrono>
#include <ctime>

int runSortBench(const QStringList &args)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    bool columnOk = false;
    bool directionOk = false;
    const int column = args.value(1).toInt(&columnOk);
    const int direction = args.value(2).toInt(&directionOk);
    if (args.size() != 4 || !columnOk || column < 0 || column >= kColumnCount || !directionOk
        || (direction != 1 && direction != -1)) {
        err << "usage: tablora-bench sort IN.db COL DIR OUT.db  (COL 0-7, DIR 1 or -1)\n";
        return 2;
    }

    // Open, sort and save, as the window runs them; the save includes the
    // look for text the file cannot hold, and the wait for the disk is
    // told apart.
    QElapsedTimer timer;
    timer.start();
    const std::clock_t readCpuStart = std::clock();
    TableModel model;
    try {
        model.replaceTable(DatabaseCodec::readBaseFile(args[0]));
    } catch (const TabloraError &e) {
        err << "cannot read " << args[0] << ": " << e.message().simplified() << '\n';
        return 1;
    }
    out << "records " << model.recordCount() << '\n';
    out << "read_ms " << timer.restart() << '\n';
    out << "read_cpu_ms " << (std::clock() - readCpuStart) * 1000 / CLOCKS_PER_SEC << '\n';

    const std::clock_t sortCpuStart = std::clock();
    model.reorder(RowSorter::sortedOrder(model.table(), column, direction, RowSorter::collator()));
    out << "sort_ms " << timer.restart() << '\n';
    // Processor time, all threads: on a shared machine it varies far less
    // than the wall time.
    out << "sort_cpu_ms " << (std::clock() - sortCpuStart) * 1000 / CLOCKS_PER_SEC << '\n';
    out.flush();

    const auto syncBefore = DiskWaits::syncs();
    const std::clock_t writeCpuStart = std::clock();
    try {
        if (DatabaseCodec::findUnencodable(model.table())) {
            err << "the table holds text the file cannot hold\n";
            return 1;
        }
        DatabaseCodec::writeTableFile(args[3], model.table());
    } catch (const TabloraError &e) {
        err << "cannot write " << args[3] << ": " << e.message().simplified() << '\n';
        return 1;
    }
    out << "write_ms " << timer.elapsed() << '\n';
    out << "write_cpu_ms " << (std::clock() - writeCpuStart) * 1000 / CLOCKS_PER_SEC << '\n';
    using std::chrono::milliseconds;
    out << "sync_ms " << std::chrono::duration_cast<milliseconds>(DiskWaits::syncs() - syncBefore).count() << '\n';
    return 0;
}
