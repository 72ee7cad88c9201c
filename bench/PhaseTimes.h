#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>

#include <chrono>

class QAction;
class MainWindow;

// The window's own timings, for bench/window.sh: the program starts as usual
// with a database (ProgramStart), and once the table is painted it scrolls,
// refreshes, sorts by a column, saves and closes by its commands, printing
// one line per phase on stdout ("open_ms 412.5"), and so ends. What each
// line measures is in bench/README.md.
class PhaseTimes : public QObject
{
    Q_OBJECT

public:
    // Made first thing in main; the sort is by column (0-7).
    explicit PhaseTimes(int sortColumn);

    // The window exists: its phases are watched from here on.
    void attach(MainWindow &window);
    // The login has ended (or was not asked for).
    void loginDone();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void tablePainted();
    void scroll();
    void refresh();
    void sort();
    void save();
    void close();

    void runCommand(const char *name, QAction *command, bool paint);
    double msSince(qint64 nanoseconds) const;
    void print(const QByteArray &name, double ms);

    MainWindow *m_window = nullptr;
    int m_sortColumn = 3;
    QElapsedTimer m_clock;
    qint64 m_loginAt = 0;
    qint64 m_startupTimerAt = 0;
    qint64 m_resetStartAt = 0;
    qint64 m_resetEndAt = 0;
    bool m_waitingForPaint = false;
};
