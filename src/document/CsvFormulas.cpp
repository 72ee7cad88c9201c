#include "CsvFormulas.h"

namespace {

bool startsAFormula(char16_t c)
{
    return c == u'=' || c == u'+' || c == u'-' || c == u'@' || c == u'\t' || c == u'\r';
}

// The position of the first character after the leading apostrophes.
qsizetype afterMarks(QStringView cell)
{
    qsizetype at = 0;
    while (at < cell.size() && cell[at] == CsvFormulas::kMark)
        ++at;
    return at;
}

} // namespace

namespace CsvFormulas {

bool needsMark(QStringView cell)
{
    const qsizetype at = afterMarks(cell);
    return at < cell.size() && startsAFormula(cell[at].unicode());
}

bool isMarked(QStringView cell)
{
    const qsizetype at = afterMarks(cell);
    return at > 0 && at < cell.size() && startsAFormula(cell[at].unicode());
}

} // namespace CsvFormulas
