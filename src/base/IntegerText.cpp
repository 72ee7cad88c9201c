#include "IntegerText.h"

#include <type_traits>

namespace {

int digitValue(char32_t c, int base)
{
    int v = -1;
    if (c >= '0' && c <= '9')
        v = int(c - '0');
    else if (c >= 'a' && c <= 'f')
        v = int(c - 'a') + 10;
    else if (c >= 'A' && c <= 'F')
        v = int(c - 'A') + 10;
    return v < base ? v : -1;
}

template<typename Char>
std::optional<std::int32_t> parseChars(const Char *p, const Char *end)
{
    auto at = [&](const Char *q) -> char32_t { return q < end ? char32_t(std::make_unsigned_t<Char>(*q)) : 0; };

    while (p < end && at(p) == ' ')
        ++p;
    bool negative = false;
    if (at(p) == '+' || at(p) == '-') {
        negative = at(p) == '-';
        ++p;
    }
    int base = 10;
    if (at(p) == '$' || at(p) == 'x' || at(p) == 'X') {
        base = 16;
        ++p;
    } else if (at(p) == '0' && (at(p + 1) == 'x' || at(p + 1) == 'X')) {
        base = 16;
        p += 2;
    }
    if (p >= end)
        return std::nullopt;

    // The magnitude may reach 2^31 for a negative value.
    const std::int64_t limit = negative ? std::int64_t(1) << 31 : (std::int64_t(1) << 31) - 1;
    std::int64_t value = 0;
    for (; p < end; ++p) {
        const int d = digitValue(at(p), base);
        if (d < 0)
            return std::nullopt;
        value = value * base + d;
        if (value > limit)
            return std::nullopt;
    }
    return std::int32_t(negative ? -value : value);
}

} // namespace

namespace IntegerText {

std::optional<std::int32_t> parse(QStringView text)
{
    return parseChars(text.utf16(), text.utf16() + text.size());
}

std::optional<std::int32_t> parse(QByteArrayView text)
{
    return parseChars(text.data(), text.data() + text.size());
}

} // namespace IntegerText
