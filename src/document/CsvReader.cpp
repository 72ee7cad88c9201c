#include "CsvReader.h"

#include "CsvFormulas.h"
#include "base/Parallel.h"
#include "base/Utf8.h"
#include "base/Windows1251.h"
#include "base/WorkProgress.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

using Kind = CsvReadError::Kind;

constexpr QByteArrayView kByteOrderMark("\xEF\xBB\xBF");
// Records a part reads between two reports of its progress.
constexpr int kRecordsPerReport = 16384;
// The characters of a block that the texts of many records share.
constexpr qsizetype kBlockCharacters = qsizetype(1) << 20;

// A problem as a part of the text finds it: its line and record count from
// the part's start, and become the text's once the parts before are known.
struct Problem
{
    Kind kind;
    qint64 line; // line breaks before it in the part
    int record; // -1 for the titles
    int column;
    int cells;
};

QString cellName(int record, int column)
{
    if (record < 0)
        return QStringLiteral("заголовок столбца %1").arg(column + 1);
    return QStringLiteral("запись %1, столбец %2").arg(record + 1).arg(column + 1);
}

CsvReadError errorOf(const Problem &p, qint64 linesBefore, int recordsBefore)
{
    const qint64 line = linesBefore + p.line + 1;
    const int record = p.record < 0 ? -1 : recordsBefore + p.record;
    QString text;
    switch (p.kind) {
    case Kind::Empty:
        text = QStringLiteral("Файл пуст: в нём нет ни одной строки.");
        break;
    case Kind::TooManyCells:
        text = QStringLiteral("Строка %1 файла делится на %2 столбцов, а в базе данных их не больше %3.")
                   .arg(line)
                   .arg(p.cells)
                   .arg(kColumnCount);
        break;
    case Kind::QuoteNotClosed:
        text = QStringLiteral("Строка %1 файла: кавычка, которая открывает ячейку (%2), не закрыта.")
                   .arg(line)
                   .arg(cellName(record, p.column));
        break;
    case Kind::TextAfterQuote:
        text = QStringLiteral("Строка %1 файла: после закрывающей кавычки ячейки (%2) стоит текст.")
                   .arg(line)
                   .arg(cellName(record, p.column));
        break;
    case Kind::NotUtf8:
        text = QStringLiteral("Строка %1 файла не в кодировке UTF-8.").arg(line);
        break;
    case Kind::LineBreak:
        text = QStringLiteral("Строка %1 файла: ячейка (%2) содержит перевод строки.")
                   .arg(line)
                   .arg(cellName(record, p.column));
        break;
    }
    return CsvReadError(p.kind, line, record, p.column, p.cells, text);
}

// Splits text into rows and rows into cells: the bytes of each cell, its
// quotes taken off, doubled quotes made single and, where asked, line breaks
// made spaces.
class RowScanner
{
public:
    RowScanner(const char *pos, const char *end, char delimiter, bool replaceBreaks)
        : m_pos(pos)
        , m_end(end)
        , m_delimiter(delimiter)
        , m_replaceBreaks(replaceBreaks)
    {
        for (const char c : {delimiter, '\r', '\n'})
            m_endsPlain[uchar(c)] = true;
        for (const char c : {'"', '\r', '\n'})
            m_endsQuoted[uchar(c)] = true;
    }

    const char *pos() const { return m_pos; }
    const char *end() const { return m_end; }
    char delimiter() const { return m_delimiter; }
    // The line breaks passed so far, those inside quoted cells included.
    qint64 lines() const { return m_line; }
    // Goes back to an earlier place, with the lines passed there.
    void rewind(const char *pos, qint64 lines)
    {
        m_pos = pos;
        m_line = lines;
    }
    // Takes the bytes of an unquoted cell that another has read up to pos.
    void skipTo(const char *pos) { m_pos = pos; }

    // Reads the row at pos(), of the given record (-1 for the titles): its
    // first kColumnCount cells go to cell(); returns how many it holds.
    // Throws Problem.
    int readRow(int record)
    {
        const qint64 rowLine = m_line;
        int count = 0;
        for (;;) {
            const int slot = std::min(count, kColumnCount);
            m_cells[size_t(slot)] = atQuote() ? quotedCell(slot, record, count, rowLine) : plainCell();
            ++count;
            if (!nextCell())
                return count;
        }
    }

