#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// The command map of the main window as data: every action with its name,
// caption, shortcut, category and picture, the menu tree, the toolbar and the
// pop-up menu. The window builds its actions and menus from these tables and
// binds handlers to actions by name; the tests check them against the
// intended layout.
namespace ActionTable {

// Every command of the main window, reachable or not.
inline constexpr int kActionCount = 80;

struct ActionSpec
{
    QString name; // the action's stable name, after its command: "openDatabase", "saveAs", ...
    QString caption; // the command's caption
    QString shortcut; // portable text ("Ctrl+Alt+S"), empty for none
    QString category;
    QString icon; // freedesktop icon name, empty for none
    QString otherShortcut = {}; // a second key for the same command, empty for none
};

// Entries of menus: an action (with the item's own caption where it differs
// from the action's), a separator, or a sub-menu.
struct MenuEntry
{
    enum class Kind { Action, Separator, SubMenu };
    Kind kind;
    QString action;
    QString title; // sub-menu heading, or the item's own caption
    std::vector<MenuEntry> entries;
};

struct ToolButtonSpec
{
    QString name; // the action's name and "Button", or for a separator the group it ends
    QString caption; // empty for a separator
    QString hint;
    QString action; // empty for a separator
};

// All actions, in the order of the table.
const std::vector<ActionSpec> &actions();
// The row of the named action. A name that is none of the table's is a fault
// of the program: it throws std::invalid_argument, which names it.
const ActionSpec &action(const QString &name);

// The menu bar: one MenuEntry of kind SubMenu per menu, left to right.
const std::vector<MenuEntry> &menuBar();
// The toolbar, left to right.
const std::vector<ToolButtonSpec> &toolBar();
// The list's pop-up menu: action names, an empty name for a separator.
const QStringList &popupMenu();

// The eight sort-column commands in column order (column 0 first).
const QStringList &sortColumnActions();
// Reopen 1 to 5, in order.
const QStringList &reopenActions();
// The favourite cells' open ("Ячейка N") and delete ("Удалить N") commands,
// cell 1 first.
const QStringList &favouriteOpenActions();
const QStringList &favouriteDeleteActions();
// The three example databases, in the order of the "Примеры" menu.
const QStringList &exampleActions();

} // namespace ActionTable
