#pragma once

#include "Counts.h"

#include <QString>

class ProgramDir;

// The three settings files of the program (their paths: ProgramDir).
enum class SettingsFile { Config, Other, Favourite };

// A key of a settings file together with the default of one reader. Where two
// readers of one key assume different defaults, each has its own function.
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
TextKey fontNameInOptions(); // the same key as the settings dialog shows it
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
TextKey adminLogin(); // as the login check reads it
TextKey adminLoginInManager(); // as the user manager reads it
TextKey adminPassword();
TextKey adminPasswordInManager();
TextKey login(int n); // n = 1..10
TextKey password(int n);
TextKey prava(int n); // a slot's Role, as the login check reads it
TextKey pravaInManager(int n); // the same key as the user manager reads it
BoolKey moderEditUsers(); // as the rights check reads it
BoolKey moderEditUsersInOptions(); // the same key as the settings dialog reads it
BoolKey moderEditOptions();
BoolKey pravaEditBase();
BoolKey pravaSaveBase();
BoolKey pravaEditOptions();
BoolKey pravaManager();
BoolKey pravaAddNewUsers();
BoolKey pravaUpdateProgram();

// db/favourite/favourite.ini
BoolKey favouriteEnabled(int n); // n = 1..10
TextKey favouriteName(int n);

} // namespace Keys
