#pragma once

#include "app/Command.h"

#include <QObject>
#include <QString>

#include <array>
#include <functional>

class QAction;
class QMainWindow;
class QMenu;
class QMenuBar;
class QToolBar;

// The main window's actions, one per command, and the menus, toolbar and
// pop-up menu built from the command table. Every action's trigger goes to
// one runner with the action's command. Shortcuts act only while the main
// window is the active window, so keys typed into a modeless dialog edit its
// boxes.
class CommandMap : public QObject
{
    Q_OBJECT

public:
    using Runner = std::function<void(Command)>;

    CommandMap(QMainWindow *window, Runner run);

    QAction *action(Command command) const { return m_actions[size_t(command)]; }
    // The menu of the menu bar that holds the command, once built; null for
    // a command in no menu.
    QMenu *menuOf(Command command) const { return m_menuOf[size_t(command)]; }

    void buildMenuBar(QMenuBar *bar);
    QToolBar *buildToolBar();
    QMenu *buildPopupMenu(QWidget *parent);

    // The caption an action shows in menus for a text that may hold "&".
    static QString menuText(const QString &text);

private:
    QMainWindow *m_window;
    std::array<QAction *, Commands::kCount> m_actions{};
    std::array<QMenu *, Commands::kCount> m_menuOf{};
};
