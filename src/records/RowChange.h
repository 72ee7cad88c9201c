#pragma once

#include "RecordChange.h"
#include "document/Record.h"

// A change of one record: one put in at a row (add, paste), one taken out
// (delete, cut), or one written over (edit). The record that is not in the
// table is held here, moved in and out, never copied.
class RowChange : public RecordChange
{
public:
    enum class Kind { Insert, Remove, Replace };

    // For Insert and Replace, record is the one the change puts at row; for
    // Remove it is ignored.
    RowChange(TableModel &model, const QString &name, Kind kind, int row, Record record = {});

    void redo() override;
    void undo() override;

private:
    void apply(Kind kind);

    Kind m_kind;
    int m_row;
    Record m_held;
};
