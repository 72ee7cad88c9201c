#include "OrdinaryUser.h"

#include <QFile>

#include <cerrno>

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

namespace OrdinaryUser {

std::optional<QByteArray> run(const QString &folder, const std::function<QByteArray()> &body)
{
    if (::geteuid() != 0)
        return body();
    const passwd *nobody = ::getpwnam("nobody");
    if (!nobody || ::chown(QFile::encodeName(folder).constData(), nobody->pw_uid, nobody->pw_gid) != 0)
        return std::nullopt;
    const uid_t uid = nobody->pw_uid;
    const gid_t gid = nobody->pw_gid;
    int channel[2];
    if (::pipe(channel) != 0)
        return std::nullopt;
    const pid_t child = ::fork();
    if (child == 0) {
        // Only this thread lives on in the child, which ends without the
        // parent's exit handlers.
        ::close(channel[0]);
        if (::setgroups(0, nullptr) != 0 || ::setresgid(gid, gid, gid) != 0 || ::setresuid(uid, uid, uid) != 0)
            ::_exit(2);
        const QByteArray result = body();
        for (qsizetype done = 0; done < result.size();) {
            const ssize_t n = ::write(channel[1], result.constData() + done, size_t(result.size() - done));
            if (n <= 0)
                ::_exit(3);
            done += n;
        }
        ::_exit(0);
    }
    ::close(channel[1]);
    QByteArray result;
    char buffer[4096];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) != 0;) {
        if (n > 0)
            result.append(buffer, n);
        else if (errno != EINTR)
            break;
    }
    ::close(channel[0]);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child)
        return std::nullopt;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 2)
        return std::nullopt;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return QByteArray("<the body did not return>");
    return result;
}

} // namespace OrdinaryUser
