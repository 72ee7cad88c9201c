#include "DatabaseCodec.h"

#include "Base64.h"
#include "base/IntegerText.h"
#include "base/LineReader.h"
#include "base/SafeRead.h"
#include "base/SafeWrite.h"
#include "base/Windows1251.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <limits>
#include <new>

#include <unistd.h>

namespace {

constexpr int kTitleLine = kColumnCount;
constexpr int kCountLine = 2 * kColumnCount;

using SafeWrite::nativeFullPath;

// The largest file the readers take: what one text buffer can index, and no
// more than a third of the memory, since the table made from a file needs
// about three times its size (bench/README.md). A larger file fails at once
// rather than filling the memory.
qint64 maxFileSize()
{
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    const qint64 memory = pages > 0 && pageSize > 0 ? qint64(pages) * pageSize : std::numeric_limits<qint64>::max();
    return std::min<qint64>(INT_MAX, memory / 3);
}

QByteArray readWholeFile(const QString &path)
{
    SafeRead::Content content = SafeRead::wholeFile(path, maxFileSize());
    if (!content.ok())
        throw DatabaseReadError(
            QStringLiteral("Cannot read file \"%1\". %2").arg(nativeFullPath(path), content.failure));
    return std::move(content.bytes);
}

// Turns every lone CR and lone LF into CR LF. Files the program wrote hold no
// line break at all, so the common case only looks.
void normaliseLineBreaks(QByteArray &text)
{
    if (!text.contains('\r') && !text.contains('\n'))
        return;
    QByteArray out;
    out.reserve(text.size() + text.size() / 8);
    LineReader lines(text);
    while (!lines.atEnd()) {
        const qsizetype begin = lines.offset();
        const QByteArrayView line = lines.next();
        out.append(line);
        if (lines.offset() > begin + line.size())
            out.append("\r\n");
    }
    text = std::move(out);
}

std::int32_t integerLine(QByteArrayView line, int number)
{
    const std::optional<std::int32_t> value = IntegerText::parse(line);
    if (!value)
        throw DatabaseReadError(QStringLiteral("Line %1 is not an integer.").arg(number + 1));
    return *value;
}

// The next eight lines as one record: one string for all eight cells.
Record readRecord(LineReader &lines)
{
    std::array<QByteArrayView, kColumnCount> cells;
    qsizetype total = 0;
    for (QByteArrayView &cell : cells) {
        cell = lines.next();
        total += cell.size();
    }
    if (total == 0)
        return Record();
    QString text(total, Qt::Uninitialized);
    QChar *const begin = text.data();
    QChar *out = begin;
    Record::Ends ends;
    for (int c = 0; c < kColumnCount; ++c) {
        out = Windows1251::decodeInto(out, cells[c]);
        if (c < kColumnCount - 1)
            ends[c] = std::uint32_t(out - begin);
    }
    return Record::fromPacked(std::move(text), ends);
}

void appendLine(char *&out, QByteArrayView line)
{
    std::memcpy(out, line.data(), size_t(line.size()));
    out += line.size();
    *out++ = '\r';
    *out++ = '\n';
}

void appendTextLine(char *&out, QStringView text)
{
    out = Windows1251::encodeInto(out, text);
    *out++ = '\r';
    *out++ = '\n';
}

} // namespace

namespace DatabaseCodec {

QByteArray BuildPlainList(const TableData &table)
{
    std::array<QByteArray, kColumnCount> widths;
    const QByteArray count = QByteArray::number(table.recordCount());
    qsizetype size = count.size() + 2;
    for (int c = 0; c < kColumnCount; ++c) {
        widths[c] = QByteArray::number(table.width(c));
        size += widths[c].size() + 2 + table.title(c).size() + 2;
    }
    for (int row = 0; row < table.recordCount(); ++row) {
        const Record &record = table.record(row);
        for (int c = 0; c < kColumnCount; ++c)
            size += record.cell(c).size() + 2;
    }

    QByteArray plain(size, Qt::Uninitialized);
    char *out = plain.data();
    for (const QByteArray &width : widths)
        appendLine(out, width);
    for (int c = 0; c < kColumnCount; ++c)
        appendTextLine(out, table.title(c));
    appendLine(out, count);
    for (int row = 0; row < table.recordCount(); ++row) {
        const Record &record = table.record(row);
        for (int c = 0; c < kColumnCount; ++c)
            appendTextLine(out, record.cell(c));
    }
    Q_ASSERT(out == plain.constData() + size);
    return plain;
}

QByteArray EncodePlainList(const QByteArray &plainList)
{
    return Base64::encode(plainList);
}

QByteArray EncodePlainList(QByteArray &&plainList)
{
    QByteArray text = std::move(plainList);
    Base64::encodeInPlace(text);
    return text;
}

void WriteBaseFile(const QString &path, const QByteArray &encoded)
{
    if (const auto reason = SafeWrite::replaceFile(path, encoded, SafeWrite::InPlace::Never))
        throw TabloraError(QStringLiteral("Cannot create file \"%1\". %2").arg(nativeFullPath(path), *reason));
}

TableData ReadBaseFile(const QString &path)
{
    try {
        return ReadBaseText(readWholeFile(path));
    } catch (const std::bad_alloc &) {
        throw DatabaseReadError(
            QStringLiteral("The file \"%1\" is too large to read.").arg(nativeFullPath(path)));
    }
}

TableData ReadBaseText(QByteArray text)
{
    normaliseLineBreaks(text);
    if (!Base64::decodeInPlace(text))
        throw DatabaseReadError(QStringLiteral("The length of the Base64 text is not a multiple of 4."));
    text.squeeze(); // the bytes take three quarters of the text's room
    return FillTable(text);
}

TableData FillTable(QByteArrayView plainList)
{
    LineReader lines(plainList);
    TableData table;
    for (int c = 0; c < kColumnCount; ++c)
        table.setWidth(c, integerLine(lines.next(), c));
    for (int c = 0; c < kColumnCount; ++c)
        table.setTitle(c, Windows1251::decode(lines.next()));
    const std::int32_t count = integerLine(lines.next(), kCountLine);
    if (count <= 0)
        return table;

    const qint64 held = (lines.remainingLines() + kColumnCount - 1) / kColumnCount;
    const qint64 total = std::min<qint64>(count, held + kMaxPaddingRecords);
    table.reserve(int(std::min<qint64>(total, INT_MAX)));
    qint64 k = 0;
    for (; k < count && !lines.atEnd(); ++k)
        table.appendRecord(readRecord(lines));
    for (; k < total; ++k)
        table.appendRecord(Record());
    return table;
}

TableData ReadPlainFile(const QString &path)
{
    try {
        // FillTable takes CR LF, lone CR and lone LF alike, so the bytes need
        // no rewriting.
        return FillTable(readWholeFile(path));
    } catch (const std::bad_alloc &) {
        throw DatabaseReadError(
            QStringLiteral("The file \"%1\" is too large to read.").arg(nativeFullPath(path)));
    }
}

std::optional<Unencodable> findUnencodable(const TableData &table)
{
    for (int c = 0; c < kColumnCount; ++c) {
        if (!Windows1251::canEncode(table.title(c)))
            return Unencodable { -1, c };
    }
    for (int row = 0; row < table.recordCount(); ++row) {
        for (int c = 0; c < kColumnCount; ++c) {
            if (!Windows1251::canEncode(table.cell(row, c)))
                return Unencodable { row, c };
        }
    }
    return std::nullopt;
}

} // namespace DatabaseCodec
