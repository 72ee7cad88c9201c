#pragma once

#include "RecordChange.h"
#include "document/Record.h"

#include <vector>

// "Очистить всю базу": every record taken out. The records are held here as
// the table's own vector, moved out and back in whole, so that clearing and
// restoring a million records costs no copy. Titles and widths stay.
class ClearChange : public RecordChange
{
public:
    explicit ClearChange(TableModel &model);
    // Frees the records it holds off the UI thread.
    ~ClearChange() override;

    void redo() override;
    void undo() override;

private:
    std::vector<Record> m_held;
};
