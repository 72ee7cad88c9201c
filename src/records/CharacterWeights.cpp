#include "CharacterWeights.h"

#include "base/Windows1251.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <set>
#include <string>

#include <unicode/uchar.h>
#include <unicode/ucol.h>
#include <unicode/ucoleitr.h>
#include <unicode/unorm2.h>
#include <unicode/uset.h>
#include <unicode/utf16.h>

namespace {

// No primary weight up to this one is variable (the collator's own
// separators).
constexpr std::uint32_t kMergeSeparatorPrimary = 0x02000000;
constexpr std::uint16_t kCommonSecondary = 0x0500;

// The characters of the code page, by byte.
std::array<char16_t, 256> codePageCharacters()
{
    QByteArray bytes(256, '\0');
    for (int b = 0; b < 256; ++b)
        bytes[b] = char(b);
    const QString decoded = Windows1251::decode(bytes);
    std::array<char16_t, 256> characters{};
    for (int b = 0; b < 256; ++b)
        characters[size_t(b)] = decoded.at(b).unicode();
    return characters;
}

// The byte of each UTF-16 code unit the code page holds, 0 for the others
// (and for U+0000, byte 0).
const std::uint8_t *byteOfUnit()
{
    static const std::unique_ptr<std::uint8_t[]> table = [] {
        std::unique_ptr<std::uint8_t[]> bytes(new std::uint8_t[65536]());
        const std::array<char16_t, 256> characters = codePageCharacters();
        for (int b = 255; b >= 0; --b) // the lowest byte where two stand for one character
            bytes[characters[size_t(b)]] = std::uint8_t(b);
        return bytes;
    }();
    return table.get();
}

bool outside(const std::uint8_t *bytes, char16_t unit)
{
    return bytes[unit] == 0 && unit != 0;
}

struct Element
{
    std::uint32_t primary;
    std::uint16_t secondary;
    bool operator==(const Element &other) const { return primary == other.primary && secondary == other.secondary; }
};
using Elements = std::vector<Element>;

// The collation elements of text, put together again from the halves the
// element iterator hands out: the first half holds the primary weight's high
// 16 bits and the secondary weight's high byte, a continuation (the two high
// bits of its low byte set) the primary's low 16 bits and the secondary's low
// byte.
bool elementsOf(UCollator *collator, std::u16string_view text, Elements &elements)
{
    elements.clear();
    UErrorCode status = U_ZERO_ERROR;
    UCollationElements *iterator = ucol_openElements(collator, reinterpret_cast<const UChar *>(text.data()),
                                                     int32_t(text.size()), &status);
    if (U_FAILURE(status))
        return false;
    int32_t half = ucol_next(iterator, &status);
    while (half != UCOL_NULLORDER && U_SUCCESS(status)) {
        const auto first = std::uint32_t(half);
        Element element{first & 0xFFFF0000, std::uint16_t(first & 0xFF00)};
        half = ucol_next(iterator, &status);
        if (half != UCOL_NULLORDER && (std::uint32_t(half) & 0xC0) == 0xC0) {
            element.primary |= std::uint32_t(half) >> 16;
            element.secondary |= std::uint16_t((std::uint32_t(half) >> 8) & 0xFF);
            half = ucol_next(iterator, &status);
        }
        elements.push_back(element);
    }
    ucol_closeElements(iterator);
    return U_SUCCESS(status);
}

// The weights a character or pair puts into keys at secondary strength.
// Where punctuation is ignored, a variable weight counts for nothing, nor do
// the ignorable weights (accents) right after it; leadsWithAccent tells that
// the first weight is such an accent, which would count for nothing after a
// character that ends in a variable weight.
struct Weighed
{
    std::vector<std::uint32_t> primaries;
    std::vector<std::uint16_t> secondaries;
    bool leadsWithAccent = false;
};

Weighed weigh(const Elements &elements, std::uint32_t variableTop)
{
    Weighed w;
    bool afterVariable = false;
    for (const Element &e : elements) {
        if (e.primary == 0) {
            if (!afterVariable && e.secondary != 0) {
                w.leadsWithAccent = w.leadsWithAccent || (w.primaries.empty() && w.secondaries.empty());
                w.secondaries.push_back(e.secondary);
            }
        } else if (e.primary <= variableTop && e.primary > kMergeSeparatorPrimary) {
            afterVariable = true;
        } else {
            afterVariable = false;
            w.primaries.push_back(e.primary);
            if (e.secondary != 0)
                w.secondaries.push_back(e.secondary);
        }
    }
    return w;
}

void codePoints(std::u16string_view text, std::vector<UChar32> &out)
{
    out.clear();
    for (int32_t i = 0; i < int32_t(text.size());) {
        UChar32 c;
        U16_NEXT(text.data(), i, int32_t(text.size()), c);
        out.push_back(c);
    }
}

} // namespace

