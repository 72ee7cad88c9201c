#include "CommandTable.h"

#include "MainWindow.h"
#include "RecordListView.h"
#include "StatusPanels.h"
#include "base/Counts.h"
#include "document/ui/CsvCommands.h"
#include "records/RecordCommands.h"
#include "records/RecordHistory.h"
#include "records/ui/FindBar.h"
#include "records/ui/RecordDialogCommands.h"
#include "users/ui/AdminCommands.h"

#include <stdexcept>
#include <string>

namespace {

const QString kFile = QStringLiteral("Файл");
const QString kEdit = QStringLiteral("Правка");
const QString kSort = QStringLiteral("Сортировка");
const QString kUsers = QStringLiteral("Пользователи");
const QString kOptions = QStringLiteral("Настройка");
const QString kHelp = QStringLiteral("Помощь");
const QString kFavourites = QStringLiteral("Избранные базы");

const QString kNoKey;
const QString kNoIcon;
const QString kRecentIcon = QStringLiteral("document-open-recent");
const QString kExampleIcon = QStringLiteral("x-office-document");

} // namespace

// Pictures are names in the desktop's icon theme. Toolbar pictures need dark
// lines or strong colour: a pale one (the usual open folder and properties
// page) reads as a disabled button.
//
// To add a command: its value in Command, its row here with the handler
// (a lambda on the window, whose command objects it calls), and its place in
// menuBar(), toolBar() or popupMenu() below.
std::vector<CommandTable::Row> CommandTable::rows()
{
    using W = MainWindow;
    std::vector<Row> rows = {
        // "База"
        {Command::NewDatabase, "newDatabase", "Новая база данных", "Ctrl+N", kFile, "document-new",
         [](W &w) { w.m_files.newDatabase(); }},
        {Command::OpenDatabase, "openDatabase", "Открыть базу данных...", "Ctrl+O", kFile, "folder-open",
         [](W &w) { w.m_files.openDatabase(); }},
        {Command::Save, "save", "Сохранить", "Ctrl+S", kFile, "document-save", [](W &w) { w.m_files.save(); }},
        {Command::SaveAs, "saveAs", "Сохранить как...", "Ctrl+Alt+S", kFile, "document-save-as",
         [](W &w) { w.m_files.saveAs(); }},
        {Command::Print, "print", "Печать...", "Ctrl+P", kFile, "document-print",
         [](W &w) { w.m_print.print(w.m_recordList->font(), [&w](const QString &s) { w.showState(s); }); }},
        {Command::PrintPreview, "printPreview", "Предварительный просмотр...", kNoKey, kFile, "document-print-preview",
         [](W &w) { w.m_print.preview(w.m_recordList->font(), &w, [&w](const QString &s) { w.showState(s); }); }},
        {Command::ImportVersion10, "importVersion10", "Импорт из Tablora 1.0", kNoKey, kFile, "document-revert",
         [](W &w) { w.m_files.importVersion10(); }},
        {Command::ImportCsv, "importCsv", "Из CSV...", kNoKey, kFile, "insert-object",
         [](W &w) { w.m_csv->importCsv(); }},
        {Command::ExportCsv, "exportCsv", "В CSV...", kNoKey, kFile, "document-send",
         [](W &w) { w.m_csv->exportCsv(); }},
        {Command::ExamplePrograms, "examplePrograms", "Программы", kNoKey, kFile, kExampleIcon,
         [](W &w) { w.m_files.openExample(FileCommands::Example::Programs); }},
        {Command::ExampleProfile, "exampleProfile", "Профайл", kNoKey, kFile, kExampleIcon,
         [](W &w) { w.m_files.openExample(FileCommands::Example::Profile); }},
        {Command::ExampleSchool, "exampleSchool", "Школьная база", kNoKey, kFile, kExampleIcon,
         [](W &w) { w.m_files.openExample(FileCommands::Example::School); }},
        {Command::Exit, "exit", "Выход", kNoKey, kFile, "application-exit", [](W &w) { w.close(); }},

        // "Записи"
        {Command::AddRecord, "addRecord", "Добавить", "Ctrl+A", kEdit, "list-add",
         [](W &w) { w.m_recordDialogs->openAdd(); }},
        {Command::ViewRecord, "viewRecord", "Просмотр записи", kNoKey, kEdit, "edit-find",
         [](W &w) { w.m_recordDialogs->openView(); }},
        {Command::EditRecord, "editRecord", "Изменить", kNoKey, kEdit, "accessories-text-editor",
         [](W &w) { w.m_recordDialogs->openEdit(); }},
        {Command::CutRecord, "cutRecord", "Вырезать", "Ctrl+X", kEdit, "edit-cut",
         [](W &w) { w.m_records->cutRecord(); }},
        {Command::CopyRecord, "copyRecord", "Копировать", "Ctrl+C", kEdit, "edit-copy",
         [](W &w) { w.m_records->copyRecord(); }},
        {Command::PasteRecord, "pasteRecord", "Вставить", "Ctrl+V", kEdit, "edit-paste",
         [](W &w) { w.m_records->pasteRecord(); }},
        {Command::DeleteRecord, "deleteRecord", "Удалить", "Del", kEdit, "edit-delete",
         [](W &w) { w.m_records->deleteRecord(); }},
        {Command::ClearAll, "clearAll", "Очистить всю базу", kNoKey, kEdit, "edit-clear",
         [](W &w) { w.m_records->clearAll(); }},
        {Command::Undo, "undo", "Отменить", "Ctrl+Z", kEdit, "edit-undo", [](W &w) { w.m_history->undo(); }},
        {Command::Redo, "redo", "Повторить", "Ctrl+Y", kEdit, "edit-redo", [](W &w) { w.m_history->redo(); },
         "Ctrl+Shift+Z"},
        {Command::Find, "find", "Найти...", "Ctrl+Shift+F", kEdit, "system-search", [](W &w) { w.m_findBar->open(); }},
        {Command::FindNext, "findNext", "Найти далее", "F3", kEdit, "go-down",
         [](W &w) { w.findRecord(RecordSearch::Direction::Forward); }},
        {Command::FindPrevious, "findPrevious", "Найти ранее", "Shift+F3", kEdit, "go-up",
         [](W &w) { w.findRecord(RecordSearch::Direction::Backward); }},

        // "Сортировка"
        {Command::ChooseColumn, "chooseColumn", "Выбрать столбец", kNoKey, kSort, kNoIcon, nullptr},
        {Command::SortAscending, "sortAscending", "По алфавиту", kNoKey, kSort, "view-sort-ascending",
         [](W &w) { w.chooseSortDirection(1); }},
        {Command::SortDescending, "sortDescending", "В обратном порядке", kNoKey, kSort, "view-sort-descending",
         [](W &w) { w.chooseSortDirection(-1); }},

        // "Пользователи", "Настройка"
        {Command::SwitchUser, "switchUser", "Войти под другим", "Ctrl+E", kUsers, "system-log-out",
         [](W &w) { w.switchUser(); }},
        {Command::UserManager, "userManager", "Менеджер", "Ctrl+F", kUsers, "system-users",
         [](W &w) {
             AdminCommands::openUserManager(w.m_settings, w.m_desktop, w.m_errors, w.m_dir, w.m_document.role(),
                                            w.applicationTitle(), &w);
         }},
        {Command::TurnOff, "turnOff", "Отключить", kNoKey, kUsers, kNoIcon, nullptr},
        {Command::ColumnTitles, "columnTitles", "Столбцы", "Ctrl+W", kOptions, "format-justify-fill",
         [](W &w) { w.m_recordDialogs->openColumnTitles(); }},
        {Command::ProgramSettings, "programSettings", "Общие настройки программы", kNoKey, kOptions,
         "preferences-system",
         [](W &w) {
             AdminCommands::openProgramSettings(w.m_settings, w.m_desktop, w.m_errors, w.m_dir, w.m_document.role(), &w,
                                                [&w] { w.applyTableLook(); });
         }},

        // "Помощь"
        {Command::OpenHelp, "openHelp", "Вызов справки", "F1", kHelp, "help-contents",
         [](W &w) { w.m_help.openHelp(); }},
        {Command::CheckUpdate, "checkUpdate", "Проверить обновление", kNoKey, kHelp, "system-software-update",
         [](W &w) { w.m_update.checkUpdate(&w); }},
        {Command::VisitSite, "visitSite", "Посетить сайт", kNoKey, kHelp, "web-browser",
         [](W &w) { w.m_help.visitSite(); }},
        {Command::WriteToAuthor, "writeToAuthor", "Написать письмо автору", kNoKey, kHelp, "mail-message-new",
         [](W &w) { w.m_help.writeToAuthor(); }},
        {Command::ReportError, "reportError", "Сообщить об ошибке...", kNoKey, kHelp, "mail-mark-important",
         [](W &w) { w.m_help.reportError(); }},
        {Command::LicenseAgreement, "licenseAgreement", "Лицензионное соглашение", kNoKey, kHelp, "text-x-generic",
         [](W &w) { w.m_help.showLicense(); }},
        {Command::ChangeHistory, "changeHistory", "История изменений", kNoKey, kHelp, kRecentIcon,
         [](W &w) { w.m_help.showChangeHistory(); }},
        {Command::Faq, "faq", "F.A.Q.", kNoKey, kHelp, "help-faq", [](W &w) { w.m_help.openFaq(); }},
        {Command::Thanks, "thanks", "Благодарности", kNoKey, kHelp, "emblem-favorite",
         [](W &w) { w.m_help.showThanks(); }},
        {Command::ProgramPage, "programPage", "Страница программы в сети", kNoKey, kHelp, "applications-internet",
         [](W &w) { w.m_help.openProgramPage(); }},
        {Command::About, "about", "О программе...", kNoKey, kHelp, "help-about", [](W &w) { w.m_help.showAbout(); }},

        // The favourite cells do nothing yet.
        {Command::FavouriteCreate, "favouriteCreate", "Создать", kNoKey, kFavourites, kNoIcon, nullptr},
        {Command::FavouriteClearAll, "favouriteClearAll", "Очистить всё", kNoKey, kFavourites, kNoIcon, nullptr},
    };

    // The numbered families.
    for (int k = 1; k <= kRecentFileCount; ++k) {
        rows.push_back({Commands::reopen(k), QStringLiteral("reopen%1").arg(k), QStringLiteral("Переоткрыть %1").arg(k),
                        kNoKey, kFile, kRecentIcon, [k](W &w) { w.m_files.reopen(k); }});
    }
    for (int c = 0; c < kColumnCount; ++c) {
        const QString caption = c == 0 ? QStringLiteral("Дополн.") : QStringLiteral("%1 столбец").arg(c);
        rows.push_back({Commands::sortColumn(c), QStringLiteral("sortColumn%1").arg(c), caption, kNoKey, kSort, kNoIcon,
                        [c](W &w) { w.chooseSortColumn(c); }, kNoKey, true});
    }
    for (int n = 1; n <= kFavouriteCount; ++n) {
        rows.push_back({Commands::favouriteOpen(n), QStringLiteral("favouriteOpen%1").arg(n),
                        QStringLiteral("Ячейка %1").arg(n), kNoKey, kFavourites, kNoIcon, nullptr});
        rows.push_back({Commands::favouriteDelete(n), QStringLiteral("favouriteDelete%1").arg(n),
                        QStringLiteral("Удалить %1").arg(n), kNoKey, kFavourites, kNoIcon, nullptr});
    }
    return rows;
}

