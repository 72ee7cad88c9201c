#pragma once

#include "base/Counts.h"

#include <QString>
#include <QStringView>

#include <array>
#include <cstdint>

// One row of the table: the number cell (column 0) and the seven text cells,
// kept back to back in one string with the end offsets of the first seven
// cells. One allocation per record keeps a million records compact.
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

    QStringView cell(int column) const
    {
        const std::uint32_t begin = cellStart(column);
        const std::uint32_t end = column == kColumnCount - 1 ? std::uint32_t(m_text.size()) : m_ends[column];
        return QStringView(m_text).mid(begin, end - begin);
    }
    Cells cells() const;
    // The eight cells back to back, for scanning a whole record at once;
    // cell(c) is the part from cellStart(c) on.
    QStringView text() const { return m_text; }
    std::uint32_t cellStart(int column) const { return column == 0 ? 0 : m_ends[column - 1]; }

    friend bool operator==(const Record &a, const Record &b) { return a.m_text == b.m_text && a.m_ends == b.m_ends; }
    friend bool operator!=(const Record &a, const Record &b) { return !(a == b); }

private:
    QString m_text;
    Ends m_ends{};
};
