#include "RecordHistory.h"

#include "RecordChange.h"
#include "base/SettingKeys.h"
#include "document/Document.h"
#include "users/Accounts.h"

#include <QItemSelectionModel>
#include <QScopeGuard>

#include <algorithm>

RecordHistory::RecordHistory(Document &document, const Settings &settings, QItemSelectionModel &selection,
                             QObject *parent)
    : QObject(parent)
    , m_document(document)
    , m_settings(settings)
    , m_selection(selection)
{
    m_stack.setUndoLimit(kLimit);
    m_flag = m_document.isModified();
    connect(&m_stack, &QUndoStack::indexChanged, this, &RecordHistory::changed);
    connect(&document.model(), &TableModel::tableReplaced, this, &RecordHistory::clear);
}

RecordHistory::~RecordHistory() = default;

const RecordChange &RecordHistory::changeAt(int index) const
{
    return *static_cast<const RecordChange *>(m_stack.command(index));
}

void RecordHistory::clear()
{
    m_stack.clear();
    m_flag = false;
    emit changed();
}

template<typename Step>
void RecordHistory::inStep(quint64 number, Step step)
{
    m_changeInStep = number;
    {
        const auto stepDone = qScopeGuard([this] { m_changeInStep = 0; });
        step();
    }
    emit stepped(number);
}

void RecordHistory::push(std::unique_ptr<RecordChange> change)
{
    adoptFlag();
    const QPersistentModelIndex selectedBefore = selectedIndex();
    const RecordChange &made = *change;
    const quint64 number = ++m_lastNumber;
    change->setNumber(number);
    inStep(number, [&] { m_stack.push(change.release()); }); // never merged: the stack keeps it
    select(made, selectedBefore);
    settle();
}

void RecordHistory::undo()
{
    if (!m_stack.canUndo())
        return;
    const RecordChange &change = changeAt(m_stack.index() - 1);
    requireRight(change);
    adoptFlag();
    const QPersistentModelIndex selectedBefore = selectedIndex();
    inStep(change.number(), [this] { m_stack.undo(); });
    select(change, selectedBefore);
    settle();
}

void RecordHistory::redo()
{
    if (!m_stack.canRedo())
        return;
    const RecordChange &change = changeAt(m_stack.index());
    requireRight(change);
    adoptFlag();
    const QPersistentModelIndex selectedBefore = selectedIndex();
    inStep(change.number(), [this] { m_stack.redo(); });
    select(change, selectedBefore);
    settle();
}

void RecordHistory::requireRight(const RecordChange &change) const
{
    if (change.needsEditRight())
        Accounts::checkRights(m_settings, m_document.role(), Keys::pravaEditBase());
}

void RecordHistory::adoptFlag()
{
    if (m_document.isModified() == m_flag)
        return;
    if (m_document.isModified())
        m_stack.resetClean();
    else
        m_stack.setClean();
}

void RecordHistory::settle()
{
    const int clean = m_stack.cleanIndex();
    const int at = m_stack.index();
    bool modified = clean < 0;
    for (int i = std::min(clean, at); !modified && i < std::max(clean, at); ++i)
        modified = changeAt(i).changesData();
    // An unchanged state is as good as the saved one, and keeps the
    // comparison from losing it while the history moves on.
    if (!modified)
        m_stack.setClean();
    m_flag = modified;
    m_document.setModified(modified);
}

QPersistentModelIndex RecordHistory::selectedIndex() const
{
    const QModelIndexList rows = m_selection.selectedRows();
    return rows.isEmpty() ? QPersistentModelIndex() : QPersistentModelIndex(rows.constFirst());
}

void RecordHistory::select(const RecordChange &change, const QPersistentModelIndex &selectedBefore)
{
    const auto selectRow = [this](const QModelIndex &index) {
        m_selection.setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    };
    const int row = change.rowToSelect();
    if (row >= 0) {
        selectRow(m_document.model().index(row, 0));
    } else if (row == RecordChange::kRecordRemoved) {
        // The list moves the selection to a neighbour when the current record
        // leaves; the index followed its record, or went with it.
        if (selectedBefore.isValid())
            selectRow(selectedBefore);
        else
            m_selection.clearSelection();
    }
}
