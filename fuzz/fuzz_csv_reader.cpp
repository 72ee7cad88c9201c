// The CSV reader (CsvReader) on any bytes, under options the first byte
// picks: read in one part and in three, it gives the same table or fails the
// same way at the same line; a table it reads, written by CsvWriter and read
// back, is the same table.
#include "FuzzCheck.h"
#include "document/CsvReader.h"
#include "document/CsvWriter.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace {

struct Outcome
{
    std::optional<TableData> table;
    CsvReadError::Kind kind{};
    qint64 line = 0;
};

Outcome readIn(const CsvReadOptions &options, QByteArrayView text, int parts)
{
    try {
        return {CsvReader(options).read(text, parts), {}, 0};
    } catch (const CsvReadError &e) {
        return {std::nullopt, e.kind, e.line};
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::uint8_t choice = data[0];
    CsvReadOptions options;
    options.delimiter = ",;\t,"[choice & 3];
    options.encoding = choice & 4 ? TextEncoding::Windows1251 : TextEncoding::Utf8;
    options.titlesInFirstRow = !(choice & 8);
    options.replaceBreaks = choice & 16;
    options.removeFormulaMarks = choice & 32;
    const QByteArrayView text(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));

    const Outcome whole = readIn(options, text, 1);
    const Outcome inParts = readIn(options, text, 3);
    FUZZ_CHECK(whole.table.has_value() == inParts.table.has_value());
    if (!whole.table) {
        FUZZ_CHECK(whole.kind == inParts.kind);
        FUZZ_CHECK(whole.line == inParts.line);
        return 0;
    }
    FUZZ_CHECK(*whole.table == *inParts.table);
    (void)CsvReader(options).preview(text, 5);

    // Cells hold line breaks only where breaks were not replaced and the
    // reader refused them, so every table read can be written.
    CsvWriteOptions write;
    write.delimiter = options.delimiter;
    write.byteOrderMark = choice & 64;
    write.protectFormulas = options.removeFormulaMarks;
    CsvReadOptions again;
    again.delimiter = options.delimiter;
    again.removeFormulaMarks = options.removeFormulaMarks;
    const Outcome back = readIn(again, CsvWriter::write(*whole.table, write), 2);
    FUZZ_CHECK(back.table.has_value());
    for (int c = 0; c < kColumnCount; ++c)
        FUZZ_CHECK(back.table->title(c) == whole.table->title(c));
    FUZZ_CHECK(back.table->recordCount() == whole.table->recordCount());
    for (int row = 0; row < whole.table->recordCount(); ++row)
        FUZZ_CHECK(back.table->record(row) == whole.table->record(row));
    return 0;
}
