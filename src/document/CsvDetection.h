#pragma once

#include "CsvOptions.h"

#include <QByteArrayView>

// Guesses at how delimited text was written, from its first bytes, for the
// import to offer; the user may choose otherwise.
namespace CsvDetection {

// The delimiters a text may use, in the order they are offered.
inline constexpr char kDelimiters[] = {',', ';', '\t'};

// UTF-8 when the text starts with its byte order mark or its first bytes
// are well-formed UTF-8 (plain ASCII included); otherwise Windows-1251, the
// code page spreadsheets in Russian locales write.
TextEncoding encoding(QByteArrayView text);

// The delimiter that splits the first rows most evenly: the one that gives
// every row of the sample the same number of cells, more than one; failing
// that, the one that splits the first row into most cells; a comma when
// none splits anything. Quotes are followed, so a delimiter in a quoted
// cell does not count.
char delimiter(QByteArrayView text);

} // namespace CsvDetection
