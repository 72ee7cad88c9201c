#pragma once

#include "base/Counts.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>
#include <vector>

class Progress;
class Record;
class TableData;

// Reads delimited UTF-8 text as CsvWriter writes it and as spreadsheet
// programs do (RFC 4180): cells are split at the delimiter, rows end at CR LF,
// LF or a lone CR, and a cell in double quotes may hold the delimiter, line
// breaks and doubled quotes. A quote inside an unquoted cell is taken as it
// is. A leading UTF-8 byte order mark is skipped.
//
// The first row gives the column titles, every further row one record, an
// empty line included. A row of fewer than eight cells gets empty ones.
// Every failure is a ConvertError naming the file and the line: a row of
// more than eight cells, a quoted cell that is not closed or is followed by
// more text, text that is not UTF-8, and a cell holding a line break unless
// breaks are replaced by spaces (a CR LF is one break). The widths of the
// table read are those of a fresh TableData.
class CsvReader
{
public:
    // fileName names the input in messages.
    CsvReader(QString fileName, char delimiter, bool replaceBreaks);

    TableData read(QByteArrayView text, Progress *progress = nullptr);

    // A cell as messages name it, counting from 1: "record 3, column 2", or
    // for record -1 "the title of column 2".
    static QString cellName(int record, int column);

private:
    // Reads one row into m_cells; record is the row's record index, or -1
    // for the titles. Returns the number of cells.
    int readRow(int record);
    QByteArrayView plainCell();
    QByteArrayView quotedCell(int column, int record, qint64 rowLine);
    void skipLineBreak();
    // The cells of the row just read, as text; throws when they are not UTF-8.
    QString decodeCell(int column, int count, qint64 rowLine);
    Record decodeRecord(int count, qint64 rowLine);
    [[noreturn]] void fail(qint64 line, const QString &what) const;

    QString m_fileName;
    char m_delimiter;
    bool m_replaceBreaks;
    // Bytes that end an unquoted cell, and those that end a piece of a quoted one.
    std::array<bool, 256> m_endsPlain{};
    std::array<bool, 256> m_endsQuoted{};

    const char *m_pos = nullptr;
    const char *m_end = nullptr;
    qint64 m_line = 1;
    std::array<QByteArrayView, kColumnCount> m_cells;
    // A quoted cell whose doubled quotes or breaks were rewritten.
    std::array<QByteArray, kColumnCount> m_rewritten;
    std::vector<QChar> m_chars;
};
