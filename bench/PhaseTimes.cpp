#include "PhaseTimes.h"

#include "DiskWaits.h"
#include "MainWindowAccess.h"
#include "app/Command.h"
#include "app/ui/MainWindow.h"
#include "app/ui/RecordListView.h"

#include <QAction>
#include <QCoreApplication>
#include <QScrollBar>
#include <QTimer>
#include <QTimerEvent>

#include <algorithm>
#include <cstdio>

namespace {

qint64 wallClockNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

double syncMs()
{
    return std::chrono::duration<double, std::milli>(DiskWaits::syncs()).count();
}

} // namespace

PhaseTimes::PhaseTimes(int sortColumn)
    : m_sortColumn(sortColumn)
{
    m_clock.start();
    // The wall clock, for the script to tell how long the program took to
    // reach main and, at the close, to end.
    std::printf("main_at_ns %lld\n", wallClockNs());
}

void PhaseTimes::attach(MainWindow &window)
{
    m_window = &window;
    MainWindowAccess::startupTimer(window).installEventFilter(this);
    window.recordList()->viewport()->installEventFilter(this);
    TableModel &model = window.document().model();
    connect(&model, &QAbstractItemModel::modelAboutToBeReset, this,
            [this] { m_resetStartAt = m_clock.nsecsElapsed(); });
    connect(&model, &QAbstractItemModel::modelReset, this, [this, &model] {
        if (model.rowCount() == 0)
            return; // the empty table of the start, before the file's
        m_resetEndAt = m_clock.nsecsElapsed();
        m_waitingForPaint = true;
    });
}

void PhaseTimes::loginDone()
{
    m_loginAt = m_clock.nsecsElapsed();
    print("start_ms", msSince(0));
}

bool PhaseTimes::eventFilter(QObject *watched, QEvent *event)
{
    const bool startupTimer = m_window && watched == &MainWindowAccess::startupTimer(*m_window);
    if (startupTimer && event->type() == QEvent::Timer && m_startupTimerAt == 0)
        m_startupTimerAt = m_clock.nsecsElapsed();
    if (m_waitingForPaint && event->type() == QEvent::Paint) {
        m_waitingForPaint = false;
        // The paint in hand ends before the next turn of the event loop.
        QTimer::singleShot(0, this, &PhaseTimes::tablePainted);
    }
    return false;
}

void PhaseTimes::tablePainted()
{
    print("open_ms", msSince(m_loginAt));
    print("open_pause_ms", double(m_startupTimerAt - m_loginAt) / 1e6);
    print("open_read_ms", double(m_resetStartAt - m_startupTimerAt) / 1e6);
    print("open_adopt_ms", double(m_resetEndAt - m_resetStartAt) / 1e6);
    print("open_paint_ms", msSince(m_resetEndAt));
    QTimer::singleShot(0, this, &PhaseTimes::scroll);
}

// Jumps through the table and pages down, each step painted at once.
void PhaseTimes::scroll()
{
    RecordListView &table = *m_window->recordList();
    QScrollBar &bar = *table.verticalScrollBar();
    const int page = std::max(1, bar.pageStep());
    const int steps[] = {bar.maximum(),        bar.maximum() / 2, 0, page, 2 * page, 3 * page, bar.maximum() / 3,
                         bar.maximum() - page, bar.maximum()};
    double slowest = 0;
    for (int value : steps) {
        const qint64 begin = m_clock.nsecsElapsed();
        bar.setValue(value);
        table.viewport()->repaint();
        slowest = std::max(slowest, msSince(begin));
    }
    print("scroll_ms", slowest);
    QTimer::singleShot(0, this, &PhaseTimes::refresh);
}

// The 200 ms refresh, run as its timer runs it.
void PhaseTimes::refresh()
{
    QTimer &timer = MainWindowAccess::refreshTimer(*m_window);
    double slowest = 0;
    for (int k = 0; k < 5; ++k) {
        const qint64 begin = m_clock.nsecsElapsed();
        QTimerEvent tick(timer.timerId());
        QCoreApplication::sendEvent(&timer, &tick);
        slowest = std::max(slowest, msSince(begin));
    }
    print("refresh_ms", slowest);
    QTimer::singleShot(0, this, &PhaseTimes::sort);
}

// The sort includes painting the table it reordered.
void PhaseTimes::sort()
{
    runCommand("sort", m_window->action(Commands::sortColumn(m_sortColumn)), true);
    QTimer::singleShot(0, this, &PhaseTimes::save);
}

void PhaseTimes::save()
{
    runCommand("save", m_window->action(Command::Save), false);
    QTimer::singleShot(0, this, &PhaseTimes::close);
}

// Runs the command (and paints the table), and prints how long that took
// without the syncs to disk, and the syncs.
void PhaseTimes::runCommand(const char *name, QAction *command, bool paint)
{
    const double syncBefore = syncMs();
    const qint64 begin = m_clock.nsecsElapsed();
    command->trigger();
    if (paint)
        m_window->recordList()->viewport()->repaint();
    const double synced = syncMs() - syncBefore;
    const QByteArray prefix(name);
    print(prefix + "_ms", msSince(begin) - synced);
    print(prefix + "_sync_ms", synced);
}

void PhaseTimes::close()
{
    std::printf("close_at_ns %lld\n", wallClockNs());
    std::fflush(stdout);
    m_window->action(Command::Exit)->trigger();
}

double PhaseTimes::msSince(qint64 nanoseconds) const
{
    return double(m_clock.nsecsElapsed() - nanoseconds) / 1e6;
}

void PhaseTimes::print(const QByteArray &name, double ms)
{
    std::printf("%s %.1f\n", name.constData(), ms);
    std::fflush(stdout);
}
