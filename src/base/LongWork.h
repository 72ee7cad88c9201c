#pragma once

#include "DesktopServices.h"
#include "WorkProgress.h"

#include <optional>
#include <type_traits>
#include <utility>

namespace LongWork {

// Runs work(progress) through DesktopServices::runLongWork, with a progress
// of its own, and returns what it returns.
template<typename Work>
auto run(DesktopServices &desktop, const QString &text, Work &&work)
{
    using Result = decltype(work(std::declval<WorkProgress &>()));
    WorkProgress progress;
    if constexpr (std::is_void_v<Result>) {
        desktop.runLongWork(text, progress, [&] { work(progress); });
    } else {
        std::optional<Result> result;
        desktop.runLongWork(text, progress, [&] { result.emplace(work(progress)); });
        return std::move(*result);
    }
}

} // namespace LongWork
