#pragma once

#include <QObject>
#include <QPersistentModelIndex>
#include <QUndoStack>

#include <memory>

class Document;
class QItemSelectionModel;
class RecordChange;
class Settings;

// The changes of the open table that can be taken back: the last 100 record
// commands, sorts and column-title changes. Replacing the table (New, a load)
// starts a fresh history.
//
// The document's modified flag stays the one truth: loads and saves clear it
// without telling the history, which reads it before each step it takes, so
// a cleared flag marks the state it stands at as the saved one (the stack's
// clean state). After each step the flag says whether a change of the data
// (anything but a sort) lies between the saved state and the current one;
// once the saved state has dropped out of the history, it stays set.
class RecordHistory : public QObject
{
    Q_OBJECT

public:
    static constexpr int kLimit = 100;

    RecordHistory(Document &document, const Settings &settings, QItemSelectionModel &selection,
                  QObject *parent = nullptr);
    ~RecordHistory() override;

    // Makes the change and keeps it. A record put in (added, pasted) is
    // selected and comes into view.
    void push(std::unique_ptr<RecordChange> change);
    // Takes back the last change, or makes again the last one taken back,
    // after the rights check the change asks for: a refusal throws and leaves
    // the table and the history as they were. With nothing to take back or
    // make again, nothing happens. The list selects the row the step put in
    // or wrote over; a step that takes a record out leaves the selection on
    // any other record, and none when the selected record left.
    void undo();
    void redo();

    // The change being made, taken back or made again at this moment (a
    // number no other change of this history has), or 0 outside a step.
    quint64 changeInStep() const { return m_changeInStep; }

    bool canUndo() const { return m_stack.canUndo(); }
    bool canRedo() const { return m_stack.canRedo(); }
    // What undo() or redo() would do ("удаление записи"); empty when nothing.
    QString undoName() const { return m_stack.undoText(); }
    QString redoName() const { return m_stack.redoText(); }
    int count() const { return m_stack.count(); }

signals:
    // What can be taken back or made again changed.
    void changed();
    // A change was made, taken back or made again (its changeInStep()).
    void stepped(quint64 change);

private:
    const RecordChange &changeAt(int index) const;
    // Runs one step of the change of that number: step() makes it, takes it
    // back or makes it again through the stack.
    template<typename Step>
    void inStep(quint64 number, Step step);
    void requireRight(const RecordChange &change) const;
    void adoptFlag();
    void settle();
    QPersistentModelIndex selectedIndex() const;
    void select(const RecordChange &change, const QPersistentModelIndex &selectedBefore);
    void clear();

    Document &m_document;
    const Settings &m_settings;
    QItemSelectionModel &m_selection;
    QUndoStack m_stack;
    bool m_flag = false; // the modified flag as the history last left it
    quint64 m_changeInStep = 0;
    quint64 m_lastNumber = 0;
};
