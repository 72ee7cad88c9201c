#include "SettingKeys.h"

#include "ProgramDir.h"

namespace {

using namespace Qt::StringLiterals;

// data/config.ini
constexpr QStringView General = u"General";
constexpr QStringView Font = u"Font";
constexpr QStringView Table = u"Table";
constexpr QStringView Window = u"Window";
constexpr QStringView Reopen = u"Reopen";
constexpr QStringView Run = u"Run";
// data/other.dat
constexpr QStringView Enter = u"Enter";
constexpr QStringView Users = u"Users";
constexpr QStringView Moder = u"Moder";
constexpr QStringView Prava = u"Prava";

QString numbered(QStringView prefix, int n)
{
    return prefix.toString() + QString::number(n);
}

// favourite.ini: one section per cell.
QString item(int n)
{
    Q_ASSERT(n >= 1 && n <= kFavouriteCount);
    return numbered(u"Item", n);
}

// Table keys are the column's digit, a blank and the key's kind.
QString columnKey(int column, QStringView kind)
{
    Q_ASSERT(column >= 0 && column < kColumnCount);
    return QString::number(column) + u' ' + kind.toString();
}

int checkedReopen(int k)
{
    Q_ASSERT(k >= 1 && k <= kRecentFileCount);
    return k;
}

int checkedSlot(int n)
{
    Q_ASSERT(n >= 1 && n <= kAccountSlotCount);
    return n;
}

BoolKey config(QStringView section, const QString &name, bool defaultValue)
{
    return {SettingsFile::Config, section.toString(), name, defaultValue};
}

IntKey config(QStringView section, const QString &name, int defaultValue)
{
    return {SettingsFile::Config, section.toString(), name, defaultValue};
}

TextKey config(QStringView section, const QString &name, const QString &defaultValue)
{
    return {SettingsFile::Config, section.toString(), name, defaultValue};
}

BoolKey other(QStringView section, const QString &name, bool defaultValue)
{
    return {SettingsFile::Other, section.toString(), name, defaultValue};
}

TextKey other(QStringView section, const QString &name, const QString &defaultValue)
{
    return {SettingsFile::Other, section.toString(), name, defaultValue};
}

template<typename Key, typename Value>
Key withDefault(Key key, Value defaultValue)
{
    key.defaultValue = std::move(defaultValue);
    return key;
}

} // namespace

namespace Keys {

// data/config.ini

BoolKey savePosition()
{
    return config(General, u"SavePosition"_s, true);
}
BoolKey saveSize()
{
    return config(General, u"SaveSize"_s, true);
}
BoolKey quickStart()
{
    return config(General, u"QuickStart"_s, false);
}
TextKey align()
{
    return config(General, u"Align"_s, u"Left"_s);
}

TextKey fontName()
{
    return config(Font, u"Name"_s, u"Courier New"_s);
}
TextKey fontNameInOptions()
{
    return withDefault(fontName(), u"Verdana"_s);
}
IntKey fontSize()
{
    return config(Font, u"Size"_s, 8);
}

TextKey caption(int column)
{
    return config(Table, columnKey(column, u"caption"), column == 0 ? u"№"_s : QString::number(column) + u" столбец"_s);
}

IntKey columnWidth(int column)
{
    return config(Table, columnKey(column, u"column"), column == 0 ? 20 : 100);
}
IntKey sortColumn()
{
    return config(Table, u"ColNum"_s, 0);
}
IntKey sortDirection()
{
    return config(Table, u"Sort"_s, 1);
}
// Nobody reads it; the default only completes the key.
IntKey recordCount()
{
    return config(Table, u"Count"_s, 0);
}

IntKey windowLeft()
{
    return config(Window, u"Left"_s, 76);
}
IntKey windowTop()
{
    return config(Window, u"Top"_s, 44);
}
IntKey windowWidth()
{
    return config(Window, u"Width"_s, 770);
}
IntKey windowHeight()
{
    return config(Window, u"Height"_s, 566);
}

TextKey reopenFile(int k, const ProgramDir &dir)
{
    return withDefault(reopenFileForShift(k), dir.defaultDb());
}

TextKey reopenFileForShift(int k)
{
    return config(Reopen, numbered(u"File", checkedReopen(k)), QString());
}
BoolKey reopenEnabled(int k)
{
    return config(Reopen, numbered(u"Enabled", checkedReopen(k)), false);
}

BoolKey firstRun()
{
    return config(Run, u"First"_s, true);
}

// data/other.dat

BoolKey questionOnStart()
{
    return other(Enter, u"QuestionOnStart"_s, true);
}

TextKey adminLogin()
{
    return other(Users, u"Admin"_s, QString());
}
TextKey adminLoginInManager()
{
    return withDefault(adminLogin(), u"Admin"_s);
}
TextKey adminPassword()
{
    return other(Users, u"Password"_s, QString());
}
TextKey adminPasswordInManager()
{
    return withDefault(adminPassword(), u"9107"_s);
}
TextKey login(int n)
{
    return other(Users, numbered(u"Login", checkedSlot(n)), QString());
}
TextKey password(int n)
{
    return other(Users, numbered(u"Password", checkedSlot(n)), QString());
}
TextKey prava(int n)
{
    return other(Users, numbered(u"Prava", checkedSlot(n)), u"user"_s);
}
TextKey pravaInManager(int n)
{
    return withDefault(prava(n), u"guest"_s);
}

BoolKey moderEditUsers()
{
    return other(Moder, u"EditUsers"_s, false);
}
BoolKey moderEditUsersInOptions()
{
    return withDefault(moderEditUsers(), true);
}
BoolKey moderEditOptions()
{
    return other(Moder, u"EditOptions"_s, false);
}

BoolKey pravaEditBase()
{
    return other(Prava, u"EditBase"_s, false);
}
BoolKey pravaSaveBase()
{
    return other(Prava, u"SaveBase"_s, false);
}
BoolKey pravaEditOptions()
{
    return other(Prava, u"EditOptions"_s, false);
}
BoolKey pravaManager()
{
    return other(Prava, u"Manager"_s, false);
}
BoolKey pravaAddNewUsers()
{
    return other(Prava, u"AddNewUsers"_s, false);
}
BoolKey pravaUpdateProgram()
{
    return other(Prava, u"UpdateProgram"_s, false);
}

// db/favourite/favourite.ini

BoolKey favouriteEnabled(int n)
{
    return {SettingsFile::Favourite, item(n), u"Enabled"_s, false};
}
TextKey favouriteName(int n)
{
    return {SettingsFile::Favourite, item(n), u"Name"_s, u"Без имени"_s};
}

} // namespace Keys
