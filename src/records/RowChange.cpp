#include "RowChange.h"

#include "document/TableModel.h"

RowChange::RowChange(TableModel &model, const QString &name, Kind kind, int row, Record record)
    : RecordChange(model, name)
    , m_kind(kind)
    , m_row(row)
    , m_held(std::move(record))
{
}

void RowChange::putIn()
{
    model().insertRecord(m_row, std::move(m_held));
    setRowToSelect(m_row);
}

void RowChange::takeOut()
{
    m_held = model().takeRecord(m_row);
    setRowToSelect(kSelectionCleared);
}

void RowChange::redo()
{
    switch (m_kind) {
    case Kind::Insert:
        putIn();
        break;
    case Kind::Remove:
        takeOut();
        break;
    case Kind::Replace:
        m_held = model().exchangeRecord(m_row, std::move(m_held));
        setRowToSelect(m_row);
        break;
    }
}

void RowChange::undo()
{
    switch (m_kind) {
    case Kind::Insert:
        takeOut();
        break;
    case Kind::Remove:
        putIn();
        break;
    case Kind::Replace:
        m_held = model().exchangeRecord(m_row, std::move(m_held));
        setRowToSelect(m_row);
        break;
    }
}
