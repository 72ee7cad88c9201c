// The Database file reader (DatabaseCodec::readBaseText) on any bytes: it
// reads exactly what the reading rules say, or fails where they say it must,
// and what it reads is written and read back unchanged.
#include "ReadingModel.h"
#include "TableCheck.h"
#include "document/DatabaseCodec.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const std::optional<std::string> plain = ReadingModel::base64(ReadingModel::withCrLf(text));
    const std::optional<ReadingModel::Table> expected =
        plain ? ReadingModel::table(*plain, DatabaseCodec::kMaxPaddingRecords) : std::nullopt;
    checkReading(expected, [&](int parts) {
        return DatabaseCodec::readBaseText(QByteArray(text.data(), qsizetype(size)), parts);
    });
    return 0;
}
