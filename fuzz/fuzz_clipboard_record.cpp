// The clipboard record parser (ClipboardRecord::parse) on any text: it takes
// a record exactly when the first line is the marker, with the cells the
// following lines give, and the text of that record parses back to it.
#include "FuzzCheck.h"
#include "ReadingModel.h"
#include "records/ClipboardRecord.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::u16string_view units(reinterpret_cast<const char16_t *>(text.utf16()), size_t(text.size()));
    const std::vector<std::u16string> lines = ReadingModel::lines(units);
    const bool marked = !lines.empty() && QStringView(lines[0]) == ClipboardRecord::marker();

    const std::optional<Record> record = ClipboardRecord::parse(text);
    FUZZ_CHECK(record.has_value() == marked);
    if (!record)
        return 0;
    for (int c = 0; c < kColumnCount; ++c) {
        const size_t line = size_t(c) + 1;
        FUZZ_CHECK(record->cell(c) == (line < lines.size() ? QStringView(lines[line]) : QStringView()));
    }

    const QString copied = ClipboardRecord::text(*record);
    FUZZ_CHECK(copied.startsWith(ClipboardRecord::marker() + QLatin1String("\r\n")));
    FUZZ_CHECK(copied.endsWith(QLatin1String("\r\n")) && copied.count(QLatin1String("\r\n")) == kColumnCount + 1);
    FUZZ_CHECK(ClipboardRecord::parse(copied) == record);
    return 0;
}
