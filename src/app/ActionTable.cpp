#include "ActionTable.h"

#include "base/Counts.h"

#include <algorithm>
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

const QString kRecentIcon = QStringLiteral("document-open-recent");
const QString kExampleIcon = QStringLiteral("x-office-document");

// Pictures are names in the desktop's icon theme. Toolbar pictures need dark
// lines or strong colour: a pale one (the usual open folder and properties
// page) reads as a disabled button.
std::vector<ActionSpec> buildActions()
{
    const std::vector<ActionSpec> a = {
        {"Action1", "Создать", {}, kFavourites, {}},
        {"Action2", "Добавить", "Ctrl+A", kEdit, "list-add"},
        {"Action3", "Выход", {}, kFile, "application-exit"},
        {"Action4", "Дополн.", {}, kSort, {}},
        {"Action5", "Войти под другим", "Ctrl+E", kUsers, "system-log-out"},
        {"Action6", "Столбцы", "Ctrl+W", kOptions, "format-justify-fill"},
        {"Action7", "Вызов справки", "F1", kHelp, "help-contents"},
        {"Action8", "Новая база данных", "Ctrl+N", kFile, "document-new"},
        {"Action9", "Открыть базу данных...", "Ctrl+O", kFile, "folder-open"},
        {"Action10", "Сохранить", "Ctrl+S", kFile, "document-save"},
        {"Action11", "1 столбец", {}, kSort, {}},
        {"Action12", "Сохранить как...", "Ctrl+Alt+S", kFile, "document-save-as"},
        {"Action13", "Переоткрыть 1", {}, kFile, kRecentIcon},
        {"Action14", "Переоткрыть 2", {}, kFile, kRecentIcon},
        {"Action15", "Переоткрыть 3", {}, kFile, kRecentIcon},
        {"Action16", "Переоткрыть 4", {}, kFile, kRecentIcon},
        {"Action17", "Переоткрыть 5", {}, kFile, kRecentIcon},
        {"Action18", "Печать...", "Ctrl+P", kFile, "document-print"},
        {"Action19", "Изменить", {}, kEdit, "accessories-text-editor"},
        {"Action20", "Удалить", "Del", kEdit, "edit-delete"},
        {"Action21", "Очистить всю базу", {}, kEdit, "edit-clear"},
        {"Action22", "Копировать", "Ctrl+C", kEdit, "edit-copy"},
        {"Action23", "Вырезать", "Ctrl+X", kEdit, "edit-cut"},
        {"Action24", "Вставить", "Ctrl+V", kEdit, "edit-paste"},
        {"Action25", "Удалить 1", {}, kFavourites, {}},
        {"Action26", "Удалить 2", {}, kFavourites, {}},
        {"Action27", "Удалить 3", {}, kFavourites, {}},
        {"Action28", "Удалить 4", {}, kFavourites, {}},
        {"Action29", "Удалить 5", {}, kFavourites, {}},
        {"Action30", "Удалить 6", {}, kFavourites, {}},
        {"Action31", "Удалить 7", {}, kFavourites, {}},
        {"Action32", "Удалить 8", {}, kFavourites, {}},
        {"Action33", "Удалить 9", {}, kFavourites, {}},
        {"Action34", "Удалить 10", {}, kFavourites, {}},
        {"Action35", "Ячейка 1", {}, kFavourites, {}},
        {"Action36", "Ячейка 2", {}, kFavourites, {}},
        {"Action37", "Ячейка 3", {}, kFavourites, {}},
        {"Action38", "Ячейка 4", {}, kFavourites, {}},
        {"Action39", "Ячейка 5", {}, kFavourites, {}},
        {"Action40", "Ячейка 6", {}, kFavourites, {}},
        {"Action41", "Ячейка 7", {}, kFavourites, {}},
        {"Action42", "Ячейка 8", {}, kFavourites, {}},
        {"Action43", "Ячейка 9", {}, kFavourites, {}},
        {"Action44", "Ячейка 10", {}, kFavourites, {}},
        {"Action45", "Очистить всё", {}, kFavourites, {}},
        {"Action46", "Менеджер", "Ctrl+F", kUsers, "system-users"},
        {"Action47", "2 столбец", {}, kSort, {}},
        {"Action48", "Общие настройки программы", {}, kOptions, "preferences-system"},
        {"Action49", "Проверить обновление", {}, kHelp, "system-software-update"},
        {"Action50", "Посетить сайт", {}, kHelp, "web-browser"},
        {"Action51", "Написать письмо автору", {}, kHelp, "mail-message-new"},
        {"Action52", "Лицензионное соглашение", {}, kHelp, "text-x-generic"},
        {"Action53", "F.A.Q.", {}, kHelp, "help-faq"},
        {"Action54", "Страница программы в сети", {}, kHelp, "applications-internet"},
        {"Action55", "Благодарности", {}, kHelp, "emblem-favorite"},
        {"Action56", "О программе...", {}, kHelp, "help-about"},
        {"Action57", "Сообщить об ошибке...", {}, kHelp, "mail-mark-important"},
        {"Action58", "3 столбец", {}, kSort, {}},
        {"Action59", "4 столбец", {}, kSort, {}},
        {"Action60", "5 столбец", {}, kSort, {}},
        {"Action61", "6 столбец", {}, kSort, {}},
        {"Action62", "7 столбец", {}, kSort, {}},
        {"Action63", "По алфавиту", {}, kSort, "view-sort-ascending"},
        {"Action64", "В обратном порядке", {}, kSort, "view-sort-descending"},
        {"Action65", "Отключить", {}, kUsers, {}},
        {"Action66", "Просмотр записи", {}, kEdit, "edit-find"},
        {"Action67", "Выбрать столбец", {}, kSort, {}},
        {"Action68", "История изменений", {}, kHelp, kRecentIcon},
        {"Action69", "Импорт из Tablora 1.0", {}, kFile, "document-revert"},
        {"Action70", "Программы", {}, kFile, kExampleIcon},
        {"Action71", "Профайл", {}, kFile, kExampleIcon},
        {"Action72", "Школьная база", {}, kFile, kExampleIcon},
        {"ActionUndo", "Отменить", "Ctrl+Z", kEdit, "edit-undo"},
        {"ActionRedo", "Повторить", "Ctrl+Y", kEdit, "edit-redo", "Ctrl+Shift+Z"},
        {"ActionFind", "Найти...", "Ctrl+Shift+F", kEdit, "system-search"},
        {"ActionFindNext", "Найти далее", "F3", kEdit, "go-down"},
        {"ActionFindPrevious", "Найти ранее", "Shift+F3", kEdit, "go-up"},
    };
    assert(a.size() == size_t(kActionCount));
    return a;
}

