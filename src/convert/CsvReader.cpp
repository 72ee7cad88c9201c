#include "CsvReader.h"

#include "ConvertError.h"
#include "Progress.h"
#include "Utf8.h"
#include "document/TableData.h"

#include <algorithm>
#include <cstring>

CsvReader::CsvReader(QString fileName, char delimiter, bool replaceBreaks)
    : m_fileName(std::move(fileName))
    , m_delimiter(delimiter)
    , m_replaceBreaks(replaceBreaks)
{
    for (const char c : {delimiter, '\r', '\n'})
        m_endsPlain[uchar(c)] = true;
    for (const char c : {'"', '\r', '\n'})
        m_endsQuoted[uchar(c)] = true;
}

TableData CsvReader::read(QByteArrayView text, Progress *progress)
{
    m_pos = text.data();
    m_end = text.data() + text.size();
    m_line = 1;
    if (text.startsWith("\xEF\xBB\xBF"))
        m_pos += 3;
    if (m_pos == m_end)
        fail(1, QStringLiteral("the file is empty; its first row must hold the column titles"));

    TableData table;
    const qint64 titleLine = m_line;
    const int titles = readRow(-1);
    for (int c = 0; c < kColumnCount; ++c)
        table.setTitle(c, decodeCell(c, titles, titleLine));

    table.reserve(int(std::count(m_pos, m_end, '\n')));
    for (int record = 0; m_pos < m_end; ++record) {
        const qint64 rowLine = m_line;
        table.appendRecord(decodeRecord(readRow(record), rowLine));
        if (progress && record % Progress::kRecordsPerReport == 0)
            progress->advance(m_pos - text.data(), text.size());
    }
    if (progress)
        progress->advance(1, 1);
    return table;
}

QString CsvReader::cellName(int record, int column)
{
    const QString cell = QStringLiteral("column %1").arg(column + 1);
    return record < 0 ? QStringLiteral("the title of ") + cell : QStringLiteral("record %1, ").arg(record + 1) + cell;
}

int CsvReader::readRow(int record)
{
    const qint64 rowLine = m_line;
    int count = 0;
    for (;;) {
        if (count == kColumnCount)
            fail(rowLine, QStringLiteral("the row has more than %1 cells").arg(kColumnCount));
        const bool quoted = m_pos < m_end && *m_pos == '"';
        m_cells[count] = quoted ? quotedCell(count, record, rowLine) : plainCell();
        ++count;
        if (m_pos == m_end)
            return count;
        if (*m_pos != m_delimiter) {
            skipLineBreak();
            return count;
        }
        ++m_pos;
    }
}

QByteArrayView CsvReader::plainCell()
{
    const char *const begin = m_pos;
    while (m_pos < m_end && !m_endsPlain[uchar(*m_pos)])
        ++m_pos;
    return QByteArrayView(begin, m_pos);
}

QByteArrayView CsvReader::quotedCell(int column, int record, qint64 rowLine)
{
    ++m_pos; // the opening quote
    const char *const begin = m_pos;
    QByteArray &rewritten = m_rewritten[column];
    bool rewriting = false;
    const char *piece = begin; // the text not yet copied to rewritten
    for (;;) {
        while (m_pos < m_end && !m_endsQuoted[uchar(*m_pos)])
            ++m_pos;
        // A quote that is never closed would otherwise be reported as the
        // first line break after it.
        if (m_pos == m_end || (*m_pos != '"' && !std::memchr(m_pos, '"', size_t(m_end - m_pos))))
            fail(rowLine, QStringLiteral("the quote opening %1 is never closed").arg(cellName(record, column)));
        if (!rewriting) {
            rewritten.clear();
            rewriting = *m_pos != '"' || (m_pos + 1 < m_end && m_pos[1] == '"');
        }
        if (*m_pos != '"') {
            if (!m_replaceBreaks)
                fail(m_line,
                     cellName(record, column)
                         + QStringLiteral(" holds a line break, which a cell cannot hold "
                                          "(--replace-breaks turns breaks into spaces)"));
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
        fail(m_line, QStringLiteral("text follows the closing quote of ") + cellName(record, column));
    return cell;
}

void CsvReader::skipLineBreak()
{
    if (*m_pos == '\r' && m_pos + 1 < m_end && m_pos[1] == '\n')
        ++m_pos;
    ++m_pos;
    ++m_line;
}

QString CsvReader::decodeCell(int column, int count, qint64 rowLine)
{
    if (column >= count)
        return QString();
    QString text(m_cells[column].size(), Qt::Uninitialized);
    const QChar *end = Utf8::decodeInto(text.data(), m_cells[column]);
    if (!end)
        fail(rowLine, QStringLiteral("the text is not UTF-8"));
    text.truncate(end - text.constData());
    return text;
}

Record CsvReader::decodeRecord(int count, qint64 rowLine)
{
    qsizetype bytes = 0;
    for (int c = 0; c < count; ++c)
        bytes += m_cells[c].size();
    if (bytes == 0)
        return Record();
    // A UTF-8 text never has more UTF-16 units than bytes.
    if (m_chars.size() < size_t(bytes))
        m_chars.resize(size_t(bytes));
    QChar *const begin = m_chars.data();
    QChar *out = begin;
    Record::Ends ends{};
    for (int c = 0; c < kColumnCount; ++c) {
        if (c < count && !(out = Utf8::decodeInto(out, m_cells[c])))
            fail(rowLine, QStringLiteral("the text is not UTF-8"));
        if (c < kColumnCount - 1)
            ends[c] = std::uint32_t(out - begin);
    }
    return Record::fromPacked(QString(begin, out - begin), ends);
}

void CsvReader::fail(qint64 line, const QString &what) const
{
    throw ConvertError(QStringLiteral("%1:%2: %3").arg(m_fileName).arg(line).arg(what));
}
