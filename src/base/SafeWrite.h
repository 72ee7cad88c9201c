#pragma once

#include <QByteArrayView>
#include <QString>

#include <functional>
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
    // the middle can still leave a mixed file. For small files the program
    // cannot do without (settings), never for documents.
    AsLastResort
};

// Replaces the file at path with bytes. Nothing on success; otherwise the
// reason for the failure in the system's words ("No space left on device"),
// for the caller to put after its own message naming the path.
std::optional<QString> replaceFile(const QString &path, QByteArrayView bytes, InPlace inPlace);

// Writes a file's content, made as it goes, to the open file fd: every byte
// from offset 0 to the size announced, through writeAt, from as many threads
// at once as it likes. Returns 0, or the errno of the first step that failed;
// it throws nothing but std::bad_alloc, which counts as ENOMEM.
using ContentWriter = std::function<int(int fd)>;

// replaceFile for a content of size bytes that write makes as it goes, so
// that a large file never stands whole in the memory.
std::optional<QString> replaceFile(const QString &path, qint64 size, const ContentWriter &write, InPlace inPlace);

// Writes bytes to fd at offset, all of them: 0, or the errno of the write
// that failed.
int writeAt(int fd, qint64 offset, QByteArrayView bytes);

// The absolute path with the platform's separators, as messages name files.
QString nativeFullPath(const QString &path);

} // namespace SafeWrite
