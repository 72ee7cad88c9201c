#include "WriteBehind.h"

#include "SafeWrite.h"

#include <cerrno>

#include <fcntl.h>

namespace {

// Pieces on their way to the disk at once: enough to keep it busy while the
// next ones are made.
constexpr size_t kPiecesAhead = 4;

// The errors of a disk that failed to take the bytes; other errors only say
// that the system does not do this for the file, which is then written as
// any other.
bool diskFailed(int error)
{
    return error == EIO || error == ENOSPC || error == EDQUOT;
}

} // namespace

int WriteBehind::write(qint64 offset, QByteArrayView bytes)
{
    if (const int error = SafeWrite::writeAt(m_fd, offset, bytes))
        return error;
#ifdef SYNC_FILE_RANGE_WRITE
    if (::sync_file_range(m_fd, offset, bytes.size(), SYNC_FILE_RANGE_WRITE) != 0 && diskFailed(errno))
        return errno;
    m_pending.emplace_back(offset, bytes.size());
    if (m_pending.size() > kPiecesAhead) {
        const auto [at, size] = m_pending.front();
        m_pending.pop_front();
        const unsigned int waitForIt = SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER;
        if (::sync_file_range(m_fd, at, size, waitForIt) != 0 && diskFailed(errno))
            return errno;
        ::posix_fadvise(m_fd, at, size, POSIX_FADV_DONTNEED);
    }
#endif
    return 0;
}
