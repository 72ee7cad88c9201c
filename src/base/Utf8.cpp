#include "Utf8.h"

#include <QtGlobal>

#include <cstring>

namespace {

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The number of bytes of the well-formed sequence at in, or 0 for none; cut
// is set when the end comes before a sequence that begins well ends.
qsizetype sequenceLength(const unsigned char *in, const unsigned char *end, bool &cut)
{
    const unsigned char lead = *in;
    if (lead < 0x80)
        return 1;
    const int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 ? 1 : -1;
    if (more < 0 || lead > 0xF4)
        return 0;
    // The second byte's range rules out overlong forms, surrogates and
    // code points past U+10FFFF (RFC 3629, section 4).
    const unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
    const unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
    for (int i = 1; i <= more; ++i) {
        if (in + i == end) {
            cut = true;
            return 0;
        }
        if (i == 1 ? (in[1] < low || in[1] > high) : !isContinuation(in[i]))
            return 0;
    }
    return more + 1;
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

bool isWellFormed(QByteArrayView bytes, bool sampleOfLonger)
{
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.data());
    const auto *const end = in + bytes.size();
    while (in < end) {
        // ASCII, eight bytes at a time where they are.
        while (end - in >= 8) {
            quint64 word;
            std::memcpy(&word, in, sizeof word);
            if (word & 0x8080808080808080ULL)
                break;
            in += 8;
        }
        if (in == end)
            break;
        bool cut = false;
        const qsizetype length = sequenceLength(in, end, cut);
        if (length == 0)
            return cut && sampleOfLonger;
        in += length;
    }
    return true;
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