    QByteArrayView cell(int column) const { return m_cells[size_t(column)]; }

    bool atQuote() const { return m_pos < m_end && *m_pos == '"'; }

    // After a cell: true when another cell of the row follows (the
    // delimiter is passed), false when the row ends (its line break is passed).
    bool nextCell()
    {
        if (m_pos == m_end)
            return false;
        if (*m_pos != m_delimiter) {
            skipLineBreak();
            return false;
        }
        ++m_pos;
        return true;
    }

    QByteArrayView plainCell()
    {
        const char *const begin = m_pos;
        while (m_pos < m_end && !m_endsPlain[uchar(*m_pos)])
            ++m_pos;
        return QByteArrayView(begin, m_pos);
    }

    // The quoted cell at pos(), kept in place slot until the next one.
    QByteArrayView quotedCell(int slot, int record, int column, qint64 rowLine)
    {
        ++m_pos; // the opening quote
        const char *const begin = m_pos;
        QByteArray &rewritten = m_rewritten[size_t(slot)];
        bool rewriting = false;
        const char *piece = begin; // the text not yet copied to rewritten
        for (;;) {
            while (m_pos < m_end && !m_endsQuoted[uchar(*m_pos)])
                ++m_pos;
            // A quote that is never closed would otherwise be reported as the
            // first line break after it.
            if (m_pos == m_end || (*m_pos != '"' && !std::memchr(m_pos, '"', size_t(m_end - m_pos))))
                throw Problem{Kind::QuoteNotClosed, rowLine, record, column, 0};
            if (!rewriting) {
                rewritten.clear();
                rewriting = *m_pos != '"' || (m_pos + 1 < m_end && m_pos[1] == '"');
            }
            if (*m_pos != '"') {
                if (!m_replaceBreaks)
                    throw Problem{Kind::LineBreak, m_line, record, column, 0};
                rewritten.append(piece, m_pos - piece).append(' ');
                skipLineBreak();
                piece = m_pos;
            } else if (m_pos + 1 < m_end && m_pos[1] == '"') {
                rewritten.append(piece, m_pos + 1 - piece);
                m_pos += 2;
                piece = m_pos;
            } else {
                break;
            }
        }
        QByteArrayView cell(begin, m_pos);
        if (rewriting)
            cell = rewritten.append(piece, m_pos - piece);
        ++m_pos; // the closing quote
        if (m_pos < m_end && *m_pos != m_delimiter && *m_pos != '\n' && *m_pos != '\r')
            throw Problem{Kind::TextAfterQuote, m_line, record, column, 0};
        return cell;
    }

private:
    void skipLineBreak()
    {
        if (*m_pos == '\r' && m_pos + 1 < m_end && m_pos[1] == '\n')
            ++m_pos;
        ++m_pos;
        ++m_line;
    }

    const char *m_pos;
    const char *m_end;
    char m_delimiter;
    bool m_replaceBreaks;
    qint64 m_line = 0;
    // Bytes that end an unquoted cell, and those that end a piece of a quoted one.
    std::array<bool, 256> m_endsPlain{};
    std::array<bool, 256> m_endsQuoted{};
    // The first cells of the row, and one place for all the cells after them.
    std::array<QByteArrayView, kColumnCount + 1> m_cells;
    // The quoted cells whose doubled quotes or breaks were rewritten.
    std::array<QByteArray, kColumnCount + 1> m_rewritten;
};

// The high bit of the first byte of word that is b is set, and none before
// it (bits after it may be set too).
inline quint64 byteMarks(quint64 word, char b)
{
    constexpr quint64 kOnes = 0x0101010101010101ULL;
    const quint64 x = word ^ (kOnes * uchar(b));
    return (x - kOnes) & ~x & (kOnes << 7);
}

