#pragma once

#include "RecordChange.h"
#include "document/Record.h"

// The column titles dialog's "OK": the eight titles written over, the ones
// they replaced held for the way back.
class TitlesChange : public RecordChange
{
public:
    TitlesChange(TableModel &model, const Record::Cells &titles);

    void redo() override;
    void undo() override { redo(); }

private:
    Record::Cells m_held;
};
