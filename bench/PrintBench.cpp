#include "BenchCommands.h"
#include "base/TabloraError.h"
#include "base/WorkPool.h"
#include "document/DatabaseCodec.h"
#include "records/PrintFileTarget.h"
#include "records/PrintJob.h"
#include "records/ui/PrintPreviewDialog.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFont>
#include <QPdfWriter>

#include <cstdio>
#include <ctime>

namespace {

// A line of /proc/self/status in megabytes ("VmRSS", "VmHWM"); -1 when absent.
long long statusMegabytes(const char *key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(qstrlen(key) + 1).trimmed().split(' ').value(0).toLongLong() / 1024;
    }
    return -1;
}

// The processor time of the whole process so far (every thread), in ms.
double processorMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// The processor time of the calling thread so far, in ms.
double threadProcessorMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Starts the peak ("VmHWM") afresh, so that it tells the printing's own peak.
void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

} // namespace

// Reads IN and prints it to the PDF file OUT as the print command does (as a
// task of the work pool, through a new file that takes the name once it is
// complete), in the table's default font (Courier New 8 pt, or what the
// system substitutes), and prints the time, the memory with the table loaded,
// the peak while reading and the peak while printing.
int runPrint(const QStringList &args)
{
    TableData table;
    try {
        table = DatabaseCodec::readBaseFile(args.at(0));
    } catch (const TabloraError &e) {
        std::fprintf(stderr, "print: cannot read %s: %s\n", qPrintable(args.at(0)), qPrintable(e.message()));
        return 1;
    }
    const long long tableMb = statusMegabytes("VmRSS:");
    const long long readPeakMb = statusMegabytes("VmHWM:");
    resetPeak();
    QFont font(QStringLiteral("Courier New"));
    font.setPointSize(8);
    QElapsedTimer timer;
    timer.start();
    const double cpuBefore = processorMs();
    double paintCpu = 0;
    QString failure;
    WorkPool::start([&] {
        const double paintCpuBefore = threadProcessorMs();
        try {
            PrintFileTarget file(args.at(1));
            QPdfWriter pdf(&file.device());
            PrintJob job(pdf, font);
            job.checkEachPage([&file] { file.throwIfFailed(); });
            job.print(table);
            file.commit();
        } catch (const TabloraError &e) {
            failure = e.message();
        }
        paintCpu = threadProcessorMs() - paintCpuBefore;
    }).waitForFinished();
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "print: %s\n", qPrintable(failure));
        return 1;
    }
    const qint64 wallMs = timer.elapsed();
    std::printf("records %d\nprint_ms %lld\nprint_cpu_ms %.0f\npaint_thread_cpu_ms %.0f\nrss_with_table_mb %lld\n"
                "peak_rss_reading_mb %lld\npeak_rss_printing_mb %lld\n",
                table.recordCount(), wallMs, processorMs() - cpuBefore, paintCpu, tableMb, readPeakMb,
                statusMegabytes("VmHWM:"));
    return 0;
}

// Reads IN and opens the print preview on it as the command does, in the
// table's default font, and prints how long the window took to show its first
// page, how long the count of pages took to end, and how long the last page
// took to show.
int runPreview(const QStringList &args)
{
    TableData table;
    try {
        table = DatabaseCodec::readBaseFile(args.at(0));
    } catch (const TabloraError &e) {
        std::fprintf(stderr, "preview: cannot read %s: %s\n", qPrintable(args.at(0)), qPrintable(e.message()));
        return 1;
    }
    QFont font(QStringLiteral("Courier New"));
    font.setPointSize(8);
    QElapsedTimer timer;
    timer.start();
    PrintPreviewDialog dialog(table, font);
    dialog.show();
    QCoreApplication::processEvents();
    const qint64 openMs = timer.elapsed();
    while (dialog.findChild<QWidget *>(QStringLiteral("indexLabel"))->isVisible())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    const qint64 countedMs = timer.elapsed();
    QElapsedTimer last;
    last.start();
    dialog.showPage(dialog.pageCount() - 1);
    std::printf("records %d\npages %d\nopen_ms %lld\ncounted_ms %lld\nlast_page_ms %lld\n", table.recordCount(),
                dialog.pageCount(), openMs, countedMs, last.elapsed());
    return 0;
}
