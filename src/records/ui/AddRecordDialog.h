#pragma once

#include "RecordDialog.h"

class ErrorReporter;
class RecordCommands;

// The add dialog, modeless: "Добавить" appends the typed record at the end of
// the table and closes; several may be open at once, each appending its own.
// When the right is refused by then, it stays open with what was typed.
class AddRecordDialog : public RecordDialog
{
    Q_OBJECT

public:
    AddRecordDialog(RecordCommands &commands, ErrorReporter &errors, QWidget *parent = nullptr);

private:
    void onAddRecordClicked();

    RecordCommands &m_commands;
};
