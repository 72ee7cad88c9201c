#pragma once

#include <QMetaType>

#include <array>

// Every command of the main window, named once. The window's actions, the
// menus, the toolbar, the pop-up menu and the tests name commands by these
// values, so a misspelt command does not compile; each command's caption,
// keys, picture and handler stand in one row of ui/CommandTable.cpp.
//
// A numbered family (the recent files, the sort columns, the favourite
// cells) is a run of consecutive values, reached by its number through the
// functions of namespace Commands, which check the number.
enum class Command {
    // "База"
    NewDatabase,
    OpenDatabase,
    Reopen1,
    Reopen2,
    Reopen3,
    Reopen4,
    Reopen5,
    Save,
    SaveAs,
    Print,
    PrintPreview,
    ImportVersion10,
    ImportCsv,
    ExportCsv,
    ExamplePrograms,
    ExampleProfile,
    ExampleSchool,
    Exit,
    // "Записи"
    AddRecord,
    ViewRecord,
    EditRecord,
    CutRecord,
    CopyRecord,
    PasteRecord,
    DeleteRecord,
    ClearAll,
    Undo,
    Redo,
    Find,
    FindNext,
    FindPrevious,
    // "Сортировка"
    ChooseColumn,
    SortColumn0,
    SortColumn1,
    SortColumn2,
    SortColumn3,
    SortColumn4,
    SortColumn5,
    SortColumn6,
    SortColumn7,
    SortAscending,
    SortDescending,
    // "Пользователи", "Настройка"
    SwitchUser,
    UserManager,
    TurnOff,
    ColumnTitles,
    ProgramSettings,
    // "Помощь"
    OpenHelp,
    CheckUpdate,
    VisitSite,
    WriteToAuthor,
    ReportError,
    LicenseAgreement,
    ChangeHistory,
    Faq,
    Thanks,
    ProgramPage,
    About,
    // The favourite cells, in no menu.
    FavouriteCreate,
    FavouriteOpen1,
    FavouriteOpen2,
    FavouriteOpen3,
    FavouriteOpen4,
    FavouriteOpen5,
    FavouriteOpen6,
    FavouriteOpen7,
    FavouriteOpen8,
    FavouriteOpen9,
    FavouriteOpen10,
    FavouriteDelete1,
    FavouriteDelete2,
    FavouriteDelete3,
    FavouriteDelete4,
    FavouriteDelete5,
    FavouriteDelete6,
    FavouriteDelete7,
    FavouriteDelete8,
    FavouriteDelete9,
    FavouriteDelete10,
    FavouriteClearAll,
};
Q_DECLARE_METATYPE(Command)

namespace Commands {

// How many commands there are: Command values run from 0 to kCount - 1.
inline constexpr int kCount = int(Command::FavouriteClearAll) + 1;

// The members of the families by their numbers, counted as the program
// counts them elsewhere: recent file k from 1, column from 0, cell n from 1.
// A number outside its family is a fault of the program: std::out_of_range.
Command reopen(int k);
Command sortColumn(int column);
Command favouriteOpen(int n);
Command favouriteDelete(int n);

// All commands, in the order of their values.
const std::array<Command, kCount> &all();

} // namespace Commands
