#pragma once

#include <QRect>
#include <QString>

#include <functional>

class DesktopServices;
class ErrorReporter;
class QDialog;
class QDialogButtonBox;
class QPushButton;
class QWidget;

// The pieces the program's dialogs are built from.
namespace DialogParts {

// A dialog's caption, its fixed client size and its font ("Verdana", 13
// pixels high).
void setUpDialog(QDialog &dialog, const QString &objectName, const QString &caption, QSize clientSize);

// Places the dialog, frame and all, at the centre of the desktop. Its size
// and window flags must be final: the native window is made here.
void centreOnDesktop(QDialog &dialog);

// A push button at a fixed place. It never becomes the default button by
// taking the focus: Enter presses only the button a dialog names as default.
QPushButton *button(QWidget *parent, const QString &objectName, const QString &text, const QRect &geometry);

// "OK" and "Отмена" at the foot of a laid-out dialog (objects "buttons",
// "okButton" and "cancelButton"), accepting and rejecting it.
QDialogButtonBox *okCancelButtons(QDialog &dialog);

// Runs the handler through the error reporter whenever the button is clicked.
void onClick(QPushButton *button, ErrorReporter &errors, std::function<void()> handler);

// Whether the value of the named field would not read back from a settings
// file exactly as it is (ProfileFile::unstorableReason). If so, the user is
// told after a beep which field and why, in a box with the caption, and
// nothing is written: the dialog stays as it is.
bool refuseUnstorable(DesktopServices &desktop, const QString &caption, const QString &field, const QString &value);

} // namespace DialogParts
