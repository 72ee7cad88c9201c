#include "Base64.h"

#include "base/Parallel.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

struct EncodeTable
{
    // The two characters of every 12-bit value, so one lookup yields half a group.
    std::array<std::array<char, 2>, 4096> pairs{};

    constexpr EncodeTable()
    {
        for (int v = 0; v < 4096; ++v)
            pairs[v] = {kAlphabet[v >> 6], kAlphabet[v & 63]};
    }
};

struct DecodeTable
{
    // The value of each character already shifted to its place in the
    // group's 24 bits; anything outside the alphabet, "=" included, is 0.
    std::array<std::array<std::uint32_t, 256>, 4> shifted{};

    constexpr DecodeTable()
    {
        for (int v = 0; v < 64; ++v) {
            const auto c = std::uint8_t(kAlphabet[v]);
            for (int pos = 0; pos < 4; ++pos)
                shifted[pos][c] = std::uint32_t(v) << (18 - 6 * pos);
        }
    }
};

constexpr EncodeTable kEncode;
constexpr DecodeTable kDecode;

// Encodes n bytes from in to encodedSize(n) characters at out. The groups are
// written last to first, and each group's bytes are read before its
// characters are written, so out may equal in.
void encodeBackward(const std::uint8_t *in, qsizetype n, char *out)
{
    const qsizetype fullGroups = n / 3;
    const qsizetype rest = n % 3;
    if (rest > 0) {
        const std::uint8_t *s = in + 3 * fullGroups;
        const std::uint32_t v = std::uint32_t(s[0]) << 16 | (rest == 2 ? std::uint32_t(s[1]) << 8 : 0);
        char *o = out + 4 * fullGroups;
        o[0] = kAlphabet[v >> 18];
        o[1] = kAlphabet[(v >> 12) & 63];
        o[2] = rest == 2 ? kAlphabet[(v >> 6) & 63] : '=';
        o[3] = '=';
    }
    for (qsizetype g = fullGroups - 1; g >= 0; --g) {
        const std::uint8_t *s = in + 3 * g;
        const std::uint32_t v = std::uint32_t(s[0]) << 16 | std::uint32_t(s[1]) << 8 | s[2];
        std::memcpy(out + 4 * g, kEncode.pairs[v >> 12].data(), 2);
        std::memcpy(out + 4 * g + 2, kEncode.pairs[v & 0xfff].data(), 2);
    }
}

// Decodes n characters (a multiple of 4) from in to out and returns the number
// of bytes written. Output never overtakes input, so out may equal in.
qsizetype decodeForward(const std::uint8_t *in, qsizetype n, char *out)
{
    const auto &t = kDecode.shifted;
    char *o = out;
    for (const std::uint8_t *end = in + n; in < end; in += 4) {
        const std::uint8_t c2 = in[2];
        const std::uint8_t c3 = in[3];
        const std::uint32_t v = t[0][in[0]] | t[1][in[1]] | t[2][c2] | t[3][c3];
        o[0] = char(v >> 16);
        o[1] = char(v >> 8);
        o[2] = char(v);
        o += c2 == '=' ? 1 : c3 == '=' ? 2 : 3;
    }
    return o - out;
}

// Decodes n characters (a multiple of 4) from in to bytes that end at end and
// returns their count. The groups are decoded last to first, and each yields
// fewer bytes than its 4 characters, so end may equal in + n.
qsizetype decodeBackward(const std::uint8_t *in, qsizetype n, char *end)
{
    const auto &t = kDecode.shifted;
    char *o = end;
    for (qsizetype g = n - 4; g >= 0; g -= 4) {
        const std::uint8_t *s = in + g;
        const std::uint8_t c2 = s[2];
        const std::uint8_t c3 = s[3];
        const std::uint32_t v = t[0][s[0]] | t[1][s[1]] | t[2][c2] | t[3][c3];
        if (c2 == '=') {
            o -= 1;
            o[0] = char(v >> 16);
        } else if (c3 == '=') {
            o -= 2;
            o[0] = char(v >> 16);
            o[1] = char(v >> 8);
        } else {
            o -= 3;
            o[0] = char(v >> 16);
            o[1] = char(v >> 8);
            o[2] = char(v);
        }
    }
    return end - o;
}

} // namespace

namespace Base64 {

QByteArray encode(QByteArrayView bytes)
{
    QByteArray out(encodedSize(bytes.size()), Qt::Uninitialized);
    encodeBackward(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size(), out.data());
    return out;
}

void encodeInPlace(QByteArray &buffer)
{
    const qsizetype n = buffer.size();
    const qsizetype encoded = encodedSize(n);
    buffer.reserve(encoded); // exactly, where resize() alone would over-allocate
    buffer.resize(encoded);
    char *data = buffer.data();
    encodeBackward(reinterpret_cast<const std::uint8_t *>(data), n, data);
}

void encodeInto(char *out, QByteArrayView bytes)
{
    encodeBackward(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size(), out);
}

std::optional<QByteArrayView> decodeWhereItStands(QByteArray &buffer, int parts)
{
    const qsizetype n = buffer.size();
    if (n % 4 != 0)
        return std::nullopt;
    char *data = buffer.data();
    const auto *text = reinterpret_cast<const std::uint8_t *>(data);
    if (parts < 2 || n < 8)
        return QByteArrayView(data, decodeForward(text, n, data));
    const qsizetype middle = n / 8 * 4; // a group boundary
    qsizetype firstBytes = 0;
    qsizetype secondBytes = 0;
    Parallel::forEachPart(2, [&](int part) {
        if (part == 0)
            firstBytes = decodeBackward(text, middle, data + middle);
        else
            secondBytes = decodeForward(text + middle, n - middle, data + middle);
    });
    return QByteArrayView(data + middle - firstBytes, firstBytes + secondBytes);
}

} // namespace Base64
