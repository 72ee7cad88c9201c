#pragma once

#include <cstddef>

// Advice to the system about the pages of large buffers. Both are advice
// only: where the system does not follow it, nothing but time is lost.
namespace MemoryPages {

// Asks for large pages for a buffer about to be filled: a buffer of a
// hundred megabytes filled page by page costs tens of thousands of page
// faults, each dearer than filling the page. Small buffers are left alone.
void preferLarge(const void *begin, std::size_t bytes);

// Hands the large pages (2 MB) that lie wholly inside [begin, end) back to
// the system while the buffer they belong to lives on: a reader that has
// used up the front of a large buffer lowers the process's peak this way,
// and whole large pages are at once there for the next large buffer to take
// (handing back part of one breaks it up). The bytes there must not be read
// again (they read as zero); writing them is allowed and takes the pages
// back. Returns the end of what was handed back, or begin where nothing
// was: the place to go on from.
const void *release(const void *begin, const void *end);

} // namespace MemoryPages
