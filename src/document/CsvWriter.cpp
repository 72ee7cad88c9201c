#include "CsvWriter.h"

#include "CsvFormulas.h"
#include "DatabaseCodec.h"
#include "TableData.h"
#include "base/MemoryPages.h"
#include "base/Parallel.h"
#include "base/SafeWrite.h"
#include "base/Utf8.h"
#include "base/WorkProgress.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <vector>

namespace {

constexpr QByteArrayView kByteOrderMark("\xEF\xBB\xBF");
// Records a part writes between two reports of its progress.
constexpr int kRecordsPerReport = 16384;
// Where the formatting ends on the progress bar; the file's write and sync
// take the rest.
constexpr int kFormatted = 850;

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

// Whether one of the four 16-bit lanes of word is c.
inline bool holdsUnit(quint64 word, char16_t c)
{
    constexpr quint64 kOnes = 0x0001000100010001ULL;
    const quint64 x = word ^ (kOnes * c);
    return ((x - kOnes) & ~x & (kOnes << 15)) != 0;
}

// Four characters at in as UTF-8 where all four take the same number of
// bytes, one or two, and none makes the cell quoted: the bytes written, or
// 0 when the four are not so.
inline int appendFour(char *out, const char16_t *in)
{
    quint64 word;
    std::memcpy(&word, in, sizeof word);
    if ((word & 0xFF80FF80FF80FF80ULL) == 0) {
        if (holdsUnit(word, u'"') || holdsUnit(word, u',') || holdsUnit(word, u';') || holdsUnit(word, u'\t')
            || holdsUnit(word, u'\r') || holdsUnit(word, u'\n'))
            return 0;
        for (int i = 0; i < 4; ++i)
            out[i] = char(in[i]);
        return 4;
    }
    // U+0080 to U+07FF in every lane: a lead and a continuation byte each.
    if ((word & 0xF800F800F800F800ULL) == 0
        && (((word & 0x0780078007800780ULL) + 0x7FFF7FFF7FFF7FFFULL) & 0x8000800080008000ULL)
            == 0x8000800080008000ULL) {
        const quint64 bytes = (((word >> 6) & 0x001F001F001F001FULL) | 0x00C000C000C000C0ULL)
            | (((word & 0x003F003F003F003FULL) << 8) | 0x8000800080008000ULL);
        std::memcpy(out, &bytes, sizeof bytes);
        return 8;
    }
    return 0;
}

// The cell as it stands, or nullptr when a character makes it quoted.
char *appendPlainCell(char *out, QStringView cell)
{
    const char16_t *in = cell.utf16();
    const char16_t *const end = in + cell.size();
    while (in < end) {
        if (end - in >= 4) {
            if (const int written = appendFour(out, in)) {
                out += written;
                in += 4;
                continue;
            }
        }
        if (isQuoted(*in))
            return nullptr;
        out = appendCharacter(out, in, end);
        ++in;
    }
    return out;
}

char *appendQuotedCell(char *out, QStringView cell, bool marked)
{
    *out++ = '"';
    if (marked)
        *out++ = char(CsvFormulas::kMark);
    const char16_t *const end = cell.utf16() + cell.size();
    for (const char16_t *in = cell.utf16(); in < end; ++in) {
        if (*in == u'"')
            *out++ = '"';
        out = appendCharacter(out, in, end);
    }
    *out++ = '"';
    return out;
}

// Room for a row of these cells: UTF-8 takes at most 3 bytes per UTF-16 unit
// and a doubled quote 2 bytes for its one character; a cell adds at most two
// quotes, a mark and a delimiter.
template<typename Cell>
qsizetype rowRoom(Cell cellAt)
{
    qsizetype room = 2;
    for (int c = 0; c < kColumnCount; ++c)
        room += 3 * cellAt(c).size() + 4;
    return room;
}

class RowFormatter
{
public:
    explicit RowFormatter(const CsvWriteOptions &options)
        : m_delimiter(options.delimiter)
        , m_protect(options.protectFormulas)
    {
    }

    // Appends one row of cells and returns the end; out has rowRoom bytes.
    template<typename Cell>
    char *appendRow(char *out, Cell cellAt) const
    {
        for (int c = 0; c < kColumnCount; ++c) {
            if (c > 0)
                *out++ = m_delimiter;
            out = appendCell(out, cellAt(c));
        }
        *out++ = '\r';
        *out++ = '\n';
        return out;
    }

private:
    // Most cells need no quotes, so a cell is written as it stands until a
    // character says otherwise, and then written again in quotes.
    char *appendCell(char *out, QStringView cell) const
    {
        const bool marked = m_protect && CsvFormulas::needsMark(cell);
        // A cell that starts with U+FEFF is quoted, so that as the first of
        // the text it is not taken for the byte order mark.
        const bool quotedForItsEnds =
            !cell.isEmpty() && (cell.front() == u' ' || cell.back() == u' ' || cell.front() == u'\uFEFF');
        if (!quotedForItsEnds) {
            char *plain = out;
            if (marked)
                *plain++ = char(CsvFormulas::kMark);
            if (char *end = appendPlainCell(plain, cell))
                return end;
        }
        return appendQuotedCell(out, cell, marked);
    }

