#pragma once

#include <cerrno>
#include <utility>

#include <unistd.h>

// An open POSIX file descriptor, closed when it goes out of scope. The safe
// reads and writes work on descriptors because every step must report the
// system's own error, which Qt's file classes do not always pass on.
class FileDescriptor
{
public:
    explicit FileDescriptor(int fd = -1)
        : m_fd(fd)
    {
    }
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    FileDescriptor &operator=(FileDescriptor &&other) noexcept
    {
        std::swap(m_fd, other.m_fd);
        return *this;
    }

    int get() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }

    // Closes now: 0, or the errno of a write the system deferred to the close
    // (network file systems). An interrupted close has still released the
    // descriptor on Linux, so it counts as done.
    int close()
    {
        const int fd = std::exchange(m_fd, -1);
        return ::close(fd) == 0 || errno == EINTR ? 0 : errno;
    }

private:
    int m_fd;
};
