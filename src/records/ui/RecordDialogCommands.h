#pragma once

class DesktopServices;
class ErrorReporter;
class QWidget;
class RecordCommands;

// Opens the record and column-title dialogs for the main window's commands,
// once the command's tests have passed. The add, edit and column-title
// dialogs are modeless: the window owns each until it is closed, and then it
// is deleted. The view dialog is modal and lives only while it is shown.
class RecordDialogCommands
{
public:
    RecordDialogCommands(RecordCommands &commands, DesktopServices &desktop, ErrorReporter &errors, QWidget *owner);

    void openAdd();
    void openEdit();
    void openView();
    void openColumnTitles();

private:
    void showModeless(QWidget *dialog);

    RecordCommands &m_commands;
    DesktopServices &m_desktop;
    ErrorReporter &m_errors;
    QWidget *m_owner;
};
