#pragma once

#include <QDialog>
#include <QFont>
#include <QImage>
#include <QRect>

#include <memory>

class PageIndex;
class PrintFont;
class QComboBox;
class QLabel;
class QScrollArea;
class QSpinBox;
class QTimer;
template<typename T>
class QFutureWatcher;
class QToolButton;
class TableData;

// "Предварительный просмотр": the pages of a table as the print command lays
// them out on the default printer, one at a time, drawn when shown; page
// navigation, zoom, and "Печать..." (which accepts the dialog, for the
// caller to print). It opens at once whatever the table's size: the pages
// are counted on the work pool meanwhile (PageIndex), and pages not counted
// yet cannot be reached. The table must not change while the dialog is open;
// the count ends with the dialog.
class PrintPreviewDialog : public QDialog
{
    Q_OBJECT

public:
    PrintPreviewDialog(const TableData &table, const QFont &font, QWidget *parent = nullptr);
    ~PrintPreviewDialog() override;

    static QString caption();

    // The pages known so far.
    int pageCount() const;
    void showPage(int page);

protected:
    // A zoom that fits the page follows the size of the room it has.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onCountProgress(int thousandths);
    void onCounted();
    void onZoomChosen();
    void updateControls();
    double scale() const;
    QImage drawPage(int page) const;

    std::unique_ptr<PageIndex> m_index;
    std::unique_ptr<PrintFont> m_printFont;
    QFont m_font;
    int m_dpi = 0;
    QRect m_paper; // device units
    QRect m_printable; // device units, inside m_paper
    int m_page = 0;

    QToolButton *m_firstButton;
    QToolButton *m_previousButton;
    QToolButton *m_nextButton;
    QToolButton *m_lastButton;
    QSpinBox *m_pageBox;
    QLabel *m_countLabel;
    QComboBox *m_zoomBox;
    QLabel *m_indexLabel;
    QScrollArea *m_scroll;
    QLabel *m_sheet;
    QFutureWatcher<void> *m_counting;
    QTimer *m_fitTimer;
};
