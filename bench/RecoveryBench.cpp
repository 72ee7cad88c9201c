#include "RecoveryBench.h"

#include "SampleTable.h"
#include "app/ui/QtDesktopServices.h"
#include "base/ProgramDir.h"
#include "document/DatabaseCodec.h"
#include "document/Document.h"
#include "document/RecoveryCopy.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <ctime>
#include <vector>

namespace {

double medianMs(std::vector<qint64> ns)
{
    std::sort(ns.begin(), ns.end());
    return double(ns[ns.size() / 2]) / 1e6;
}

qint64 threadCpuNs()
{
    timespec t{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

struct Timings
{
    std::vector<qint64> snapshot, snapshotCpu, pause, pauseCpu, write;
};

// Five copies of the document's table; false when one does not read back.
bool timeCopies(Document &document, const ProgramDir &dir, Timings &timings)
{
    QtDesktopServices desktop;
    RecoveryCopy copy(document, dir, desktop);
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer alone;
        alone.start();
        const qint64 aloneCpu = threadCpuNs();
        const TableData snapshot = document.model().table().sharedCopy();
        timings.snapshotCpu.push_back(threadCpuNs() - aloneCpu);
        timings.snapshot.push_back(alone.nsecsElapsed());
    }
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer whole;
        whole.start();
        const qint64 cpu = threadCpuNs();
        // Its end comes through the event loop, as in the window.
        QEventLoop untilWritten;
        QObject::connect(&copy, &RecoveryCopy::written, &untilWritten, &QEventLoop::quit);
        QObject::connect(&copy, &RecoveryCopy::failed, &untilWritten, &QEventLoop::quit);
        copy.writeNow();
        timings.pauseCpu.push_back(threadCpuNs() - cpu);
        timings.pause.push_back(whole.nsecsElapsed());
        untilWritten.exec();
        timings.write.push_back(whole.nsecsElapsed());
    }
    return DatabaseCodec::readBaseFile(copy.copyPath()) == document.model().table();
}

} // namespace

int runRecoveryBench(const QStringList &args)
{
    QTextStream out(stdout);
    bool ok = false;
    const int count = args.value(0).toInt(&ok);
    if (!ok || count < 1) {
        QTextStream(stderr) << "usage: tablora-bench recovery N  (N at least 1)\n";
        return 2;
    }
    QTemporaryDir folder;
    const ProgramDir dir(folder.path());
    const QString file = folder.filePath(QStringLiteral("base.db"));
    DatabaseCodec::writeTableFile(file, sampleTable(count));

    Document document;
    document.setRole(QStringLiteral("admin"));
    document.model().replaceTable(DatabaseCodec::readBaseFile(file));
    document.setModified(true);
    Timings loaded;
    bool same = timeCopies(document, dir, loaded);

    document.model().replaceTable(sampleTable(count));
    document.setModified(true);
    Timings own;
    same = timeCopies(document, dir, own) && same;

    out << "records " << count << '\n';
    out << "snapshot_ms " << QString::number(medianMs(loaded.snapshot), 'f', 3) << '\n';
    out << "snapshot_cpu_ms " << QString::number(medianMs(loaded.snapshotCpu), 'f', 3) << '\n';
    out << "pause_ms " << QString::number(medianMs(loaded.pause), 'f', 3) << '\n';
    out << "pause_cpu_ms " << QString::number(medianMs(loaded.pauseCpu), 'f', 3) << '\n';
    out << "write_ms " << QString::number(medianMs(loaded.write), 'f', 3) << '\n';
    out << "pause_own_ms " << QString::number(medianMs(own.pause), 'f', 3) << '\n';
    out << "pause_own_cpu_ms " << QString::number(medianMs(own.pauseCpu), 'f', 3) << '\n';
    out.flush();
    return same ? 0 : 1;
}
