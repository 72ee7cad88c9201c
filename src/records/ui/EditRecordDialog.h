#pragma once

#include "RecordDialog.h"

class ErrorReporter;
class RecordAnchor;
class RecordCommands;

// The edit dialog, filled with the cells of the record at the row it is
// opened on. Modeless for editing: "Изменить" writes the boxes into that same
// record, wherever sorts, other records' changes, undo and redo have moved it
// meanwhile, and closes; when the record is gone, or the right is refused, it
// stays open with what was typed. In view mode (modal) only "OK" shows, and
// nothing typed is kept.
class EditRecordDialog : public RecordDialog
{
    Q_OBJECT

public:
    EditRecordDialog(RecordCommands &commands, ErrorReporter &errors, int row, QWidget *parent = nullptr);

    void setViewMode();

private:
    void onChangeRecordClicked();

    RecordCommands &m_commands;
    RecordAnchor *m_record;
    QPushButton *m_okButton;
};
