#pragma once

// Advice to the system about the pages of large buffers: where the system
// does not follow it, nothing but memory is lost.
//
// Large buffers stay on the system's ordinary pages. Asking for large pages
// (2 MB) saves page faults where the machine has them at hand, but fresh
// large pages can cost far more than the faults they save, as they do on a
// virtual machine whose memory is backed as it is first touched
// (bench/README, "How the costs grow").
namespace MemoryPages {

// Hands the 2 MB stretches that lie wholly inside [begin, end) back to the
// system while the buffer they belong to lives on: a reader that has used up
// the front of a large buffer lowers the process's peak this way. Whole
// stretches, because a system that backs large buffers with large pages of
// its own accord breaks a large page up when part of it goes. The bytes there
// must not be read again (they read as zero); writing them is allowed and
// takes the pages back. Returns the end of what was handed back, or begin
// where nothing was: the place to go on from.
const void *release(const void *begin, const void *end);

} // namespace MemoryPages
