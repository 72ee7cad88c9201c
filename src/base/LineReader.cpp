#include "LineReader.h"

#include <QtAlgorithms>

#include <algorithm>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

// The first CR or LF in [p, end), or end. Lines are short and many, so this
// is inlined and looks at 16 bytes at a time rather than calling memchr.
inline const char *findBreak(const char *p, const char *end)
{
#ifdef __SSE2__
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    while (end - p >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        const int mask = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)));
        if (mask != 0)
            return p + qCountTrailingZeroBits(unsigned(mask));
        p += 16;
    }
#endif
    while (p < end && *p != '\r' && *p != '\n')
        ++p;
    return p;
}

} // namespace

QByteArrayView LineReader::next()
{
    const char *begin = m_pos;
    const char *lineEnd = findBreak(begin, m_end);
    m_pos = pastBreak(lineEnd, m_end);
    return QByteArrayView(begin, lineEnd - begin);
}

qsizetype LineReader::countBreaks(QByteArrayView text)
{
    // Every LF ends a line, and so does every CR that no LF follows.
    const char *p = text.data();
    const char *const end = p + text.size();
    qsizetype breaks = 0;
#ifdef __SSE2__
    // Each block adds 1 to a byte counter per break; the counters are summed
    // before they can overflow.
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    while (end - p > 16) { // the byte after a block is looked at too
        __m128i counters = _mm_setzero_si128();
        for (int blocks = 0; blocks < 255 && end - p > 16; ++blocks, p += 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
            const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + 1));
            const __m128i loneCr = _mm_andnot_si128(_mm_cmpeq_epi8(next, lf), _mm_cmpeq_epi8(v, cr));
            counters = _mm_sub_epi8(counters, _mm_or_si128(_mm_cmpeq_epi8(v, lf), loneCr));
        }
        const __m128i sums = _mm_sad_epu8(counters, _mm_setzero_si128());
        breaks += _mm_cvtsi128_si32(sums) + _mm_cvtsi128_si32(_mm_srli_si128(sums, 8));
    }
#endif
    for (; p < end; ++p)
        breaks += (*p == '\n') | ((*p == '\r') & (p + 1 == end || p[1] != '\n'));
    return breaks;
}

qsizetype LineReader::nextLineStart(QByteArrayView text, qsizetype offset)
{
    const char *const end = text.data() + text.size();
    const char *p = findBreak(text.data() + std::clamp<qsizetype>(offset, 0, text.size()), end);
    return pastBreak(p, end) - text.data();
}
