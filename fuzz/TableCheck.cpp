#include "TableCheck.h"

#include "FuzzCheck.h"
#include "base/Windows1251.h"
#include "document/DatabaseCodec.h"

namespace {

bool sameText(QStringView text, std::string_view bytes)
{
    return Windows1251::encode(text) == QByteArrayView(bytes.data(), qsizetype(bytes.size()));
}

void checkTable(const TableData &table, const ReadingModel::Table &expected)
{
    for (int c = 0; c < kColumnCount; ++c) {
        FUZZ_CHECK(table.width(c) == expected.widths[c]);
        FUZZ_CHECK(sameText(table.title(c), expected.titles[c]));
    }
    FUZZ_CHECK(table.recordCount() == expected.records);
    for (int k = 0; k < table.recordCount(); ++k) {
        if (!expected.holdsLinesOf(k)) {
            FUZZ_CHECK(table.record(k) == Record());
            continue;
        }
        for (int c = 0; c < kColumnCount; ++c)
            FUZZ_CHECK(sameText(table.cell(k, c), expected.cell(k, c)));
    }
}

void checkRoundTrip(const TableData &table)
{
    // A count far beyond the lines gives thousands of empty records; writing
    // them adds nothing that smaller tables do not try, and slows the search.
    if (table.recordCount() > 4096)
        return;
    // Text read from Windows-1251 can always be written back.
    FUZZ_CHECK(!DatabaseCodec::findUnencodable(table));
    const QByteArray plain = DatabaseCodec::buildPlainList(table);
    FUZZ_CHECK(DatabaseCodec::fillTable(plain) == table);
    // Save encodes in the plain list's own buffer; Qt's encoder is the reference.
    const QByteArray encoded = DatabaseCodec::encodePlainList(QByteArray(plain));
    FUZZ_CHECK(encoded == plain.toBase64());
    FUZZ_CHECK(DatabaseCodec::encodePlainList(plain) == encoded);
    FUZZ_CHECK(DatabaseCodec::readBaseText(encoded) == table);
}

// The table, or nothing when the reader fails.
std::optional<TableData> tableOrFailure(const std::function<TableData(int parts)> &read, int parts)
{
    try {
        return read(parts);
    } catch (const DatabaseReadError &) {
        return std::nullopt;
    }
}

} // namespace

void checkReading(const std::optional<ReadingModel::Table> &expected, const std::function<TableData(int parts)> &read)
{
    const std::optional<TableData> inOnePart = tableOrFailure(read, 1);
    FUZZ_CHECK(inOnePart.has_value() == expected.has_value());
    for (int parts : {2, 3})
        FUZZ_CHECK(tableOrFailure(read, parts) == inOnePart);
    if (inOnePart) {
        checkTable(*inOnePart, *expected);
        checkRoundTrip(*inOnePart);
    }
}
