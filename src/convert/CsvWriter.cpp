#include "CsvWriter.h"

#include "Progress.h"
#include "Utf8.h"
#include "document/TableData.h"

#include <array>

namespace {

// The characters that make a cell quoted wherever they stand.
constexpr std::array<bool, 128> kQuoted = [] {
    std::array<bool, 128> quoted{};
    for (const char c : {'"', ',', ';', '\t', '\r', '\n'})
        quoted[size_t(c)] = true;
    return quoted;
}();

inline bool isQuoted(char16_t c)
{
    return c < 128 && kQuoted[c];
}

// Writes the character at in (two units for a surrogate pair) as UTF-8 and
// returns the end; in moves to its last unit. Cyrillic and ASCII, nearly
// every character of a database, take the branch-free first case.
inline char *appendCharacter(char *out, const char16_t *&in, const char16_t *end)
{
    const char16_t c = *in;
    if (c < 0x800) {
        const bool twoBytes = c >= 0x80;
        out[0] = char(twoBytes ? 0xC0 | (c >> 6) : c);
        out[1] = char(0x80 | (c & 0x3F));
        return out + 1 + twoBytes;
    }
    const qsizetype units = QChar::isHighSurrogate(c) && in + 1 < end && QChar::isLowSurrogate(in[1]) ? 2 : 1;
    out = Utf8::encodeInto(out, QStringView(in, units));
    in += units - 1;
    return out;
}

// The cell as it stands, or nullptr when a character makes it quoted.
char *appendPlainCell(char *out, QStringView cell)
{
    const char16_t *const end = cell.utf16() + cell.size();
    for (const char16_t *in = cell.utf16(); in < end; ++in) {
        if (isQuoted(*in))
            return nullptr;
        out = appendCharacter(out, in, end);
    }
    return out;
}

char *appendQuotedCell(char *out, QStringView cell)
{
    *out++ = '"';
    const char16_t *const end = cell.utf16() + cell.size();
    for (const char16_t *in = cell.utf16(); in < end; ++in) {
        if (*in == u'"')
            *out++ = '"';
        out = appendCharacter(out, in, end);
    }
    *out++ = '"';
    return out;
}

// Appends one cell; out has room for 3 bytes per character and 3 more. Most
// cells need no quotes, so a cell is written as it stands until a character
// says otherwise, and then written again in quotes.
char *appendCell(char *out, QStringView cell)
{
    const bool spaceAtAnEnd = !cell.isEmpty() && (cell.front() == u' ' || cell.back() == u' ');
    if (!spaceAtAnEnd) {
        if (char *end = appendPlainCell(out, cell))
            return end;
    }
    return appendQuotedCell(out, cell);
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
