#include "CommandMap.h"

#include "ActionTable.h"

#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

namespace {

// Qt's own pictures for the commands when the desktop's icon theme has none.
QStyle::StandardPixmap fallbackPixmap(int action)
{
    switch (action) {
    case 8:
        return QStyle::SP_FileIcon;
    case 9:
    case 13:
    case 14:
    case 15:
    case 16:
    case 17:
    case 69:
        return QStyle::SP_DialogOpenButton;
    case 10:
    case 12:
        return QStyle::SP_DialogSaveButton;
    case 3:
        return QStyle::SP_DialogCloseButton;
    case 2:
        return QStyle::SP_FileDialogNewFolder;
    case 19:
    case 66:
        return QStyle::SP_FileDialogDetailedView;
    case 20:
    case 21:
        return QStyle::SP_TrashIcon;
    case 22:
    case 23:
    case 24:
        return QStyle::SP_FileDialogContentsView;
    case 5:
    case 46:
        return QStyle::SP_DirHomeIcon;
    case 6:
        return QStyle::SP_FileDialogListView;
    case 48:
        return QStyle::SP_ComputerIcon;
    case 7:
    case 53:
        return QStyle::SP_DialogHelpButton;
    case 49:
        return QStyle::SP_BrowserReload;
    case 50:
    case 54:
        return QStyle::SP_DriveNetIcon;
    case 56:
        return QStyle::SP_MessageBoxInformation;
    case 63:
        return QStyle::SP_ArrowUp;
    case 64:
        return QStyle::SP_ArrowDown;
    default:
        return QStyle::SP_FileIcon;
    }
}

QIcon commandIcon(const ActionTable::ActionSpec &spec)
{
    if (spec.icon.isEmpty())
        return {};
    const QIcon themed = QIcon::fromTheme(spec.icon);
    return themed.isNull() ? QApplication::style()->standardIcon(fallbackPixmap(spec.number)) : themed;
}

} // namespace

CommandMap::CommandMap(QMainWindow *window)
    : QObject(window)
    , m_window(window)
{
    for (const ActionTable::ActionSpec &spec : ActionTable::actions()) {
        auto *a = new QAction(menuText(spec.caption), window);
        a->setObjectName(ActionTable::actionName(spec.number));
        a->setIcon(commandIcon(spec));
        a->setProperty("category", spec.category);
        if (!spec.shortcut.isEmpty()) {
            a->setShortcut(QKeySequence(spec.shortcut, QKeySequence::PortableText));
            a->setShortcutContext(Qt::WindowShortcut);
            window->addAction(a); // the key works even while no menu shows the action
        }
        m_actions[spec.number - 1] = a;
    }
}

QString CommandMap::menuText(const QString &text)
{
    QString escaped = text;
    return escaped.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

void CommandMap::buildMenuBar(QMenuBar *bar)
{
    using ActionTable::MenuEntry;
    std::function<void(QMenu *, const std::vector<MenuEntry> &)> fill = [&](QMenu *menu,
                                                                             const std::vector<MenuEntry> &entries) {
        for (const MenuEntry &e : entries) {
            switch (e.kind) {
            case MenuEntry::Kind::Separator:
                menu->addSeparator();
                break;
            case MenuEntry::Kind::SubMenu:
                fill(menu->addMenu(e.title), e.entries);
                break;
            case MenuEntry::Kind::Action: {
                QAction *a = action(e.action);
                if (!e.title.isEmpty())
                    a->setText(e.title); // the item's own caption, with its access key
                menu->addAction(a);
                break;
            }
            }
        }
    };
    for (const MenuEntry &top : ActionTable::menuBar())
        fill(bar->addMenu(top.title), top.entries);
}

QToolBar *CommandMap::buildToolBar()
{
    auto *bar = new QToolBar(m_window);
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(32, 32));
    for (const ActionTable::ToolButtonSpec &spec : ActionTable::toolBar()) {
        if (spec.action == 0) {
            QAction *sep = bar->addSeparator();
            sep->setObjectName(spec.name);
            continue;
        }
        auto *button = new QToolButton(bar);
        button->setObjectName(spec.name);
        button->setText(spec.caption);
        button->setToolTip(spec.hint);
        button->setIcon(action(spec.action)->icon());
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setAutoRaise(true);
        button->setFixedSize(65, 65);
        QFont captionFont(QStringLiteral("Verdana"));
        captionFont.setPointSize(8);
        button->setFont(captionFont);
        QAction *target = action(spec.action);
        connect(button, &QToolButton::clicked, target, &QAction::trigger);
        bar->addWidget(button);
    }
    return bar;
}

QMenu *CommandMap::buildPopupMenu(QWidget *parent)
{
    auto *menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("PopupMenu1"));
    for (int n : ActionTable::popupMenu()) {
        if (n == 0)
            menu->addSeparator();
        else
            menu->addAction(action(n));
    }
    return menu;
}
