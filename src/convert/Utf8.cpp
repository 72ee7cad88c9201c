#include "Utf8.h"

namespace {

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

} // namespace

namespace Utf8 {

char *encodeInto(char *out, QStringView text)
{
    const char16_t *in = text.utf16();
    const char16_t *const end = in + text.size();
    while (in < end) {
        char32_t c = *in++;
        if (c < 0x80) {
            *out++ = char(c);
            continue;
        }
        if (c < 0x800) {
            *out++ = char(0xC0 | (c >> 6));
            *out++ = char(0x80 | (c & 0x3F));
            continue;
        }
        if (QChar::isSurrogate(c)) {
            if (QChar::isHighSurrogate(c) && in < end && QChar::isLowSurrogate(*in)) {
                c = QChar::surrogateToUcs4(char16_t(c), *in++);
                *out++ = char(0xF0 | (c >> 18));
                *out++ = char(0x80 | ((c >> 12) & 0x3F));
                *out++ = char(0x80 | ((c >> 6) & 0x3F));
                *out++ = char(0x80 | (c & 0x3F));
                continue;
            }
            c = 0xFFFD;
        }
        *out++ = char(0xE0 | (c >> 12));
        *out++ = char(0x80 | ((c >> 6) & 0x3F));
        *out++ = char(0x80 | (c & 0x3F));
    }
    return out;
}

QChar *decodeInto(QChar *out, QByteArrayView bytes)
{
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.data());
    const auto *const end = in + bytes.size();
    while (in < end) {
        const unsigned char lead = *in++;
        if (lead < 0x80) {
            *out++ = QChar(lead);
            continue;
        }
        // Two bytes, as Cyrillic takes.
        if (lead >= 0xC2 && lead < 0xE0 && in < end && isContinuation(*in)) {
            *out++ = QChar(char16_t(((lead & 0x1F) << 6) | (*in++ & 0x3F)));
            continue;
        }
        const int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
        if (more < 0 || lead > 0xF4 || end - in < more)
            return nullptr;
        char32_t c = lead & (0x3F >> more);
        for (int i = 0; i < more; ++i) {
            if (!isContinuation(in[i]))
                return nullptr;
            c = (c << 6) | (in[i] & 0x3F);
        }
        in += more;
        static constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
        if (c < kLeast[more] || c > 0x10FFFF || QChar::isSurrogate(c))
            return nullptr;
        if (QChar::requiresSurrogates(c)) {
            *out++ = QChar(QChar::highSurrogate(c));
            *out++ = QChar(QChar::lowSurrogate(c));
        } else {
            *out++ = QChar(char16_t(c));
        }
    }
    return out;
}

} // namespace Utf8
