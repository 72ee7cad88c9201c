#pragma once

#include <QString>

#include <functional>

class DesktopServices;
class ErrorReporter;
class ProgramDir;
class QWidget;
class Settings;

// The main window's commands that open the user manager and the program
// settings, each after the administrative form of the rights check.
namespace AdminCommands {

// "Менеджер": the user manager, shown modally. messageCaption is the caption
// of its plain message boxes.
void openUserManager(Settings &settings, DesktopServices &desktop, ErrorReporter &errors, const ProgramDir &dir,
                     const QString &role, const QString &messageCaption, QWidget *parent);

// "Общие настройки программы": the settings dialog, shown modally; then,
// whichever way it closed, applyTableLook takes the table's font and
// alignment from the files again (a hand edit of config.ini included).
void openProgramSettings(Settings &settings, DesktopServices &desktop, ErrorReporter &errors, const ProgramDir &dir,
                         const QString &role, QWidget *parent, const std::function<void()> &applyTableLook);

} // namespace AdminCommands