std::unique_ptr<const CharacterWeights> CharacterWeights::of(UCollator *collator)
{
    // The settings under which a character's weights do not depend on the
    // characters around it (shifted punctuation is followed below).
    UErrorCode status = U_ZERO_ERROR;
    const auto attribute = [&](UColAttribute a) { return ucol_getAttribute(collator, a, &status); };
    if (attribute(UCOL_STRENGTH) != UCOL_SECONDARY || attribute(UCOL_FRENCH_COLLATION) != UCOL_OFF
        || attribute(UCOL_CASE_LEVEL) != UCOL_OFF || attribute(UCOL_NUMERIC_COLLATION) != UCOL_OFF)
        return nullptr;
    const bool shifted = attribute(UCOL_ALTERNATE_HANDLING) == UCOL_SHIFTED;
    const std::uint32_t variableTop = shifted ? ucol_getVariableTop(collator, &status) : 0;
    if (ucol_getReorderCodes(collator, nullptr, 0, &status) != 0 || U_FAILURE(status))
        return nullptr; // scripts reordered, or the settings not to be had

    // Each character's decomposition: normalization must not move a
    // combining mark from one character to another, so each begins with a
    // starter and holds no other.
    const std::array<char16_t, 256> characters = codePageCharacters();
    const UNormalizer2 *nfd = unorm2_getNFDInstance(&status);
    if (U_FAILURE(status))
        return nullptr;
    std::array<std::vector<UChar32>, 256> decomposed;
    std::set<UChar32> inside; // every code point of the decompositions
    std::set<UChar32> starts; // their first ones
    for (size_t b = 0; b < 256; ++b) {
        UChar out[16];
        const UChar in = characters[b];
        const int32_t length = unorm2_normalize(nfd, &in, 1, out, 16, &status);
        if (U_FAILURE(status) || length == 0)
            return nullptr;
        codePoints(std::u16string_view(reinterpret_cast<const char16_t *>(out), size_t(length)), decomposed[b]);
        for (size_t i = 0; i < decomposed[b].size(); ++i) {
            if ((u_getCombiningClass(decomposed[b][i]) == 0) != (i == 0))
                return nullptr;
            inside.insert(decomposed[b][i]);
        }
        starts.insert(decomposed[b].front());
    }

    // The contractions and contexts (prefixes) of the rules that can match in
    // a text of these characters. One that stays within a character is in its
    // weights; one that spans two makes pairs, found below by comparing the
    // pairs' weights with their characters'; one that spans more, or pairs
    // that overlap, cannot be put together from a table.
    USet *set = uset_openEmpty();
    ucol_getContractionsAndExpansions(collator, set, nullptr, true, &status);
    std::set<UChar32> pairStarts; // code points that begin a pair's first character
    std::set<UChar32> secondStarts; // code points that begin a pair's second one
    bool spansMore = false;
    std::vector<UChar32> points;
    std::u16string text(64, u'\0');
    for (int32_t item = 0; U_SUCCESS(status) && item < uset_getItemCount(set); ++item) {
        UChar32 first;
        UChar32 last;
        int32_t length = uset_getItem(set, item, &first, &last, reinterpret_cast<UChar *>(text.data()),
                                      int32_t(text.size()), &status);
        if (status == U_BUFFER_OVERFLOW_ERROR) {
            status = U_ZERO_ERROR;
            text.resize(size_t(length));
            length = uset_getItem(set, item, &first, &last, reinterpret_cast<UChar *>(text.data()),
                                  int32_t(text.size()), &status);
        }
        if (length <= 0)
            continue; // a range of single code points
        codePoints(std::u16string_view(text.data(), size_t(length)), points);
        if (!std::all_of(points.begin(), points.end(), [&](UChar32 c) { return inside.count(c) > 0; }))
            continue; // never in such a text
        const auto later = std::count_if(points.begin() + 1, points.end(), [&](UChar32 c) { return starts.count(c); });
        if (later > 1) {
            spansMore = true;
        } else if (later == 1) {
            pairStarts.insert(points.front());
            secondStarts.insert(
                *std::find_if(points.begin() + 1, points.end(), [&](UChar32 c) { return starts.count(c) > 0; }));
        }
    }
    uset_close(set);
    if (U_FAILURE(status) || spansMore)
        return nullptr;
    std::vector<size_t> firsts; // the characters that may begin a pair
    for (size_t b = 0; b < 256; ++b) {
        const std::vector<UChar32> &d = decomposed[b];
        if (std::any_of(d.begin(), d.end(), [&](UChar32 c) { return pairStarts.count(c) > 0; })) {
            if (secondStarts.count(d.front()))
                return nullptr; // could end one pair and begin another
            firsts.push_back(b);
        }
    }

    std::array<Elements, 256> elements;
    for (size_t b = 0; b < 256; ++b) {
        if (!elementsOf(collator, std::u16string_view(&characters[b], 1), elements[b]))
            return nullptr;
    }
    struct Pair
    {
        size_t first;
        size_t second;
        Elements elements;
    };
    std::vector<Pair> pairs;
    Elements joined;
    Elements separate;
    for (size_t a : firsts) {
        for (size_t b = 0; b < 256; ++b) {
            const char16_t two[] = {characters[a], characters[b]};
            if (!elementsOf(collator, std::u16string_view(two, 2), joined))
                return nullptr;
            separate = elements[a];
            separate.insert(separate.end(), elements[b].begin(), elements[b].end());
            if (!(joined == separate))
                pairs.push_back({a, b, joined});
        }
    }
    if (pairs.size() >= 0xFFFF)
        return nullptr;

    // Every weight a key can hold, then their bytes in their order.
    std::vector<Weighed> weighed;
    for (size_t b = 0; b < 256; ++b)
        weighed.push_back(weigh(elements[b], variableTop));
    for (const Pair &pair : pairs)
        weighed.push_back(weigh(pair.elements, variableTop));
    std::set<std::uint32_t> primaries;
    std::set<std::uint16_t> secondaries;
    for (const Weighed &w : weighed) {
        if (shifted && w.leadsWithAccent)
            return nullptr; // it would weigh differently after a variable weight
        primaries.insert(w.primaries.begin(), w.primaries.end());
        secondaries.insert(w.secondaries.begin(), w.secondaries.end());
    }
    secondaries.erase(kCommonSecondary);
    const bool twoBytes = primaries.size() > 254;
    if (primaries.size() > 254 * 254 || secondaries.size() > 251)
        return nullptr;
    std::unique_ptr<CharacterWeights> table(new CharacterWeights);
    table->m_byteOfUnit = byteOfUnit();
    SecondaryBytes &sb = table->m_secondary;
    const auto lower = size_t(std::distance(secondaries.begin(), secondaries.lower_bound(kCommonSecondary)));
    sb.runMax = std::uint8_t((253 - secondaries.size()) / 2);
    sb.lowRuns = std::uint8_t(2 + lower);
    sb.middle = std::uint8_t(sb.lowRuns + sb.runMax);
    sb.highRuns = std::uint8_t(sb.middle + 1);
    const auto secondaryByte = [&](std::uint16_t s) -> std::uint8_t {
        if (s == kCommonSecondary)
            return kCommon;
        const auto rank = size_t(std::distance(secondaries.begin(), secondaries.find(s)));
        return std::uint8_t(rank < lower ? 2 + rank : sb.highRuns + sb.runMax + (rank - lower));
    };
    std::vector<Entry> entries;
    for (const Weighed &w : weighed) {
        Entry e;
        std::vector<std::uint8_t> bytes;
        for (std::uint32_t p : w.primaries) {
            const auto rank = size_t(std::distance(primaries.begin(), primaries.find(p)));
            if (twoBytes)
                bytes.push_back(std::uint8_t(2 + rank / 254));
            bytes.push_back(std::uint8_t(2 + (twoBytes ? rank % 254 : rank)));
        }
        if (bytes.size() > size_t(kMaxPrimaryBytes) || w.secondaries.size() > size_t(kMaxSecondaries))
            return nullptr;
        std::copy(bytes.begin(), bytes.end(), e.primaries.begin());
        e.primaryCount = std::uint8_t(bytes.size());
        std::transform(w.secondaries.begin(), w.secondaries.end(), e.secondaries.begin(), secondaryByte);
        e.secondaryCount = std::uint8_t(w.secondaries.size());
        e.onlyCommon = e.secondaryCount == 1 && e.secondaries[0] == kCommon;
        table->m_maxPrimaryBytes = std::max(table->m_maxPrimaryBytes, int(e.primaryCount));
        table->m_maxSecondaries = std::max(table->m_maxSecondaries, int(e.secondaryCount));
        entries.push_back(e);
    }
    std::copy(entries.begin(), entries.begin() + 256, table->m_entries.begin());
    table->m_pairEntries.assign(entries.begin() + 256, entries.end());
    for (size_t i = 0; i < pairs.size(); ++i) {
        Entry &first = table->m_entries[pairs[i].first];
        if (first.pairs == 0) {
            table->m_pairs.emplace_back();
            table->m_pairs.back().fill(0);
            first.pairs = std::uint16_t(table->m_pairs.size());
        }
        table->m_pairs[first.pairs - 1u][pairs[i].second] = std::uint16_t(i + 1);
    }
    for (size_t b = 0; b < 256; ++b) {
        const Entry &e = table->m_entries[b];
        table->m_plain[b] = e.primaryCount == 1 && e.onlyCommon && e.pairs == 0 ? e.primaries[0] : 0;
    }
    if (!table->checkOrder(collator))
        return nullptr;
    return table;
}

