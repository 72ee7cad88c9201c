#pragma once

#include "Record.h"

#include <utility>
#include <vector>

class TableModel;

// What a save that writes "?" for the characters a Database file cannot hold
// does to the table shown, so that the window shows what the file holds: the
// same replacement, made in the table before the file is written (each such
// character one "?", one outside the BMP included). It keeps what it
// replaced, so that the replacement can be taken back and made again.
class TextReplacement
{
public:
    TextReplacement() = default; // replaces nothing

    // Makes the replacement in the model's table; replaces nothing when the
    // table holds no such character.
    static TextReplacement make(TableModel &model);

    bool isEmpty() const { return m_records.empty() && !m_titlesReplaced; }

    // Takes the replacement back, or makes it again: either finds the table
    // as the other left it.
    void swap(TableModel &model);

private:
    // The row of each record replaced, and the record that is not in the
    // table: the original while the replacement stands.
    std::vector<std::pair<int, Record>> m_records;
    bool m_titlesReplaced = false;
    Record::Cells m_titles; // the titles not in the table, when replaced
};
