#include "RecordAnchor.h"

#include "RecordHistory.h"
#include "document/TableModel.h"

RecordAnchor::RecordAnchor(TableModel &model, const RecordHistory &history, int row, QObject *parent)
    : QObject(parent)
    , m_model(model)
    , m_history(history)
    , m_index(model.index(row, 0))
{
    connect(&model, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex &, int first, int last) { onRowsAboutToBeRemoved(first, last); });
    connect(&model, &QAbstractItemModel::modelAboutToBeReset, this, [this] { m_takenBy = 0; });
    connect(&history, &RecordHistory::stepped, this, &RecordAnchor::onStepped);
}

int RecordAnchor::row() const
{
    return m_index.isValid() ? m_index.row() : -1;
}

void RecordAnchor::onRowsAboutToBeRemoved(int first, int last)
{
    const int row = this->row();
    if (row < first || row > last)
        return;
    m_takenBy = m_history.changeInStep();
    m_takenFrom = row;
    m_takingStepDone = false;
}

void RecordAnchor::onStepped(quint64 change)
{
    if (m_takenBy == 0 || change != m_takenBy)
        return;
    if (!m_takingStepDone) {
        m_takingStepDone = true;
        return;
    }
    m_index = m_model.index(m_takenFrom, 0);
    m_takenBy = 0;
}
