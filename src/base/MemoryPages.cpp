#include "MemoryPages.h"

#include <cstdint>

#include <sys/mman.h>
#include <unistd.h>

namespace {

// The whole pages inside [begin, end), or an empty range.
struct Pages
{
    std::uintptr_t first;
    std::uintptr_t last;
};

Pages pagesInside(const void *begin, const void *end)
{
    static const std::uintptr_t pageSize = std::uintptr_t(::sysconf(_SC_PAGESIZE));
    const std::uintptr_t first = (std::uintptr_t(begin) + pageSize - 1) / pageSize * pageSize;
    const std::uintptr_t last = std::uintptr_t(end) / pageSize * pageSize;
    return {first, last > first ? last : first};
}

} // namespace

namespace MemoryPages {

void preferLarge(const void *begin, std::size_t bytes)
{
    constexpr std::size_t kLargePage = std::size_t(2) << 20;
    if (bytes < 2 * kLargePage)
        return;
#ifdef MADV_HUGEPAGE
    const Pages pages = pagesInside(begin, static_cast<const char *>(begin) + bytes);
    ::madvise(reinterpret_cast<void *>(pages.first), pages.last - pages.first, MADV_HUGEPAGE);
#endif
}

void release(const void *begin, const void *end)
{
    const Pages pages = pagesInside(begin, end);
    if (pages.last > pages.first)
        ::madvise(reinterpret_cast<void *>(pages.first), pages.last - pages.first, MADV_DONTNEED);
}

} // namespace MemoryPages