// Decodes the UTF-8 of an unquoted cell at p into out, up to the delimiter,
// a line break or limit, and moves p past the bytes it took. Returns the end
// of the characters, or nullptr for bytes that are not UTF-8. It stops
// before a sequence that limit cuts, unless limit is the end of the text.
QChar *decodePlainUtf8(QChar *out, const char *&p, const char *limit, const char *end, char delimiter)
{
    char16_t *o = reinterpret_cast<char16_t *>(out);
    const auto *in = reinterpret_cast<const uchar *>(p);
    const auto *const stop = reinterpret_cast<const uchar *>(limit);
    for (;;) {
        while (stop - in >= 8) {
            quint64 word;
            std::memcpy(&word, in, sizeof word);
            // The ASCII bytes before the first delimiter, break or other
            // byte, eight at a time: all eight are written, as many taken.
            const quint64 marks = (word & 0x8080808080808080ULL) | byteMarks(word, delimiter) | byteMarks(word, '\r')
                | byteMarks(word, '\n');
            const int ascii = marks ? int(qCountTrailingZeroBits(marks)) / 8 : 8;
#ifdef __SSE2__
            _mm_storeu_si128(
                reinterpret_cast<__m128i *>(o),
                _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i *>(in)), _mm_setzero_si128()));
#else
            for (int i = 0; i < 8; ++i)
                o[i] = char16_t(in[i]);
#endif
            o += ascii;
            in += ascii;
            if (ascii == 8)
                continue;
            if (!(*in & 0x80) || stop - in < 8)
                break; // a delimiter or a break, or too few bytes left
            std::memcpy(&word, in, sizeof word);
            // The two-byte sequences, as Cyrillic takes, among the first
            // four pairs of bytes: a lead 0xC2 to 0xDF, then a continuation.
            // All four are written, as many taken as stand before the first
            // pair that is not one.
            constexpr quint64 kHighBits = 0x8000800080008000ULL;
            const quint64 wrong = (word & 0xC0E0C0E0C0E0C0E0ULL) ^ 0x80C080C080C080C0ULL;
            const quint64 overlong = ~((word & 0x001E001E001E001EULL) + 0x7FFF7FFF7FFF7FFFULL) & kHighBits;
            const quint64 bad = (((wrong & ~kHighBits) + ~kHighBits) | wrong) & kHighBits;
            const int pairs = (bad | overlong) ? int(qCountTrailingZeroBits(bad | overlong)) / 16 : 4;
            if (pairs == 0)
                break;
            const quint64 chars = ((word & 0x001F001F001F001FULL) << 6) | ((word >> 8) & 0x003F003F003F003FULL);
            std::memcpy(o, &chars, sizeof chars);
            o += pairs;
            in += 2 * pairs;
        }
        if (in == stop)
            break;
        const uchar lead = *in;
        if (lead < 0x80) {
            if (lead == uchar(delimiter) || lead == '\r' || lead == '\n')
                break;
            *o++ = lead;
            ++in;
            continue;
        }
        // Two bytes, as Cyrillic takes.
        if (lead >= 0xC2 && lead < 0xE0 && stop - in >= 2 && (in[1] & 0xC0) == 0x80) {
            *o++ = char16_t(((lead & 0x1F) << 6) | (in[1] & 0x3F));
            in += 2;
            continue;
        }
        const qsizetype length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        if (stop - in < length && stop != reinterpret_cast<const uchar *>(end))
            break; // the room ends inside the sequence
        QChar *const next = Utf8::decodeInto(
            reinterpret_cast<QChar *>(o),
            QByteArrayView(reinterpret_cast<const char *>(in), std::min<qsizetype>(length, stop - in)));
        if (!next)
            return nullptr;
        o = reinterpret_cast<char16_t *>(next);
        in += length;
    }
    p = reinterpret_cast<const char *>(in);
    return reinterpret_cast<QChar *>(o);
}

// Turns the cells' bytes into text: decoded, and the formula mark taken off
// where asked.
class CellDecoder
{
public:
    explicit CellDecoder(const CsvReadOptions &options)
        : m_options(options)
    {
    }

    // Writes the text of bytes to out (at most bytes.size() characters) and
    // returns its end, or nullptr when the bytes are not in the encoding.
    QChar *decodeInto(QChar *out, QByteArrayView bytes) const
    {
        QChar *end = m_options.encoding == TextEncoding::Utf8 ? Utf8::decodeInto(out, bytes)
                                                              : Windows1251::decodeInto(out, bytes);
        return end ? unmarked(out, end) : nullptr;
    }

    // The end of the cell's text [begin, end) once its formula mark, where
    // it has one to take off, is gone.
    QChar *unmarked(QChar *begin, QChar *end) const
    {
        if (m_options.removeFormulaMarks && end > begin && *begin == QChar(CsvFormulas::kMark)
            && CsvFormulas::isMarked(QStringView(begin, end))) {
            std::memmove(begin, begin + 1, size_t(end - begin - 1) * sizeof(QChar));
            --end;
        }
        return end;
    }

