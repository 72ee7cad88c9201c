#pragma once

#include "document/Record.h"

#include <optional>

class DesktopServices;
class Document;
class DocumentView;
class QItemSelectionModel;
class QObject;
class RecordAnchor;
class RecordHistory;
class Settings;

// The commands that change single records and the whole table: add, edit,
// view, delete, clear all, copy, cut, paste, and the column titles. Every one
// that changes the table first passes the rights check for Keys::userMayEditDatabases()
// (after the selection test where it has one) and makes its change through
// the history, which sets the modified flag and can take the change back.
//
// The selected record is the one selected row of the list, read from its
// selection at the moment a command asks for it. Commands that open a dialog
// only do their tests here (begin...); the caller opens the dialog when they
// pass, and the dialog's button comes back to appendRecord, writeRecord or
// setTitles, which check the right again: the user may have changed since the
// dialog opened. An edit dialog writes only into the record it was opened
// for, and a titles dialog only into the table it was opened on.
//
// Removing a record (delete, cut) leaves no record selected, whatever the
// list would select in its place.
//
// Texts from dialogs are stored as typed, except that a line break becomes a
// space: no cell and no title ever holds one.
class RecordCommands
{
public:
    RecordCommands(Document &document, Settings &settings, DesktopServices &desktop, DocumentView &view,
                   QItemSelectionModel &selection, RecordHistory &history);

    // The selected record's row, or -1 when none is selected.
    int selectedRow() const;
    // The titles of columns 0 to 7.
    Record::Cells titles() const;

    // Add and column titles: the rights check (throws on refusal).
    void beginAdd();
    void beginColumns();
    // Edit: the selected row after the rights check, or nothing when none is
    // selected (the user has been told; the check is not run).
    std::optional<int> beginEdit();
    // View: the selected row, or nothing when none is selected. No right is
    // needed.
    std::optional<int> beginView();

    void deleteRecord();
    void clearAll();
    void copyRecord();
    void cutRecord();
    // Checks the right before it reads the clipboard.
    void pasteRecord();

    const Record &record(int row) const;
    // Follows the record at row from now on, for an edit dialog (owner).
    RecordAnchor *anchorRecord(int row, QObject *owner);
    // Which table is open now (TableModel::tableNumber).
    quint64 tableNumber() const;

    // "Добавить": after the rights check, appends the record at the end.
    void appendRecord(const Record::Cells &cells);
    // "Изменить": writes into the record the anchor holds, wherever it stands
    // now, after the rights check. When the record is gone (deleted, cut,
    // cleared, another table opened) it tells the user and returns false, so
    // the dialog stays open with what was typed; so does a refused right,
    // which throws.
    bool writeRecord(const RecordAnchor &anchor, const Record::Cells &cells);
    // "OK" of the column titles opened on the table of that number: after the
    // rights check, that table takes them, and the modified flag is set even
    // when nothing differs. When another table has replaced it since, it
    // tells the user and returns false, and nothing changes.
    bool setTitles(const Record::Cells &titles, quint64 table);

    static QString selectRecordMessage();
    static QString recordGoneMessage();
    static QString tableReplacedMessage();
    static QString selectRecordFirstMessage();
    static QString notARecordMessage();
    static QString deleteQuestion();
    static QString clearQuestion();

private:
    // The selected row, or -1 after the beep and "Выберите запись".
    int selectedOrTell();
    void requireEditRight() const;
    bool confirm(const QString &question);
    void tell(const QString &message);
    // A beep, then the message.
    void refuse(const QString &message);
    void insertAtEnd(const QString &name, Record record);
    void removeRecord(const QString &name, int row);

    Document &m_document;
    Settings &m_settings;
    DesktopServices &m_desktop;
    DocumentView &m_view;
    QItemSelectionModel &m_selection;
    RecordHistory &m_history;
};
