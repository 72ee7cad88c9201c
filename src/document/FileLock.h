#pragma once

#include "base/ProcessIdentity.h"

#include <QDateTime>
#include <QString>

#include <optional>

// The notice that a database is open in a window of the program: the lock
// file ".~lock.<name>#" beside it, saying who opened it - the system user,
// the computer, the process and its window - and since when. A window that
// opens the file learns from it who else has it open. Only a notice: the
// database itself is never locked, and a folder that takes no new file
// simply gets no notice.
class FileLock
{
public:
    // Who holds a lock.
    struct Holder
    {
        // False for a lock file in a form this program does not write,
        // another program's: nothing more is known.
        bool known = false;
        ProcessIdentity process;
        QString window;
        QDateTime since;
    };

    // A lock of a window of its own.
    FileLock();
    // Releases the lock held.
    ~FileLock();
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

    // The lock file of a database: beside the file itself, a symbolic link
    // followed, so that every way to the file finds the same lock.
    static QString lockPath(const QString &file);

    // The holder of the database's lock when it is someone else: a window
    // of a running Tablora on this computer (another window of this very
    // process too), one on another computer, or another program. Nothing
    // when the file has no lock, when the lock is this one's, and when its
    // process has ended: such a stale lock is replaced without a word.
    std::optional<Holder> otherHolder(const QString &file) const;

    // Lets go of the lock held and takes the database's, unless someone
    // else holds that. A folder that takes no new file goes without.
    void acquire(const QString &file, const QDateTime &now);
    // Removes the lock file this one wrote, when it is still its own.
    void release();
    // Whether this one holds the database's lock.
    bool holds(const QString &file) const;

private:
    static std::optional<Holder> read(const QString &lockPath);
    bool isOwn(const Holder &holder) const;

    QString m_window;
    QString m_held;
};