    QString cell(QByteArrayView bytes, qint64 rowLine, int record, int column) const
    {
        QString text(bytes.size(), Qt::Uninitialized);
        const QChar *end = decodeInto(text.data(), bytes);
        if (!end)
            throw Problem{Kind::NotUtf8, rowLine, record, column, 0};
        text.truncate(end - text.constData());
        return text;
    }

    bool isUtf8() const { return m_options.encoding == TextEncoding::Utf8; }
    bool knownEncodable() const { return m_options.encoding == TextEncoding::Windows1251; }

private:
    const CsvReadOptions &m_options;
};

// The records of one part of the text, their texts in blocks they share.
struct PartResult
{
    std::vector<Record> records;
    const char *end = nullptr; // where the part's last row ended
    qint64 lines = 0;
    std::optional<Problem> problem;
};

class PartReader
{
public:
    PartReader(const CsvReadOptions &options, PartResult &result)
        : m_decoder(options)
        , m_result(result)
    {
    }

    // Reads the rows that start in [begin, stop); the last may run on to end.
    // room: the records to make room for at once.
    void read(const char *begin, const char *stop, const char *end, char delimiter, bool replaceBreaks, qsizetype room,
              WorkProgress *progress)
    {
        RowScanner rows(begin, end, delimiter, replaceBreaks);
        const char *reported = begin;
        m_result.records.reserve(size_t(room));
        try {
            while (rows.pos() < stop) {
                const int record = int(m_result.records.size());
                m_result.records.push_back(readRecord(rows, record));
                if (progress && (record + 1) % kRecordsPerReport == 0) {
                    progress->advance(rows.pos() - reported);
                    reported = rows.pos();
                    progress->throwIfStopped();
                }
            }
        } catch (const Problem &problem) {
            m_result.problem = problem;
        }
        if (progress)
            progress->advance(rows.pos() - reported);
        m_result.end = rows.pos();
        m_result.lines = rows.lines();
    }

private:
    // Reads the row at rows.pos() as a record whose text goes straight into
    // the current block: an unquoted cell is decoded as it is split.
    Record readRecord(RowScanner &rows, int record)
    {
        const char *const rowStart = rows.pos();
        const qint64 rowLine = rows.lines();
        m_recordBegin = m_blockUsed;
        QChar *out = makeRoom(m_blockData + m_blockUsed, 0);
        Record::Ends ends{};
        int column = 0;
        for (;; ++column) {
            if (column == kColumnCount) {
                // Read again only to count its cells for the message.
                rows.rewind(rowStart, rowLine);
                throw Problem{Kind::TooManyCells, rowLine, record, 0, rows.readRow(record)};
            }
            if (rows.atQuote()) {
                const QByteArrayView bytes = rows.quotedCell(0, record, column, rowLine);
                out = makeRoom(out, bytes.size());
                QChar *const decoded = m_decoder.decodeInto(out, bytes);
                if (!decoded)
                    throw Problem{Kind::NotUtf8, rowLine, record, column, 0};
                out = decoded;
            } else {
                // The record may move to a new block while the cell is read.
                const qsizetype cellStart = out - (m_blockData + m_recordBegin);
                out = decodePlain(rows, out, rowLine, record, column);
                out = m_decoder.unmarked(m_blockData + m_recordBegin + cellStart, out);
            }
            if (column < kColumnCount - 1)
                ends[size_t(column)] = std::uint32_t(out - (m_blockData + m_recordBegin));
            if (!rows.nextCell())
                break;
        }
        for (int c = column; c < kColumnCount - 1; ++c)
            ends[size_t(c)] = std::uint32_t(out - (m_blockData + m_recordBegin));
        const qsizetype size = out - (m_blockData + m_recordBegin);
        if (size == 0)
            return Record();
        Record built = Record::inBlock(m_block, m_recordBegin, size, ends);
        m_blockUsed = m_recordBegin + size;
        if (m_decoder.knownEncodable())
            built.setKnownEncodable();
        return built;
    }

