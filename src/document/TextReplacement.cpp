#include "TextReplacement.h"

#include "TableModel.h"
#include "base/Parallel.h"
#include "base/Windows1251.h"

#include <vector>

TextReplacement TextReplacement::make(TableModel &model)
{
    TextReplacement replacement;
    const TableData &table = model.table();
    for (int c = 0; c < kColumnCount; ++c)
        replacement.m_titlesReplaced = replacement.m_titlesReplaced || !Windows1251::canEncode(table.title(c));
    if (replacement.m_titlesReplaced) {
        for (int c = 0; c < kColumnCount; ++c)
            replacement.m_titles[c] = Windows1251::replaceUnencodable(table.title(c));
    }
    // The records typed or pasted since the file was read are looked
    // through in parts, each part listing its own rows.
    const int count = table.recordCount();
    const int parts = Parallel::partsFor(count, 8192);
    std::vector<std::vector<int>> found(static_cast<size_t>(parts));
    Parallel::forEachPart(parts, [&](int part) {
        const int end = int(qint64(count) * (part + 1) / parts);
        for (int row = int(qint64(count) * part / parts); row < end; ++row) {
            const Record &record = table.record(row);
            if (!record.knownEncodable() && !Windows1251::canEncode(record.text()))
                found[size_t(part)].push_back(row);
        }
    });
    for (const std::vector<int> &rows : found) {
        for (const int row : rows) {
            const Record &record = table.record(row);
            Record::Cells cells;
            for (int c = 0; c < kColumnCount; ++c)
                cells[c] = Windows1251::replaceUnencodable(record.cell(c));
            Record replaced(cells);
            replaced.setKnownEncodable();
            replacement.m_records.emplace_back(row, std::move(replaced));
        }
    }
    replacement.swap(model);
    return replacement;
}

void TextReplacement::swap(TableModel &model)
{
    for (auto &[row, held] : m_records)
        held = model.exchangeRecord(row, std::move(held));
    if (m_titlesReplaced) {
        for (int c = 0; c < kColumnCount; ++c) {
            QString shown = model.table().title(c);
            model.setTitle(c, m_titles[c]);
            m_titles[c] = std::move(shown);
        }
    }
}
