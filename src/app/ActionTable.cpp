#include "ActionTable.h"

#include "base/Counts.h"

#include <algorithm>
#include <stdexcept>

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
        {"favouriteCreate", "Создать", {}, kFavourites, {}},
        {"addRecord", "Добавить", "Ctrl+A", kEdit, "list-add"},
        {"exit", "Выход", {}, kFile, "application-exit"},
        {"sortColumn0", "Дополн.", {}, kSort, {}},
        {"switchUser", "Войти под другим", "Ctrl+E", kUsers, "system-log-out"},
        {"columnTitles", "Столбцы", "Ctrl+W", kOptions, "format-justify-fill"},
        {"openHelp", "Вызов справки", "F1", kHelp, "help-contents"},
        {"newDatabase", "Новая база данных", "Ctrl+N", kFile, "document-new"},
        {"openDatabase", "Открыть базу данных...", "Ctrl+O", kFile, "folder-open"},
        {"save", "Сохранить", "Ctrl+S", kFile, "document-save"},
        {"sortColumn1", "1 столбец", {}, kSort, {}},
        {"saveAs", "Сохранить как...", "Ctrl+Alt+S", kFile, "document-save-as"},
        {"reopen1", "Переоткрыть 1", {}, kFile, kRecentIcon},
        {"reopen2", "Переоткрыть 2", {}, kFile, kRecentIcon},
        {"reopen3", "Переоткрыть 3", {}, kFile, kRecentIcon},
        {"reopen4", "Переоткрыть 4", {}, kFile, kRecentIcon},
        {"reopen5", "Переоткрыть 5", {}, kFile, kRecentIcon},
        {"print", "Печать...", "Ctrl+P", kFile, "document-print"},
        {"printPreview", "Предварительный просмотр...", {}, kFile, "document-print-preview"},
        {"editRecord", "Изменить", {}, kEdit, "accessories-text-editor"},
        {"deleteRecord", "Удалить", "Del", kEdit, "edit-delete"},
        {"clearAll", "Очистить всю базу", {}, kEdit, "edit-clear"},
        {"copyRecord", "Копировать", "Ctrl+C", kEdit, "edit-copy"},
        {"cutRecord", "Вырезать", "Ctrl+X", kEdit, "edit-cut"},
        {"pasteRecord", "Вставить", "Ctrl+V", kEdit, "edit-paste"},
        {"favouriteDelete1", "Удалить 1", {}, kFavourites, {}},
        {"favouriteDelete2", "Удалить 2", {}, kFavourites, {}},
        {"favouriteDelete3", "Удалить 3", {}, kFavourites, {}},
        {"favouriteDelete4", "Удалить 4", {}, kFavourites, {}},
        {"favouriteDelete5", "Удалить 5", {}, kFavourites, {}},
        {"favouriteDelete6", "Удалить 6", {}, kFavourites, {}},
        {"favouriteDelete7", "Удалить 7", {}, kFavourites, {}},
        {"favouriteDelete8", "Удалить 8", {}, kFavourites, {}},
        {"favouriteDelete9", "Удалить 9", {}, kFavourites, {}},
        {"favouriteDelete10", "Удалить 10", {}, kFavourites, {}},
        {"favouriteOpen1", "Ячейка 1", {}, kFavourites, {}},
        {"favouriteOpen2", "Ячейка 2", {}, kFavourites, {}},
        {"favouriteOpen3", "Ячейка 3", {}, kFavourites, {}},
        {"favouriteOpen4", "Ячейка 4", {}, kFavourites, {}},
        {"favouriteOpen5", "Ячейка 5", {}, kFavourites, {}},
        {"favouriteOpen6", "Ячейка 6", {}, kFavourites, {}},
        {"favouriteOpen7", "Ячейка 7", {}, kFavourites, {}},
        {"favouriteOpen8", "Ячейка 8", {}, kFavourites, {}},
        {"favouriteOpen9", "Ячейка 9", {}, kFavourites, {}},
        {"favouriteOpen10", "Ячейка 10", {}, kFavourites, {}},
        {"favouriteClearAll", "Очистить всё", {}, kFavourites, {}},
        {"userManager", "Менеджер", "Ctrl+F", kUsers, "system-users"},
        {"sortColumn2", "2 столбец", {}, kSort, {}},
        {"programSettings", "Общие настройки программы", {}, kOptions, "preferences-system"},
        {"checkUpdate", "Проверить обновление", {}, kHelp, "system-software-update"},
        {"visitSite", "Посетить сайт", {}, kHelp, "web-browser"},
        {"writeToAuthor", "Написать письмо автору", {}, kHelp, "mail-message-new"},
        {"licenseAgreement", "Лицензионное соглашение", {}, kHelp, "text-x-generic"},
        {"faq", "F.A.Q.", {}, kHelp, "help-faq"},
        {"programPage", "Страница программы в сети", {}, kHelp, "applications-internet"},
        {"thanks", "Благодарности", {}, kHelp, "emblem-favorite"},
        {"about", "О программе...", {}, kHelp, "help-about"},
        {"reportError", "Сообщить об ошибке...", {}, kHelp, "mail-mark-important"},
        {"sortColumn3", "3 столбец", {}, kSort, {}},
        {"sortColumn4", "4 столбец", {}, kSort, {}},
        {"sortColumn5", "5 столбец", {}, kSort, {}},
        {"sortColumn6", "6 столбец", {}, kSort, {}},
        {"sortColumn7", "7 столбец", {}, kSort, {}},
        {"sortAscending", "По алфавиту", {}, kSort, "view-sort-ascending"},
        {"sortDescending", "В обратном порядке", {}, kSort, "view-sort-descending"},
        {"turnOff", "Отключить", {}, kUsers, {}},
        {"viewRecord", "Просмотр записи", {}, kEdit, "edit-find"},
        {"chooseColumn", "Выбрать столбец", {}, kSort, {}},
        {"changeHistory", "История изменений", {}, kHelp, kRecentIcon},
        {"importVersion10", "Импорт из Tablora 1.0", {}, kFile, "document-revert"},
        {"examplePrograms", "Программы", {}, kFile, kExampleIcon},
        {"exampleProfile", "Профайл", {}, kFile, kExampleIcon},
        {"exampleSchool", "Школьная база", {}, kFile, kExampleIcon},
        {"undo", "Отменить", "Ctrl+Z", kEdit, "edit-undo"},
        {"redo", "Повторить", "Ctrl+Y", kEdit, "edit-redo", "Ctrl+Shift+Z"},
        {"find", "Найти...", "Ctrl+Shift+F", kEdit, "system-search"},
        {"findNext", "Найти далее", "F3", kEdit, "go-down"},
        {"findPrevious", "Найти ранее", "Shift+F3", kEdit, "go-up"},
        {"exportCsv", "В CSV...", {}, kFile, "document-send"},
        {"importCsv", "Из CSV...", {}, kFile, "insert-object"},
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
        subMenu(
            "База",
            {item("newDatabase"), item("openDatabase"), subMenu("Недавние", recent), separator(), item("save"),
             item("saveAs"), separator(), item("print"), item("printPreview"), separator(),
             subMenu("Импорт", {item("importVersion10", "Импорт из &Tablora 1.0"), item("importCsv", "Из &CSV...")}),
             subMenu("Экспорт", {item("exportCsv", "В &CSV...")}),
             subMenu("Примеры", {item("examplePrograms"), item("exampleProfile"), item("exampleSchool")}), separator(),
             item("exit")}),
        subMenu("Записи",
                {item("addRecord"), separator(), item("viewRecord"), separator(), item("editRecord"), item("cutRecord"),
                 item("copyRecord"), item("pasteRecord"), separator(), item("deleteRecord"), item("clearAll"),
                 separator(), item("undo"), item("redo"), separator(), item("find"), item("findNext"),
                 item("findPrevious")}),
        subMenu("Сортировка",
                {subMenu("Выбрать столбец", sortColumns), separator(), item("sortAscending"), item("sortDescending")}),
        subMenu("Пользователи", {separator(), item("switchUser"), item("userManager")}),
        subMenu("Настройка", {item("columnTitles"), item("programSettings")}),
        subMenu("Помощь",
                {item("openHelp"), separator(), item("checkUpdate"), item("visitSite"), item("writeToAuthor"),
                 item("reportError"), separator(), item("licenseAgreement"), item("changeHistory"),
                 item("faq", "&F.A.Q."), item("thanks"), separator(), item("programPage"), separator(), item("about")}),
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
    if (found == all.end())
        throw std::invalid_argument("no action is named \"" + name.toStdString() + '"');
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
        {"newDatabaseButton", "Нов. база", "Создать новую базу данных", "newDatabase"},
        {"openDatabaseButton", "Открыть", "Открыть базу данных", "openDatabase"},
        {"saveButton", "Сохранить", "Сохранить текущую базу данных", "save"},
        {"saveAsButton", "Сохр. как", "Выбрать место сохранения текущей базы данных", "saveAs"},
        {"fileSeparator", {}, {}, {}},
        {"addRecordButton", "Добавить", "Добавить новую запись", "addRecord"},
        {"editRecordButton", "Изменить", "Изменить выбранную запись", "editRecord"},
        {"cutRecordButton", "Вырезать", "Вырезать выбранную запись", "cutRecord"},
        {"pasteRecordButton", "Вставить", "Вставить запись", "pasteRecord"},
        {"deleteRecordButton", "Удалить", "Удалить выбранную запись", "deleteRecord"},
        {"recordSeparator", {}, {}, {}},
        {"userManagerButton", "Менеджер", "Вызов менеджера пользователей", "userManager"},
        {"userSeparator", {}, {}, {}},
        {"columnTitlesButton", "Столбцы", "Параметры текущей базы данных", "columnTitles"},
    };
    return buttons;
}

