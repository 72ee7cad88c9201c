#include "GuardedTest.h"
#include "app/ActionTable.h"
#include "app/ui/CommandMap.h"

#include <QAction>
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
#include <stdexcept>

// The command map against the intended layout, written out independently of
// the tables the program builds it from.
class CommandMapTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void menuTree();
    void commandTable();
    void toolBar();
    void toolBarIconsLookEnabled();
    void popupMenu();
    void everySeparatorIsDrawn();
    void unreachableCommands();
    void shortcutsStayInTheMainWindow();
    void unknownNamesFailInEveryBuild();

private:
    static QString outline(const QMenu *menu, int depth);

    QMainWindow *m_window = nullptr;
    CommandMap *m_map = nullptr;
};

void CommandMapTest::init()
{
    m_window = new QMainWindow;
    m_map = new CommandMap(m_window);
    m_map->buildMenuBar(m_window->menuBar());
    m_window->addToolBar(m_map->buildToolBar());
}

void CommandMapTest::cleanup()
{
    delete m_window;
}

QString CommandMapTest::outline(const QMenu *menu, int depth)
{
    QString out;
    const QString indent(depth * 2, QLatin1Char(' '));
    for (QAction *a : menu->actions()) {
        if (a->isSeparator()) {
            out += indent + QStringLiteral("—\n");
        } else if (a->menu()) {
            out += indent + QLatin1Char('[') + a->text() + QStringLiteral("]\n") + outline(a->menu(), depth + 1);
        } else {
            out += indent + a->objectName() + QLatin1Char(' ') + a->text();
            if (!a->shortcut().isEmpty())
                out += QLatin1Char(' ') + a->shortcut().toString(QKeySequence::PortableText);
            out += QLatin1Char('\n');
        }
    }
    return out;
}

void CommandMapTest::menuTree()
{
    QString tree;
    for (QAction *top : m_window->menuBar()->actions())
        tree += QLatin1Char('[') + top->text() + QStringLiteral("]\n") + outline(top->menu(), 1);

    const QString expected = QStringLiteral(R"([База]
  newDatabase Новая база данных Ctrl+N
  openDatabase Открыть базу данных... Ctrl+O
  [Недавние]
    reopen1 Переоткрыть &1
    reopen2 Переоткрыть &2
    reopen3 Переоткрыть &3
    reopen4 Переоткрыть &4
    reopen5 Переоткрыть &5
  —
  save Сохранить Ctrl+S
  saveAs Сохранить как... Ctrl+Alt+S
  —
  print Печать... Ctrl+P
  printPreview Предварительный просмотр...
  —
  [Импорт]
    importVersion10 Импорт из &Tablora 1.0
    importCsv Из &CSV...
  [Экспорт]
    exportCsv В &CSV...
  [Примеры]
    examplePrograms Программы
    exampleProfile Профайл
    exampleSchool Школьная база
  —
  exit Выход
[Записи]
  addRecord Добавить Ctrl+A
  —
  viewRecord Просмотр записи
  —
  editRecord Изменить
  cutRecord Вырезать Ctrl+X
  copyRecord Копировать Ctrl+C
  pasteRecord Вставить Ctrl+V
  —
  deleteRecord Удалить Del
  clearAll Очистить всю базу
  —
  undo Отменить Ctrl+Z
  redo Повторить Ctrl+Y
  —
  find Найти... Ctrl+Shift+F
  findNext Найти далее F3
  findPrevious Найти ранее Shift+F3
[Сортировка]
  [Выбрать столбец]
    sortColumn0 Дополн.
    sortColumn1 &1 столбец
    sortColumn2 &2 столбец
    sortColumn3 &3 столбец
    sortColumn4 &4 столбец
    sortColumn5 &5 столбец
    sortColumn6 &6 столбец
    sortColumn7 &7 столбец
  —
  sortAscending По алфавиту
  sortDescending В обратном порядке
[Пользователи]
  —
  switchUser Войти под другим Ctrl+E
  userManager Менеджер Ctrl+F
[Настройка]
  columnTitles Столбцы Ctrl+W
  programSettings Общие настройки программы
[Помощь]
  openHelp Вызов справки F1
  —
  checkUpdate Проверить обновление
  visitSite Посетить сайт
  writeToAuthor Написать письмо автору
  reportError Сообщить об ошибке...
  —
  licenseAgreement Лицензионное соглашение
  changeHistory История изменений
  faq &F.A.Q.
  thanks Благодарности
  —
  programPage Страница программы в сети
  —
  about О программе...
)");
    QCOMPARE(tree, expected);
}

