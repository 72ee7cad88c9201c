#pragma once

#include "Record.h"

#include <QString>

#include <array>
#include <utility>
#include <vector>

// The table of one database: eight columns, each with a title and a width, and
// the records in display order. A plain value: readers build a fresh one and
// the model adopts it only when reading succeeded.
class TableData
{
public:
    struct Column
    {
        QString title;
        int width = 0;
    };

    // Columns at the values the main window is created with.
    TableData();

    static QString initialTitle(int column);
    static int initialWidth(int column);
    static int minimumWidth(int column);
    // 0 when the column has no maximum.
    static int maximumWidth(int column);
    // The width a column stores when asked for w: the minimum for
    // 0 <= w < minimum, the maximum when there is one and w exceeds it,
    // otherwise w itself (negative values included).
    static int constrainedWidth(int column, int w);

    const QString &title(int column) const { return m_columns[column].title; }
    void setTitle(int column, const QString &title) { m_columns[column].title = title; }
    int width(int column) const { return m_columns[column].width; }
    void setWidth(int column, int w) { m_columns[column].width = constrainedWidth(column, w); }

    // A snapshot for another thread to read while this table goes on
    // changing: its records share their texts with this table's instead of
    // copying them (sharingCopy), which keeps it cheap enough to take on the
    // window's thread. Held for long, it would keep the blocks of a table
    // since replaced.
    TableData sharedCopy() const;

    int recordCount() const { return int(m_records.size()); }
    const Record &record(int row) const { return m_records[row]; }
    QStringView cell(int row, int column) const { return m_records[row].cell(column); }

    // Makes room for count records and a share more, so that the first
    // record added after a large table was read or sorted does not move all
    // the others (a million records take over 50 MB).
    void reserve(int count);
    void appendRecord(Record record) { m_records.push_back(std::move(record)); }
    // Adds count empty records, for a reader to fill in place: threads may
    // set records at once (setRecord) as long as each sets rows of its own
    // and nothing else uses the table meanwhile.
    void appendEmptyRecords(int count) { m_records.resize(m_records.size() + size_t(count)); }
    void setRecord(int row, Record record) { m_records[row] = std::move(record); }
    // Moves record in at row, 0 to recordCount().
    void insertRecord(int row, Record record) { m_records.insert(m_records.begin() + row, std::move(record)); }
    // Moves the record at row out of the table.
    Record takeRecord(int row);
    // Puts record at row and hands back the one it replaces.
    Record exchangeRecord(int row, Record record) { return std::exchange(m_records[row], std::move(record)); }
    // Removes every record and hands them over, in order.
    std::vector<Record> takeRecords() { return std::exchange(m_records, {}); }
    // Puts records taken from this table back into it while it holds none:
    // the vector itself moves in, no record is copied.
    void restoreRecords(std::vector<Record> records);

    // Reorders the records: the new row i holds the old row order[i].
    void reorder(const std::vector<int> &order);

    friend bool operator==(const TableData &a, const TableData &b);

private:
    static size_t withRoom(size_t count) { return count + count / 8 + 64; }

    std::array<Column, kColumnCount> m_columns;
    std::vector<Record> m_records;
};
