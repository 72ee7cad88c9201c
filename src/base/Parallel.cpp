#include "Parallel.h"

#include "WorkPool.h"

#include <QList>
#include <QThread>

#include <algorithm>
#include <exception>
#include <vector>

namespace Parallel {

int parts()
{
    return std::max(1, QThread::idealThreadCount());
}

int partsFor(long long work, long long worthFrom)
{
    return work >= worthFrom ? parts() : 1;
}

void forEachPart(int count, const std::function<void(int part)> &task)
{
    std::vector<std::exception_ptr> failures(size_t(std::max(count, 0)));
    const auto run = [&](int part) {
        try {
            task(part);
        } catch (...) {
            failures[size_t(part)] = std::current_exception();
        }
    };
    QList<QFuture<void>> others;
    for (int part = 1; part < count; ++part)
        others.append(WorkPool::start([&run, part] { run(part); }));
    if (count > 0)
        run(0);
    // A part still waiting for a thread runs here now.
    for (QFuture<void> &other : others)
        other.waitForFinished();
    for (const std::exception_ptr &failure : failures) {
        if (failure)
            std::rethrow_exception(failure);
    }
}

} // namespace Parallel
