#include "PlainListReader.h"

#include "DatabaseCodec.h"
#include "base/IntegerText.h"
#include "base/LineReader.h"
#include "base/MemoryPages.h"
#include "base/Parallel.h"
#include "base/Windows1251.h"
#include "base/WorkProgress.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

constexpr int kCountLine = 2 * kColumnCount;
// How far a part reads before it hands the pages behind it back.
constexpr qsizetype kReleaseStep = qsizetype(4) << 20;
// Records a part builds between two reports of its progress.
constexpr qint64 kRecordsPerReport = 16384;

std::int32_t integerLine(QByteArrayView line, int number)
{
    const std::optional<std::int32_t> value = IntegerText::parse(line);
    if (!value)
        throw DatabaseReadError(QStringLiteral("Line %1 is not an integer.").arg(number + 1));
    return *value;
}

// One part of the records' lines: where its lines begin and end and how many
// there are, then which records it builds and where their lines begin.
struct Part
{
    qsizetype begin = 0;
    qsizetype end = 0;
    qsizetype lines = 0;
    qint64 firstRecord = 0;
    qint64 endRecord = 0;
    qsizetype recordsBegin = 0;
};

// Sets the part's records in table from the lines at text (which run on past
// the part: its last record may end in the next one). Their texts go into
// one block of at least the characters they hold.
void buildRecords(const Part &part, QByteArrayView text, qsizetype characters, PlainListReader::Source source,
                  TableData &table, WorkProgress *progress)
{
    if (part.endRecord <= part.firstRecord)
        return;
    // Room for the characters a line's decoding may write past its end.
    const qsizetype blockSize = characters + 8;
    QString block(blockSize, Qt::Uninitialized);
    // Taken before any record shares the block: asked for later, the
    // pointer would cost a copy of the whole block.
    QChar *const blockBegin = block.data();
    QChar *out = blockBegin;
    const char *p = text.data();
    const char *const end = text.data() + text.size();
    const char *released = p;
    for (qint64 k = part.firstRecord; k < part.endRecord; ++k) {
        // The eight lines, decoded as they are split; past the end of the
        // text, lines read as empty.
        QChar *const recordBegin = out;
        Record::Ends ends;
        for (int c = 0; c < kColumnCount; ++c) {
            const char *lineEnd = nullptr;
            out = Windows1251::decodeLineInto(out, p, end, lineEnd);
            p = LineReader::pastBreak(lineEnd, end);
            if (c < kColumnCount - 1)
                ends[c] = std::uint32_t(out - recordBegin);
        }
        if (out > recordBegin) {
            Record record = Record::inBlock(block, recordBegin - blockBegin, out - recordBegin, ends);
            record.setKnownEncodable(); // every byte decodes to a character the code page holds
            table.setRecord(int(k), std::move(record));
        }
        if (source == PlainListReader::Source::UsedUp && p - released >= kReleaseStep) {
            released = static_cast<const char *>(MemoryPages::release(released, p));
        }
        if (progress && (k + 1 - part.firstRecord) % kRecordsPerReport == 0) {
            progress->advance(kRecordsPerReport);
            progress->throwIfStopped();
        }
    }
}

} // namespace

namespace PlainListReader {

TableData fill(QByteArrayView plainList, int parts, Source source, WorkProgress *progress)
{
    LineReader header(plainList);
    TableData table;
    for (int c = 0; c < kColumnCount; ++c)
        table.setWidth(c, integerLine(header.next(), c));
    for (int c = 0; c < kColumnCount; ++c)
        table.setTitle(c, Windows1251::decode(header.next()));
    const std::int32_t count = integerLine(header.next(), kCountLine);
    if (count <= 0)
        return table;

    // The records' lines, cut at line breaks into parts of about equal size.
    const QByteArrayView rest = plainList.sliced(header.offset());
    std::vector<Part> cut(size_t(std::max(parts, 1)));
    for (size_t p = 1; p < cut.size(); ++p) {
        const qsizetype share = rest.size() / qsizetype(cut.size()) * qsizetype(p);
        cut[p].begin = std::max(cut[p - 1].begin, LineReader::nextLineStart(rest, share));
    }
    for (size_t p = 0; p + 1 < cut.size(); ++p)
        cut[p].end = cut[p + 1].begin;
    cut.back().end = rest.size();

    Parallel::forEachPart(int(cut.size()), [&](int p) {
        Part &part = cut[size_t(p)];
        part.lines = LineReader::countBreaks(rest.sliced(part.begin, part.end - part.begin));
    });
    // Text after the last line break is a line too, of the part that holds
    // it: the last one that is not empty. (A cut that finds no line break
    // after it lands at the end of the text, so the parts after it are empty.)
    if (!rest.isEmpty() && rest.back() != '\n' && rest.back() != '\r') {
        auto holder = std::find_if(cut.rbegin(), cut.rend(), [](const Part &part) { return part.end > part.begin; });
        ++holder->lines;
    }

    // Record k starts at line 8k. A part builds the records that start
    // among its lines, as far as the count and the lines go; its first one
    // starts past the lines that finish the record before it.
    qint64 lineCount = 0;
    for (const Part &part : cut)
        lineCount += part.lines;
    const qint64 held = (lineCount + kColumnCount - 1) / kColumnCount;
    const qint64 read = std::min<qint64>(count, held);
    qint64 firstLine = 0;
    for (Part &part : cut) {
        const qint64 first = (firstLine + kColumnCount - 1) / kColumnCount;
        LineReader lines(rest.sliced(part.begin));
        for (qint64 skip = first * kColumnCount - firstLine; skip > 0; --skip)
            lines.next();
        part.recordsBegin = part.begin + lines.offset();
        part.firstRecord = std::min(read, first);
        firstLine += part.lines;
        part.endRecord = std::min(read, (firstLine + kColumnCount - 1) / kColumnCount);
    }
    // The records past those read are empty.
    const qint64 total = std::min<qint64>(count, held + DatabaseCodec::kMaxPaddingRecords);
    table.reserve(int(total));
    table.appendEmptyRecords(int(total));
    if (progress)
        progress->beginStage(WorkProgress::kScale, read);
    Parallel::forEachPart(int(cut.size()), [&](int p) {
        const Part &part = cut[size_t(p)];
        const bool last = size_t(p) + 1 == cut.size();
        const qsizetype recordsEnd = last ? rest.size() : cut[size_t(p) + 1].recordsBegin;
        buildRecords(part, rest.sliced(part.recordsBegin), recordsEnd - part.recordsBegin, source, table, progress);
    });
    return table;
}

} // namespace PlainListReader
