#pragma once

// How a table is written as delimited text, and how such text is read.
// Delimiters are ASCII: ',' for CSV, ';' as spreadsheets in Russian
// locales write CSV, '\t' for tab-separated text.

enum class TextEncoding { Utf8, Windows1251 };

struct CsvWriteOptions
{
    char delimiter = ',';
    // The UTF-8 byte order mark first, by which spreadsheet programs on
    // Windows tell UTF-8 from their own code page.
    bool byteOrderMark = false;
    // Cells a spreadsheet would take as formulas get an apostrophe in front
    // (CsvFormulas), so that they stay text.
    bool protectFormulas = false;
};

struct CsvReadOptions
{
    char delimiter = ',';
    TextEncoding encoding = TextEncoding::Utf8;
    // The first row gives the column titles; otherwise it is a record, and
    // the titles stay those of a fresh table.
    bool titlesInFirstRow = true;
    // A line break in a quoted cell becomes a space; otherwise it is an error.
    bool replaceBreaks = false;
    // The apostrophe that protectFormulas put in front of a cell goes.
    bool removeFormulaMarks = false;
};
