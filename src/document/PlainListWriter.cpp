#include "PlainListWriter.h"

#include "Base64.h"
#include "TableData.h"
#include "base/Parallel.h"
#include "base/Windows1251.h"
#include "base/WorkProgress.h"
#include "base/WriteBehind.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <vector>

namespace {

constexpr qsizetype kLineBreaks = 2 * kColumnCount;

// Where a part's plain bytes go: into a piece that, once full, is encoded
// and written at its place in the file. A part starts and ends at a multiple
// of 3 bytes, and so does every full piece, so each piece's text is the
// text of the file at its place.
class PieceSink
{
public:
    PieceSink(int fd, qint64 begin, qint64 end, qsizetype pieceBytes, WorkProgress *progress)
        : m_file(fd)
        , m_progress(progress)
        , m_pieceStart(begin)
        , m_left(end - begin)
        , m_piece(size_t(pieceBytes))
        , m_text(size_t(Base64::encodedSize(pieceBytes)))
    {
    }

    bool full() const { return m_left == 0 || m_error != 0; }
    int error() const { return m_error; }

    // Drops the next count bytes that would be added: the part starts
    // inside the item they belong to.
    void skip(qsizetype count) { m_skip = count; }

    // Adds the size bytes that make(out) writes, as far as the part goes.
    template<typename Make>
    void add(qsizetype size, Make make)
    {
        if (m_skip >= size) {
            m_skip -= size;
            return;
        }
        if (m_skip == 0 && size <= room()) {
            make(m_piece.data() + m_used);
            take(size);
            return;
        }
        // Across a piece's end or the part's: made aside, then copied.
        m_aside.resize(size_t(size));
        make(m_aside.data());
        const char *from = m_aside.data() + m_skip;
        qsizetype count = std::min<qint64>(size - m_skip, m_left);
        m_skip = 0;
        while (count > 0 && m_error == 0) {
            const qsizetype n = std::min(count, room());
            std::memcpy(m_piece.data() + m_used, from, size_t(n));
            take(n);
            from += n;
            count -= n;
        }
    }

    // Writes what the last piece holds.
    void finish() { flush(); }

private:
    qsizetype room() const { return std::min<qint64>(qsizetype(m_piece.size()) - m_used, m_left); }

    void take(qsizetype n)
    {
        m_used += n;
        m_left -= n;
        if (m_used == qsizetype(m_piece.size()))
            flush();
    }

    void flush()
    {
        if (m_used == 0 || m_error != 0)
            return;
        Base64::encodeInto(m_text.data(), QByteArrayView(m_piece.data(), m_used));
        m_error = m_file.write(m_pieceStart / 3 * 4, QByteArrayView(m_text.data(), Base64::encodedSize(m_used)));
        if (m_progress) {
            m_progress->advance(m_used);
            if (m_error == 0 && m_progress->stopRequested())
                m_error = ECANCELED;
        }
        m_pieceStart += m_used;
        m_used = 0;
    }

    WriteBehind m_file;
    WorkProgress *m_progress;
    qint64 m_pieceStart; // the plain offset of the piece's first byte
    qint64 m_left; // bytes the part still takes
    qsizetype m_used = 0;
    qsizetype m_skip = 0;
    int m_error = 0;
    std::vector<char> m_piece;
    std::vector<char> m_text;
    std::vector<char> m_aside;
};

qsizetype plainSize(const Record &record)
{
    return record.text().size() + kLineBreaks;
}

void writeRecordLines(char *out, const Record &record)
{
    for (int c = 0; c < kColumnCount; ++c) {
        out = Windows1251::encodeInto(out, record.cell(c));
        *out++ = '\r';
        *out++ = '\n';
    }
}

} // namespace

PlainListWriter::PlainListWriter(const TableData &table, int parts, qsizetype pieceBytes)
    : m_table(table)
    , m_parts(std::max(parts, 1))
    , m_pieceBytes(std::max<qsizetype>(pieceBytes / 3 * 3, 3))
{
    const auto appendLine = [this](QByteArrayView line) {
        m_head.append(line);
        m_head.append("\r\n");
    };
    for (int c = 0; c < kColumnCount; ++c)
        appendLine(QByteArray::number(table.width(c)));
    for (int c = 0; c < kColumnCount; ++c)
        appendLine(Windows1251::encode(table.title(c)));
    appendLine(QByteArray::number(table.recordCount()));
    m_plainSize = m_head.size();
    for (int row = 0; row < table.recordCount(); ++row)
        m_plainSize += plainSize(table.record(row));
}

QByteArray PlainListWriter::plainList() const
{
    QByteArray plain(m_plainSize, Qt::Uninitialized);
    char *out = plain.data();
    std::memcpy(out, m_head.constData(), size_t(m_head.size()));
    out += m_head.size();
    for (int row = 0; row < m_table.recordCount(); ++row) {
        const Record &record = m_table.record(row);
        writeRecordLines(out, record);
        out += plainSize(record);
    }
    return plain;
}

qint64 PlainListWriter::encodedSize() const
{
    return (m_plainSize + 2) / 3 * 4;
}

int PlainListWriter::write(int fd, WorkProgress *progress) const
{
    std::vector<int> errors(size_t(m_parts), 0);
    Parallel::forEachPart(m_parts, [&](int part) {
        const qint64 begin = m_plainSize / 3 * part / m_parts * 3;
        const qint64 end = part + 1 == m_parts ? m_plainSize : m_plainSize / 3 * (part + 1) / m_parts * 3;
        try {
            errors[size_t(part)] = writePart(fd, begin, end, progress);
        } catch (const std::bad_alloc &) {
            errors[size_t(part)] = ENOMEM;
        }
    });
    for (const int error : errors) {
        if (error != 0)
            return error;
    }
    return 0;
}

// Makes the plain bytes [begin, end) - the head, then the records' lines -
// and writes their text.
int PlainListWriter::writePart(int fd, qint64 begin, qint64 end, WorkProgress *progress) const
{
    if (begin >= end)
        return 0;
    PieceSink sink(fd, begin, end, m_pieceBytes, progress);
    // The item the part starts in: the head, or the record at row.
    int row = 0;
    qint64 itemStart = 0;
    if (begin >= m_head.size()) {
        itemStart = m_head.size();
        while (row < m_table.recordCount() && itemStart + plainSize(m_table.record(row)) <= begin)
            itemStart += plainSize(m_table.record(row++));
        sink.skip(begin - itemStart);
    } else {
        sink.skip(begin);
        sink.add(m_head.size(), [this](char *out) { std::memcpy(out, m_head.constData(), size_t(m_head.size())); });
    }
    for (; row < m_table.recordCount() && !sink.full(); ++row) {
        // A sorted table's texts lie all over the memory: the texts a few
        // records ahead are asked for while this one is made. A record
        // without text has none (its pointer is null, and no offset may be
        // added to it).
        constexpr int kAhead = 8;
        if (row + kAhead < m_table.recordCount()) {
            const char *ahead = reinterpret_cast<const char *>(m_table.record(row + kAhead).text().data());
            if (ahead) {
                __builtin_prefetch(ahead);
                __builtin_prefetch(ahead + 64);
            }
        }
        const Record &record = m_table.record(row);
        sink.add(plainSize(record), [&record](char *out) { writeRecordLines(out, record); });
    }
    sink.finish();
    return sink.error();
}