MenuEntry item(const QString &action, const QString &ownCaption = {})
{
    return {MenuEntry::Kind::Action, action, ownCaption, {}};
}

MenuEntry separator()
{
    return {MenuEntry::Kind::Separator, {}, {}, {}};
}

MenuEntry subMenu(const QString &title, std::vector<MenuEntry> entries)
{
    return {MenuEntry::Kind::SubMenu, {}, title, std::move(entries)};
}

std::vector<MenuEntry> buildMenuBar()
{
    std::vector<MenuEntry> recent;
    for (int k = 1; k <= kRecentFileCount; ++k)
        recent.push_back(item(reopenActions()[k - 1], QStringLiteral("Переоткрыть &%1").arg(k)));

    std::vector<MenuEntry> sortColumns = {item(sortColumnActions()[0])};
    for (int c = 1; c < kColumnCount; ++c)
        sortColumns.push_back(item(sortColumnActions()[c], QStringLiteral("&%1 столбец").arg(c)));

    return {
        subMenu("База",
                {item("Action8"), item("Action9"), subMenu("Недавние", recent), separator(), item("Action10"),
                 item("Action12"), separator(), item("Action18"), separator(),
                 subMenu("Импорт", {item("Action69", "Импорт из &Tablora 1.0")}),
                 subMenu("Примеры", {item("Action70"), item("Action71"), item("Action72")}), separator(),
                 item("Action3")}),
        subMenu("Записи",
                {item("Action2"), separator(), item("Action66"), separator(), item("Action19"), item("Action23"),
                 item("Action22"), item("Action24"), separator(), item("Action20"), item("Action21"), separator(),
                 item("ActionUndo"), item("ActionRedo"), separator(), item("ActionFind"), item("ActionFindNext"),
                 item("ActionFindPrevious")}),
        subMenu("Сортировка",
                {subMenu("Выбрать столбец", sortColumns), separator(), item("Action63"), item("Action64")}),
        subMenu("Пользователи", {separator(), item("Action5"), item("Action46")}),
        subMenu("Настройка", {item("Action6"), item("Action48")}),
        subMenu("Помощь",
                {item("Action7"), separator(), item("Action49"), item("Action50"), item("Action51"),
                 item("Action57"), separator(), item("Action52"), item("Action68"), item("Action53", "&F.A.Q."),
                 item("Action55"), separator(), item("Action54"), separator(), item("Action56")}),
    };
}

} // namespace

