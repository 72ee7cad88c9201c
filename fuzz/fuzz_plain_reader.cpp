// The version-1.0 reader (DatabaseCodec::fillTable, the plain line list) on
// any bytes: it reads exactly what the reading rules say, or fails where they
// say it must, and what it reads is written and read back unchanged.
#include "ReadingModel.h"
#include "TableCheck.h"
#include "document/DatabaseCodec.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const std::optional<ReadingModel::Table> expected = ReadingModel::table(text, DatabaseCodec::kMaxPaddingRecords);
    checkReading(expected, [&](int parts) {
        return DatabaseCodec::fillTable(QByteArrayView(text.data(), qsizetype(size)), parts);
    });
    return 0;
}
