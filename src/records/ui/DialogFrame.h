#pragma once

#include "document/Record.h"

#include <QString>

#include <array>

class QDialog;
class QFont;
class QLineEdit;
class QPushButton;
class QRect;
class QSize;
class QValidator;
class QWidget;

// What the record and column-title dialogs add to the program's dialog parts
// (base/ui/DialogParts.h): a fixed frame always on top of other windows, smaller
// Verdana in the boxes, and single-line edit boxes that hold texts of any
// length.
namespace DialogFrame {

// Verdana 8 pt, as the boxes and their captions show it.
QFont smallFont();

// Object name, caption, fixed client size and window font; no resizing and no
// maximise box, always on top, centred on the desktop; a minimise box only
// when asked for.
void setUp(QDialog &dialog, const QString &objectName, const QString &caption, const QSize &clientSize,
           bool minimiseBox);

// An edit box whose text never holds a line break (see SingleLineValidator)
// and is never cut short: a cell of 100,000 characters survives the dialog.
QLineEdit *singleLineEdit(QWidget *parent, const QString &name, const QRect &geometry, QValidator *validator);

// The eight edit boxes of a dialog, column 0 first.
using EditBoxes = std::array<QLineEdit *, kColumnCount>;

// Tab runs through the boxes, then the confirming and the cancel button; the
// first box has the focus when the dialog opens.
void orderTabs(const EditBoxes &edits, QPushButton *confirm, QPushButton *cancel);

// What the boxes hold, column 0 first.
Record::Cells texts(const EditBoxes &edits);

// "Отмена": Enter while it has the focus cancels, as Esc does, and never
// confirms what the boxes hold.
QPushButton *cancelButton(QDialog &dialog, const QRect &geometry);

// A caption shown exactly as given, "&" included, without an access key.
QString plainCaption(const QString &text);

} // namespace DialogFrame