    char m_delimiter;
    bool m_protect;
};

// The text of the records [begin, end), with the byte order mark and the
// titles first for the first part.
QByteArray writePart(const TableData &table, const CsvWriteOptions &options, int begin, int end, bool first,
                     WorkProgress *progress)
{
    const RowFormatter formatter(options);
    const auto title = [&](int c) { return QStringView(table.title(c)); };
    // Room for the worst case; pages the text never reaches are never touched.
    qsizetype room = first ? kByteOrderMark.size() + rowRoom(title) : 0;
    for (int row = begin; row < end; ++row)
        room += rowRoom([&](int c) { return table.cell(row, c); });
    QByteArray text(room, Qt::Uninitialized);
    char *const start = text.data();
    MemoryPages::preferLarge(start, size_t(room));
    char *out = start;
    if (first && options.byteOrderMark) {
        std::memcpy(out, kByteOrderMark.data(), size_t(kByteOrderMark.size()));
        out += kByteOrderMark.size();
    }
    if (first)
        out = formatter.appendRow(out, title);
    int reported = begin;
    for (int row = begin; row < end; ++row) {
        out = formatter.appendRow(out, [&](int c) { return table.cell(row, c); });
        if (progress && (row + 1 - begin) % kRecordsPerReport == 0) {
            progress->advance(row + 1 - reported);
            reported = row + 1;
            progress->throwIfStopped();
        }
    }
    if (progress)
        progress->advance(end - reported);
    text.truncate(out - start);
    return text;
}

std::vector<QByteArray> writeParts(const TableData &table, const CsvWriteOptions &options, int parts,
                                   WorkProgress *progress)
{
    parts = std::max(parts, 1);
    std::vector<QByteArray> texts(static_cast<size_t>(parts));
    const qint64 records = table.recordCount();
    Parallel::forEachPart(parts, [&](int part) {
        texts[size_t(part)] = writePart(table, options, int(records * part / parts), int(records * (part + 1) / parts),
                                        part == 0, progress);
    });
    return texts;
}

int partsFor(const TableData &table)
{
    return Parallel::partsFor(table.recordCount(), 8192);
}

} // namespace

namespace CsvWriter {

QByteArray write(const TableData &table, const CsvWriteOptions &options, WorkProgress *progress)
{
    return write(table, options, partsFor(table), progress);
}

QByteArray write(const TableData &table, const CsvWriteOptions &options, int parts, WorkProgress *progress)
{
    if (progress)
        progress->beginStage(WorkProgress::kScale, table.recordCount());
    std::vector<QByteArray> texts = writeParts(table, options, parts, progress);
    if (texts.size() == 1)
        return std::move(texts.front());
    qsizetype size = 0;
    for (const QByteArray &text : texts)
        size += text.size();
    QByteArray whole;
    whole.reserve(size);
    for (QByteArray &text : texts) {
        whole.append(text);
        text = QByteArray();
    }
    return whole;
}

void writeFile(const QString &path, const TableData &table, const CsvWriteOptions &options, WorkProgress *progress)
{
    if (progress)
        progress->beginStage(kFormatted, table.recordCount());
    const std::vector<QByteArray> texts = writeParts(table, options, partsFor(table), progress);
    std::vector<qint64> offsets{0};
    for (const QByteArray &text : texts)
        offsets.push_back(offsets.back() + text.size());
    if (progress) {
        progress->throwIfStopped();
        progress->beginStage(WorkProgress::kScale, offsets.back());
    }
    const std::optional<QString> failure = SafeWrite::replaceFile(
        path, offsets.back(),
        [&](int fd) {
            std::vector<int> errors(texts.size(), 0);
            Parallel::forEachPart(int(texts.size()), [&](int part) {
                if (progress && progress->stopRequested()) {
                    errors[size_t(part)] = ECANCELED;
                    return;
                }
                errors[size_t(part)] = SafeWrite::writeAt(fd, offsets[size_t(part)], texts[size_t(part)]);
                if (progress)
                    progress->advance(texts[size_t(part)].size());
            });
            for (const int error : errors) {
                if (error != 0)
                    return error;
            }
            // A stop asked for while the last bytes went out still keeps
            // the file from taking the target's place.
            return progress && progress->stopRequested() ? ECANCELED : 0;
        },
        SafeWrite::InPlace::Never);
    if (failure && progress && progress->stopRequested())
        throw WorkStopped();
    if (failure)
        throw DatabaseCodec::writeFailure(path, *failure);
}

} // namespace CsvWriter
