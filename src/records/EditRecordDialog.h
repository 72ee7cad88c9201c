#pragma once

#include "RecordDialog.h"

class ErrorReporter;
class RecordCommands;

// The edit dialog, filled with a record's cells. Modeless for editing:
// "Изменить" writes the boxes into the record selected in the list at that
// moment and closes; with none selected it tells the user and stays open.
// In view mode (modal) only "OK" shows, and nothing typed is kept.
class EditRecordDialog : public RecordDialog
{
    Q_OBJECT

public:
    EditRecordDialog(RecordCommands &commands, ErrorReporter &errors, const Record &record, QWidget *parent = nullptr);

    void setViewMode();

private:
    void onChangeRecordClicked();

    RecordCommands &m_commands;
    QPushButton *m_okButton;
};
