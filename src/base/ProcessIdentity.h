#pragma once

#include <QJsonObject>
#include <QString>

// One running process of the program, told apart from every other one: the
// computer and the system user it runs on, its process id, and the boot and
// the moment it started, since ids are reused once their process has ended.
// Lock files and recovery copies name their owner with it.
struct ProcessIdentity
{
    enum class State { Running, Ended, Unknown };

    QString host;
    QString login; // the system user the process runs as
    qint64 pid = 0;
    QString boot; // the system's id of the boot it runs in; empty when unknown
    qint64 started = 0; // clock ticks from that boot to its start; 0 when unknown

    // This process; the same value all its life.
    static const ProcessIdentity &current();

    bool isOnThisHost() const { return host == current().host; }
    // Whether the process still runs: on this host, a process with this id
    // that started in the same boot at the same moment. Unknown for a process
    // of another host, whose state cannot be seen from here.
    State state() const;

    QJsonObject toJson() const;
    // Missing members stay at their defaults.
    static ProcessIdentity fromJson(const QJsonObject &json);

    friend bool operator==(const ProcessIdentity &a, const ProcessIdentity &b)
    {
        return a.host == b.host && a.pid == b.pid && a.boot == b.boot && a.started == b.started;
    }
};
