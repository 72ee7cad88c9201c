#pragma once

// The fixed sizes of the program, spelled once.

// Columns of every table: 0 is the number column, 1 to 7 the text columns.
inline constexpr int kColumnCount = 8;
// Entries of the recent-files list, 1 to 5.
inline constexpr int kRecentFileCount = 5;
// Account slots beside the built-in administrator, 1 to 10.
inline constexpr int kAccountSlotCount = 10;
// Favourite cells, 1 to 10.
inline constexpr int kFavouriteCount = 10;
