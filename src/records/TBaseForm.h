#pragma once

#include "DialogFrame.h"

#include <QDialog>

class ErrorReporter;
class QLineEdit;
class QPushButton;
class RecordCommands;

// The column titles dialog, modeless. Its boxes are filled once, when it
// opens (Edit1 the number column, Edit2 to Edit8 columns 1 to 7); "OK" writes
// them into whatever table the main window holds then, and closes.
class TBaseForm : public QDialog
{
    Q_OBJECT

public:
    TBaseForm(RecordCommands &commands, ErrorReporter &errors, QWidget *parent = nullptr);

    Record::Cells titles() const;

private:
    void BitBtn1Click();

    RecordCommands &m_commands;
    DialogFrame::EditBoxes m_edits{};
    QPushButton *BitBtn1;
    QPushButton *BitBtn2;
};
