#pragma once

#include <QElapsedTimer>
#include <QString>

class QIODevice;
class WorkProgress;

// How far a long run has got, on one line of standard error that rewrites
// itself. It stays silent in a run's first second and whenever standard error
// is not a terminal, so scripts and logs see only real messages.
class Progress
{
public:
    // enabled: standard error is a terminal.
    Progress(QIODevice &err, bool enabled);

    // A new stage, such as "reading data.db".
    void stage(const QString &text);
    // The share of the stage done; cheap enough to call every few thousand records.
    void advance(qint64 done, qint64 total);
    // Shows the progress of work of the program's core as the share of the
    // current stage; the work may report from several threads.
    void follow(WorkProgress &work);
    // Clears the line, so a message can follow on a clean one.
    void finish();

private:
    void show(const QString &line);

    QIODevice &m_err;
    bool m_enabled;
    QElapsedTimer m_clock;
    QString m_stage;
    int m_percent = -1;
    qsizetype m_shownLength = 0;
};
