#pragma once

#include <QByteArrayView>
#include <QStringView>

#include <vector>

class QCollator;
struct UCollator;

// Turns texts into collation keys: byte strings whose plain byte order, a key
// that is a prefix of another coming first, is the order of the texts.
// Comparing keys is a byte comparison, where a collator would redo the
// collation work on every comparison of a sort.
//
// The order is QCollator's, with one difference: the scripts stand in their
// default order (Latin before Greek before Cyrillic ...), whatever order the
// locale gives them, while the locale's rules for its letters hold. The keys
// come from the source QCollator uses: ICU's sort keys for a real locale, and
// for the C locale the code units that QString's comparison compares. Unlike
// QCollatorSortKey, they keep the collator's case setting in the C locale and,
// like QCollator::compare(), put an empty text before every other.
class SortKeyWriter
{
public:
    explicit SortKeyWriter(const QCollator &collator);
    ~SortKeyWriter();
    SortKeyWriter(const SortKeyWriter &) = delete;
    SortKeyWriter &operator=(const SortKeyWriter &) = delete;

    // The key of text, valid until the next call. An empty text has the empty key.
    QByteArrayView key(QStringView text);

private:
    qsizetype writeIcuKey(QStringView text);
    qsizetype writeCodeUnitKey(QStringView text);

    UCollator *m_icu = nullptr;
    bool m_foldCase = false;
    // Grows to the longest key written and stays, so writing costs no allocation.
    std::vector<unsigned char> m_buffer;
};