// The keys of every character and of every pair must stand in the
// collator's order: a last look that the weights were read as meant.
bool CharacterWeights::checkOrder(UCollator *collator) const
{
    const std::array<char16_t, 256> characters = codePageCharacters();
    std::vector<std::u16string> texts;
    for (char16_t c : characters)
        texts.emplace_back(1, c);
    for (size_t row = 0; row < m_pairs.size(); ++row) {
        for (size_t b = 0; b < 256; ++b) {
            if (m_pairs[row][b] == 0)
                continue;
            for (size_t a = 0; a < 256; ++a) {
                if (m_entries[a].pairs == row + 1)
                    texts.push_back({characters[a], characters[b]});
            }
        }
    }
    std::vector<std::string> keys;
    for (const std::u16string &text : texts) {
        std::string key(room(qsizetype(text.size())), '\0');
        key.resize(
            write(QStringView(text.data(), qsizetype(text.size())), reinterpret_cast<unsigned char *>(key.data())));
        keys.push_back(key);
    }
    std::vector<size_t> order(texts.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return keys[a] < keys[b]; });
    for (size_t i = 1; i < order.size(); ++i) {
        const std::u16string &a = texts[order[i - 1]];
        const std::u16string &b = texts[order[i]];
        const UCollationResult result = ucol_strcoll(collator, reinterpret_cast<const UChar *>(a.data()),
                                                     int32_t(a.size()), reinterpret_cast<const UChar *>(b.data()),
                                                     int32_t(b.size()));
        if (result != (keys[order[i - 1]] == keys[order[i]] ? UCOL_EQUAL : UCOL_LESS))
            return false;
    }
    return true;
}

