#pragma once

#include "TableData.h"

#include <QAbstractTableModel>
#include <QFuture>

// The table shown in the main window's list. It owns the records and column
// settings; every change goes through it so that views hear about it.
class TableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit TableModel(QObject *parent = nullptr);
    // Waits until the records it gave away to be freed are freed.
    ~TableModel() override;

    const TableData &table() const { return m_table; }
    int recordCount() const { return m_table.recordCount(); }

    // Replaces the whole table, columns included (a read, New).
    void replaceTable(TableData table);
    // Which table is shown: each replaceTable shows a new one. Something kept
    // for the table of one number never belongs to another.
    quint64 tableNumber() const { return m_tableNumber; }

    // Changes of single records, the records moved in and out, never
    // copied, so that taking a change back costs no more than making it.
    void insertRecord(int row, Record record);
    Record takeRecord(int row);
    Record exchangeRecord(int row, Record record);
    std::vector<Record> takeRecords();
    // Into an empty table only; one insertion of all rows.
    void restoreRecords(std::vector<Record> records);

    // Frees records off the UI thread, on the work pool: a million of them
    // take a tenth of a second and more to free. Nothing else may refer to
    // them. One task frees at a time: the records given before are freed
    // first, so loads in a row cannot pile up tables.
    void discard(std::vector<Record> records);

    void setTitle(int column, const QString &title);
    // Follows the width rule of TableData::constrainedWidth.
    void setWidth(int column, int width);

    // One alignment for all eight columns.
    Qt::Alignment alignment() const { return m_alignment; }
    void setAlignment(Qt::Alignment horizontal);

    // Reorders the rows (new row i is old row order[i]) and keeps persistent
    // indexes, the selection included, on their records.
    void reorder(const std::vector<int> &order);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

signals:
    // A column's stored width changed; after a reset every width may have.
    void columnWidthChanged(int column);
    // replaceTable put another table in place of the one shown (New, a load).
    void tableReplaced();

private:
    TableData m_table;
    QFuture<void> m_freeing;
    Qt::Alignment m_alignment = Qt::AlignLeft;
    quint64 m_tableNumber = 0;
};
