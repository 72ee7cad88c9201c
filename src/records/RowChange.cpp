#include "RowChange.h"

#include "document/TableModel.h"

RowChange::RowChange(TableModel &model, const QString &name, Kind kind, int row, Record record)
    : RecordChange(model, name)
    , m_kind(kind)
    , m_row(row)
    , m_held(std::move(record))
{
}

void RowChange::redo()
{
    apply(m_kind);
}

void RowChange::undo()
{
    // Taking out undoes putting in and the other way round; writing over
    // undoes itself, with the record it put aside.
    switch (m_kind) {
    case Kind::Insert:
        apply(Kind::Remove);
        break;
    case Kind::Remove:
        apply(Kind::Insert);
        break;
    case Kind::Replace:
        apply(Kind::Replace);
        break;
    }
}

void RowChange::apply(Kind kind)
{
    switch (kind) {
    case Kind::Insert:
        model().insertRecord(m_row, std::move(m_held));
        setRowToSelect(m_row);
        break;
    case Kind::Remove:
        m_held = model().takeRecord(m_row);
        setRowToSelect(kRecordRemoved);
        break;
    case Kind::Replace:
        m_held = model().exchangeRecord(m_row, std::move(m_held));
        setRowToSelect(m_row);
        break;
    }
}
