#include "ProcessIdentity.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QSysInfo>

#include <cerrno>

#include <pwd.h>
#include <signal.h>
#include <unistd.h>

namespace {

QByteArray smallFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(4096) : QByteArray();
}

// The start time in /proc/<pid>/stat, 0 when it cannot be read. The second
// field, the command's name in brackets, may hold spaces and brackets of its
// own, so the fields are counted from its last bracket: the start time is the
// 22nd field, the 20th after it.
qint64 startTicks(qint64 pid)
{
    const QByteArray stat = smallFile(QStringLiteral("/proc/%1/stat").arg(pid));
    const qsizetype close = stat.lastIndexOf(')');
    if (close < 0)
        return 0;
    const QList<QByteArray> fields = stat.mid(close + 1).simplified().split(' ');
    return fields.size() > 19 ? fields[19].toLongLong() : 0;
}

QString bootId()
{
    return QString::fromLatin1(smallFile(QStringLiteral("/proc/sys/kernel/random/boot_id")).trimmed());
}

QString loginName()
{
    struct passwd entry
    {};
    struct passwd *found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(::geteuid(), &entry, buffer, sizeof buffer, &found) == 0 && found)
        return QString::fromLocal8Bit(found->pw_name);
    return QString::number(::geteuid());
}

ProcessIdentity identify()
{
    ProcessIdentity self;
    self.host = QSysInfo::machineHostName();
    self.login = loginName();
    self.pid = qint64(::getpid());
    self.boot = bootId();
    self.started = startTicks(self.pid);
    return self;
}

} // namespace

const ProcessIdentity &ProcessIdentity::current()
{
    static const ProcessIdentity self = identify();
    return self;
}

ProcessIdentity::State ProcessIdentity::state() const
{
    if (!isOnThisHost())
        return State::Unknown;
    if (!boot.isEmpty() && !current().boot.isEmpty() && boot != current().boot)
        return State::Ended;
    if (pid <= 0 || (::kill(pid_t(pid), 0) != 0 && errno == ESRCH))
        return State::Ended;
    // A process with the id runs (perhaps another user's); it is this one
    // only if it started when this one did.
    const qint64 ticks = startTicks(pid);
    return started == 0 || ticks == 0 || ticks == started ? State::Running : State::Ended;
}

QJsonObject ProcessIdentity::toJson() const
{
    return {{QStringLiteral("host"), host},
            {QStringLiteral("login"), login},
            {QStringLiteral("pid"), pid},
            {QStringLiteral("boot"), boot},
            {QStringLiteral("started"), started}};
}

ProcessIdentity ProcessIdentity::fromJson(const QJsonObject &json)
{
    ProcessIdentity identity;
    identity.host = json.value(QStringLiteral("host")).toString();
    identity.login = json.value(QStringLiteral("login")).toString();
    identity.pid = json.value(QStringLiteral("pid")).toInteger();
    identity.boot = json.value(QStringLiteral("boot")).toString();
    identity.started = json.value(QStringLiteral("started")).toInteger();
    return identity;
}
