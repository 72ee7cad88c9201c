#include "TextReplacement.h"

#include "TableModel.h"
#include "base/Windows1251.h"

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
    for (int row = 0; row < table.recordCount(); ++row) {
        const Record &record = table.record(row);
        if (record.knownEncodable() || Windows1251::canEncode(record.text()))
            continue;
        Record::Cells cells;
        for (int c = 0; c < kColumnCount; ++c)
            cells[c] = Windows1251::replaceUnencodable(record.cell(c));
        Record replaced(cells);
        replaced.setKnownEncodable();
        replacement.m_records.emplace_back(row, std::move(replaced));
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
