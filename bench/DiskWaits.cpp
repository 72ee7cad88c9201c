#include "DiskWaits.h"

#include <atomic>
#include <cstdint>

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

std::atomic<std::int64_t> g_syncs{0};
std::atomic<std::int64_t> g_writeBehind{0};

// The system's own function of that name, the one these stand in front of.
template<typename Function>
Function systemCall(const char *name)
{
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

// Calls call() and adds the time it took to total.
template<typename Call>
int timed(std::atomic<std::int64_t> &total, Call call)
{
    const auto start = std::chrono::steady_clock::now();
    const int result = call();
    total += std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - start).count();
    return result;
}

} // namespace

// Defined in the executable, these take the calls of the program's code
// linked into it.
extern "C" int fsync(int fd)
{
    static const auto call = systemCall<int (*)(int)>("fsync");
    return timed(g_syncs, [fd] { return call(fd); });
}

extern "C" int fdatasync(int fd)
{
    static const auto call = systemCall<int (*)(int)>("fdatasync");
    return timed(g_syncs, [fd] { return call(fd); });
}

extern "C" int sync_file_range(int fd, off64_t offset, off64_t count, unsigned int flags)
{
    static const auto call = systemCall<int (*)(int, off64_t, off64_t, unsigned int)>("sync_file_range");
    return timed(g_writeBehind, [=] { return call(fd, offset, count, flags); });
}

namespace DiskWaits {

std::chrono::nanoseconds syncs()
{
    return std::chrono::nanoseconds(g_syncs.load());
}

std::chrono::nanoseconds writeBehind()
{
    return std::chrono::nanoseconds(g_writeBehind.load());
}

} // namespace DiskWaits
