#include "Windows1251.h"

#include <QStringDecoder>
#include <QtAlgorithms>

#include <array>
#include <cstdint>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

struct Tables
{
    std::array<char16_t, 256> toUnicode{};
    // The byte for each character, "?" for the characters the code page does
    // not hold, so that encoding is one lookup.
    std::array<std::uint8_t, 65536> fromUnicode{};

    // Out of line: inlined into tables(), which each cell's encoding and
    // decoding calls, its locals would give every such call the stack
    // protector's check.
    Q_NEVER_INLINE Tables()
    {
        QStringDecoder decoder("windows-1251", QStringDecoder::Flag::Stateless);
        if (!decoder.isValid())
            qFatal("The Windows-1251 codec is not available");
        QByteArray all(256, '\0');
        for (int b = 0; b < 256; ++b)
            all[b] = char(b);
        const QString chars = decoder.decode(all);
        if (chars.size() != 256)
            qFatal("The Windows-1251 codec does not map one byte to one character");
        fromUnicode.fill(std::uint8_t('?'));
        for (int b = 0; b < 256; ++b) {
            toUnicode[b] = chars.at(b).unicode();
            fromUnicode[toUnicode[b]] = std::uint8_t(b);
        }
        simpleRanges = true;
        for (int b = 0; b < 256; ++b) {
            if ((b < 0x80 && toUnicode[b] != b) || (b >= 0xC0 && toUnicode[b] != b + kLetterShift))
                simpleRanges = false;
        }
    }

    // The bytes below 0x80 stand for the same code points, and 0xC0 to 0xFF
    // for the letters А to я, U+0410 to U+044F, in their order.
    static constexpr int kLetterShift = 0x0410 - 0xC0;
    bool simpleRanges = false;

    bool holds(char16_t c) const { return fromUnicode[c] != '?' || c == u'?'; }
};

const Tables &tables()
{
    static const Tables t;
    return t;
}

} // namespace

namespace Windows1251 {

QChar *decodeInto(QChar *out, QByteArrayView bytes)
{
    const Tables &t = tables();
    const auto *p = reinterpret_cast<const std::uint8_t *>(bytes.data());
    const auto *end = p + bytes.size();
    char16_t *o = reinterpret_cast<char16_t *>(out);
#ifdef __SSE2__
    // Eight bytes at a time where none lies between the two simple ranges:
    // the text of a Russian database is mostly such bytes.
    if (t.simpleRanges) {
        const __m128i zero = _mm_setzero_si128();
        const __m128i lastAscii = _mm_set1_epi16(0x7F);
        const __m128i beforeLetters = _mm_set1_epi16(0xBF);
        const __m128i shift = _mm_set1_epi16(Tables::kLetterShift);
        for (; end - p >= 8; p += 8, o += 8) {
            const __m128i v = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i *>(p)), zero);
            const __m128i letters = _mm_cmpgt_epi16(v, beforeLetters);
            const __m128i between = _mm_andnot_si128(letters, _mm_cmpgt_epi16(v, lastAscii));
            if (_mm_movemask_epi8(between) != 0) {
                for (int i = 0; i < 8; ++i)
                    o[i] = t.toUnicode[p[i]];
                continue;
            }
            _mm_storeu_si128(reinterpret_cast<__m128i *>(o), _mm_add_epi16(v, _mm_and_si128(letters, shift)));
        }
    }
#endif
    while (p < end)
        *o++ = t.toUnicode[*p++];
    return reinterpret_cast<QChar *>(o);
}

