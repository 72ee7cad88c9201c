#include "TextMatcher.h"

#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <memory>

namespace {

constexpr int kUnits = 0x10000;
using FoldTable = std::array<char16_t, kUnits>;

std::unique_ptr<FoldTable> buildFoldTable(bool turkic)
{
    auto table = std::make_unique<FoldTable>();
    for (int u = 0; u < kUnits; ++u) {
        const char16_t c = char16_t(u);
        (*table)[u] = QChar::isSurrogate(c) ? c : char16_t(QChar::toCaseFolded(QChar::toLower(char32_t(c))));
    }
    if (turkic) {
        (*table)[u'I'] = u'ı';
        (*table)[u'İ'] = u'i';
    }
    return table;
}

// One table per kind of locale, built on first use (128 KB each).
const char16_t *foldTable(const QLocale &locale)
{
    static const std::unique_ptr<FoldTable> common = buildFoldTable(false);
    static const std::unique_ptr<FoldTable> turkic = buildFoldTable(true);
    const QLocale::Language language = locale.language();
    const bool isTurkic = language == QLocale::Turkish || language == QLocale::Azerbaijani;
    return (isTurkic ? *turkic : *common).data();
}

} // namespace

TextMatcher::TextMatcher(const QString &needle, Qt::CaseSensitivity sensitivity, const QLocale &locale)
    : m_needle(needle)
{
    if (needle.isEmpty())
        return;
    if (sensitivity == Qt::CaseSensitive) {
        m_firstForms.push_back(needle.front());
        return;
    }
    m_fold = foldTable(locale);
    for (QChar &c : m_needle)
        c = QChar(m_fold[c.unicode()]);
    const char16_t first = m_needle.front().unicode();
    for (int u = 0; u < kUnits; ++u) {
        if (m_fold[u] == first)
            m_firstForms.push_back(QChar(char16_t(u)));
    }
}

qsizetype TextMatcher::indexIn(QStringView text, qsizetype from) const
{
    // Candidates are found by the forms of the needle's first character, each
    // with the library's vectorised scan and remembered until passed; only
    // they are compared in full. (The library's own search of a text runs a
    // rolling hash over every character, twice as slow on a million records.)
    const qsizetype last = text.size() - m_needle.size();
    if (m_needle.isEmpty() || from > last)
        return -1;
    const QStringView scanned = text.left(last + 1);
    constexpr qsizetype kNone = -1;
    constexpr qsizetype kUnknown = -2;
    QVarLengthArray<qsizetype, 8> next(qsizetype(m_firstForms.size()));
    std::fill(next.begin(), next.end(), kUnknown);
    while (true) {
        qsizetype candidate = kNone;
        for (qsizetype f = 0; f < next.size(); ++f) {
            if (next[f] == kUnknown || (next[f] != kNone && next[f] < from))
                next[f] = scanned.indexOf(m_firstForms[size_t(f)], from);
            if (next[f] != kNone && (candidate == kNone || next[f] < candidate))
                candidate = next[f];
        }
        if (candidate == kNone)
            return -1;
        if (matchesAt(text, candidate))
            return candidate;
        from = candidate + 1;
    }
}

bool TextMatcher::matchesAt(QStringView text, qsizetype at) const
{
    const char16_t *units = text.utf16() + at;
    const char16_t *needle = QStringView(m_needle).utf16();
    if (!m_fold)
        return std::equal(needle + 1, needle + m_needle.size(), units + 1);
    for (qsizetype k = 1; k < m_needle.size(); ++k) {
        if (m_fold[units[k]] != needle[k])
            return false;
    }
    return true;
}
