// The sort keys of two texts of the code page (SortKeyWriter, put together
// from the characters' weights) against ICU's own comparison of the texts:
// the first byte picks the locale and whether punctuation is ignored, the
// second where the first text ends; the rest are the texts' bytes in
// Windows-1251. The keys must order the texts as ICU does, be equal exactly
// where ICU finds them equal, and their beginnings must be those of the
// whole keys.
#include "FuzzCheck.h"
#include "base/Windows1251.h"
#include "records/RowSorter.h"
#include "records/SortKeyWriter.h"

#include <QByteArrayView>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

#include <unicode/ucol.h>

namespace {

constexpr std::array<const char *, 9> kLocales{"C",     "ru_RU", "uk_UA", "be_BY", "kk_KZ",
                                               "en_US", "de_DE", "tr_TR", "cs_CZ"};

// A writer of the program's collator for the locale, and ICU's collator as
// the writer opens it.
struct Keyed
{
    QCollator collator;
    std::unique_ptr<SortKeyWriter> writer;
    UCollator *icu = nullptr;

    Keyed(const char *locale, bool ignorePunctuation)
        : collator(RowSorter::collator(QLocale(QString::fromLatin1(locale))))
    {
        collator.setIgnorePunctuation(ignorePunctuation);
        writer = std::make_unique<SortKeyWriter>(collator);
        UErrorCode status = U_ZERO_ERROR;
        icu = ucol_open(qstrcmp(locale, "C") == 0 ? "" : locale, &status);
        ucol_setAttribute(icu, UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
        ucol_setAttribute(icu, UCOL_STRENGTH, UCOL_SECONDARY, &status);
        ucol_setAttribute(icu, UCOL_NUMERIC_COLLATION, UCOL_OFF, &status);
        ucol_setAttribute(icu, UCOL_ALTERNATE_HANDLING, ignorePunctuation ? UCOL_SHIFTED : UCOL_NON_IGNORABLE, &status);
        ucol_setReorderCodes(icu, nullptr, 0, &status);
        FUZZ_CHECK(U_SUCCESS(status));
    }
    ~Keyed() { ucol_close(icu); }
    Keyed(const Keyed &) = delete;
    Keyed &operator=(const Keyed &) = delete;
};

// Made before the first input: making them takes a while, and what they keep
// is no leak of one input.
std::array<std::unique_ptr<Keyed>, 2 * kLocales.size()> keyed;

// -1, 0 or 1 as a is below, equal to or above b.
int sign(int value)
{
    return (value > 0) - (value < 0);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    for (size_t i = 0; i < keyed.size(); ++i)
        keyed[i] = std::make_unique<Keyed>(kLocales[i / 2], i % 2 == 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 2)
        return 0;
    const size_t pick = data[0] % keyed.size();
    SortKeyWriter &writer = *keyed[pick]->writer;
    FUZZ_CHECK(writer.usesCharacterWeights());

    const QByteArrayView bytes(reinterpret_cast<const char *>(data + 2), qsizetype(size - 2));
    const qsizetype cut = std::min<qsizetype>(data[1], bytes.size());
    const QString a = Windows1251::decode(bytes.first(cut));
    const QString b = Windows1251::decode(bytes.sliced(cut));
    const QByteArray keyA = writer.key(a).toByteArray();
    const QByteArray keyB = writer.key(b).toByteArray();
    FUZZ_CHECK(!writer.metTextOutsideWeights());

    // An empty text comes before every other, as the program sorts.
    const int expected = a.isEmpty() || b.isEmpty()
        ? int(b.isEmpty()) - int(a.isEmpty())
        : sign(ucol_strcoll(keyed[pick]->icu, reinterpret_cast<const UChar *>(a.utf16()), int32_t(a.size()),
                            reinterpret_cast<const UChar *>(b.utf16()), int32_t(b.size())));
    FUZZ_CHECK(sign(keyA.compare(keyB)) == expected);

    for (const int count : {1, 8, 13}) {
        const QByteArrayView start = writer.keyStart(a, count);
        FUZZ_CHECK(start == QByteArrayView(keyA).first(std::min<qsizetype>(count, keyA.size())));
    }
    return 0;
}
