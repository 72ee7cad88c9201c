#pragma once

#include "DialogFrame.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

// The body the add and the edit dialog share: eight group boxes captioned
// with the column titles given when the dialog is created, each holding one
// single-line edit box ("columnEdit0" the number cell, "columnEdit1" to
// "columnEdit7" cells 1 to 7), the confirming button (Enter) and "Отмена"
// (Esc). The number cell's box has the focus when the dialog opens.
class RecordDialog : public QDialog
{
    Q_OBJECT

public:
    void setCells(const Record &record);
    Record::Cells cells() const;

protected:
    RecordDialog(const Record::Cells &titles, const QString &objectName, const QString &caption,
                 const QString &confirmCaption, const QSize &clientSize, QWidget *parent);

    QPushButton *m_confirmButton;
    QPushButton *m_cancelButton;

private:
    DialogFrame::EditBoxes m_edits{};
};
