#include "KeysCheck.h"

#include "base/Parallel.h"
#include "base/Windows1251.h"
#include "records/RowSorter.h"
#include "records/SortKeyWriter.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QTextStream>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <functional>
#include <numeric>
#include <vector>

#include <unicode/ucol.h>

namespace {

constexpr size_t kChunk = 1000000; // random texts sorted together

// ICU's collator as the sort keys' writer opens it (see SortKeyWriter), to
// compare texts directly.
class IcuComparison
{
public:
    explicit IcuComparison(const QCollator &collator)
    {
        const QLocale locale = collator.locale();
        const QByteArray name = locale.language() == QLocale::C ? QByteArray()
                                                                : locale.bcp47Name().toLatin1().replace('-', '_');
        UErrorCode status = U_ZERO_ERROR;
        m_icu = ucol_open(name.constData(), &status);
        ucol_setAttribute(m_icu, UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
        ucol_setAttribute(m_icu, UCOL_STRENGTH, UCOL_SECONDARY, &status);
        ucol_setAttribute(m_icu, UCOL_NUMERIC_COLLATION, UCOL_OFF, &status);
        ucol_setAttribute(m_icu, UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &status);
        ucol_setReorderCodes(m_icu, nullptr, 0, &status);
    }
    ~IcuComparison() { ucol_close(m_icu); }
    IcuComparison(const IcuComparison &) = delete;
    IcuComparison &operator=(const IcuComparison &) = delete;

    int compare(const QString &a, const QString &b) const
    {
        return ucol_strcoll(m_icu, reinterpret_cast<const UChar *>(a.utf16()), int32_t(a.size()),
                            reinterpret_cast<const UChar *>(b.utf16()), int32_t(b.size()));
    }

private:
    UCollator *m_icu = nullptr;
};

// A random number from a seed, the same for the same seed (splitmix64).
std::uint64_t mixed(std::uint64_t x)
{
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

using TextAt = std::function<void(size_t, QString &)>;

// Puts count texts in the order of their keys and compares each with the one
// before it; returns the number of pairs ICU orders otherwise, the first few
// printed.
size_t checkInKeyOrder(const QCollator &collator, size_t count, const TextAt &textAt, QMutex &printing)
{
    SortKeyWriter writer(collator);
    std::vector<char> keys;
    keys.reserve(count * 8);
    std::vector<size_t> begins(count + 1);
    QString text;
    for (size_t i = 0; i < count; ++i) {
        textAt(i, text);
        const QByteArrayView key = writer.key(text);
        keys.insert(keys.end(), key.begin(), key.end());
        begins[i + 1] = keys.size();
    }
    const auto keyOf = [&](std::uint32_t i) { return keys.data() + begins[i]; };
    std::vector<std::uint32_t> order(count);
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(),
              [&](std::uint32_t a, std::uint32_t b) { return std::strcmp(keyOf(a), keyOf(b)) < 0; });
    const IcuComparison icu(collator);
    size_t wrong = writer.metTextOutsideWeights() ? 1 : 0;
    QString before;
    for (size_t k = 1; k < count; ++k) {
        textAt(order[k - 1], before);
        textAt(order[k], text);
        const int expected = std::strcmp(keyOf(order[k - 1]), keyOf(order[k])) == 0 ? 0 : -1;
        if (std::clamp(icu.compare(before, text), -1, 1) == expected)
            continue;
        if (++wrong <= 5) {
            const QMutexLocker locker(&printing);
            QTextStream(stdout) << "  wrong: keys put \"" << before << (expected == 0 ? "\" = \"" : "\" < \"") << text
                                << "\"\n";
        }
    }
    return wrong;
}

} // namespace

int runKeysCheck(const QStringList &args)
{
    bool ok = false;
    const long long randomCount = args.value(0).toLongLong(&ok);
    if (!ok || randomCount < 0) {
        QTextStream(stderr) << "usage: tablora-bench keys-check N  (N random texts per locale)\n";
        return 2;
    }
    QByteArray bytes(256, '\0');
    std::iota(bytes.begin(), bytes.end(), char(0));
    const QString codePage = Windows1251::decode(bytes);
    QString alphabet; // letters, digits, space, punctuation
    for (const QChar c : codePage) {
        if (c.isLetter() || c.isDigit() || c == u' ' || c.isPunct())
            alphabet += c;
    }
    const auto n = size_t(alphabet.size());
    const TextAt three = [&](size_t i, QString &text) {
        text = QString(alphabet[qsizetype(i / (n * n))]) + alphabet[qsizetype(i / n % n)] + alphabet[qsizetype(i % n)];
    };
    const size_t chunks = (size_t(randomCount) + kChunk - 1) / kChunk;

    QTextStream out(stdout);
    size_t allWrong = 0;
    for (const char *name : {"C", "ru_RU", "uk_UA", "be_BY", "kk_KZ", "en_US", "de_DE", "tr_TR", "cs_CZ"}) {
        QElapsedTimer timer;
        timer.start();
        const QCollator collator = RowSorter::collator(QLocale(QString::fromLatin1(name)));
        const bool weighed = SortKeyWriter(collator).usesCharacterWeights();
        // Job 0 is the texts of three characters, the others a chunk of
        // random texts each, taken by the parts in turn.
        std::atomic<size_t> nextJob{0};
        std::atomic<size_t> wrong{0};
        QMutex printing;
        Parallel::forEachPart(Parallel::parts(), [&](int) {
            for (size_t job = nextJob++; job <= chunks; job = nextJob++) {
                if (job == 0) {
                    wrong += checkInKeyOrder(collator, n * n * n, three, printing);
                    continue;
                }
                const size_t first = (job - 1) * kChunk;
                const TextAt random = [&](size_t i, QString &text) {
                    std::uint64_t state = mixed(first + i);
                    text.resize(qsizetype(1 + state % 24));
                    for (QChar &c : text) {
                        state = mixed(state);
                        c = (state & 1) ? codePage[qsizetype(state >> 8) % 256] : alphabet[qsizetype((state >> 8) % n)];
                    }
                };
                wrong += checkInKeyOrder(collator, std::min(kChunk, size_t(randomCount) - first), random, printing);
            }
        });
        out << (qstrcmp(name, "C") == 0 ? "root" : name) << " weights " << (weighed ? "yes" : "no") << " three "
            << n * n * n << " random " << randomCount << " wrong " << wrong.load() << " seconds "
            << QString::number(double(timer.elapsed()) / 1000, 'f', 1) << '\n';
        out.flush();
        allWrong += wrong;
    }
    return allWrong == 0 ? 0 : 1;
}
