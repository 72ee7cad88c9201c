#pragma once

#include <QTableView>

class TableModel;

// The record list of the main window: a view that owns no data. Rows are one
// fixed height so that a million of them scroll smoothly; cells are read-only;
// a header click does nothing. Column widths mirror the model's stored widths,
// and a border the user drags obeys each column's minimum and maximum.
//
// Keys as in a spreadsheet: Home and End go to the first and the last record,
// as Ctrl+Home and Ctrl+End do; Shift+F10 asks for the pop-up menu as the
// Menu key does, and either opens it at the selected record. Enter and a
// double-click on a record ask to open it.
class RecordListView : public QTableView
{
    Q_OBJECT

public:
    explicit RecordListView(TableModel *model, QWidget *parent = nullptr);

    // The selected record's row, or -1 when none is selected.
    int selectedRow() const;

    void setTableFont(const QFont &font);

    // Where a pop-up asked for from the keyboard opens, in the viewport's
    // coordinates: below the selected record when it is in view, otherwise
    // at the top left corner.
    QPoint keyboardMenuPoint() const;

signals:
    // Enter, or a double-click with the left button on a record.
    void recordOpenRequested();

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;

private:
    void applyWidth(int column);
    void applyAllWidths();
    void onSectionResized(int column, int oldSize, int newSize);

    TableModel *m_model;
    bool m_applying = false;
};
