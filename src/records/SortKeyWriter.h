#pragma once

#include <QByteArrayView>
#include <QStringView>

#include <memory>
#include <vector>

class CharacterWeights;
class QCollator;
struct UCollator;

// Turns texts into collation keys: byte strings whose plain byte order is the
// order of the texts. Comparing keys is a byte comparison, where a collator
// would redo the collation work on every comparison of a sort. Every key ends
// in a zero byte and holds no other, so keys compare as C strings and a key's
// first bytes, zero-padded, order it among the others as far as they go.
//
// The order is QCollator's, with two differences. The scripts stand in their
// default order (Latin before Greek before Cyrillic ...), whatever order the
// locale gives them, while the locale's rules for its letters hold. And a
// locale that names no language (C, POSIX: the default of minimal systems)
// collates by the root rules, as the platform's comparison does, where
// QCollator would fall back to the order of the code units: ё beside е, case
// ignored where asked, Latin before Cyrillic.
//
// The keys are put together from the weights of the characters of
// Windows-1251 (CharacterWeights) where the collator's rules let them be
// exact and the text holds no other character; otherwise they are ICU's sort
// keys, and only where ICU cannot open a collator the code units that
// QString's comparison compares. Keys of the first two kinds do not compare
// with each other: keys meant to be compared come from writers that all use
// the weights, or that all do not (dropCharacterWeights). Like
// QCollator::compare(), an empty text comes before every other.
class SortKeyWriter
{
public:
    explicit SortKeyWriter(const QCollator &collator);
    ~SortKeyWriter();
    SortKeyWriter(const SortKeyWriter &) = delete;
    SortKeyWriter &operator=(const SortKeyWriter &) = delete;

    // The key of text, its terminating zero included; valid until the next call.
    QByteArrayView key(QStringView text);

    // The first count bytes of text's key, or the whole key where it is
    // shorter; valid until the next call. Where writesKeyStarts(), only as
    // much of the text is collated as those bytes need.
    QByteArrayView keyStart(QStringView text, int count);
    // Whether keyStart costs less than key: true for the weights' keys, and
    // for ICU's, once checked here that the beginnings ICU writes are those
    // of its whole keys.
    bool writesKeyStarts() const { return m_weights || m_keyStarts; }

    // Whether the keys are put together from the characters' weights, and
    // whether a text given since held a character they do not weigh (its
    // key, ICU's, does not compare with the others then).
    bool usesCharacterWeights() const { return m_weights != nullptr; }
    bool metTextOutsideWeights() const { return m_outsideMet; }
    // From now on ICU's keys for every text.
    void dropCharacterWeights();

    // Whether texts made of the digits 0-9 alone (numbers, as in the number
    // column) are in the order of their characters, a shorter text before a
    // longer one it begins: true for every collator not in numeric mode,
    // checked here on the collator itself. A column of nothing but such
    // texts is then sorted by digitKey, which costs next to nothing.
    bool digitsInCharacterOrder() const { return m_digitsInOrder; }
    // The digits themselves and a zero as the key, valid until the next call.
    QByteArrayView digitKey(QStringView digits);

private:
    qsizetype writeIcuKey(QStringView text);
    qsizetype writeIcuKeyStart(QStringView text, int count);
    qsizetype writeCodeUnitKey(QStringView text);
    bool checkDigitOrder();
    bool checkKeyStarts();

    UCollator *m_icu = nullptr;
    bool m_foldCase = false;
    bool m_digitsInOrder = false;
    bool m_keyStarts = false;
    std::shared_ptr<const CharacterWeights> m_weights;
    bool m_outsideMet = false;
    // Grows to the longest key written and stays, so writing costs no allocation.
    std::vector<unsigned char> m_buffer;
};