QChar *decodeLineInto(QChar *out, const char *begin, const char *end, const char *&lineEnd)
{
    const Tables &t = tables();
    const auto *p = reinterpret_cast<const std::uint8_t *>(begin);
    const auto *stop = reinterpret_cast<const std::uint8_t *>(end);
    char16_t *o = reinterpret_cast<char16_t *>(out);
#ifdef __SSE2__
    if (t.simpleRanges) {
        const __m128i zero = _mm_setzero_si128();
        const __m128i cr = _mm_set1_epi16('\r');
        const __m128i lf = _mm_set1_epi16('\n');
        const __m128i lastAscii = _mm_set1_epi16(0x7F);
        const __m128i beforeLetters = _mm_set1_epi16(0xBF);
        const __m128i shift = _mm_set1_epi16(Tables::kLetterShift);
        while (stop - p >= 8) {
            const __m128i v = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i *>(p)), zero);
            // Two mask bits per byte: the bytes before the line's end count.
            const unsigned breaks =
                unsigned(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi16(v, cr), _mm_cmpeq_epi16(v, lf))));
            const int n = breaks != 0 ? int(qCountTrailingZeroBits(breaks)) / 2 : 8;
            const unsigned before = n == 8 ? 0xFFFFu : (1u << (2 * n)) - 1;
            const __m128i letters = _mm_cmpgt_epi16(v, beforeLetters);
            const __m128i between = _mm_andnot_si128(letters, _mm_cmpgt_epi16(v, lastAscii));
            if ((unsigned(_mm_movemask_epi8(between)) & before) == 0) {
                _mm_storeu_si128(reinterpret_cast<__m128i *>(o), _mm_add_epi16(v, _mm_and_si128(letters, shift)));
            } else {
                for (int i = 0; i < n; ++i)
                    o[i] = t.toUnicode[p[i]];
            }
            o += n;
            p += n;
            if (n < 8) {
                lineEnd = reinterpret_cast<const char *>(p);
                return reinterpret_cast<QChar *>(o);
            }
        }
    }
#endif
    while (p < stop && *p != '\r' && *p != '\n')
        *o++ = t.toUnicode[*p++];
    lineEnd = reinterpret_cast<const char *>(p);
    return reinterpret_cast<QChar *>(o);
}

QString decode(QByteArrayView bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    decodeInto(out.data(), bytes);
    return out;
}

char *encodeInto(char *out, QStringView text)
{
    const Tables &t = tables();
    const char16_t *p = text.utf16();
    const char16_t *const end = p + text.size();
#ifdef __SSE2__
    // Eight characters at a time where each is ASCII or a letter А-я.
    if (t.simpleRanges) {
        // Unsigned comparisons through signed ones: both sides moved by 0x8000.
        const __m128i flip = _mm_set1_epi16(short(0x8000));
        const __m128i asciiLimit = _mm_set1_epi16(short(0x80 ^ 0x8000));
        const __m128i firstLetter = _mm_set1_epi16(0x0410);
        const __m128i lettersLimit = _mm_set1_epi16(short(0x40 ^ 0x8000));
        const __m128i shift = _mm_set1_epi16(Tables::kLetterShift);
        for (; end - p >= 8; p += 8, out += 8) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
            const __m128i ascii = _mm_cmplt_epi16(_mm_xor_si128(v, flip), asciiLimit);
            const __m128i letters = _mm_cmplt_epi16(_mm_xor_si128(_mm_sub_epi16(v, firstLetter), flip), lettersLimit);
            if (_mm_movemask_epi8(_mm_or_si128(ascii, letters)) != 0xFFFF) {
                for (int i = 0; i < 8; ++i)
                    out[i] = char(t.fromUnicode[p[i]]);
                continue;
            }
            const __m128i bytes = _mm_sub_epi16(v, _mm_and_si128(letters, shift));
            _mm_storel_epi64(reinterpret_cast<__m128i *>(out), _mm_packus_epi16(bytes, bytes));
        }
    }
#endif
    while (p < end)
        *out++ = char(t.fromUnicode[*p++]);
    return out;
}

QByteArray encode(QStringView text)
{
    QByteArray out(text.size(), Qt::Uninitialized);
    encodeInto(out.data(), text);
    return out;
}

QString replaceUnencodable(QStringView text)
{
    const Tables &t = tables();
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (t.holds(c.unicode())) {
            out += c;
            continue;
        }
        out += u'?';
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
    }
    return out;
}

qsizetype firstUnencodable(QStringView text)
{
    const Tables &t = tables();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!t.holds(text[i].unicode()))
            return i;
    }
    return -1;
}

} // namespace Windows1251
