#include "DatabaseCodec.h"

#include "Base64.h"
#include "PlainListReader.h"
#include "PlainListWriter.h"
#include "base/LineReader.h"
#include "base/MemoryPages.h"
#include "base/Parallel.h"
#include "base/SafeRead.h"
#include "base/SafeWrite.h"
#include "base/Windows1251.h"
#include "base/WorkProgress.h"

#include <QFileInfo>

#include <algorithm>
#include <climits>
#include <limits>
#include <new>
#include <vector>

#include <unistd.h>

namespace {

using SafeWrite::nativeFullPath;

// Where the stages of a read end on the progress bar: the file read, then
// decoded; filling the table takes the rest. The save's write ends where
// the sync takes over.
constexpr int kFileRead = 200;
constexpr int kTextDecoded = 350;
constexpr int kWritten = 950;

void throwWriteFailure(const QString &path, const std::optional<QString> &reason, const WorkProgress *progress)
{
    if (!reason)
        return;
    if (progress)
        progress->throwIfStopped(); // the write failed because it was stopped
    throw DatabaseCodec::writeFailure(path, *reason);
}

// How many parts a text of so many bytes is read in.
int partsFor(qsizetype bytes)
{
    return Parallel::partsFor(bytes, qsizetype(1) << 20);
}

// How many parts the records of a table are worked on in.
int partsFor(const TableData &table)
{
    return Parallel::partsFor(table.recordCount(), 8192);
}

// Whether the text holds a CR or an LF, looked for in parts.
bool holdsLineBreak(QByteArrayView text, int parts)
{
    std::vector<char> found(static_cast<size_t>(parts));
    Parallel::forEachPart(parts, [&](int part) {
        const qsizetype begin = text.size() * part / parts;
        const QByteArrayView slice = text.sliced(begin, text.size() * (part + 1) / parts - begin);
        found[size_t(part)] = slice.contains('\r') || slice.contains('\n');
    });
    return std::find(found.begin(), found.end(), true) != found.end();
}

// Turns every lone CR and lone LF into CR LF. Files the program wrote hold no
// line break at all, so the common case only looks.
void normaliseLineBreaks(QByteArray &text, int parts)
{
    if (!holdsLineBreak(text, parts))
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

// readPlainFile in so many parts, or in as many as its size is worth.
TableData readPlainFileInParts(const QString &path, std::optional<int> parts, WorkProgress *progress)
{
    try {
        // fillTable takes CR LF, lone CR and lone LF alike, so the bytes need
        // no rewriting.
        QByteArray plain = DatabaseCodec::readWholeFile(path, progress, kTextDecoded);
        return PlainListReader::fill(plain, parts.value_or(partsFor(plain.size())), PlainListReader::Source::UsedUp,
                                     progress);
    } catch (const std::bad_alloc &) {
        throw DatabaseReadError(QStringLiteral("The file \"%1\" is too large to read.").arg(nativeFullPath(path)));
    }
}

} // namespace

namespace DatabaseCodec {

qint64 maxFileSize()
{
    // A third of the memory, since the table made from a file needs about
    // three times its size (bench/README.md).
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    const qint64 memory = pages > 0 && pageSize > 0 ? qint64(pages) * pageSize : std::numeric_limits<qint64>::max();
    return std::min<qint64>(INT_MAX, memory / 3);
}

QByteArray readWholeFile(const QString &path, WorkProgress *progress, int stageEnd)
{
    if (progress)
        progress->beginStage(stageEnd, QFileInfo(path).size());
    SafeRead::Content content = SafeRead::wholeFile(path, maxFileSize(), progress);
    if (progress)
        progress->throwIfStopped();
    if (!content.ok())
        throw DatabaseReadError(
            QStringLiteral("Cannot read file \"%1\". %2").arg(nativeFullPath(path), content.failure));
    return std::move(content.bytes);
}

TabloraError writeFailure(const QString &path, const QString &reason)
{
    return TabloraError(QStringLiteral("Cannot create file \"%1\". %2").arg(nativeFullPath(path), reason));
}

QByteArray buildPlainList(const TableData &table)
{
    return PlainListWriter(table, 1).plainList();
}

QByteArray encodePlainList(const QByteArray &plainList)
{
    return Base64::encode(plainList);
}

QByteArray encodePlainList(QByteArray &&plainList)
{
    QByteArray text = std::move(plainList);
    Base64::encodeInPlace(text);
    return text;
}

void writeTableFile(const QString &path, const TableData &table, WorkProgress *progress)
{
    writeTableFile(path, table, partsFor(table), progress);
}

void writeTableFile(const QString &path, const TableData &table, int parts, WorkProgress *progress)
{
    const PlainListWriter writer(table, parts);
    if (progress)
        progress->beginStage(kWritten, writer.plainListSize());
    throwWriteFailure(
        path,
        SafeWrite::replaceFile(
            path, writer.encodedSize(), [&](int fd) { return writer.write(fd, progress); }, SafeWrite::InPlace::Never),
        progress);
}

TableData readBaseFile(const QString &path, WorkProgress *progress)
{
    try {
        QByteArray text = readWholeFile(path, progress, kFileRead);
        const int parts = partsFor(text.size());
        return readBaseText(std::move(text), parts, progress);
    } catch (const std::bad_alloc &) {
        throw DatabaseReadError(QStringLiteral("The file \"%1\" is too large to read.").arg(nativeFullPath(path)));
    }
}

TableData readBaseText(QByteArray text)
{
    const int parts = partsFor(text.size());
    return readBaseText(std::move(text), parts);
}

TableData readBaseText(QByteArray text, int parts, WorkProgress *progress)
{
    if (progress)
        progress->beginStage(kTextDecoded, text.size());
    normaliseLineBreaks(text, parts);
    const std::optional<QByteArrayView> plain = Base64::decodeWhereItStands(text, parts);
    if (!plain)
        throw DatabaseReadError(QStringLiteral("The length of the Base64 text is not a multiple of 4."));
    // The room of the text the bytes no longer need, before and after them.
    MemoryPages::release(text.constData(), plain->data());
    MemoryPages::release(plain->data() + plain->size(), text.constData() + text.size());
    if (progress) {
        progress->advance(text.size());
        progress->throwIfStopped();
    }
    return PlainListReader::fill(*plain, parts, PlainListReader::Source::UsedUp, progress);
}

TableData fillTable(QByteArrayView plainList)
{
    return fillTable(plainList, partsFor(plainList.size()));
}

TableData fillTable(QByteArrayView plainList, int parts)
{
    return PlainListReader::fill(plainList, parts, PlainListReader::Source::Kept);
}

TableData readPlainFile(const QString &path, WorkProgress *progress)
{
    return readPlainFileInParts(path, std::nullopt, progress);
}

TableData readPlainFile(const QString &path, int parts, WorkProgress *progress)
{
    return readPlainFileInParts(path, parts, progress);
}

std::optional<Unencodable> findUnencodable(const TableData &table)
{
    for (int c = 0; c < kColumnCount; ++c) {
        if (!Windows1251::canEncode(table.title(c)))
            return Unencodable{-1, c};
    }
    // Each part looks for the first in its rows; the first part's find, if
    // any, is the first.
    const int parts = partsFor(table);
    std::vector<std::optional<Unencodable>> found(static_cast<size_t>(parts));
    Parallel::forEachPart(parts, [&](int part) {
        const int end = int(qint64(table.recordCount()) * (part + 1) / parts);
        for (int row = int(qint64(table.recordCount()) * part / parts); row < end; ++row) {
            const Record &record = table.record(row);
            if (record.knownEncodable())
                continue;
            const qsizetype at = Windows1251::firstUnencodable(record.text());
            if (at >= 0) {
                int column = kColumnCount - 1;
                while (record.cellStart(column) > at)
                    --column;
                found[size_t(part)] = Unencodable{row, column};
                return;
            }
        }
    });
    for (const std::optional<Unencodable> &first : found) {
        if (first)
            return first;
    }
    return std::nullopt;
}

} // namespace DatabaseCodec
