#include "SortChange.h"

#include "document/TableModel.h"

SortChange::SortChange(TableModel &model, std::vector<int> order)
    : RecordChange(model, QStringLiteral("сортировку"))
    , m_order(std::move(order))
{
}

void SortChange::redo()
{
    model().reorder(m_order);
}

void SortChange::undo()
{
    std::vector<int> inverse(m_order.size());
    for (size_t to = 0; to < m_order.size(); ++to)
        inverse[size_t(m_order[to])] = int(to);
    model().reorder(inverse);
}
