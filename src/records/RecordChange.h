#pragma once

#include <QUndoCommand>

class TableModel;

// One change of the open table that the history can take back and make
// again. Its first redo() makes it. Every change of the records and titles
// goes through the history, so each undo() finds the table exactly as its
// redo() left it, and the rows it remembers still mean the same records.
class RecordChange : public QUndoCommand
{
public:
    // What the list's selection should become after a step: kept as it is,
    // or, when the step took a record out, kept on the record it was on
    // unless that record left.
    static constexpr int kSelectionKept = -2;
    static constexpr int kRecordRemoved = -1;

    // name is what the command did, as the undo and redo captions end:
    // "удаление записи".
    RecordChange(TableModel &model, const QString &name);

    // Whether the change alters what Save writes beyond the order of the
    // rows; a sort does not, and so leaves the modified flag alone.
    virtual bool changesData() const { return true; }
    // Whether undoing or redoing it needs the right to edit the database.
    virtual bool needsEditRight() const { return true; }

    // After the last undo() or redo(): the row to select (and show), or one
    // of the two constants above.
    int rowToSelect() const { return m_rowToSelect; }

    // The change's number in its history, given when it is pushed.
    quint64 number() const { return m_number; }
    void setNumber(quint64 number) { m_number = number; }

protected:
    TableModel &model() const { return m_model; }
    void setRowToSelect(int row) { m_rowToSelect = row; }

private:
    TableModel &m_model;
    int m_rowToSelect = kSelectionKept;
    quint64 m_number = 0;
};
