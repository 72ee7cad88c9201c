#include "RecordChange.h"

RecordChange::RecordChange(TableModel &model, const QString &name)
    : QUndoCommand(name)
    , m_model(model)
{
}