const CommandTable::Row &CommandTable::row(Command command)
{
    // The rows in the order of the commands' values, each exactly once.
    static const std::vector<Row> ordered = [] {
        std::vector<std::optional<Row>> byCommand(Commands::kCount);
        for (Row &r : rows()) {
            std::optional<Row> &slot = byCommand.at(size_t(r.id));
            if (slot)
                throw std::logic_error("two rows for the command " + r.name.toStdString());
            slot = std::move(r);
        }
        std::vector<Row> all;
        for (int i = 0; i < Commands::kCount; ++i) {
            if (!byCommand[size_t(i)])
                throw std::logic_error("no row for the command numbered " + std::to_string(i));
            all.push_back(std::move(*byCommand[size_t(i)]));
        }
        return all;
    }();
    return ordered[size_t(command)];
}

namespace {

using MenuEntry = CommandTable::MenuEntry;

MenuEntry item(Command command, const QString &ownCaption = {})
{
    return {MenuEntry::Kind::Command, command, ownCaption, {}};
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
        recent.push_back(item(Commands::reopen(k), QStringLiteral("Переоткрыть &%1").arg(k)));

    std::vector<MenuEntry> sortColumns = {item(Command::SortColumn0)};
    for (int c = 1; c < kColumnCount; ++c)
        sortColumns.push_back(item(Commands::sortColumn(c), QStringLiteral("&%1 столбец").arg(c)));

    using C = Command;
    return {
        subMenu(
            "База",
            {item(C::NewDatabase), item(C::OpenDatabase), subMenu("Недавние", recent), separator(), item(C::Save),
             item(C::SaveAs), separator(), item(C::Print), item(C::PrintPreview), separator(),
             subMenu("Импорт", {item(C::ImportVersion10, "Импорт из &Tablora 1.0"), item(C::ImportCsv, "Из &CSV...")}),
             subMenu("Экспорт", {item(C::ExportCsv, "В &CSV...")}),
             subMenu("Примеры", {item(C::ExamplePrograms), item(C::ExampleProfile), item(C::ExampleSchool)}),
             separator(), item(C::Exit)}),
        subMenu("Записи",
                {item(C::AddRecord), separator(), item(C::ViewRecord), separator(), item(C::EditRecord),
                 item(C::CutRecord), item(C::CopyRecord), item(C::PasteRecord), separator(), item(C::DeleteRecord),
                 item(C::ClearAll), separator(), item(C::Undo), item(C::Redo), separator(), item(C::Find),
                 item(C::FindNext), item(C::FindPrevious)}),
        subMenu(
            "Сортировка",
            {subMenu("Выбрать столбец", sortColumns), separator(), item(C::SortAscending), item(C::SortDescending)}),
        subMenu("Пользователи", {separator(), item(C::SwitchUser), item(C::UserManager)}),
        subMenu("Настройка", {item(C::ColumnTitles), item(C::ProgramSettings)}),
        subMenu("Помощь",
                {item(C::OpenHelp), separator(), item(C::CheckUpdate), item(C::VisitSite), item(C::WriteToAuthor),
                 item(C::ReportError), separator(), item(C::LicenseAgreement), item(C::ChangeHistory),
                 item(C::Faq, "&F.A.Q."), item(C::Thanks), separator(), item(C::ProgramPage), separator(),
                 item(C::About)}),
    };
}

} // namespace

