#pragma once

#include "DialogFrame.h"

#include <QDialog>

class ErrorReporter;
class QLineEdit;
class QPushButton;
class RecordCommands;

// The column titles dialog, modeless. Its boxes, one per column from the
// number column on, are filled once, when it opens; "OK" writes them into
// the table it was opened on, and closes. Once another table has replaced
// that one, or when the right is refused, "OK" changes nothing and the dialog
// stays open with what was typed.
class ColumnTitlesDialog : public QDialog
{
    Q_OBJECT

public:
    ColumnTitlesDialog(RecordCommands &commands, ErrorReporter &errors, QWidget *parent = nullptr);

    Record::Cells titles() const;

private:
    void onApplyTitlesClicked();

    RecordCommands &m_commands;
    quint64 m_table; // TableModel::tableNumber of the table it was opened on
    DialogFrame::EditBoxes m_edits{};
    QPushButton *m_okButton;
    QPushButton *m_cancelButton;
};
