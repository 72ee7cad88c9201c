#include "ReplacementChange.h"

ReplacementChange::ReplacementChange(TableModel &model, TextReplacement replacement)
    : RecordChange(model, QStringLiteral("замену символов знаком \"?\""))
    , m_replacement(std::move(replacement))
{
}

void ReplacementChange::redo()
{
    if (m_made)
        m_made = false;
    else
        m_replacement.swap(model());
}

void ReplacementChange::undo()
{
    m_replacement.swap(model());
}
