#pragma once

#include <QString>

class CsvReadError;

// The converter's words for what the CSV reader found, in the one line it
// prints: "people.csv:12: the row has more than 8 cells".
namespace CsvErrorText {

QString describe(const QString &fileName, const CsvReadError &error);

// A cell as messages name it, counting from 1: "record 3, column 2", or for
// record -1 "the title of column 2".
QString cellName(int record, int column);

} // namespace CsvErrorText
