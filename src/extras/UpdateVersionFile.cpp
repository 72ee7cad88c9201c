#include "UpdateVersionFile.h"

#include "base/IntegerText.h"
#include "base/LineReader.h"
#include "base/Windows1251.h"

namespace UpdateVersionFile {

std::optional<Newest> read(QByteArrayView content)
{
    LineReader lines(content);
    const std::optional<std::int32_t> release = IntegerText::parse(lines.next());
    if (!release)
        return std::nullopt;
    return Newest{*release, Windows1251::decode(lines.next())};
}

} // namespace UpdateVersionFile
