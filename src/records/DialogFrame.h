#pragma once

#include <QString>

class QDialog;
class QFont;
class QLineEdit;
class QPushButton;
class QRect;
class QSize;
class QValidator;
class QWidget;

// The frame and the look the record and column-title dialogs share: a fixed
// frame always on top of other windows, centred on the desktop, Verdana text,
// and single-line edit boxes that hold texts of any length.
namespace DialogFrame {

// Verdana of the given point size, measured as on a 96-dpi screen.
QFont verdana(int points);

// Fixed client size, no resizing and no maximise box, always on top, centred
// on the desktop; a minimise box only when asked for.
void fix(QDialog &dialog, const QSize &clientSize, bool minimiseBox);

// An edit box whose text never holds a line break (see SingleLineValidator)
// and is never cut short: a cell of 100,000 characters survives the dialog.
QLineEdit *singleLineEdit(QWidget *parent, const QString &name, const QRect &geometry, QValidator *validator);

// A push button with its name, caption and place.
QPushButton *button(QWidget *parent, const QString &name, const QString &caption, const QRect &geometry);

// A caption shown exactly as given, "&" included, without an access key.
QString plainCaption(const QString &text);

} // namespace DialogFrame
