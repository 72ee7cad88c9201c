#include "SortBench.h"

#include "base/TabloraError.h"
#include "document/DatabaseCodec.h"
#include "document/TableModel.h"
#include "records/RowSorter.h"

#include <QElapsedTimer>
#include <QTextStream>

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

    TableModel model;
    try {
        model.replaceTable(DatabaseCodec::ReadBaseFile(args[0]));
    } catch (const TabloraError &e) {
        err << "cannot read " << args[0] << ": " << e.message().simplified() << '\n';
        return 1;
    }
    out << "records " << model.recordCount() << '\n';

    QElapsedTimer timer;
    timer.start();
    model.reorder(RowSorter::sortedOrder(model.table(), column, direction, RowSorter::collator()));
    out << "sort_ms " << timer.elapsed() << '\n';
    out.flush();

    try {
        const QByteArray plainList = DatabaseCodec::BuildPlainList(model.table());
        DatabaseCodec::WriteBaseFile(args[3], DatabaseCodec::EncodePlainList(plainList));
    } catch (const TabloraError &e) {
        err << "cannot write " << args[3] << ": " << e.message().simplified() << '\n';
        return 1;
    }
    return 0;
}
