#include "Command.h"

#include "base/Counts.h"

#include <stdexcept>
#include <string>

static_assert(int(Command::Reopen5) - int(Command::Reopen1) + 1 == kRecentFileCount);
static_assert(int(Command::SortColumn7) - int(Command::SortColumn0) + 1 == kColumnCount);
static_assert(int(Command::FavouriteOpen10) - int(Command::FavouriteOpen1) + 1 == kFavouriteCount);
static_assert(int(Command::FavouriteDelete10) - int(Command::FavouriteDelete1) + 1 == kFavouriteCount);

namespace Commands {

namespace {

Command member(Command first, int index, int count, const char *family)
{
    if (index < 0 || index >= count)
        throw std::out_of_range(std::string(family) + ": no member " + std::to_string(index));
    return Command(int(first) + index);
}

} // namespace

Command reopen(int k)
{
    return member(Command::Reopen1, k - 1, kRecentFileCount, "reopen");
}

Command sortColumn(int column)
{
    return member(Command::SortColumn0, column, kColumnCount, "sortColumn");
}

Command favouriteOpen(int n)
{
    return member(Command::FavouriteOpen1, n - 1, kFavouriteCount, "favouriteOpen");
}

Command favouriteDelete(int n)
{
    return member(Command::FavouriteDelete1, n - 1, kFavouriteCount, "favouriteDelete");
}

const std::array<Command, kCount> &all()
{
    static const std::array<Command, kCount> commands = [] {
        std::array<Command, kCount> list{};
        for (int i = 0; i < kCount; ++i)
            list[size_t(i)] = Command(i);
        return list;
    }();
    return commands;
}

} // namespace Commands
