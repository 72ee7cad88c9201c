#pragma once

#include "RecordForm.h"

class ErrorReporter;
class RecordCommands;

// The add dialog, modeless: "Добавить" appends the typed record at the end of
// the table and closes; several may be open at once, each appending its own.
class TAddForm : public RecordForm
{
    Q_OBJECT

public:
    TAddForm(RecordCommands &commands, ErrorReporter &errors, QWidget *parent = nullptr);

private:
    void BitBtn1Click();

    RecordCommands &m_commands;
};