const std::vector<ActionSpec> &actions()
{
    static const std::vector<ActionSpec> table = buildActions();
    return table;
}

const ActionSpec &action(const QString &name)
{
    const std::vector<ActionSpec> &all = actions();
    const auto found = std::find_if(all.begin(), all.end(), [&](const ActionSpec &s) { return s.name == name; });
    assert(found != all.end());
    return *found;
}

const std::vector<MenuEntry> &menuBar()
{
    static const std::vector<MenuEntry> menus = buildMenuBar();
    return menus;
}

const std::vector<ToolButtonSpec> &toolBar()
{
    static const std::vector<ToolButtonSpec> buttons = {
        {"SpeedButton2", "Нов. база", "Создать новую базу данных", "Action8"},
        {"SpeedButton3", "Открыть", "Открыть базу данных", "Action9"},
        {"SpeedButton4", "Сохранить", "Сохранить текущую базу данных", "Action10"},
        {"SpeedButton10", "Сохр. как", "Выбрать место сохранения текущей базы данных", "Action12"},
        {"ToolButton1", {}, {}, {}},
        {"SpeedButton5", "Добавить", "Добавить новую запись", "Action2"},
        {"SpeedButton7", "Изменить", "Изменить выбранную запись", "Action19"},
        {"SpeedButton6", "Вырезать", "Вырезать выбранную запись", "Action23"},
        {"SpeedButton8", "Вставить", "Вставить запись", "Action24"},
        {"SpeedButton9", "Удалить", "Удалить выбранную запись", "Action20"},
        {"ToolButton2", {}, {}, {}},
        {"SpeedButton1", "Менеджер", "Вызов менеджера пользователей", "Action46"},
        {"ToolButton3", {}, {}, {}},
        {"SpeedButton11", "Столбцы", "Параметры текущей базы данных", "Action6"},
    };
    return buttons;
}

const QStringList &popupMenu()
{
    static const QStringList entries = {"Action2",  {}, "Action66", {}, "Action19", "Action23", "Action22",
                                        "Action24", {}, "Action20", "Action21", {}, "ActionFind"};
    return entries;
}

const QStringList &sortColumnActions()
{
    static const QStringList names = {"Action4",  "Action11", "Action47", "Action58",
                                      "Action59", "Action60", "Action61", "Action62"};
    assert(names.size() == kColumnCount);
    return names;
}

const QStringList &reopenActions()
{
    static const QStringList names = {"Action13", "Action14", "Action15", "Action16", "Action17"};
    assert(names.size() == kRecentFileCount);
    return names;
}

const QStringList &favouriteOpenActions()
{
    static const QStringList names = {"Action35", "Action36", "Action37", "Action38", "Action39",
                                      "Action40", "Action41", "Action42", "Action43", "Action44"};
    assert(names.size() == kFavouriteCount);
    return names;
}

const QStringList &favouriteDeleteActions()
{
    static const QStringList names = {"Action25", "Action26", "Action27", "Action28", "Action29",
                                      "Action30", "Action31", "Action32", "Action33", "Action34"};
    assert(names.size() == kFavouriteCount);
    return names;
}

const QStringList &exampleActions()
{
    static const QStringList names = {"Action70", "Action71", "Action72"};
    return names;
}

} // namespace ActionTable
