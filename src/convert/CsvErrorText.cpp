#include "CsvErrorText.h"

#include "base/Counts.h"
#include "document/CsvReadError.h"

namespace CsvErrorText {

QString cellName(int record, int column)
{
    const QString cell = QStringLiteral("column %1").arg(column + 1);
    return record < 0 ? QStringLiteral("the title of ") + cell : QStringLiteral("record %1, ").arg(record + 1) + cell;
}

QString describe(const QString &fileName, const CsvReadError &error)
{
    QString what;
    switch (error.kind) {
    case CsvReadError::Kind::Empty:
        what = QStringLiteral("the file is empty; its first row must hold the column titles");
        break;
    case CsvReadError::Kind::TooManyCells:
        what = QStringLiteral("the row has more than %1 cells").arg(kColumnCount);
        break;
    case CsvReadError::Kind::QuoteNotClosed:
        what = QStringLiteral("the quote opening %1 is never closed").arg(cellName(error.record, error.column));
        break;
    case CsvReadError::Kind::TextAfterQuote:
        what = QStringLiteral("text follows the closing quote of ") + cellName(error.record, error.column);
        break;
    case CsvReadError::Kind::NotUtf8:
        what = QStringLiteral("the text is not UTF-8");
        break;
    case CsvReadError::Kind::LineBreak:
        what = cellName(error.record, error.column)
            + QStringLiteral(" holds a line break, which a cell cannot hold "
                             "(--replace-breaks turns breaks into spaces)");
        break;
    }
    return QStringLiteral("%1:%2: %3").arg(fileName).arg(error.line).arg(what);
}

} // namespace CsvErrorText
