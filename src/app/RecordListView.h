#pragma once

#include <QTableView>

class TableModel;

// The record list of the main window: a view that owns no data. Rows are one
// fixed height so that a million of them scroll smoothly; cells are read-only;
// a header click does nothing. Column widths mirror the model's stored widths,
// and a border the user drags obeys each column's minimum and maximum.
class RecordListView : public QTableView
{
    Q_OBJECT

public:
    explicit RecordListView(TableModel *model, QWidget *parent = nullptr);

    // The selected record's row, or -1 when none is selected.
    int selectedRow() const;

    void setTableFont(const QFont &font);

private:
    void applyWidth(int column);
    void applyAllWidths();
    void onSectionResized(int column, int oldSize, int newSize);

    TableModel *m_model;
    bool m_applying = false;
};