const std::vector<CommandTable::MenuEntry> &CommandTable::menuBar()
{
    static const std::vector<MenuEntry> menus = buildMenuBar();
    return menus;
}

const std::vector<CommandTable::ToolButton> &CommandTable::toolBar()
{
    static const std::vector<ToolButton> buttons = {
        {"newDatabaseButton", "Нов. база", "Создать новую базу данных", Command::NewDatabase},
        {"openDatabaseButton", "Открыть", "Открыть базу данных", Command::OpenDatabase},
        {"saveButton", "Сохранить", "Сохранить текущую базу данных", Command::Save},
        {"saveAsButton", "Сохр. как", "Выбрать место сохранения текущей базы данных", Command::SaveAs},
        {"fileSeparator", {}, {}, {}},
        {"addRecordButton", "Добавить", "Добавить новую запись", Command::AddRecord},
        {"editRecordButton", "Изменить", "Изменить выбранную запись", Command::EditRecord},
        {"cutRecordButton", "Вырезать", "Вырезать выбранную запись", Command::CutRecord},
        {"pasteRecordButton", "Вставить", "Вставить запись", Command::PasteRecord},
        {"deleteRecordButton", "Удалить", "Удалить выбранную запись", Command::DeleteRecord},
        {"recordSeparator", {}, {}, {}},
        {"userManagerButton", "Менеджер", "Вызов менеджера пользователей", Command::UserManager},
        {"userSeparator", {}, {}, {}},
        {"columnTitlesButton", "Столбцы", "Параметры текущей базы данных", Command::ColumnTitles},
    };
    return buttons;
}

const std::vector<std::optional<Command>> &CommandTable::popupMenu()
{
    using C = Command;
    static const std::vector<std::optional<Command>> entries = {C::AddRecord,
                                                                {},
                                                                C::ViewRecord,
                                                                {},
                                                                C::EditRecord,
                                                                C::CutRecord,
                                                                C::CopyRecord,
                                                                C::PasteRecord,
                                                                {},
                                                                C::DeleteRecord,
                                                                C::ClearAll,
                                                                {},
                                                                C::Find};
    return entries;
}