    // Decodes the unquoted cell at rows.pos() to out and returns the end.
    QChar *decodePlain(RowScanner &rows, QChar *out, qint64 rowLine, int record, int column)
    {
        if (!m_decoder.isUtf8()) {
            const QByteArrayView bytes = rows.plainCell();
            out = makeRoom(out, bytes.size());
            return Windows1251::decodeInto(out, bytes);
        }
        const char *p = rows.pos();
        for (;;) {
            // Neither encoding gives more characters than bytes, so the
            // room left in the block bounds the bytes taken at a time.
            const qsizetype room = m_block.size() - (out - m_blockData);
            const char *const limit = room < rows.end() - p ? p + room : rows.end();
            out = decodePlainUtf8(out, p, limit, rows.end(), rows.delimiter());
            if (!out)
                throw Problem{Kind::NotUtf8, rowLine, record, column, 0};
            if (p == rows.end() || *p == rows.delimiter() || *p == '\r' || *p == '\n')
                break;
            out = makeRoom(out, std::min<qsizetype>(rows.end() - p, kBlockCharacters));
        }
        rows.skipTo(p);
        return out;
    }

    // Makes sure the block has room for count more characters at out, the
    // end of the record being read: when it has not, the record moves to a
    // new block. Returns where out is then.
    QChar *makeRoom(QChar *out, qsizetype count)
    {
        const qsizetype used = out - (m_blockData + m_recordBegin);
        if (m_blockData && (out - m_blockData) + std::max<qsizetype>(count, 1) <= m_block.size())
            return out;
        QString block(std::max(kBlockCharacters, 2 * (used + count)), Qt::Uninitialized);
        // Taken before any record shares the block: asked for later, the
        // pointer would cost a copy of the whole block.
        QChar *const data = block.data();
        if (used > 0)
            std::memcpy(data, m_blockData + m_recordBegin, size_t(used) * sizeof(QChar));
        m_block = std::move(block);
        m_blockData = data;
        m_recordBegin = 0;
        m_blockUsed = 0;
        return data + used;
    }

    CellDecoder m_decoder;
    PartResult &m_result;
    QString m_block;
    QChar *m_blockData = nullptr;
    qsizetype m_blockUsed = 0;
    qsizetype m_recordBegin = 0; // where the record being read starts in the block
};

// Where the parts of the rows in [begin, end) start: at line breaks near
// equal shares that stand outside quotes, as far as quotes pair up from
// begin. A quote inside an unquoted cell spoils the pairing; the reader then
// finds that a part did not end where the next starts.
// The quotes in [begin, end).
qsizetype countQuotes(const char *begin, const char *end)
{
    qsizetype count = 0;
    const char *at = begin;
#ifdef __SSE2__
    const __m128i quote = _mm_set1_epi8('"');
    for (; end - at >= 16; at += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(at));
        count += qPopulationCount(quint32(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, quote))));
    }
#endif
    return count + std::count(at, end, '"');
}

std::vector<const char *> partStarts(const char *begin, const char *end, int parts)
{
    const qsizetype size = end - begin;
    // The quotes before each cut but the last part's, which no cut needs.
    std::vector<qsizetype> quotes(size_t(parts), 0);
    Parallel::forEachPart(parts - 1, [&](int p) {
        quotes[size_t(p)] = countQuotes(begin + size * p / parts, begin + size * (p + 1) / parts);
    });
    std::vector<const char *> starts{begin};
    qsizetype quotesBefore = 0;
    for (int p = 1; p < parts; ++p) {
        quotesBefore += quotes[size_t(p - 1)];
        bool inQuotes = quotesBefore % 2 != 0;
        const char *at = std::max(begin + size * p / parts, starts.back());
        while (at < end && (inQuotes || (*at != '\n' && *at != '\r'))) {
            inQuotes = inQuotes != (*at == '"');
            ++at;
        }
        if (at < end)
            at += *at == '\r' && at + 1 < end && at[1] == '\n' ? 2 : 1;
        starts.push_back(at);
    }
    return starts;
}

} // namespace

CsvReader::CsvReader(const CsvReadOptions &options)
    : m_options(options)
{
}

TableData CsvReader::read(QByteArrayView text, WorkProgress *progress) const
{
    return read(text, Parallel::partsFor(text.size(), qsizetype(1) << 20), progress);
}

