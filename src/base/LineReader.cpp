#include "LineReader.h"

#include <QtAlgorithms>

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
    m_pos = lineEnd;
    if (m_pos < m_end) {
        const bool crlf = *m_pos == '\r' && m_pos + 1 < m_end && m_pos[1] == '\n';
        m_pos += crlf ? 2 : 1;
    }
    return QByteArrayView(begin, lineEnd - begin);
}

qsizetype LineReader::remainingLines() const
{
    const auto *p = reinterpret_cast<const unsigned char *>(m_pos);
    const qsizetype n = m_end - m_pos;
    if (n == 0)
        return 0;
    // Every LF ends a line, and so does every CR that no LF follows.
    qsizetype breaks = 0;
    for (qsizetype i = 0; i + 1 < n; ++i)
        breaks += (p[i] == '\n') | ((p[i] == '\r') & (p[i + 1] != '\n'));
    const bool lastIsBreak = p[n - 1] == '\n' || p[n - 1] == '\r';
    breaks += lastIsBreak ? 1 : 0;
    return breaks + (lastIsBreak ? 0 : 1);
}
