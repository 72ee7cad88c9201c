#pragma once

#include "TableData.h"

#include <QByteArrayView>

class WorkProgress;

// Fills a table from a plain line list (the format is DatabaseCodec's) in
// parts, each on a thread of its own: the records after the count line are
// cut at line breaks into parts of about equal size, the parts count their
// lines at once, and each then builds the records that start among its
// lines. The table does not depend on the number of parts.
//
// Each part decodes its records' texts into one block of its own that its
// records share (Record::inBlock), so a million records cost a few
// allocations, and the table's text is freed in a few calls.
namespace PlainListReader {

enum class Source {
    // The bytes belong to someone else and stay as they are.
    Kept,
    // The bytes are the reader's to use up: the pages behind each part's
    // progress go back to the system as it goes, which keeps the text and
    // the table it becomes from filling the memory together.
    UsedUp,
};

// DatabaseCodec::fillTable's contract, in parts (at least one). With
// progress, the records built are the stage that ends the bar, and a stop
// asked for ends the fill (WorkStopped).
TableData fill(QByteArrayView plainList, int parts, Source source, WorkProgress *progress = nullptr);

} // namespace PlainListReader
