#pragma once

#include "document/Record.h"

#include <optional>

class DesktopServices;
class Document;
class DocumentView;
class QItemSelectionModel;
class RecordHistory;
class Settings;

// The commands that change single records and the whole table: add, edit,
// view, delete, clear all, copy, cut, paste, and the column titles. Every one
// that changes the table first passes the rights check for [Prava] EditBase
// (after the selection test where it has one) and makes its change through
// the history, which sets the modified flag and can take the change back.
//
// The selected record is the one selected row of the list, read from its
// selection at the moment a command or a dialog's button asks for it.
// Commands that open a dialog only do their tests here (begin...); the caller
// opens the dialog when they pass, and the dialog's button comes back to
// appendRecord, writeSelected or setTitles.
//
// Removing a record (delete, cut) leaves no record selected, whatever the
// list would select in its place: an edit dialog still open for the removed
// record must not write into its neighbour.
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
    // Edit: the selected record after the rights check, or nothing when none
    // is selected (the user has been told; the check is not run).
    std::optional<Record> beginEdit();
    // View: the selected record, or nothing when none is selected. No right
    // is needed.
    std::optional<Record> beginView();

    void deleteRecord();
    void clearAll();
    void copyRecord();
    void cutRecord();
    // Checks the right before it reads the clipboard.
    void pasteRecord();

    // "Добавить": appends the record at the end.
    void appendRecord(const Record::Cells &cells);
    // "Изменить": writes into the row selected now, whichever record the
    // dialog was opened for. With no row selected it tells the user and
    // returns false, so the dialog stays open with what was typed.
    bool writeSelected(const Record::Cells &cells);
    // "OK" of the column titles: whatever table is open now takes them; the
    // modified flag is set even when nothing differs.
    void setTitles(const Record::Cells &titles);

    static QString selectRecordMessage();
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
    void insertAtEnd(const QString &name, Record record);
    void removeRecord(const QString &name, int row);

    Document &m_document;
    Settings &m_settings;
    DesktopServices &m_desktop;
    DocumentView &m_view;
    QItemSelectionModel &m_selection;
    RecordHistory &m_history;
};