size_t CharacterWeights::room(qsizetype length) const
{
    const auto n = size_t(length);
    return n * size_t(m_maxPrimaryBytes) + kMaxPrimaryBytes + 1 + 2 * n * size_t(m_maxSecondaries) + 2;
}

unsigned char *CharacterWeights::writeRun(unsigned char *out, size_t commons, bool lowerFollows) const
{
    size_t count = commons - 1;
    while (count >= m_secondary.runMax) {
        *out++ = m_secondary.middle;
        count -= m_secondary.runMax;
    }
    *out++ = static_cast<unsigned char>(lowerFollows ? m_secondary.lowRuns + count
                                                     : m_secondary.highRuns + m_secondary.runMax - 1 - count);
    return out;
}

// The entry of the character at c, or of the pair that begins there; moves c
// past them. Null for a character the table does not hold.
inline const CharacterWeights::Entry *CharacterWeights::next(const char16_t *&c, const char16_t *end) const
{
    const std::uint8_t *const bytes = m_byteOfUnit;
    const char16_t unit = *c++;
    if (outside(bytes, unit))
        return nullptr;
    const Entry *e = &m_entries[bytes[unit]];
    if (e->pairs != 0 && c != end && !outside(bytes, *c)) {
        if (const std::uint16_t pair = m_pairs[e->pairs - 1u][bytes[*c]]) {
            e = &m_pairEntries[pair - 1u];
            ++c;
        }
    }
    return e;
}

