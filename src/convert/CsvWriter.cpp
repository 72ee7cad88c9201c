#include "CsvWriter.h"

#include "Progress.h"
#include "Utf8.h"
#include "document/TableData.h"

#include <array>
#include <cstring>

namespace {

// The characters that make a cell quoted wherever they stand.
constexpr std::array<bool, 128> kQuoted = [] {
    std::array<bool, 128> quoted {};
    for (const char c : {'"', ',', ';', '\t', '\r', '\n'})
        quoted[size_t(c)] = true;
    return quoted;
}();

// Appends one cell; out has room for 3 bytes per character and 3 more. The
// text is written one byte further on while the characters tell whether the
// cell needs quotes (a quote, written doubled, always does), so each
// character is looked at once; an unquoted cell then moves back by that byte.
char *appendCell(char *out, QStringView cell)
{
    char *const quote = out++;
    bool quoted = !cell.isEmpty() && (cell.front() == u' ' || cell.back() == u' ');
    const char16_t *in = cell.utf16();
    const char16_t *const end = in + cell.size();
    for (; in < end; ++in) {
        const char16_t c = *in;
        if (c < 0x80) {
            if (kQuoted[c]) {
                quoted = true;
                if (c == u'"')
                    *out++ = '"';
            }
            *out++ = char(c);
        } else if (c < 0x800) { // Cyrillic among them
            out[0] = char(0xC0 | (c >> 6));
            out[1] = char(0x80 | (c & 0x3F));
            out += 2;
        } else {
            const qsizetype units = QChar::isHighSurrogate(c) && in + 1 < end && QChar::isLowSurrogate(in[1]) ? 2 : 1;
            out = Utf8::encodeInto(out, QStringView(in, units));
            in += units - 1;
        }
    }
    if (quoted) {
        *quote = '"';
        *out++ = '"';
        return out;
    }
    std::memmove(quote, quote + 1, size_t(out - quote - 1));
    return out - 1;
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
    const auto appendRow = [&](auto cellAt) {
        for (int c = 0; c < kColumnCount; ++c) {
            if (c > 0)
                *out++ = delimiter;
            out = appendCell(out, cellAt(c));
        }
        *out++ = '\r';
        *out++ = '\n';
    };
    appendRow(title);
    for (int row = 0; row < table.recordCount(); ++row) {
        appendRow([&](int c) { return table.cell(row, c); });
        if (progress && row % Progress::kRecordsPerReport == 0)
            progress->advance(row, table.recordCount());
    }
    if (progress)
        progress->advance(1, 1);
    text.truncate(out - begin);
    return text;
}

} // namespace CsvWriter
