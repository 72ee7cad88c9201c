#pragma once

#include <QByteArrayView>
#include <QStringView>

#include <cstdint>
#include <optional>

// The integer syntax of the database reader and of the settings files:
// optional leading spaces, an optional "+" or "-", then decimal digits or
// hexadecimal digits after "$", "x", "X", "0x" or "0X". The value must fit a
// signed 32-bit integer. Anything else - an empty text, trailing spaces, any
// other character - is not an integer.
namespace IntegerText {

std::optional<std::int32_t> parse(QStringView text);
std::optional<std::int32_t> parse(QByteArrayView text);

} // namespace IntegerText