size_t CharacterWeights::write(QStringView text, unsigned char *out) const
{
    const char16_t *c = text.utf16();
    const char16_t *const end = c + text.size();
    unsigned char *p = out;
    // The secondary weights go behind the room the primary ones may take,
    // and move up behind them at the end.
    unsigned char *const secondaryBegin = out + size_t(text.size()) * size_t(m_maxPrimaryBytes) + kMaxPrimaryBytes + 1;
    unsigned char *s = secondaryBegin;
    size_t commons = 0;
    while (c != end) {
        if (const std::uint8_t primary = m_plain[m_byteOfUnit[*c]]) {
            *p++ = primary;
            ++commons;
            ++c;
            continue;
        }
        const Entry *const e = next(c, end);
        if (!e)
            return 0;
        std::memcpy(p, e->primaries.data(), kMaxPrimaryBytes);
        p += e->primaryCount;
        if (e->onlyCommon) {
            ++commons;
            continue;
        }
        for (int i = 0; i < e->secondaryCount; ++i) {
            const std::uint8_t weight = e->secondaries[size_t(i)];
            if (weight == kCommon) {
                ++commons;
                continue;
            }
            if (commons != 0) {
                s = writeRun(s, commons, weight < m_secondary.lowRuns);
                commons = 0;
            }
            *s++ = weight;
        }
    }
    if (commons != 0)
        s = writeRun(s, commons, true);
    *p++ = 1;
    const auto secondaryBytes = size_t(s - secondaryBegin);
    std::memmove(p, secondaryBegin, secondaryBytes);
    p += secondaryBytes;
    *p++ = 0;
    return size_t(p - out);
}

size_t CharacterWeights::writeStart(QStringView text, size_t count, unsigned char *out) const
{
    const char16_t *c = text.utf16();
    const char16_t *const end = c + text.size();
    unsigned char *p = out;
    while (c != end && size_t(p - out) < count) {
        if (const std::uint8_t primary = m_plain[m_byteOfUnit[*c]]) {
            *p++ = primary;
            ++c;
            continue;
        }
        const Entry *const e = next(c, end);
        if (!e)
            return 0;
        std::memcpy(p, e->primaries.data(), kMaxPrimaryBytes);
        p += e->primaryCount;
    }
    if (size_t(p - out) < count) // the key ends within count bytes
        return std::min(write(text, out), count);
    for (; c != end; ++c) {
        if (outside(m_byteOfUnit, *c))
            return 0;
    }
    return count;
}
