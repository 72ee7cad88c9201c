#include "ActionTable.h"

#include <cassert>

namespace ActionTable {

namespace {

const QString kFile = QStringLiteral("Файл");
const QString kEdit = QStringLiteral("Правка");
const QString kSort = QStringLiteral("Сортировка");
const QString kUsers = QStringLiteral("Пользователи");
const QString kOptions = QStringLiteral("Настройка");
const QString kHelp = QStringLiteral("Помощь");
const QString kFavourites = QStringLiteral("Избранные базы");

std::vector<ActionSpec> buildActions()
{
    std::vector<ActionSpec> a = {
        {1, QStringLiteral("Создать"), {}, kFavourites, {}},
        {2, QStringLiteral("Добавить"), QStringLiteral("Ctrl+A"), kEdit, QStringLiteral("list-add")},
        {3, QStringLiteral("Выход"), {}, kFile, QStringLiteral("application-exit")},
        {4, QStringLiteral("Дополн."), {}, kSort, {}},
        {5, QStringLiteral("Войти под другим"), QStringLiteral("Ctrl+E"), kUsers, QStringLiteral("system-log-out")},
        {6, QStringLiteral("Столбцы"), QStringLiteral("Ctrl+W"), kOptions, QStringLiteral("format-justify-fill")},
        {7, QStringLiteral("Вызов справки"), QStringLiteral("F1"), kHelp, QStringLiteral("help-contents")},
        {8, QStringLiteral("Новая база данных"), QStringLiteral("Ctrl+N"), kFile, QStringLiteral("document-new")},
        {9, QStringLiteral("Открыть базу данных..."), QStringLiteral("Ctrl+O"), kFile, QStringLiteral("document-open")},
        {10, QStringLiteral("Сохранить"), QStringLiteral("Ctrl+S"), kFile, QStringLiteral("document-save")},
        {11, QStringLiteral("1 столбец"), {}, kSort, {}},
        {12, QStringLiteral("Сохранить как..."), QStringLiteral("Ctrl+Alt+S"), kFile, QStringLiteral("document-save-as")},
    };
    for (int k = 1; k <= 5; ++k)
        a.push_back({12 + k, QStringLiteral("Переоткрыть %1").arg(k), {}, kFile, QStringLiteral("document-open-recent")});
    const std::vector<ActionSpec> middle = {
        {18, QStringLiteral("Печать..."), QStringLiteral("Ctrl+P"), kFile, QStringLiteral("document-print")},
        {19, QStringLiteral("Изменить"), {}, kEdit, QStringLiteral("document-properties")},
        {20, QStringLiteral("Удалить"), QStringLiteral("Del"), kEdit, QStringLiteral("edit-delete")},
        {21, QStringLiteral("Очистить всю базу"), {}, kEdit, QStringLiteral("edit-clear")},
        {22, QStringLiteral("Копировать"), QStringLiteral("Ctrl+C"), kEdit, QStringLiteral("edit-copy")},
        {23, QStringLiteral("Вырезать"), QStringLiteral("Ctrl+X"), kEdit, QStringLiteral("edit-cut")},
        {24, QStringLiteral("Вставить"), QStringLiteral("Ctrl+V"), kEdit, QStringLiteral("edit-paste")},
    };
    a.insert(a.end(), middle.begin(), middle.end());
    for (int n = 1; n <= 10; ++n)
        a.push_back({24 + n, QStringLiteral("Удалить %1").arg(n), {}, kFavourites, {}});
    for (int n = 1; n <= 10; ++n)
        a.push_back({34 + n, QStringLiteral("Ячейка %1").arg(n), {}, kFavourites, {}});
    const std::vector<ActionSpec> rest = {
        {45, QStringLiteral("Очистить всё"), {}, kFavourites, {}},
        {46, QStringLiteral("Менеджер"), QStringLiteral("Ctrl+F"), kUsers, QStringLiteral("system-users")},
        {47, QStringLiteral("2 столбец"), {}, kSort, {}},
        {48, QStringLiteral("Общие настройки программы"), {}, kOptions, QStringLiteral("preferences-system")},
        {49, QStringLiteral("Проверить обновление"), {}, kHelp, QStringLiteral("system-software-update")},
        {50, QStringLiteral("Посетить сайт"), {}, kHelp, QStringLiteral("web-browser")},
        {51, QStringLiteral("Написать письмо автору"), {}, kHelp, QStringLiteral("mail-message-new")},
        {52, QStringLiteral("Лицензионное соглашение"), {}, kHelp, QStringLiteral("text-x-generic")},
        {53, QStringLiteral("F.A.Q."), {}, kHelp, QStringLiteral("help-faq")},
        {54, QStringLiteral("Страница программы в сети"), {}, kHelp, QStringLiteral("applications-internet")},
        {55, QStringLiteral("Благодарности"), {}, kHelp, QStringLiteral("emblem-favorite")},
        {56, QStringLiteral("О программе..."), {}, kHelp, QStringLiteral("help-about")},
        {57, QStringLiteral("Сообщить об ошибке..."), {}, kHelp, QStringLiteral("mail-mark-important")},
        {58, QStringLiteral("3 столбец"), {}, kSort, {}},
        {59, QStringLiteral("4 столбец"), {}, kSort, {}},
        {60, QStringLiteral("5 столбец"), {}, kSort, {}},
        {61, QStringLiteral("6 столбец"), {}, kSort, {}},
        {62, QStringLiteral("7 столбец"), {}, kSort, {}},
        {63, QStringLiteral("По алфавиту"), {}, kSort, QStringLiteral("view-sort-ascending")},
        {64, QStringLiteral("В обратном порядке"), {}, kSort, QStringLiteral("view-sort-descending")},
        {65, QStringLiteral("Отключить"), {}, kUsers, {}},
        {66, QStringLiteral("Просмотр записи"), {}, kEdit, QStringLiteral("edit-find")},
        {67, QStringLiteral("Выбрать столбец"), {}, kSort, {}},
        {68, QStringLiteral("История изменений"), {}, kHelp, QStringLiteral("document-open-recent")},
        {69, QStringLiteral("Импорт из Tablora 1.0"), {}, kFile, QStringLiteral("document-revert")},
        {70, QStringLiteral("Программы"), {}, kFile, QStringLiteral("x-office-document")},
        {71, QStringLiteral("Профайл"), {}, kFile, QStringLiteral("x-office-document")},
        {72, QStringLiteral("Школьная база"), {}, kFile, QStringLiteral("x-office-document")},
    };
    a.insert(a.end(), rest.begin(), rest.end());
    for (size_t i = 0; i < a.size(); ++i)
        assert(a[i].number == int(i) + 1);
    assert(a.size() == size_t(kActionCount));
    return a;
}

MenuEntry item(int action, const QString &ownCaption = {})
{
    return {MenuEntry::Kind::Action, action, ownCaption, {}};
}

MenuEntry separator()
{
    return {MenuEntry::Kind::Separator, 0, {}, {}};
}

MenuEntry subMenu(const QString &title, std::vector<MenuEntry> entries)
{
    return {MenuEntry::Kind::SubMenu, 0, title, std::move(entries)};
}

std::vector<MenuEntry> buildMenuBar()
{
    std::vector<MenuEntry> recent;
    for (int k = 1; k <= 5; ++k)
        recent.push_back(item(12 + k, QStringLiteral("Переоткрыть &%1").arg(k)));

    std::vector<MenuEntry> sortColumns = {item(4)};
    const int textColumns[] = {11, 47, 58, 59, 60, 61, 62};
    for (int c = 1; c <= 7; ++c)
        sortColumns.push_back(item(textColumns[c - 1], QStringLiteral("&%1 столбец").arg(c)));

    return {
        subMenu(QStringLiteral("База"),
                {item(8), item(9), subMenu(QStringLiteral("Недавние"), recent), separator(), item(10), item(12),
                 separator(), item(18), separator(),
                 subMenu(QStringLiteral("Импорт"), {item(69, QStringLiteral("Импорт из &Tablora 1.0"))}),
                 subMenu(QStringLiteral("Примеры"), {item(70), item(71), item(72)}), separator(), item(3)}),
        subMenu(QStringLiteral("Записи"),
                {item(2), separator(), item(66), separator(), item(19), item(23), item(22), item(24), separator(),
                 item(20), item(21)}),
        subMenu(QStringLiteral("Сортировка"),
                {subMenu(QStringLiteral("Выбрать столбец"), sortColumns), separator(), item(63), item(64)}),
        subMenu(QStringLiteral("Пользователи"), {separator(), item(5), item(46)}),
        subMenu(QStringLiteral("Настройка"), {item(6), item(48)}),
        subMenu(QStringLiteral("Помощь"),
                {item(7), separator(), item(49), item(50), item(51), item(57), separator(), item(52), item(68),
                 item(53, QStringLiteral("&F.A.Q.")), item(55), separator(), item(54), separator(), item(56)}),
    };
}

} // namespace

const std::vector<ActionSpec> &actions()
{
    static const std::vector<ActionSpec> table = buildActions();
    return table;
}

const ActionSpec &action(int number)
{
    assert(number >= 1 && number <= kActionCount);
    return actions()[number - 1];
}

const std::vector<MenuEntry> &menuBar()
{
    static const std::vector<MenuEntry> menus = buildMenuBar();
    return menus;
}

const std::vector<ToolButtonSpec> &toolBar()
{
    static const std::vector<ToolButtonSpec> buttons = {
        {QStringLiteral("SpeedButton2"), QStringLiteral("Нов. база"), QStringLiteral("Создать новую базу данных"), 8},
        {QStringLiteral("SpeedButton3"), QStringLiteral("Открыть"), QStringLiteral("Открыть базу данных"), 9},
        {QStringLiteral("SpeedButton4"), QStringLiteral("Сохранить"), QStringLiteral("Сохранить текущую базу данных"), 10},
        {QStringLiteral("SpeedButton10"), QStringLiteral("Сохр. как"),
         QStringLiteral("Выбрать место сохранения текущей базы данных"), 12},
        {QStringLiteral("ToolButton1"), {}, {}, 0},
        {QStringLiteral("SpeedButton5"), QStringLiteral("Добавить"), QStringLiteral("Добавить новую запись"), 2},
        {QStringLiteral("SpeedButton7"), QStringLiteral("Изменить"), QStringLiteral("Изменить выбранную запись"), 19},
        {QStringLiteral("SpeedButton6"), QStringLiteral("Вырезать"), QStringLiteral("Вырезать выбранную запись"), 23},
        {QStringLiteral("SpeedButton8"), QStringLiteral("Вставить"), QStringLiteral("Вставить запись"), 24},
        {QStringLiteral("SpeedButton9"), QStringLiteral("Удалить"), QStringLiteral("Удалить выбранную запись"), 20},
        {QStringLiteral("ToolButton2"), {}, {}, 0},
        {QStringLiteral("SpeedButton1"), QStringLiteral("Менеджер"), QStringLiteral("Вызов менеджера пользователей"), 46},
        {QStringLiteral("ToolButton3"), {}, {}, 0},
        {QStringLiteral("SpeedButton11"), QStringLiteral("Столбцы"), QStringLiteral("Параметры текущей базы данных"), 6},
    };
    return buttons;
}

const std::vector<int> &popupMenu()
{
    static const std::vector<int> entries = {2, 0, 66, 0, 19, 23, 22, 24, 0, 20, 21};
    return entries;
}

const std::vector<int> &sortColumnActions()
{
    static const std::vector<int> numbers = {4, 11, 47, 58, 59, 60, 61, 62};
    return numbers;
}

const std::vector<int> &reopenActions()
{
    static const std::vector<int> numbers = {13, 14, 15, 16, 17};
    return numbers;
}

QString actionName(int number)
{
    return QStringLiteral("Action%1").arg(number);
}

} // namespace ActionTable
