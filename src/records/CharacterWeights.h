#pragma once

#include <QStringView>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

struct UCollator;

// The collation weights a collator gives each character of Windows-1251 (the
// characters the program's files can hold), so that the key of a text made of
// them is put together from a table, character by character, where the
// collator would walk the text's collation elements one by one.
//
// A key holds the text's primary weights, a byte 1, its secondary weights and
// a byte 0, as the collator's own keys at secondary strength do, with the
// weights numbered afresh: each primary weight the characters use is one byte
// (two where they use more than 254), in the weights' order, and a run of the
// common secondary weight is one byte that tells its length and whether a
// lower or a higher weight follows. Such keys order any two texts as the
// collator does, and are equal exactly where it finds them equal.
//
// That holds where each character weighs the same wherever it stands. The
// weights are asked of the collator when the table is made, and the table is
// made only where the collator's rules and settings let it be exact:
// secondary strength; no backward secondary weights, case level, numeric
// ordering or reordered scripts; characters that normalization keeps apart;
// no contraction or context across more than two of the characters, and none
// where a character could end one and begin another. A pair of characters the
// rules weigh as one (a contraction, as "ch" in Czech, or the root rules'
// middle dot after an "l") has weights of its own. Where punctuation is
// ignored (alternate shifted), a variable weight counts for nothing, and no
// character may begin with an accent that such a weight before it would
// make count for nothing too.
class CharacterWeights
{
public:
    // The table of collator's weights, or null where it would not be exact.
    static std::unique_ptr<const CharacterWeights> of(UCollator *collator);

    // The most bytes the key of a text of length characters takes.
    size_t room(qsizetype length) const;
    // Writes text's key, its ending zero included, at out, which has room()
    // bytes, and returns its size; or returns 0 where text holds a character
    // the table does not.
    size_t write(QStringView text, unsigned char *out) const;
    // As write(), but as few as count bytes of the key may be written where
    // the text goes on past them; the returned size is at most count. The
    // whole text is still looked at for characters the table does not hold.
    size_t writeStart(QStringView text, size_t count, unsigned char *out) const;

private:
    static constexpr int kMaxPrimaryBytes = 8;
    static constexpr int kMaxSecondaries = 6;
    // A character's weights, or a pair's, as they go into a key.
    struct Entry
    {
        std::array<std::uint8_t, kMaxPrimaryBytes> primaries{};
        std::array<std::uint8_t, kMaxSecondaries> secondaries{}; // kCommon for the common weight
        std::uint8_t primaryCount = 0;
        std::uint8_t secondaryCount = 0;
        bool onlyCommon = false; // one secondary weight, the common one
        std::uint16_t pairs = 0; // 1 + the row of m_pairs of the pairs it begins, or 0
    };
    // The secondary weights' bytes: those below the common weight; the runs
    // of the common weight followed by a lower one (or the end), the longer
    // the higher; a byte for runMax of them; the runs followed by a higher
    // one, the longer the lower; those above the common weight.
    struct SecondaryBytes
    {
        std::uint8_t lowRuns = 0;
        std::uint8_t middle = 0;
        std::uint8_t highRuns = 0;
        std::uint8_t runMax = 0;
    };
    static constexpr std::uint8_t kCommon = 0;

    CharacterWeights() = default;
    const Entry *next(const char16_t *&c, const char16_t *end) const;
    unsigned char *writeRun(unsigned char *out, size_t commons, bool lowerFollows) const;
    bool checkOrder(UCollator *collator) const;

    const std::uint8_t *m_byteOfUnit = nullptr; // each UTF-16 unit's byte, 0 for those outside
    std::array<Entry, 256> m_entries{}; // by the character's byte
    // The primary byte of each character that has one and only the common
    // secondary weight and begins no pair (most letters), or 0.
    std::array<std::uint8_t, 256> m_plain{};
    // For each character that begins pairs, the pair's entry (1 + its index
    // in m_pairEntries) for each second character, or 0.
    std::vector<std::array<std::uint16_t, 256>> m_pairs;
    std::vector<Entry> m_pairEntries;
    SecondaryBytes m_secondary;
    int m_maxPrimaryBytes = 0; // of one entry
    int m_maxSecondaries = 0;
};
