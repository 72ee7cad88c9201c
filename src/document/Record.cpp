#include "Record.h"

Record::Record(const CellViews &cells)
{
    qsizetype total = 0;
    for (const QStringView &c : cells)
        total += c.size();
    const bool isLong = total >= kLongText;
    m_text.reserve(total + (isLong ? kLongPrefix : 0));
    if (isLong)
        m_text.resize(kLongPrefix);
    Ends ends;
    qsizetype at = 0;
    for (int i = 0; i < kColumnCount; ++i) {
        m_text.append(cells[i]);
        at += cells[i].size();
        if (i < kColumnCount - 1)
            ends[i] = std::uint32_t(at);
    }
    setEnds(ends);
}

Record::Record(const Cells &cells)
    : Record(CellViews{cells[0], cells[1], cells[2], cells[3], cells[4], cells[5], cells[6], cells[7]})
{
}

Record::Record(const Record &other)
    : m_text(other.m_inBlock ? QString(other.m_text.constData(), other.m_text.size()) : other.m_text)
    , m_ends(other.m_ends)
    , m_knownEncodable(other.m_knownEncodable)
{
}

Record &Record::operator=(const Record &other)
{
    if (this != &other)
        *this = Record(other);
    return *this;
}

Record Record::fromPacked(QString text, const Ends &ends)
{
    Record r;
    if (text.size() >= kLongText)
        r.m_text = QString(kLongPrefix, QChar()) + text;
    else
        r.m_text = std::move(text);
    r.setEnds(ends);
    return r;
}

Record Record::inBlock(QString &block, qsizetype begin, qsizetype size, const Ends &ends)
{
    if (size >= kLongText)
        return fromPacked(QString(block.constData() + begin, size), ends); // rare: a text of its own
    // A string may start anywhere in its allocation; this one shares the
    // block's, whose count of users it raises. Being shared, it is copied
    // before any change, as every shared string is.
    QString::DataPointer &shared = block.data_ptr();
    QString::DataPointer part(shared.d_ptr(), shared.data() + begin, size);
    part.ref();
    Record r;
    r.m_text = QString(std::move(part));
    r.m_inBlock = true;
    r.setEnds(ends);
    return r;
}

void Record::setEnds(const Ends &ends)
{
    if (!isLong()) {
        for (int i = 0; i < kColumnCount - 1; ++i)
            m_ends[size_t(i)] = std::uint16_t(ends[size_t(i)]);
        return;
    }
    QChar *prefix = m_text.data();
    for (int i = 0; i < kColumnCount - 1; ++i) {
        prefix[2 * i] = QChar(char16_t(ends[size_t(i)] >> 16));
        prefix[2 * i + 1] = QChar(char16_t(ends[size_t(i)] & 0xFFFF));
    }
}

qsizetype Record::longEnd(int cell) const
{
    const QChar *prefix = m_text.constData();
    return qsizetype(prefix[2 * cell].unicode()) << 16 | prefix[2 * cell + 1].unicode();
}

Record::Cells Record::cells() const
{
    Cells out;
    for (int i = 0; i < kColumnCount; ++i)
        out[i] = cell(i).toString();
    return out;
}
