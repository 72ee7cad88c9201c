#pragma once

#include <chrono>

// The time the process has spent waiting for its writes to reach the disk,
// for the bench's figures: a save's own work and the disk's share are told
// apart by reading these before and after. The bench's executables take the
// system's calls that wait (fsync, fdatasync, sync_file_range) and time them
// on their way through; the program itself measures nothing.
namespace DiskWaits {

// In the syncs that end a save (fsync, fdatasync): the wait on the saving
// thread after the last byte is written.
std::chrono::nanoseconds syncs();
// In the waits for pieces written before while a large file is still being
// written (sync_file_range): spent by the writing threads, at once with the
// other threads' work.
std::chrono::nanoseconds writeBehind();

} // namespace DiskWaits