TableData CsvReader::read(QByteArrayView text, int parts, WorkProgress *progress) const
{
    if (text.startsWith(kByteOrderMark))
        text = text.sliced(kByteOrderMark.size());
    if (text.isEmpty())
        throw errorOf(Problem{Kind::Empty, 0, -1, 0, 0}, 0, 0);
    if (progress)
        progress->beginStage(WorkProgress::kScale, text.size());
    const char *const end = text.data() + text.size();
    const char delimiter = m_options.delimiter;
    const bool replaceBreaks = m_options.replaceBreaks;

    TableData table;
    const char *body = text.data();
    qint64 titleLines = 0;
    if (m_options.titlesInFirstRow) {
        RowScanner titles(body, end, delimiter, replaceBreaks);
        const CellDecoder decoder(m_options);
        try {
            const int count = titles.readRow(-1);
            if (count > kColumnCount)
                throw Problem{Kind::TooManyCells, 0, -1, 0, count};
            for (int c = 0; c < count; ++c)
                table.setTitle(c, decoder.cell(titles.cell(c), 0, -1, c));
            for (int c = count; c < kColumnCount; ++c)
                table.setTitle(c, QString());
        } catch (const Problem &problem) {
            throw errorOf(problem, 0, 0);
        }
        body = titles.pos();
        titleLines = titles.lines();
        if (progress)
            progress->advance(body - text.data());
    }

    std::vector<const char *> starts = parts > 1 ? partStarts(body, end, parts) : std::vector<const char *>{body};
    std::vector<PartResult> results(starts.size());
    const auto readParts = [&] {
        Parallel::forEachPart(int(starts.size()), [&](int p) {
            const char *stop = size_t(p) + 1 < starts.size() ? starts[size_t(p) + 1] : end;
            // A record is rarely shorter than this many bytes. The first
            // part's records become the table's, so it makes room for all;
            // room never used costs no memory.
            const qsizetype room = (p == 0 ? end - starts[0] : stop - starts[size_t(p)]) / 48;
            PartReader(m_options, results[size_t(p)])
                .read(starts[size_t(p)], stop, end, delimiter, replaceBreaks, room, progress);
        });
    };
    readParts();

    // A part's problem counts once the parts before it ended where it
    // starts; a part that ended elsewhere started inside a row, and the
    // rows are read again in one part.
    qint64 linesBefore = titleLines;
    int recordsBefore = 0;
    for (size_t p = 0; p < results.size(); ++p) {
        if (results[p].problem)
            throw errorOf(*results[p].problem, linesBefore, recordsBefore);
        if (p + 1 < results.size() && results[p].end != starts[p + 1]) {
            starts = {body};
            results = std::vector<PartResult>(1);
            readParts();
            if (results[0].problem)
                throw errorOf(*results[0].problem, titleLines, 0);
            break;
        }
        linesBefore += results[p].lines;
        recordsBefore += int(results[p].records.size());
    }

    // A stop asked for before the table is handed over still counts.
    if (progress)
        progress->throwIfStopped();
    // The first part's records move in as they stand; the others' follow.
    size_t total = 0;
    for (const PartResult &result : results)
        total += result.records.size();
    table.restoreRecords(std::move(results.front().records));
    table.reserve(int(total));
    for (size_t p = 1; p < results.size(); ++p) {
        for (Record &record : results[p].records)
            table.appendRecord(std::move(record));
        results[p].records = {};
    }
    return table;
}

CsvReader::Preview CsvReader::preview(QByteArrayView text, int rowCount) const
{
    Preview preview;
    if (text.startsWith(kByteOrderMark))
        text = text.sliced(kByteOrderMark.size());
    RowScanner rows(text.data(), text.data() + text.size(), m_options.delimiter, m_options.replaceBreaks);
    const CellDecoder decoder(m_options);
    const int firstRecord = m_options.titlesInFirstRow ? -1 : 0;
    try {
        if (text.isEmpty())
            throw Problem{Kind::Empty, 0, -1, 0, 0};
        for (int record = firstRecord; preview.rows.size() < rowCount && rows.pos() < text.data() + text.size();
             ++record) {
            const qint64 rowLine = rows.lines();
            const int count = rows.readRow(record);
            QStringList cells;
            for (int c = 0; c < std::min(count, kColumnCount); ++c)
                cells << decoder.cell(rows.cell(c), rowLine, record, c);
            preview.rows << cells;
            if (count > kColumnCount)
                throw Problem{Kind::TooManyCells, rowLine, record, 0, count};
        }
    } catch (const Problem &problem) {
        preview.problem = errorOf(problem, 0, 0);
    }
    return preview;
}
