#pragma once

#include "document/CsvOptions.h"

#include <QDialog>

class QCheckBox;
class QRadioButton;

// The options of the export to CSV: the delimiter, the UTF-8 byte order mark
// and the protection of cells that spreadsheets would run as formulas.
// Choosing a delimiter sets the mark as spreadsheets want it: on for the
// semicolon, which those in Russian locales read, off for the others.
class CsvExportDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CsvExportDialog(QWidget *parent = nullptr);

    void setOptions(const CsvWriteOptions &options);
    CsvWriteOptions options() const;

private:
    void onDelimiterChosen(char delimiter);

    QRadioButton *m_commaButton;
    QRadioButton *m_semicolonButton;
    QRadioButton *m_tabButton;
    QCheckBox *m_byteOrderMarkBox;
    QCheckBox *m_protectFormulasBox;
};
