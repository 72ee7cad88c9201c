#include "ClearChange.h"

#include "document/TableModel.h"

ClearChange::ClearChange(TableModel &model)
    : RecordChange(model, QStringLiteral("очистку базы"))
{
}

ClearChange::~ClearChange()
{
    model().discard(std::move(m_held));
}

void ClearChange::redo()
{
    m_held = model().takeRecords();
}

void ClearChange::undo()
{
    model().restoreRecords(std::exchange(m_held, {}));
}
