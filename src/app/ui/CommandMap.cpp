#include "CommandMap.h"

#include "CommandTable.h"
#include "MenuStyle.h"

#include <QAction>
#include <QApplication>
#include <QHash>
#include <QIcon>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

namespace {

// Qt's own pictures for the commands' icons when the desktop's icon theme has
// none of them.
QStyle::StandardPixmap fallbackPixmap(const QString &icon)
{
    static const QHash<QString, QStyle::StandardPixmap> pixmaps = {
        {"document-new", QStyle::SP_FileIcon},
        {"folder-open", QStyle::SP_DirOpenIcon},
        {"document-open-recent", QStyle::SP_DialogOpenButton},
        {"document-revert", QStyle::SP_DialogOpenButton},
        {"document-save", QStyle::SP_DialogSaveButton},
        {"document-save-as", QStyle::SP_DialogSaveButton},
        {"application-exit", QStyle::SP_DialogCloseButton},
        {"list-add", QStyle::SP_FileDialogNewFolder},
        {"accessories-text-editor", QStyle::SP_FileDialogDetailedView},
        {"edit-find", QStyle::SP_FileDialogDetailedView},
        {"edit-delete", QStyle::SP_TrashIcon},
        {"edit-clear", QStyle::SP_TrashIcon},
        {"edit-copy", QStyle::SP_FileDialogContentsView},
        {"edit-cut", QStyle::SP_FileDialogContentsView},
        {"edit-paste", QStyle::SP_FileDialogContentsView},
        {"system-log-out", QStyle::SP_DirHomeIcon},
        {"system-users", QStyle::SP_DirHomeIcon},
        {"format-justify-fill", QStyle::SP_FileDialogListView},
        {"preferences-system", QStyle::SP_ComputerIcon},
        {"help-contents", QStyle::SP_DialogHelpButton},
        {"help-faq", QStyle::SP_DialogHelpButton},
        {"system-software-update", QStyle::SP_BrowserReload},
        {"web-browser", QStyle::SP_DriveNetIcon},
        {"applications-internet", QStyle::SP_DriveNetIcon},
        {"help-about", QStyle::SP_MessageBoxInformation},
        {"view-sort-ascending", QStyle::SP_ArrowUp},
        {"view-sort-descending", QStyle::SP_ArrowDown},
        {"edit-undo", QStyle::SP_ArrowBack},
        {"edit-redo", QStyle::SP_ArrowForward},
        {"system-search", QStyle::SP_FileDialogContentsView},
        {"go-down", QStyle::SP_ArrowDown},
        {"go-up", QStyle::SP_ArrowUp},
    };
    return pixmaps.value(icon, QStyle::SP_FileIcon);
}

QIcon commandIcon(const CommandTable::Row &spec)
{
    if (spec.icon.isEmpty())
        return {};
    const QIcon themed = QIcon::fromTheme(spec.icon);
    return themed.isNull() ? QApplication::style()->standardIcon(fallbackPixmap(spec.icon)) : themed;
}

} // namespace

CommandMap::CommandMap(QMainWindow *window, Runner run)
    : QObject(window)
    , m_window(window)
{
    for (const Command command : Commands::all()) {
        const CommandTable::Row &spec = CommandTable::row(command);
        auto *a = new QAction(menuText(spec.caption), window);
        a->setObjectName(spec.name);
        a->setIcon(commandIcon(spec));
        a->setProperty("category", spec.category);
        a->setCheckable(spec.checkable);
        if (!spec.shortcut.isEmpty()) {
            QList<QKeySequence> keys{QKeySequence(spec.shortcut, QKeySequence::PortableText)};
            if (!spec.otherShortcut.isEmpty())
                keys.append(QKeySequence(spec.otherShortcut, QKeySequence::PortableText));
            a->setShortcuts(keys);
            a->setShortcutContext(Qt::WindowShortcut);
            window->addAction(a); // the key works even while no menu shows the action
        }
        connect(a, &QAction::triggered, this, [run, command] { run(command); });
        m_actions[size_t(command)] = a;
    }
}

QString CommandMap::menuText(const QString &text)
{
    QString escaped = text;
    return escaped.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

void CommandMap::buildMenuBar(QMenuBar *bar)
{
    using MenuEntry = CommandTable::MenuEntry;
    std::function<void(QMenu *, const std::vector<MenuEntry> &)> fill = [&](QMenu *menu,
                                                                            const std::vector<MenuEntry> &entries) {
        menu->setSeparatorsCollapsible(false); // a menu may open with a separator line
        menu->setStyle(MenuStyle::shared());
        for (const MenuEntry &e : entries) {
            switch (e.kind) {
            case MenuEntry::Kind::Separator:
                menu->addSeparator();
                break;
            case MenuEntry::Kind::SubMenu:
                fill(menu->addMenu(e.title), e.entries);
                break;
            case MenuEntry::Kind::Command: {
                QAction *a = action(e.command);
                if (!e.title.isEmpty())
                    a->setText(e.title); // the item's own caption, with its access key
                menu->addAction(a);
                m_menuOf[size_t(e.command)] = menu;
                break;
            }
            }
        }
    };
    for (const MenuEntry &top : CommandTable::menuBar())
        fill(bar->addMenu(top.title), top.entries);
}

QToolBar *CommandMap::buildToolBar()
{
    auto *bar = new QToolBar(m_window);
    bar->setObjectName(QStringLiteral("toolBar"));
    bar->setMovable(false);
    bar->setFloatable(false);
    // The size the theme's action pictures come in, so that every button
    // draws its picture at the same size, with the captions in one line.
    bar->setIconSize(QSize(24, 24));
    for (const CommandTable::ToolButton &spec : CommandTable::toolBar()) {
        if (!spec.command) {
            QAction *sep = bar->addSeparator();
            sep->setObjectName(spec.name);
            continue;
        }
        auto *button = new QToolButton(bar);
        button->setObjectName(spec.name);
        button->setText(spec.caption);
        button->setToolTip(spec.hint);
        QAction *target = action(*spec.command);
        button->setIcon(target->icon());
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setAutoRaise(true);
        button->setFixedSize(65, 65);
        QFont captionFont(QStringLiteral("Verdana"));
        captionFont.setPointSize(8);
        button->setFont(captionFont);
        connect(button, &QToolButton::clicked, target, &QAction::trigger);
        bar->addWidget(button);
    }
    return bar;
}

QMenu *CommandMap::buildPopupMenu(QWidget *parent)
{
    auto *menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("popupMenu"));
    menu->setStyle(MenuStyle::shared());
    for (const std::optional<Command> &command : CommandTable::popupMenu()) {
        if (command)
            menu->addAction(action(*command));
        else
            menu->addSeparator();
    }
    return menu;
}