void CommandMapTest::commandTable()
{
    // Captions, shortcuts and categories of the commands that stand nowhere
    // in the menus above, and the categories of a sample of the others.
    const struct
    {
        const char *name;
        const char16_t *caption;
        const char16_t *category;
    } expected[] = {
        {"favouriteCreate", u"Создать", u"Избранные базы"},
        {"favouriteDelete1", u"Удалить 1", u"Избранные базы"},
        {"favouriteDelete10", u"Удалить 10", u"Избранные базы"},
        {"favouriteOpen1", u"Ячейка 1", u"Избранные базы"},
        {"favouriteOpen10", u"Ячейка 10", u"Избранные базы"},
        {"favouriteClearAll", u"Очистить всё", u"Избранные базы"},
        {"turnOff", u"Отключить", nullptr},
        {"chooseColumn", u"Выбрать столбец", u"Сортировка"},
        {"sortColumn0", u"Дополн.", u"Сортировка"},
        {"sortAscending", u"По алфавиту", u"Сортировка"},
        {"reopen1", u"Переоткрыть 1", nullptr},
        {"faq", u"F.A.Q.", u"Помощь"},
        {"importVersion10", u"Импорт из Tablora 1.0", nullptr},
        {"importCsv", u"Из CSV...", u"Файл"},
        {"exportCsv", u"В CSV...", u"Файл"},
        {"sortColumn1", u"1 столбец", u"Сортировка"},
    };
    for (const auto &e : expected) {
        const ActionTable::ActionSpec &spec = ActionTable::action(e.name);
        QCOMPARE(spec.caption, QString::fromUtf16(e.caption));
        if (e.category)
            QCOMPARE(spec.category, QString::fromUtf16(e.category));
        QCOMPARE(m_map->action(e.name)->objectName(), QString::fromLatin1(e.name));
    }
    const QSet<QString> categories = {QStringLiteral("Файл"),          QStringLiteral("Правка"),
                                      QStringLiteral("Сортировка"),    QStringLiteral("Пользователи"),
                                      QStringLiteral("Настройка"),     QStringLiteral("Помощь"),
                                      QStringLiteral("Избранные базы")};
    for (const ActionTable::ActionSpec &spec : ActionTable::actions())
        QVERIFY2(categories.contains(spec.category), qPrintable(spec.caption));
}

void CommandMapTest::toolBar()
{
    QToolBar *bar = m_window->findChild<QToolBar *>(QStringLiteral("toolBar"));
    QVERIFY(bar);
    QStringList layout;
    for (QAction *a : bar->actions()) {
        if (a->isSeparator()) {
            layout << a->objectName() + QStringLiteral(" |");
            continue;
        }
        auto *button = qobject_cast<QToolButton *>(bar->widgetForAction(a));
        QVERIFY(button);
        QCOMPARE(button->size(), QSize(65, 65));
        QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        layout << button->objectName() + QLatin1Char(' ') + button->text() + QStringLiteral(" / ") + button->toolTip();
    }
    QCOMPARE(layout,
             QStringList({
                 QStringLiteral("newDatabaseButton Нов. база / Создать новую базу данных"),
                 QStringLiteral("openDatabaseButton Открыть / Открыть базу данных"),
                 QStringLiteral("saveButton Сохранить / Сохранить текущую базу данных"),
                 QStringLiteral("saveAsButton Сохр. как / Выбрать место сохранения текущей базы данных"),
                 QStringLiteral("fileSeparator |"),
                 QStringLiteral("addRecordButton Добавить / Добавить новую запись"),
                 QStringLiteral("editRecordButton Изменить / Изменить выбранную запись"),
                 QStringLiteral("cutRecordButton Вырезать / Вырезать выбранную запись"),
                 QStringLiteral("pasteRecordButton Вставить / Вставить запись"),
                 QStringLiteral("deleteRecordButton Удалить / Удалить выбранную запись"),
                 QStringLiteral("recordSeparator |"),
                 QStringLiteral("userManagerButton Менеджер / Вызов менеджера пользователей"),
                 QStringLiteral("userSeparator |"),
                 QStringLiteral("columnTitlesButton Столбцы / Параметры текущей базы данных"),
             }));

    // Each button runs its action: "Сохр. как" the same as "Сохранить как...".
    const QPair<const char *, const char *> runs[] = {{"newDatabaseButton", "newDatabase"},
                                                      {"openDatabaseButton", "openDatabase"},
                                                      {"saveButton", "save"},
                                                      {"saveAsButton", "saveAs"},
                                                      {"addRecordButton", "addRecord"},
                                                      {"editRecordButton", "editRecord"},
                                                      {"cutRecordButton", "cutRecord"},
                                                      {"pasteRecordButton", "pasteRecord"},
                                                      {"deleteRecordButton", "deleteRecord"},
                                                      {"userManagerButton", "userManager"},
                                                      {"columnTitlesButton", "columnTitles"}};
    for (const auto &[name, action] : runs) {
        int fired = 0;
        const QMetaObject::Connection c = connect(m_map->action(action), &QAction::triggered, this,
                                                  [&fired] { ++fired; });
        bar->findChild<QToolButton *>(QString::fromLatin1(name))->click();
        disconnect(c);
        QVERIFY2(fired == 1, name);
    }
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
    CommandMap map(&window);
    QToolBar *bar = map.buildToolBar();
    for (const ActionTable::ToolButtonSpec &spec : ActionTable::toolBar()) {
        if (spec.action.isEmpty())
            continue;
        const QIcon icon = bar->findChild<QToolButton *>(spec.name)->icon();
        QVERIFY2(looksEnabled(icon.pixmap(bar->iconSize())), qPrintable(spec.caption));
        QVERIFY(!looksEnabled(icon.pixmap(bar->iconSize(), QIcon::Disabled)));
    }
}

