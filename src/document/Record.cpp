#include "Record.h"

Record::Record(const CellViews &cells)
{
    qsizetype total = 0;
    for (const QStringView &c : cells)
        total += c.size();
    m_text.reserve(total);
    for (int i = 0; i < kColumnCount; ++i) {
        m_text.append(cells[i]);
        if (i < kColumnCount - 1)
            m_ends[i] = std::uint32_t(m_text.size());
    }
}

Record::Record(const Cells &cells)
    : Record(CellViews{cells[0], cells[1], cells[2], cells[3], cells[4], cells[5], cells[6], cells[7]})
{
}

Record Record::fromPacked(QString text, const Ends &ends)
{
    Record r;
    r.m_text = std::move(text);
    r.m_ends = ends;
    return r;
}

Record::Cells Record::cells() const
{
    Cells out;
    for (int i = 0; i < kColumnCount; ++i)
        out[i] = cell(i).toString();
    return out;
}
