#pragma once

#include <QStringView>

// Cells that a spreadsheet program would run as formulas, kept text as the
// OWASP advice on CSV injection says: a cell that begins with "=", "+", "-",
// "@", a tab or a CR gets an apostrophe in front, which spreadsheets take as
// "text follows". So that the mark can be taken off again without a doubt, a
// cell that begins with apostrophes before such a character gets one more:
// removing one apostrophe from every cell that begins with one or more
// before such a character gives back exactly the cells that were marked.
namespace CsvFormulas {

inline constexpr char16_t kMark = u'\'';

// Whether a cell that starts with c may need the mark: a quick look before
// needsMark, as nearly every cell starts otherwise.
inline bool mayNeedMark(QChar c)
{
    const char16_t u = c.unicode();
    return u == kMark || u == u'=' || u == u'+' || u == u'-' || u == u'@' || u == u'\t' || u == u'\r';
}

// Whether the cell gets the mark.
bool needsMark(QStringView cell);
// Whether the cell carries a mark to remove.
bool isMarked(QStringView cell);

} // namespace CsvFormulas
