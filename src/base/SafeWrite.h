#pragma once

#include <QByteArrayView>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

// The one way the program replaces a whole file (databases, settings files,
// pages it writes, downloads). The bytes go to a new file beside the target,
// which is written, synced to disk and only then renamed over the target, so
// a failed or interrupted write leaves an existing file exactly as it was and
// a success means the bytes are on the disk. Every step is checked; the first
// one that fails ends the write and gives the system's reason.
//
// Only regular files are replaced: a folder, device, FIFO or socket at the
// path fails the write, and so does an existing file the user may not write.
// A symbolic link is followed, and the file it names is replaced.
namespace SafeWrite {

enum class InPlace {
    // A folder that takes no new file fails the write; the reason names the
    // folder, so that the user can choose another.
    Never,
    // A writable file in such a folder is overwritten in place. The room for
    // a longer content is reserved before the first byte changes, so a full
    // disk fails the write with the old content intact; an interruption in
    // the middle can still leave a mixed file. Only for a file the program
    // writes afresh before each use (an information page), never for one it
    // keeps (documents, settings).
    AsLastResort
};

// Replaces the file at path with bytes. Nothing on success; otherwise the
// reason for the failure in the system's words ("No space left on device"),
// for the caller to put after its own message naming the path.
std::optional<QString> replaceFile(const QString &path, QByteArrayView bytes, InPlace inPlace);

// What replaceFile does beyond the usual.
struct Options
{
    InPlace inPlace = InPlace::Never;
    // A symbolic link at the path is replaced itself instead of followed:
    // for files written into folders other users may write (lock files),
    // where a link put there could aim the write at any file of the user's.
    bool followLinks = true;
    // The new file's permissions (0600); by default those of the file it
    // replaces, or 0666 less the umask for a new one.
    int permissions = -1;
};

std::optional<QString> replaceFile(const QString &path, QByteArrayView bytes, const Options &options);

// Removes the file at path - a symbolic link itself, never the file it
// names - and syncs its folder. Nothing when it is gone, missing before
// included; otherwise the reason, as for replaceFile. A folder is refused.
std::optional<QString> removeFile(const QString &path);

// Writes a file's content, made as it goes, to the open file fd: every byte
// from offset 0 to the size announced, through writeAt, from as many threads
// at once as it likes. Returns 0, or the errno of the first step that failed;
// it throws nothing but std::bad_alloc, which counts as ENOMEM.
using ContentWriter = std::function<int(int fd)>;

// replaceFile for a content of size bytes that write makes as it goes, so
// that a large file never stands whole in the memory.
std::optional<QString> replaceFile(const QString &path, qint64 size, const ContentWriter &write, InPlace inPlace);
std::optional<QString> replaceFile(const QString &path, qint64 size, const ContentWriter &write,
                                   const Options &options);

// A replacement whose bytes come piece by piece, as a download's do, and are
// written as they come: the new file is made beside the target at once,
// takes the pieces, and replaces the target at commit() as replaceFile
// would. Destroyed uncommitted, or failed, it leaves nothing behind and the
// target as it was. A folder that takes no new file fails it (never in
// place).
class Replacement
{
public:
    explicit Replacement(const QString &path);
    ~Replacement();
    Replacement(const Replacement &) = delete;
    Replacement &operator=(const Replacement &) = delete;

    // Why the replacement cannot go on, in the system's words; nothing
    // while it can.
    const std::optional<QString> &failure() const { return m_failure; }
    // The bytes taken so far.
    qint64 size() const { return m_size; }
    // Adds bytes at the end of the new file; false once the replacement
    // has failed.
    bool append(QByteArrayView bytes);
    // Syncs the new file and renames it over the target: nothing on success,
    // otherwise the reason.
    std::optional<QString> commit();

private:
    // Removes the new file and gives up.
    void discard();

    struct Files;
    std::unique_ptr<Files> m_files; // released once committed or failed
    std::optional<QString> m_failure;
    qint64 m_size = 0;
};

// Writes bytes to fd at offset, all of them: 0, or the errno of the write
// that failed.
int writeAt(int fd, qint64 offset, QByteArrayView bytes);

// The absolute path with the platform's separators, as messages name files.
QString nativeFullPath(const QString &path);

// The time this process has spent waiting for its writes to reach the disk
// (the syncs of files and folders), for measurements: a save's own work and
// the disk's share are told apart by reading it before and after.
std::chrono::nanoseconds syncTime();

} // namespace SafeWrite
