#include "CsvWriter.h"

#include "CsvFormulas.h"
#include "DatabaseCodec.h"
#include "TableData.h"
#include "base/Parallel.h"
#include "base/SafeWrite.h"
#include "base/Utf8.h"
#include "base/WorkProgress.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

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

#ifdef __SSE2__
// The first count (one to eight) of the eight characters at in as UTF-8,
// where none of them makes the cell quoted and each takes one byte or two,
// as ASCII and Cyrillic do: the bytes written (out has room for sixteen),
// or -1 when the count are not so. All eight are read.
inline int appendUpToEight(char *out, const char16_t *in, int count)
{
    const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in));
    // U+0800 and beyond leave something after the saturating subtraction.
    const __m128i beyond = _mm_subs_epu16(units, _mm_set1_epi16(0x07FF));
    __m128i refused = _mm_xor_si128(_mm_cmpeq_epi16(beyond, _mm_setzero_si128()), _mm_set1_epi16(-1));
    for (const char c : {'"', ',', ';', '\t', '\r', '\n'})
        refused = _mm_or_si128(refused, _mm_cmpeq_epi16(units, _mm_set1_epi16(c)));
    const unsigned counted = (1u << (2 * count)) - 1; // two mask bits per character
    if (unsigned(_mm_movemask_epi8(refused)) & counted)
        return -1;
    // Each two-byte character as its lead byte and, above it, its continuation.
    const __m128i twoBytes = _mm_cmpgt_epi16(units, _mm_set1_epi16(0x7F));
    const __m128i pairs = _mm_or_si128(_mm_or_si128(_mm_srli_epi16(units, 6), _mm_set1_epi16(short(0x80C0))),
                                       _mm_slli_epi16(_mm_and_si128(units, _mm_set1_epi16(0x3F)), 8));
    alignas(16) quint16 lanes[8];
    _mm_store_si128(reinterpret_cast<__m128i *>(lanes),
                    _mm_or_si128(_mm_and_si128(twoBytes, pairs), _mm_andnot_si128(twoBytes, units)));
    const unsigned wide = unsigned(_mm_movemask_epi8(twoBytes));
    char *const start = out;
    for (int i = 0; i < count; ++i) {
        std::memcpy(out, &lanes[i], 2); // the second byte of a one-byte character is written over next
        out += 1 + ((wide >> (2 * i)) & 1);
    }
    return int(out - start);
}
#endif

