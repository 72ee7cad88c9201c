#pragma once

#include <functional>

// Large work cut into parts that run at once on the work pool (WorkPool):
// reading, writing and sorting a large table use every processor while the
// window waits. The parts of a piece of work write to places of their own;
// the caller puts their results together once all have ended, and the
// result never depends on how many parts there were.
namespace Parallel {

// How many parts large work is cut into: one per processor
// (QThread::idealThreadCount()), at least one.
int parts();
// parts(), or one for work smaller than worthFrom: a part costs more than
// it saves there.
int partsFor(long long work, long long worthFrom);

// Runs task(0) to task(count - 1): task 0 on the calling thread, the others
// on the pool, and any of those the pool has not started by the time task 0
// ends on the calling thread too. Returns when all have ended; an exception
// a task threw is thrown on here then (the lowest part's).
void forEachPart(int count, const std::function<void(int part)> &task);

} // namespace Parallel
