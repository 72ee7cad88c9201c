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

constexpr std::uintptr_t kLargePage = std::uintptr_t(2) << 20;

// The pages of the given size inside [begin, end).
Pages pagesInside(const void *begin, const void *end, std::uintptr_t pageSize)
{
    const std::uintptr_t first = (std::uintptr_t(begin) + pageSize - 1) / pageSize * pageSize;
    const std::uintptr_t last = std::uintptr_t(end) / pageSize * pageSize;
    return {first, last > first ? last : first};
}

} // namespace

namespace MemoryPages {

void preferLarge(const void *begin, std::size_t bytes)
{
    if (bytes < 2 * kLargePage)
        return;
#ifdef MADV_HUGEPAGE
    static const auto pageSize = std::uintptr_t(::sysconf(_SC_PAGESIZE));
    const Pages pages = pagesInside(begin, static_cast<const char *>(begin) + bytes, pageSize);
    ::madvise(reinterpret_cast<void *>(pages.first), pages.last - pages.first, MADV_HUGEPAGE);
#endif
}

const void *release(const void *begin, const void *end)
{
    const Pages pages = pagesInside(begin, end, kLargePage);
    if (pages.last <= pages.first)
        return begin;
    ::madvise(reinterpret_cast<void *>(pages.first), pages.last - pages.first, MADV_DONTNEED);
    return reinterpret_cast<const void *>(pages.last);
}

} // namespace MemoryPages