// The cell as it stands, or nullptr when a character makes it quoted.
// readable: how far past the cell its memory may be read (the end of the
// record's text that holds it).
char *appendPlainCell(char *out, QStringView cell, const char16_t *readable)
{
    const char16_t *in = cell.utf16();
    const char16_t *const end = in + cell.size();
    while (in < end) {
#ifdef __SSE2__
        if (readable - in >= 8) {
            const int count = int(std::min<qsizetype>(end - in, 8));
            const int written = appendUpToEight(out, in, count);
            if (written >= 0) {
                out += written;
                in += count;
                continue;
            }
        }
#else
        Q_UNUSED(readable)
#endif
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
// quotes, a mark and a delimiter. Eight characters written at once may
// write a byte past their end, which the next character writes over.
qsizetype rowRoom(qsizetype characters)
{
    return 3 + 3 * characters + 4 * kColumnCount;
}

class RowFormatter
{
public:
    explicit RowFormatter(const CsvWriteOptions &options)
        : m_delimiter(options.delimiter)
        , m_protect(options.protectFormulas)
    {
    }

    // Appends the row of titles and returns the end; out has rowRoom bytes.
    char *appendTitles(char *out, const TableData &table) const
    {
        for (int c = 0; c < kColumnCount; ++c) {
            // Not utf16(): on a string of static data it makes a copy, whose
            // end is no bound for the cell's own characters.
            const QStringView title = table.title(c);
            out = appendCell(out, c, title, title.utf16() + title.size());
        }
        return endRow(out);
    }

    // Appends a record's row and returns the end; out has rowRoom bytes.
    char *appendRecord(char *out, const Record &record) const
    {
        const QStringView text = record.text();
        for (int c = 0; c < kColumnCount; ++c)
            out = appendCell(out, c, record.cell(c), text.utf16() + text.size());
        return endRow(out);
    }

private:
    static char *endRow(char *out)
    {
        *out++ = '\r';
        *out++ = '\n';
        return out;
    }

    // Most cells need no quotes, so a cell is written as it stands until a
    // character says otherwise, and then written again in quotes.
    char *appendCell(char *out, int column, QStringView cell, const char16_t *readable) const
    {
        if (column > 0)
            *out++ = m_delimiter;
        if (cell.isEmpty())
            return out;
        const bool marked = m_protect && CsvFormulas::mayNeedMark(cell.front()) && CsvFormulas::needsMark(cell);
        // A cell that starts with U+FEFF is quoted, so that as the first of
        // the text it is not taken for the byte order mark.
        const bool quotedForItsEnds = cell.front() == u' ' || cell.back() == u' ' || cell.front() == u'\uFEFF';
        if (!quotedForItsEnds) {
            char *plain = out;
            if (marked)
                *plain++ = char(CsvFormulas::kMark);
            if (char *end = appendPlainCell(plain, cell, readable))
                return end;
        }
        return appendQuotedCell(out, cell, marked);
    }

    char m_delimiter;
    bool m_protect;
};

// Room for the titles' row.
qsizetype titlesRoom(const TableData &table)
{
    qsizetype titles = 0;
    for (int c = 0; c < kColumnCount; ++c)
        titles += table.title(c).size();
    return kByteOrderMark.size() + rowRoom(titles);
}

// Writes the byte order mark (where asked) and the titles' row at out, which
// has titlesRoom bytes, and returns the end.
char *appendHead(char *out, const TableData &table, const CsvWriteOptions &options, const RowFormatter &formatter)
{
    if (options.byteOrderMark) {
        std::memcpy(out, kByteOrderMark.data(), size_t(kByteOrderMark.size()));
        out += kByteOrderMark.size();
    }
    return formatter.appendTitles(out, table);
}

// The records [begin, end) of a part, each given to append, with the
// progress reported every few thousand; false when a stop was asked for.
template<typename Append>
bool appendRecords(int begin, int end, WorkProgress *progress, Append append)
{
    int reported = begin;
    for (int row = begin; row < end; ++row) {
        append(row);
        if (progress && (row + 1 - begin) % kRecordsPerReport == 0) {
            progress->advance(row + 1 - reported);
            reported = row + 1;
            if (progress->stopRequested())
                return false;
        }
    }
    if (progress)
        progress->advance(end - reported);
    return true;
}

// The text of the records [begin, end), with the head first for the first
// part. Throws WorkStopped.
QByteArray writePart(const TableData &table, const CsvWriteOptions &options, int begin, int end, bool first,
                     WorkProgress *progress)
{
    const RowFormatter formatter(options);
    // Room for the worst case; pages the text never reaches are never touched.
    qsizetype room = first ? titlesRoom(table) : 0;
    for (int row = begin; row < end; ++row)
        room += rowRoom(table.record(row).text().size());
    QByteArray text(room, Qt::Uninitialized);
    char *const start = text.data();
    char *out = first ? appendHead(start, table, options, formatter) : start;
    if (!appendRecords(begin, end, progress, [&](int row) { out = formatter.appendRecord(out, table.record(row)); }))
        throw WorkStopped();
    text.truncate(out - start);
    return text;
}

// Writes the head and the records [0, end) to fd from offset 0 as they are
// made, a piece at a time, and sets written to their length: 0, or the
// errno of the first write that failed (ECANCELED for a stop asked for).
int streamFirstPart(int fd, const TableData &table, const CsvWriteOptions &options, int end, WorkProgress *progress,
                    qint64 &written)
{
    constexpr qsizetype kPieceBytes = qsizetype(4) << 20;
    const RowFormatter formatter(options);
    std::vector<char> piece(size_t(std::max(kPieceBytes, titlesRoom(table))));
    char *out = appendHead(piece.data(), table, options, formatter);
    written = 0;
    int error = 0;
    const auto flush = [&] {
        const qsizetype size = out - piece.data();
        if (error == 0)
            error = SafeWrite::writeAt(fd, written, QByteArrayView(piece.data(), size));
        written += size;
        out = piece.data();
    };
    const bool whole = appendRecords(0, end, progress, [&](int row) {
        const Record &record = table.record(row);
        const qsizetype room = rowRoom(record.text().size());
        if (piece.data() + piece.size() - out < room) {
            flush();
            if (qsizetype(piece.size()) < room)
                piece.resize(size_t(room));
            out = piece.data();
        }
        out = formatter.appendRecord(out, record);
    });
    flush();
    return error != 0 ? error : whole ? 0 : ECANCELED;
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
    // The first part goes to the file as it is made; the others, whose
    // places depend on the length of the text before them, are made in
    // memory meanwhile and written after it.
    const int parts = partsFor(table);
    const qint64 records = table.recordCount();
    const auto partBegin = [&](int part) { return int(records * part / parts); };
    if (progress)
        progress->beginStage(kFormatted, records);
    std::vector<QByteArray> texts(static_cast<size_t>(parts));
    const std::optional<QString> failure = SafeWrite::replaceFile(
        path, 0,
        [&](int fd) {
            std::vector<int> errors(static_cast<size_t>(parts), 0);
            qint64 offset = 0;
            Parallel::forEachPart(parts, [&](int part) {
                if (part == 0) {
                    errors[0] = streamFirstPart(fd, table, options, partBegin(1), progress, offset);
                    return;
                }
                try {
                    texts[size_t(part)] = writePart(table, options, partBegin(part), partBegin(part + 1), false,
                                                    progress);
                } catch (const WorkStopped &) {
                    errors[size_t(part)] = ECANCELED;
                }
            });
            for (const int error : errors) {
                if (error != 0)
                    return error;
            }
            std::vector<qint64> offsets;
            for (const QByteArray &text : texts) {
                offsets.push_back(offset);
                offset += text.size();
            }
            if (progress)
                progress->beginStage(WorkProgress::kScale, offset - offsets[0] + 1);
            Parallel::forEachPart(parts - 1, [&](int part) {
                const size_t at = size_t(part) + 1;
                errors[at] = SafeWrite::writeAt(fd, offsets[at], texts[at]);
                texts[at] = QByteArray();
            });
            for (const int error : errors) {
                if (error != 0)
                    return error;
            }
            if (progress)
                progress->advance(offset);
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
