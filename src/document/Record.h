#pragma once

#include "base/Counts.h"

#include <QString>
#include <QStringView>

#include <array>
#include <cstdint>

// One row of the table: the number cell (column 0) and the seven text cells,
// kept back to back in one string with the ends of the first seven cells.
// One allocation per record keeps a million records compact; records read
// from a file share a few large blocks instead (inBlock), and a record takes
// 40 bytes besides its text.
class Record
{
public:
    using Cells = std::array<QString, kColumnCount>;
    using CellViews = std::array<QStringView, kColumnCount>;
    using Ends = std::array<std::uint32_t, kColumnCount - 1>;

    Record() = default; // eight empty cells
    explicit Record(const CellViews &cells);
    explicit Record(const Cells &cells);

    // Adopts text that already holds the eight cells back to back; ends[i] is
    // where cell i stops, cell 7 runs to the end of the text.
    static Record fromPacked(QString text, const Ends &ends);
    // A record whose text is the size characters at begin in block, a string
    // that holds the texts of many records: they share it, and the last of
    // them to go frees it in one call. ends as for fromPacked. The characters
    // records use must not change while they share the block.
    static Record inBlock(QString &block, qsizetype begin, qsizetype size, const Ends &ends);

    // A copy owns its text, so a copy kept for long never holds on to the
    // block of a table since replaced; a move keeps the sharing.
    Record(const Record &other);
    Record &operator=(const Record &other);
    // A copy that shares the text, block or not, as a move does: for a
    // snapshot read on another thread and soon dropped.
    Record sharingCopy() const
    {
        Record r;
        r.m_text = m_text;
        r.m_ends = m_ends;
        r.m_inBlock = m_inBlock;
        r.m_knownEncodable = m_knownEncodable;
        return r;
    }
    // Asks the processor ahead for what sharingCopy() will change.
    void prefetchShare() const { __builtin_prefetch(const_cast<QString::DataPointer &>(m_text.data_ptr()).d_ptr(), 1); }
    Record(Record &&other) noexcept = default;
    Record &operator=(Record &&other) noexcept = default;
    ~Record() = default;

    QStringView cell(int column) const
    {
        const qsizetype begin = cellStart(column);
        const qsizetype end = column == kColumnCount - 1 ? textSize() : this->end(column);
        return text().mid(begin, end - begin);
    }
    Cells cells() const;
    // The eight cells back to back, for scanning a whole record at once;
    // cell(c) is the part from cellStart(c) on.
    QStringView text() const { return QStringView(m_text).mid(isLong() ? kLongPrefix : 0); }
    qsizetype cellStart(int column) const { return column == 0 ? 0 : end(column - 1); }

    // True when every character of the text is known to be one the database
    // file's code page holds, because the text was decoded from it; false
    // when nobody has looked. Saving looks only into the records not known.
    bool knownEncodable() const { return m_knownEncodable; }
    void setKnownEncodable() { m_knownEncodable = true; }

    friend bool operator==(const Record &a, const Record &b) { return a.m_text == b.m_text && a.m_ends == b.m_ends; }
    friend bool operator!=(const Record &a, const Record &b) { return !(a == b); }

private:
    // Ends of a text this long and longer do not fit in 16 bits: they stand
    // in front of it in m_text, two characters each.
    static constexpr qsizetype kLongText = 0x10000;
    static constexpr qsizetype kLongPrefix = 2 * (kColumnCount - 1);

    bool isLong() const { return m_text.size() >= kLongText; }
    qsizetype textSize() const { return m_text.size() - (isLong() ? kLongPrefix : 0); }
    qsizetype end(int cell) const { return isLong() ? longEnd(cell) : m_ends[size_t(cell)]; }
    qsizetype longEnd(int cell) const;
    void setEnds(const Ends &ends);

    QString m_text;
    std::array<std::uint16_t, kColumnCount - 1> m_ends{}; // of a short text
    bool m_inBlock = false;
    bool m_knownEncodable = false;
};
