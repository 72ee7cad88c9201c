#pragma once

#include <QObject>
#include <QPersistentModelIndex>

class RecordHistory;
class TableModel;

// Holds on to one record of the open table while the table changes around it:
// records put in or taken out elsewhere, sorts, and the undo and redo of any
// of them leave it on its record, wherever that moves. Once the record itself
// is taken out (deleted, cut, the table cleared) the anchor holds none, until
// the history takes that very change back and so puts the record back; a
// replaced table is gone for good. The model keeps the anchor's persistent
// index up to date, so a large table costs it nothing per record.
class RecordAnchor : public QObject
{
    Q_OBJECT

public:
    RecordAnchor(TableModel &model, const RecordHistory &history, int row, QObject *parent = nullptr);

    // The record's row now, or -1 while it is not in the table.
    int row() const;

private:
    void onRowsAboutToBeRemoved(int first, int last);
    void onStepped(quint64 change);

    TableModel &m_model;
    const RecordHistory &m_history;
    QPersistentModelIndex m_index;
    // While the record is out through a change of the history: that change,
    // and the record's row when it went. The change's next step brings it
    // back to that row, since the history finds the table at each step
    // exactly as the step before left it.
    quint64 m_takenBy = 0;
    int m_takenFrom = -1;
    bool m_takingStepDone = false;
};
