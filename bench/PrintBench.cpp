#include "BenchCommands.h"
#include "base/TabloraError.h"
#include "document/DatabaseCodec.h"
#include "records/PrintJob.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFont>
#include <QPdfWriter>

#include <cstdio>

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

// Starts the peak ("VmHWM") afresh, so that it tells the printing's own peak.
void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

} // namespace

// Reads IN and prints it to the PDF file OUT as the print command does, in
// the table's default font (Courier New 8 pt, or what the system substitutes),
// and prints the time, the memory with the table loaded, the peak while
// reading and the peak while printing.
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
    try {
        QPdfWriter pdf(args.at(1));
        PrintJob job(pdf, font);
        job.print(table);
    } catch (const TabloraError &e) {
        std::fprintf(stderr, "print: %s\n", qPrintable(e.message()));
        return 1;
    }
    std::printf("records %d\nprint_ms %lld\nrss_with_table_mb %lld\npeak_rss_reading_mb %lld\n"
                "peak_rss_printing_mb %lld\n",
                table.recordCount(), timer.elapsed(), tableMb, readPeakMb, statusMegabytes("VmHWM:"));
    return 0;
}