const QStringList &popupMenu()
{
    static const QStringList entries = {"addRecord", {},           "viewRecord",  {}, "editRecord",
                                        "cutRecord", "copyRecord", "pasteRecord", {}, "deleteRecord",
                                        "clearAll",  {},           "find"};
    return entries;
}

const QStringList &sortColumnActions()
{
    static const QStringList names = {"sortColumn0", "sortColumn1", "sortColumn2", "sortColumn3",
                                      "sortColumn4", "sortColumn5", "sortColumn6", "sortColumn7"};
    assert(names.size() == kColumnCount);
    return names;
}

const QStringList &reopenActions()
{
    static const QStringList names = {"reopen1", "reopen2", "reopen3", "reopen4", "reopen5"};
    assert(names.size() == kRecentFileCount);
    return names;
}

const QStringList &favouriteOpenActions()
{
    static const QStringList names = {"favouriteOpen1", "favouriteOpen2", "favouriteOpen3", "favouriteOpen4",
                                      "favouriteOpen5", "favouriteOpen6", "favouriteOpen7", "favouriteOpen8",
                                      "favouriteOpen9", "favouriteOpen10"};
    assert(names.size() == kFavouriteCount);
    return names;
}

const QStringList &favouriteDeleteActions()
{
    static const QStringList names = {"favouriteDelete1", "favouriteDelete2", "favouriteDelete3", "favouriteDelete4",
                                      "favouriteDelete5", "favouriteDelete6", "favouriteDelete7", "favouriteDelete8",
                                      "favouriteDelete9", "favouriteDelete10"};
    assert(names.size() == kFavouriteCount);
    return names;
}

const QStringList &exampleActions()
{
    static const QStringList names = {"examplePrograms", "exampleProfile", "exampleSchool"};
    return names;
}

} // namespace ActionTable
