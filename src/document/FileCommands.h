#pragma once

#include "base/DesktopServices.h"
#include "base/ProgramDir.h"

#include <QString>

class Document;
class DocumentView;
class Settings;
class TableData;

// The commands that replace or store the open database - New, Open, Save,
// Save as, the five recent files and the three examples - with the
// unsaved-changes prompt that guards them and the recent-files list in
// config.ini.
//
// Reading builds a fresh table that replaces the open one only when the read
// succeeded, so after a failed load the table, its file name and its modified
// flag are exactly as they were.
class FileCommands
{
public:
    enum class Example { Programs, Profile, School };

    FileCommands(Document &document, Settings &settings, DesktopServices &desktop, DocumentView &view,
                 const ProgramDir &dir);

    // The unsaved-changes question: Yes saves, No discards, Cancel cancels.
    DesktopServices::Answer askToSaveChanges();
    // When the table is modified, asks askToSaveChanges and saves on Yes.
    // False when the user cancelled or the save left the table unsaved: the command
    // ends with nothing changed. An error of the save propagates.
    bool promptStep();

    void newDatabase();
    void openDatabase();
    void save();
    void saveAs();
    void reopen(int k);
    void openExample(Example example);
    // Opens a version-1.0 database (the plain line list, unencoded) as the
    // open table under its own name, so that saving converts it; the recent
    // files stay as they are.
    void importVersion10();

    // Opens a database named on the command line; the recent files stay as
    // they are. Throws when the file cannot be read.
    void loadFile(const QString &path);

    // Makes table the open one as a new database that no file holds yet:
    // it counts as modified, and the save dialog offers suggestedName. The
    // caller has run promptStep.
    void adoptNew(TableData table, const QString &suggestedName);

    // The open dialog, shared with the import of old databases.
    static DesktopServices::FileDialog openDialog();
    static DesktopServices::FileDialog saveDialog();

    // The path a save writes for a save-dialog choice: with the first filter
    // ".db" is added unless the name already ends in it (any letter case).
    static QString targetPath(const DesktopServices::FileChoice &choice);

    // The example's file, relative to the program's directory.
    static QString exampleFile(Example example);

    static QString openFailureMessage();
    static QString exampleFailureMessage();
    static QString importFailureMessage();

    // The texts of the progress bars of reading and writing a database.
    static QString openProgressText();
    static QString saveProgressText();
    static QString importProgressText();

private:
    enum class Readiness { Declined, Ready, ReadyReplacing };
    // Rights check, then the question about text the file cannot hold:
    // Declined when the user declined to save such text, ReadyReplacing when
    // the user agreed to "?" in its place.
    Readiness readyToSave();
    // Writes the table at path. When replacing, the table shown takes the "?"
    // before it is written, so that the window shows what the file holds, and
    // the view keeps the replacement; when the write fails, the table gets
    // its own text back.
    void write(const QString &path, bool replacing);
    // False when the file could not be written.
    bool tryWrite(const QString &path, bool replacing);
    // The save dialog; false when cancelled.
    bool chooseTarget(QString &target);
    void adopt(TableData table, const QString &fileName);
    void takeFileName(const QString &fileName);
    void addToRecent(const QString &path);
    TableData readFile(const QString &path);
    TableData readVersion10File(const QString &path);

    Document &m_document;
    Settings &m_settings;
    DesktopServices &m_desktop;
    DocumentView &m_view;
    ProgramDir m_dir;
    DesktopServices::FileChoice m_openChoice;
    DesktopServices::FileChoice m_saveChoice;
};
