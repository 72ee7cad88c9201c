#include "MemoryPages.h"

#include <cstdint>

#include <sys/mman.h>

namespace {

constexpr std::uintptr_t kStretch = std::uintptr_t(2) << 20;

} // namespace

namespace MemoryPages {

const void *release(const void *begin, const void *end)
{
    const std::uintptr_t first = (std::uintptr_t(begin) + kStretch - 1) / kStretch * kStretch;
    const std::uintptr_t last = std::uintptr_t(end) / kStretch * kStretch;
    if (last <= first)
        return begin;
    ::madvise(reinterpret_cast<void *>(first), last - first, MADV_DONTNEED);
    return reinterpret_cast<const void *>(last);
}

} // namespace MemoryPages
