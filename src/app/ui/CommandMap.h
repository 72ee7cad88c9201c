#pragma once

#include <QHash>
#include <QObject>
#include <QString>

class QAction;
class QMainWindow;
class QMenu;
class QMenuBar;
class QToolBar;

// The main window's actions and the menus, toolbar and pop-up menu built
// from the action table. Shortcuts act only while the main window is the
// active window, so keys typed into a modeless dialog edit its boxes.
class CommandMap : public QObject
{
    Q_OBJECT

public:
    explicit CommandMap(QMainWindow *window);

    // The action of the given name ("openDatabase"). Like ActionTable::action,
    // both throw std::invalid_argument for a name they do not know.
    QAction *action(const QString &name) const;
    // The menu of the menu bar that holds the named action, once built.
    QMenu *menuOf(const QString &name) const;

    void buildMenuBar(QMenuBar *bar);
    QToolBar *buildToolBar();
    QMenu *buildPopupMenu(QWidget *parent);

    // The caption an action shows in menus for a text that may hold "&".
    static QString menuText(const QString &text);

private:
    QMainWindow *m_window;
    QHash<QString, QAction *> m_actions;
    QHash<QString, QMenu *> m_menuOf;
};
