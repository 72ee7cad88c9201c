#pragma once

#include "DialogFrame.h"

#include <QDialog>

class ErrorReporter;
class QLineEdit;
class QPushButton;
class RecordCommands;

// The column titles dialog, modeless. Its boxes, one per column from the
// number column on, are filled once, when it opens; "OK" writes them into
// whatever table the main window holds then, and closes.
class ColumnTitlesDialog : public QDialog
{
    Q_OBJECT

public:
    ColumnTitlesDialog(RecordCommands &commands, ErrorReporter &errors, QWidget *parent = nullptr);

    Record::Cells titles() const;

private:
    void onApplyTitlesClicked();

    RecordCommands &m_commands;
    DialogFrame::EditBoxes m_edits{};
    QPushButton *m_okButton;
    QPushButton *m_cancelButton;
};