void CommandMapTest::popupMenu()
{
    QMenu *popup = m_map->buildPopupMenu(m_window);
    QStringList items;
    for (QAction *a : popup->actions())
        items << (a->isSeparator() ? QStringLiteral("—") : a->objectName());
    QCOMPARE(items,
             QStringList({"addRecord", "—", "viewRecord", "—", "editRecord", "cutRecord", "copyRecord", "pasteRecord",
                          "—", "deleteRecord", "clearAll", "—", "find"}));
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

void CommandMapTest::unreachableCommands()
{
    QSet<QAction *> reachable;
    std::function<void(const QMenu *)> collect = [&](const QMenu *menu) {
        for (QAction *a : menu->actions()) {
            if (a->menu())
                collect(a->menu());
            else if (!a->isSeparator())
                reachable.insert(a);
        }
    };
    for (QAction *top : m_window->menuBar()->actions())
        collect(top->menu());
    collect(m_map->buildPopupMenu(m_window));
    for (const ActionTable::ToolButtonSpec &b : ActionTable::toolBar()) {
        if (!b.action.isEmpty())
            reachable.insert(m_map->action(b.action));
    }

    QStringList nowhere = {"favouriteCreate", "favouriteClearAll", "turnOff", "chooseColumn"};
    for (int n = 1; n <= 10; ++n)
        nowhere << QStringLiteral("favouriteOpen%1").arg(n) << QStringLiteral("favouriteDelete%1").arg(n);
    for (const QString &name : nowhere) {
        QVERIFY2(!reachable.contains(m_map->action(name)), qPrintable(name));
        QVERIFY2(m_map->action(name)->shortcut().isEmpty(), qPrintable(name));
    }
    QCOMPARE(reachable.size() + nowhere.size(), ActionTable::kActionCount);
}

void CommandMapTest::shortcutsStayInTheMainWindow()
{
    QHash<QKeySequence, QString> owners;
    for (const ActionTable::ActionSpec &spec : ActionTable::actions()) {
        QAction *a = m_map->action(spec.name);
        if (a->shortcut().isEmpty())
            continue;
        QCOMPARE(a->shortcutContext(), Qt::WindowShortcut);
        QVERIFY(m_window->actions().contains(a));
        for (const QKeySequence &key : a->shortcuts()) {
            QVERIFY2(!owners.contains(key), qPrintable(key.toString() + " " + owners.value(key)));
            owners.insert(key, spec.name);
        }
    }
    QCOMPARE(m_map->action("redo")->shortcuts(),
             QList<QKeySequence>({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}));
    QCOMPARE(m_map->action("saveAs")->shortcut(), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S));
    QCOMPARE(m_map->action("deleteRecord")->shortcut(), QKeySequence(Qt::Key_Delete));
    QCOMPARE(m_map->action("openHelp")->shortcut(), QKeySequence(Qt::Key_F1));
}

void CommandMapTest::unknownNamesFailInEveryBuild()
{
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, ActionTable::action("noSuchAction"));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, m_map->action("noSuchAction"));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, m_map->menuOf("noSuchAction"));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, m_map->menuOf("favouriteCreate")); // in no menu
}

TABLORA_TEST_MAIN(CommandMapTest)
#include "tst_commandmap.moc"
