#include "ClipboardRecord.h"

namespace {

const QLatin1StringView kLineEnd{"\r\n"};

// Splits off the next line at CR LF, a lone CR or a lone LF; past the end
// every line reads empty.
QStringView nextLine(QStringView &rest)
{
    for (qsizetype i = 0; i < rest.size(); ++i) {
        const QChar c = rest[i];
        if (c != u'\r' && c != u'\n')
            continue;
        const QStringView line = rest.first(i);
        const qsizetype breakLength = c == u'\r' && i + 1 < rest.size() && rest[i + 1] == u'\n' ? 2 : 1;
        rest = rest.sliced(i + breakLength);
        return line;
    }
    const QStringView line = rest;
    rest = {};
    return line;
}

} // namespace

namespace ClipboardRecord {

QString marker()
{
    return QStringLiteral("Tablora. List record");
}

QString text(const Record &record)
{
    QString out = marker() + kLineEnd;
    for (int c = 0; c < kColumnCount; ++c) {
        out += record.cell(c);
        out += kLineEnd;
    }
    return out;
}

std::optional<Record> parse(QStringView text)
{
    QStringView rest = text;
    if (nextLine(rest) != marker())
        return std::nullopt;
    Record::CellViews cells;
    for (QStringView &cell : cells)
        cell = nextLine(rest);
    return Record(cells);
}

} // namespace ClipboardRecord
