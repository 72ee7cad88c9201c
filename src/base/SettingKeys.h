#pragma once

#include "Counts.h"

#include <QString>

class ProgramDir;

// The three settings files of the program (their paths: ProgramDir).
enum class SettingsFile { Config, Other, Favourite };

// A key of a settings file together with the default of one reader. Where two
// readers of one key assume different defaults, each has its own function:
// the code that acts on a key reads it with the default that holds when the
// file says nothing, and a dialog that shows the key may offer another value
// in its place (the offered... functions), which its OK then stores.
struct TextKey
{
    SettingsFile file;
    QString section;
    QString name;
    QString defaultValue;
};

struct IntKey
{
    SettingsFile file;
    QString section;
    QString name;
    int defaultValue;
};

struct BoolKey
{
    SettingsFile file;
    QString section;
    QString name;
    bool defaultValue;
};

// The complete index of the settings files. Every section and key name is
// spelled in SettingKeys.cpp and nowhere else; callers address keys only
// through these functions.
namespace Keys {

// data/config.ini
BoolKey savePosition();
BoolKey saveSize();
BoolKey quickStart();
TextKey align(); // "Left", "Center" or any other text for right
TextKey fontName(); // the table's font at start-up and after the settings dialog
TextKey offeredFontName(); // the font the settings dialog shows when none is stored
IntKey fontSize();
TextKey caption(int column); // default title of a new database's column 0 to 7
IntKey columnWidth(int column); // width of a new database's column 0 to 7
IntKey sortColumn();
IntKey sortDirection();
IntKey recordCount(); // written on close, read by nobody
IntKey windowLeft();
IntKey windowTop();
IntKey windowWidth();
IntKey windowHeight();
TextKey reopenFile(int k, const ProgramDir &dir); // k = 1..5; defaults to dir's default database
TextKey reopenFileForShift(int k); // the same key, empty by default, for shifting the list
BoolKey reopenEnabled(int k);
BoolKey firstRun();

// data/other.dat
BoolKey questionOnStart();
// The administrator's account: empty until the user manager first saves the
// accounts, which offers "Admin" with the password "9107".
TextKey adminLogin();
TextKey offeredAdminLogin();
TextKey adminPassword();
TextKey offeredAdminPassword();
TextKey login(int n); // n = 1..10
TextKey password(int n);
// A slot's Role (Roles.h): a slot that never had one logs in as "user"; the
// user manager shows it, and stores it, as "guest".
TextKey slotRole(int n);
TextKey offeredSlotRole(int n);
// The moderator's administrative rights ([Moder]): "Менеджер" and the
// program settings. The settings dialog offers the first one ticked.
BoolKey moderatorMayManageUsers();
BoolKey offeredModeratorMayManageUsers();
BoolKey moderatorMayChangeSettings();
// The rights of an ordinary user: every Role but "admin" and "moder" ([Prava]).
BoolKey userMayEditDatabases(); // records and column titles
BoolKey userMaySaveDatabases();
BoolKey userMayChangeSettings();
BoolKey userMayManageUsers();
BoolKey userMayAddUsers(); // shown and stored; no command consults it
BoolKey userMayUpdateProgram();

// db/favourite/favourite.ini
BoolKey favouriteEnabled(int n); // n = 1..10
TextKey favouriteName(int n);

} // namespace Keys
