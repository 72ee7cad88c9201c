#pragma once

#include "RecordChange.h"

#include <vector>

// A sort: the new row order (new row i is old row order[i]) and, for the way
// back, its inverse; the table itself is never copied. It leaves the modified
// flag alone and needs no right, as the sort does.
class SortChange : public RecordChange
{
public:
    SortChange(TableModel &model, std::vector<int> order);

    bool changesData() const override { return false; }
    bool needsEditRight() const override { return false; }

    void redo() override;
    void undo() override;

private:
    std::vector<int> m_order;
};
