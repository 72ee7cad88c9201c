#pragma once

#include <QString>

#include <vector>

// The command map of the main window as data: every action with its caption,
// shortcut, category and picture, the menu tree, the toolbar and the pop-up
// menu. The window builds its actions and menus from these tables, and the
// tests check them against the intended layout.
namespace ActionTable {

inline constexpr int kActionCount = 72;

struct ActionSpec
{
    int number;          // ActionN
    QString caption;     // the command's caption
    QString shortcut;    // portable text ("Ctrl+Alt+S"), empty for none
    QString category;
    QString icon;        // freedesktop icon name, empty for none
};

// Entries of menus: an action (with the item's own caption where it differs
// from the action's), a separator, or a sub-menu.
struct MenuEntry
{
    enum class Kind { Action, Separator, SubMenu };
    Kind kind;
    int action = 0;
    QString title; // sub-menu heading, or the item's own caption
    std::vector<MenuEntry> entries;
};

struct ToolButtonSpec
{
    QString name;    // SpeedButtonN, or ToolButtonN for a separator
    QString caption; // empty for a separator
    QString hint;
    int action = 0;  // 0 for a separator
};

// All 72 actions, in number order.
const std::vector<ActionSpec> &actions();
const ActionSpec &action(int number);

// The menu bar: one MenuEntry of kind SubMenu per menu, left to right.
const std::vector<MenuEntry> &menuBar();
// The toolbar, left to right.
const std::vector<ToolButtonSpec> &toolBar();
// The list's pop-up menu: action numbers, 0 for a separator.
const std::vector<int> &popupMenu();

// The eight sort-column commands in column order (column 0 first).
const std::vector<int> &sortColumnActions();
// Reopen 1 to 5.
const std::vector<int> &reopenActions();
// The favourite cells' open (Ячейка N) and delete (Удалить N) commands.
inline int favouriteOpenAction(int cell) { return 34 + cell; }
inline int favouriteDeleteAction(int cell) { return 24 + cell; }

QString actionName(int number);

} // namespace ActionTable
