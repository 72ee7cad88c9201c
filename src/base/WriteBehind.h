#pragma once

#include <QByteArrayView>

#include <deque>
#include <utility>

// Writes a large file piece by piece while keeping little of it in the
// system's file cache: each piece starts on its way to the disk as soon as it
// is written, and the piece written a few pieces before is waited for and
// dropped from the cache. Left to itself, the system first fills its cache
// with the whole file, which costs it more the larger the file (a gigabyte
// of free memory to find), and leaves every byte for the final sync. This is
// no sync: the file is synced once written all the same. Where the system
// offers none of it, the pieces are just written.
class WriteBehind
{
public:
    explicit WriteBehind(int fd)
        : m_fd(fd)
    {
    }

    // Writes bytes to the file at offset, all of them: 0, or the errno of
    // the step that failed (the disk's own errors included).
    int write(qint64 offset, QByteArrayView bytes);

private:
    int m_fd;
    std::deque<std::pair<qint64, qint64>> m_pending; // pieces not yet waited for: offset, size
};
