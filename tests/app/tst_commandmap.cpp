#include "GuardedTest.h"
#include "ProgramFolder.h"
#include "ScriptedDesktop.h"
#include "app/ui/CommandMap.h"
#include "app/ui/CommandTable.h"
#include "app/ui/MainWindow.h"

#include <QAction>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScopeGuard>
#include <QSet>
#include <QStandardPaths>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

// The menus, toolbar and pop-up menu the main window builds, against
// menus.txt beside this file: an outline a person reviews once. When the
// window changes, the test prints the new outline to be reviewed and copied.
class CommandMapTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void outlineOfTheWindow();
    void toolBarButtonsRunTheirCommands();
    void toolBarIconsLookEnabled();
    void everySeparatorIsDrawn();
    void shortcutsStayInTheMainWindow();
    void familyNumbersAreChecked();

private:
    // Each test's own window of bare actions, whose triggers land in m_ran.
    QMainWindow *m_window = nullptr;
    CommandMap *m_map = nullptr;
    QList<Command> m_ran;
};

void CommandMapTest::init()
{
    m_ran.clear();
    m_window = new QMainWindow;
    m_map = new CommandMap(m_window, [this](Command command) { m_ran << command; });
    m_map->buildMenuBar(m_window->menuBar());
    m_window->addToolBar(m_map->buildToolBar());
}

void CommandMapTest::cleanup()
{
    delete m_window;
}

namespace {

// One action as a line: its name, its caption in quotes (none while it is
// hidden: a hidden entry's text is the user's data), its keys, and what
// else sets it apart.
QString actionLine(const QAction *a)
{
    QString line = a->objectName();
    if (a->isVisible())
        line += QStringLiteral(" \"") + a->text() + QLatin1Char('"');
    for (const QKeySequence &key : a->shortcuts())
        line += QLatin1Char(' ') + key.toString(QKeySequence::PortableText);
    if (!a->isVisible())
        line += QStringLiteral(" hidden");
    else if (!a->isEnabled())
        line += QStringLiteral(" disabled");
    if (a->isCheckable())
        line += QStringLiteral(" checkable");
    return line;
}

void outline(const QMenu *menu, int depth, QString &out, QSet<const QAction *> &listed)
{
    const QString indent(depth * 2, QLatin1Char(' '));
    for (QAction *a : menu->actions()) {
        if (a->isSeparator()) {
            out += indent + QStringLiteral("----\n");
        } else if (a->menu()) {
            out += indent + QLatin1Char('[') + a->text() + QLatin1Char(']')
                + (a->isEnabled() ? QString() : QStringLiteral(" disabled")) + QLatin1Char('\n');
            outline(a->menu(), depth + 1, out, listed);
        } else {
            out += indent + actionLine(a) + QLatin1Char('\n');
            listed.insert(a);
        }
    }
}

QString goldenText()
{
    QFile file(QStringLiteral(TABLORA_MENUS_GOLDEN));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

void CommandMapTest::outlineOfTheWindow()
{
    ProgramFolder folder;
    ScriptedDesktop desktop;
    MainWindow window(desktop, folder.dir(), {});

    QString text = QStringLiteral("menu bar:\n");
    QSet<const QAction *> listed;
    for (QAction *top : window.menuBar()->actions()) {
        text += QStringLiteral("  [") + top->text() + QStringLiteral("]\n");
        outline(top->menu(), 2, text, listed);
    }
    text += QStringLiteral("toolbar:\n");
    for (QAction *a : window.findChild<QToolBar *>(QStringLiteral("toolBar"))->actions()) {
        if (a->isSeparator()) {
            text += QStringLiteral("  ---- ") + a->objectName() + QLatin1Char('\n');
            continue;
        }
        const QWidget *button = window.findChild<QToolBar *>(QStringLiteral("toolBar"))->widgetForAction(a);
        const auto *tool = qobject_cast<const QToolButton *>(button);
        text += QStringLiteral("  %1 \"%2\" \"%3\"\n").arg(tool->objectName(), tool->text(), tool->toolTip());
    }
    text += QStringLiteral("pop-up menu:\n");
    outline(window.popupMenu(), 1, text, listed);
    text += QStringLiteral("in no menu:\n");
    for (const Command command : Commands::all()) {
        if (!listed.contains(window.action(command)))
            text += QStringLiteral("  ") + actionLine(window.action(command)) + QLatin1Char('\n');
    }

    if (text != goldenText()) {
        std::fprintf(stdout, "--- the window's outline, for %s ---\n%s--- end ---\n", TABLORA_MENUS_GOLDEN,
                     text.toUtf8().constData());
        QFAIL("the window's menus differ from menus.txt: review the outline above and copy it there");
    }
    QVERIFY(desktop.problems().isEmpty());
}

// Each button triggers the command it is named after, once.
void CommandMapTest::toolBarButtonsRunTheirCommands()
{
    QToolBar *bar = m_window->findChild<QToolBar *>(QStringLiteral("toolBar"));
    int buttons = 0;
    for (QAction *a : bar->actions()) {
        auto *button = qobject_cast<QToolButton *>(bar->widgetForAction(a));
        if (!button)
            continue; // a separator
        ++buttons;
        QCOMPARE(button->size(), QSize(65, 65));
        QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        m_ran.clear();
        button->click();
        QCOMPARE(m_ran.size(), 1);
        QCOMPARE(button->objectName(), CommandTable::row(m_ran[0]).name + QStringLiteral("Button"));
    }
    QCOMPARE(buttons, 11);
}

namespace {

// A picture reads as enabled when some of it is dark ink or strong colour;
// what Qt draws for a disabled button is neither.
bool looksEnabled(const QPixmap &pixmap)
{
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    int opaque = 0, dark = 0, colourful = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            if (qAlpha(c) < 128)
                continue;
            ++opaque;
            dark += qGray(c) < 100;
            colourful += std::max({qRed(c), qGreen(c), qBlue(c)}) - std::min({qRed(c), qGreen(c), qBlue(c)}) >= 90;
        }
    }
    return opaque > 0 && (dark * 50 >= opaque || colourful * 10 >= opaque);
}

} // namespace

