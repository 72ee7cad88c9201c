#pragma once

#include "RecordChange.h"
#include "document/TextReplacement.h"

// A save's "?" in place of the characters the file cannot hold, as the table
// shown took it (TextReplacement). The replacement is made before the file is
// written and only then enters the history, so the first redo() finds it made.
class ReplacementChange : public RecordChange
{
public:
    ReplacementChange(TableModel &model, TextReplacement replacement);

    void redo() override;
    void undo() override;

private:
    TextReplacement m_replacement;
    bool m_made = true;
};
