#pragma once

#include "FileLock.h"
#include "base/DesktopServices.h"
#include "base/ProgramDir.h"

#include <QString>

#include <functional>

class Document;
class DocumentView;
class FileStamp;
class Settings;
class TableData;
class WorkProgress;

// The commands that replace or store the open database - New, Open, Save,
// Save as, the five recent files and the three examples - with the
// unsaved-changes prompt that guards them and the recent-files list in
// config.ini.
//
// Reading builds a fresh table that replaces the open one only when the read
// succeeded, so after a failed load the table, its file name and its modified
// flag are exactly as they were.
//
// Two writers of one file: the document remembers what its file was when it
// was read or last saved, and Save asks before it overwrites a file another
// program has changed since. While a file is open its lock (FileLock) says
// so to other windows; opening a file another running window holds asks
// first.
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

    // Opens a database named on the command line, whose table has nothing
    // to save yet; the recent files stay as they are. Throws when the file
    // cannot be read.
    void loadFile(const QString &path);

    // Makes table the open one as a new database that no file holds yet:
    // it counts as modified, and the save dialog offers suggestedName. The
    // caller has run promptStep.
    void adoptNew(TableData table, const QString &suggestedName);

    // Puts a table recovered after a crash in place of the open, unmodified
    // one, under the name of its database and as unsaved changes; stamp is
    // what that database's file was when the lost run read or saved it.
    void restore(TableData table, const QString &fileName, const FileStamp &stamp);
    // Lets go of the open file at the program's end: its lock is removed.
    void release() { m_lock.release(); }

    // The question before Save overwrites a file changed since it was read
    // or saved, and its buttons.
    static QString changedOnDiskQuestion(const QString &path);
    static QStringList changedOnDiskButtons();
    // The question before opening a file another window holds.
    static QString lockedQuestion(const QString &path, const FileLock::Holder &holder);

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
    // How a command reads the file it opens: the reader, the text of its
    // progress bar, and the message that stands for any failure to read.
    struct Reading
    {
        std::function<TableData(const QString &path, WorkProgress *progress)> read;
        QString progressText;
        QString failureMessage;
    };
    enum class Recent { Add, Keep };

    static Reading databaseReading(const QString &failureMessage);
    // The one way a file replaces the open table: asks before opening a file
    // another window holds and before dropping unsaved changes, reads the
    // file behind a progress bar, and only then puts its table in place of
    // the open one. Any failure but running out of memory or the user's stop
    // is told as the reading's message.
    void open(const QString &path, const Reading &reading, Recent recent);
    // The open dialog; false when cancelled.
    bool chooseFileToOpen(QString &path);

    enum class Readiness { Declined, Ready, ReadyReplacing };
    enum class Overwrite { Yes, SaveAs, Cancel };

    // Rights check, then the question about text the file cannot hold:
    // Declined when the user declined to save such text, ReadyReplacing when
    // the user agreed to "?" in its place.
    Readiness readyToSave();
    // Whether Save may write over the document's file: yes unless another
    // program changed it since, then as the user answers.
    Overwrite askBeforeOverwrite();
    // Save as after readyToSave.
    void saveToChosenFile(bool replacing);
    // False when another window holds the file and the user would not open
    // it all the same.
    bool mayOpen(const QString &path);
    // Writes the table at path. When replacing, the table shown takes the "?"
    // before it is written, so that the window shows what the file holds, and
    // the view keeps the replacement; when the write fails, the table gets
    // its own text back.
    void write(const QString &path, bool replacing);
    // False when the file could not be written.
    bool tryWrite(const QString &path, bool replacing);
    // The save dialog; false when cancelled.
    bool chooseTarget(QString &target);
    void adopt(TableData table, const QString &fileName, const FileStamp &stamp);
    // The document now stands for the file as it was on disk (stamp),
    // unmodified; the lock follows the file.
    void takeFileName(const QString &fileName, const FileStamp &stamp);
    void addToRecent(const QString &path);

    Document &m_document;
    Settings &m_settings;
    DesktopServices &m_desktop;
    DocumentView &m_view;
    ProgramDir m_dir;
    DesktopServices::FileChoice m_openChoice;
    DesktopServices::FileChoice m_saveChoice;
    FileLock m_lock;
};
