#pragma once

#include "app/Command.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

class MainWindow;

// The main window's commands as one table: for each command its action's
// name, caption, keys, category, picture and handler; below the rows, where
// the commands stand in the menu bar, the toolbar and the list's pop-up menu.
// CommandMap builds the actions and menus from it, and the window runs a
// triggered command's handler through its error handler.
//
// A new command is a value in Command (app/Command.h), its row in
// CommandTable.cpp with the handler, and its place in a menu, the toolbar or
// the pop-up there. The handlers reach the window's command objects: the
// table is the window's friend.
class CommandTable
{
public:
    // What the command does in the window. Empty for a command that does
    // nothing.
    using Handler = std::function<void(MainWindow &)>;

    struct Row
    {
        Command id;
        QString name; // the action's object name, stable: "openDatabase", "saveAs", ...
        QString caption;
        QString shortcut; // portable text ("Ctrl+Alt+S"), empty for none
        QString category;
        QString icon; // freedesktop icon name, empty for none
        Handler handler;
        QString otherShortcut = {}; // a second key for the same command
        bool checkable = false;
    };

    // Entries of menus: a command (with the item's own caption where it
    // differs from the row's), a separator, or a sub-menu.
    struct MenuEntry
    {
        enum class Kind { Command, Separator, SubMenu };
        Kind kind;
        Command command;
        QString title; // sub-menu heading, or the item's own caption
        std::vector<MenuEntry> entries;
    };

    // A toolbar button, or a separator where command is empty (its name
    // then says which group it ends).
    struct ToolButton
    {
        QString name;
        QString caption;
        QString hint;
        std::optional<Command> command;
    };

    // The row of every command. A command without its row, or with two, is
    // a fault of the program that the first use reports (std::logic_error).
    static const Row &row(Command command);

    // The menu bar: one entry of kind SubMenu per menu, left to right.
    static const std::vector<MenuEntry> &menuBar();
    static const std::vector<ToolButton> &toolBar();
    // The list's pop-up menu; empty for a separator.
    static const std::vector<std::optional<Command>> &popupMenu();

private:
    static std::vector<Row> rows();
};
