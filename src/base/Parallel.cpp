#include "Parallel.h"

#include <algorithm>
#include <exception>
#include <system_error>
#include <thread>
#include <vector>

namespace Parallel {

int parts()
{
    return std::thread::hardware_concurrency() >= 2 ? 2 : 1;
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
    std::vector<std::thread> threads;
    for (int part = 1; part < count; ++part) {
        try {
            threads.emplace_back(run, part);
        } catch (const std::system_error &) {
            run(part); // no thread to be had: the part runs here
        }
    }
    if (count > 0)
        run(0);
    for (std::thread &thread : threads)
        thread.join();
    for (const std::exception_ptr &failure : failures) {
        if (failure)
            std::rethrow_exception(failure);
    }
}

} // namespace Parallel
