#pragma once

#include "DialogFrame.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

// The body the add and the edit dialog share: eight group boxes captioned
// with the column titles given when the dialog is created, each holding one
// single-line edit box (Edit1 the number cell, Edit2 to Edit8 cells 1 to 7),
// the confirming button BitBtn1 (Enter) and "Отмена" BitBtn2 (Esc). Edit1
// has the focus when the dialog opens.
class RecordForm : public QDialog
{
    Q_OBJECT

public:
    void setCells(const Record &record);
    Record::Cells cells() const;

protected:
    RecordForm(const Record::Cells &titles, const QString &objectName, const QString &caption,
               const QString &confirmCaption, const QSize &clientSize, QWidget *parent);

    QPushButton *BitBtn1;
    QPushButton *BitBtn2;

private:
    DialogFrame::EditBoxes m_edits{};
};