// With the icon theme the set-up installs, as the desktop shows it.
void CommandMapTest::toolBarIconsLookEnabled()
{
    const QString previousTheme = QIcon::themeName();
    QIcon::setThemeSearchPaths(QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("icons"),
                                                         QStandardPaths::LocateDirectory));
    QIcon::setThemeName(QStringLiteral("Adwaita"));
    const auto restore = qScopeGuard([&] { QIcon::setThemeName(previousTheme); });
    QMainWindow window;
    CommandMap map(&window, [](Command) {});
    QToolBar *bar = map.buildToolBar();
    for (const CommandTable::ToolButton &spec : CommandTable::toolBar()) {
        if (!spec.command)
            continue;
        const QIcon icon = bar->findChild<QToolButton *>(spec.name)->icon();
        QVERIFY2(looksEnabled(icon.pixmap(bar->iconSize())), qPrintable(spec.caption));
        QVERIFY(!looksEnabled(icon.pixmap(bar->iconSize(), QIcon::Disabled)));
    }
}

// Every separator is drawn as a line, even one that opens a menu
// ("Пользователи"): Qt leaves such a separator out unless told not to, and a
// thin one merges with the menu's frame.
void CommandMapTest::everySeparatorIsDrawn()
{
    std::function<void(QMenu *)> check = [&](QMenu *menu) {
        menu->resize(menu->sizeHint()); // as shown
        const QImage shown = menu->grab().toImage();
        for (QAction *a : menu->actions()) {
            if (a->menu()) {
                check(a->menu());
                continue;
            }
            if (!a->isSeparator())
                continue;
            // Down the band's middle, a line right under background: not
            // the menu's frame, nor nothing.
            const QRect band = menu->actionGeometry(a);
            const int x = band.center().x();
            const QRgb background = shown.pixel(x, band.bottom() + 1); // the next item's margin
            bool drawn = false;
            for (int y = std::max(band.top() - 1, 0); y < band.bottom(); ++y)
                drawn = drawn || (shown.pixel(x, y) == background && shown.pixel(x, y + 1) != background);
            QVERIFY2(drawn, qPrintable(menu->title()));
        }
    };
    for (QAction *top : m_window->menuBar()->actions())
        check(top->menu());
    check(m_map->buildPopupMenu(m_window));
}

void CommandMapTest::shortcutsStayInTheMainWindow()
{
    QHash<QKeySequence, QString> owners;
    for (const Command command : Commands::all()) {
        QAction *a = m_map->action(command);
        if (a->shortcut().isEmpty())
            continue;
        QCOMPARE(a->shortcutContext(), Qt::WindowShortcut);
        QVERIFY(m_window->actions().contains(a));
        for (const QKeySequence &key : a->shortcuts()) {
            QVERIFY2(!owners.contains(key), qPrintable(key.toString() + " " + owners.value(key)));
            owners.insert(key, a->objectName());
        }
    }
}

void CommandMapTest::familyNumbersAreChecked()
{
    QCOMPARE(Commands::reopen(5), Command::Reopen5);
    QCOMPARE(Commands::sortColumn(0), Command::SortColumn0);
    QCOMPARE(Commands::favouriteOpen(1), Command::FavouriteOpen1);
    QCOMPARE(Commands::favouriteDelete(10), Command::FavouriteDelete10);
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, Commands::reopen(0));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, Commands::reopen(6));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, Commands::sortColumn(8));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, Commands::favouriteOpen(11));
}

TABLORA_TEST_MAIN(CommandMapTest)
#include "tst_commandmap.moc"
