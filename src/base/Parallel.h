#pragma once

#include <functional>

// Large work cut into parts that run at once, one thread each: reading,
// writing and sorting a large table use every processor while the window
// waits. The parts of a piece of work write to places of their own; the
// caller puts their results together once all have ended.
namespace Parallel {

// How many parts large work is cut into: two where the machine has two
// processors or more, otherwise one.
int parts();
// parts(), or one for work smaller than worthFrom: a thread costs more than
// it saves there.
int partsFor(long long work, long long worthFrom);

// Runs task(0) to task(count - 1): task 0 on the calling thread, each other
// on a thread of its own. Returns when all have ended; an exception a task
// threw is thrown on here then (the lowest part's). Where no thread can be
// started, the tasks run here one after another.
void forEachPart(int count, const std::function<void(int part)> &task);

} // namespace Parallel
