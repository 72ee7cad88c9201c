#include "CsvWriter.h"

#include "Progress.h"
#include "document/TableData.h"

#include <QStringEncoder>

namespace {

// Records between two progress reports.
constexpr int kProgressStep = 65536;

bool needsQuotes(QStringView cell)
{
    if (cell.isEmpty())
        return false;
    if (cell.front() == u' ' || cell.back() == u' ')
        return true;
    for (const QChar c : cell) {
        switch (c.unicode()) {
        case u'"':
        case u',':
        case u';':
        case u'\t':
        case u'\r':
        case u'\n':
            return true;
        default:
            break;
        }
    }
    return false;
}

// Appends one cell; out has room for 3 bytes per character and 3 more.
char *appendCell(char *out, QStringView cell, QStringEncoder &utf8)
{
    if (!needsQuotes(cell))
        return utf8.appendToBuffer(out, cell);
    *out++ = '"';
    for (qsizetype quote; (quote = cell.indexOf(u'"')) >= 0; cell = cell.mid(quote + 1)) {
        out = utf8.appendToBuffer(out, cell.left(quote));
        *out++ = '"';
        *out++ = '"';
    }
    out = utf8.appendToBuffer(out, cell);
    *out++ = '"';
    return out;
}

// Room for a row of these cells: UTF-8 takes at most 3 bytes per UTF-16 unit,
// and a doubled quote 2 bytes for its one character.
template<typename Cell>
qsizetype rowRoom(Cell cellAt)
{
    qsizetype room = 2;
    for (int c = 0; c < kColumnCount; ++c)
        room += 3 * cellAt(c).size() + 3;
    return room;
}

} // namespace

namespace CsvWriter {

QByteArray write(const TableData &table, char delimiter, Progress *progress)
{
    const auto title = [&](int c) { return QStringView(table.title(c)); };
    // Room for the worst case; pages the text never reaches are never touched.
    qsizetype room = rowRoom(title);
    for (int row = 0; row < table.recordCount(); ++row)
        room += rowRoom([&](int c) { return table.cell(row, c); });

    QByteArray text(room, Qt::Uninitialized);
    char *const begin = text.data();
    char *out = begin;
    QStringEncoder utf8(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    const auto appendRow = [&](auto cellAt) {
        for (int c = 0; c < kColumnCount; ++c) {
            if (c > 0)
                *out++ = delimiter;
            out = appendCell(out, cellAt(c), utf8);
        }
        *out++ = '\r';
        *out++ = '\n';
    };
    appendRow(title);
    for (int row = 0; row < table.recordCount(); ++row) {
        appendRow([&](int c) { return table.cell(row, c); });
        if (progress && row % kProgressStep == 0)
            progress->advance(row, table.recordCount());
    }
    text.truncate(out - begin);
    return text;
}

} // namespace CsvWriter
