#pragma once

#include "document/CsvOptions.h"

#include <QByteArrayView>
#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

// The options of the import from CSV, with the first rows of the file as
// they would be read: the delimiter and the encoding (set to what the text
// seems to use), whether the first row holds the column titles, and whether
// the apostrophe an export put before formulas is taken off. A problem in
// the rows shown is told under them, and OK waits until the options cure it.
// Line breaks inside cells always become spaces.
class CsvImportDialog : public QDialog
{
    Q_OBJECT

public:
    // How many rows the preview shows.
    static constexpr int kPreviewRows = 20;

    // text: the file's bytes, which must outlive the dialog; fileName for its caption.
    CsvImportDialog(QByteArrayView text, const QString &fileName, QWidget *parent = nullptr);

    void setOptions(const CsvReadOptions &options);
    CsvReadOptions options() const;

private:
    void showPreview();

    QByteArrayView m_text;
    QComboBox *m_delimiterBox;
    QComboBox *m_encodingBox;
    QCheckBox *m_titlesBox;
    QCheckBox *m_removeMarksBox;
    QTableWidget *m_previewTable;
    QLabel *m_problemLabel;
    QPushButton *m_okButton;
};
