#pragma once

#include <QObject>

#include <array>

class QAction;
class QMainWindow;
class QMenu;
class QMenuBar;
class QToolBar;

// The main window's 72 actions and the menus, toolbar and pop-up menu built
// from the action table. Shortcuts act only while the main window is the
// active window, so keys typed into a modeless dialog edit its boxes.
class CommandMap : public QObject
{
    Q_OBJECT

public:
    explicit CommandMap(QMainWindow *window);

    QAction *action(int number) const { return m_actions.at(number - 1); }

    void buildMenuBar(QMenuBar *bar);
    QToolBar *buildToolBar();
    QMenu *buildPopupMenu(QWidget *parent);

    // The caption an action shows in menus for a text that may hold "&".
    static QString menuText(const QString &text);

private:
    QMainWindow *m_window;
    std::array<QAction *, 72> m_actions{};
};
