#include "SortKeyWriter.h"

#include "CharacterWeights.h"

#include <QCollator>
#include <QMutex>
#include <QStringList>

#include <algorithm>
#include <limits>
#include <utility>

#include <unicode/ucol.h>
#include <unicode/uiter.h>

namespace {

// The characters' weights for the collator opened with settings, made once
// and kept: making them asks the collator for the weights of every character
// and of the pairs that could contract (a few milliseconds), and a program
// sorts by a few collators at most. Null where they would not be exact.
std::shared_ptr<const CharacterWeights> weightsFor(const QByteArray &settings, UCollator *collator)
{
    static QMutex mutex;
    static std::vector<std::pair<QByteArray, std::shared_ptr<const CharacterWeights>>> made;
    constexpr size_t kKept = 8;
    const QMutexLocker locker(&mutex);
    for (const auto &[madeFor, weights] : made) {
        if (madeFor == settings)
            return weights;
    }
    if (made.size() == kKept)
        made.erase(made.begin());
    made.emplace_back(settings, CharacterWeights::of(collator));
    return made.back().second;
}

} // namespace

SortKeyWriter::SortKeyWriter(const QCollator &collator)
    : m_foldCase(collator.caseSensitivity() == Qt::CaseInsensitive)
    , m_buffer(256)
{
    // The collator QCollator opens, attribute for attribute; for a locale
    // that names no language, ICU's root rules (the empty name).
    const QLocale locale = collator.locale();
    const QByteArray name = locale.language() == QLocale::C ? QByteArray()
                                                            : locale.bcp47Name().toLatin1().replace('-', '_');
    UErrorCode status = U_ZERO_ERROR;
    m_icu = ucol_open(name.constData(), &status);
    if (U_FAILURE(status)) {
        m_icu = nullptr;
        m_digitsInOrder = checkDigitOrder();
        return;
    }
    const auto set = [this](UColAttribute attribute, UColAttributeValue value) {
        UErrorCode ignored = U_ZERO_ERROR; // as QCollator: a failed attribute leaves the others
        ucol_setAttribute(m_icu, attribute, value, &ignored);
    };
    set(UCOL_NORMALIZATION_MODE, UCOL_ON);
    set(UCOL_STRENGTH, m_foldCase ? UCOL_SECONDARY : UCOL_DEFAULT_STRENGTH);
    set(UCOL_NUMERIC_COLLATION, collator.numericMode() ? UCOL_ON : UCOL_OFF);
    set(UCOL_ALTERNATE_HANDLING, collator.ignorePunctuation() ? UCOL_SHIFTED : UCOL_NON_IGNORABLE);
    // The locale's letter rules stay, its own order of the scripts goes: the
    // scripts keep their default order, Latin before Cyrillic, in every
    // language (Russian rules would put Cyrillic first).
    UErrorCode ignored = U_ZERO_ERROR;
    ucol_setReorderCodes(m_icu, nullptr, 0, &ignored);
    // Checked on ICU's keys: the weights' keys order texts as they do. Its
    // beginnings are checked only where they are written (a few
    // milliseconds).
    m_digitsInOrder = checkDigitOrder();
    const QByteArray settings = name + '/' + char('0' + m_foldCase) + char('0' + collator.numericMode())
        + char('0' + collator.ignorePunctuation());
    m_weights = weightsFor(settings, m_icu);
    if (!m_weights)
        m_keyStarts = checkKeyStarts();
}

void SortKeyWriter::dropCharacterWeights()
{
    if (!m_weights)
        return;
    m_weights = nullptr;
    m_outsideMet = false;
    m_keyStarts = checkKeyStarts();
}

// Every digit, every pair of digits and a few longer numbers, in the order of
// their characters, must have strictly rising keys: then each digit has a
// weight of its own, in the digits' order, and no digits weigh together, and
// any two numbers compare as their characters do.
bool SortKeyWriter::checkDigitOrder()
{
    QStringList numbers{QString()};
    for (int d = 0; d < 10; ++d) {
        numbers.append(QString::number(d));
        for (int e = 0; e < 10; ++e) {
            numbers.append(QString::number(d) + QString::number(e));
            if (e == 0 || e == 9)
                numbers.append(QString::number(d) + QString::number(e) + QString::number(d));
        }
    }
    std::sort(numbers.begin(), numbers.end()); // by their characters
    QByteArray previous;
    for (const QString &number : numbers) {
        const QByteArray current = key(number).toByteArray();
        if (&number != &numbers.front() && !(previous < current))
            return false;
        previous = current;
    }
    return true;
}

// ICU does not promise that the beginning it writes of a key is the
// beginning of the key it writes whole; the two are compared here on texts
// where they could part (combining marks, contractions, expansions, long
// texts), and the beginnings are used only where they agree.
bool SortKeyWriter::checkKeyStarts()
{
    const QStringList probes{QStringLiteral("a"),
                             QStringLiteral("Ёлка зелёная"),
                             QStringLiteral("e\u0301\u0323x"),
                             QStringLiteral("ǆemper ﬀ ß Æsir"),
                             QStringLiteral("ch ll ñ ŉ"),
                             QStringLiteral("\u0001\u0002-' "),
                             QStringLiteral("Иванова Мария Петровна, ул. Садовая, д. 12, кв. 345"),
                             QStringLiteral("中文 𐐨𐐀 ꭰᎠ"),
                             QStringLiteral("1500,00 2024-05-17 +7 495"),
                             QString(QChar(0xD800)) + QStringLiteral("z")};
    for (const QString &probe : probes) {
        const QByteArray whole = key(probe).toByteArray();
        for (int count = 1; count <= whole.size() + 1; ++count) {
            if (keyStart(probe, count) != QByteArrayView(whole).first(std::min<qsizetype>(count, whole.size())))
                return false;
        }
    }
    return true;
}

QByteArrayView SortKeyWriter::digitKey(QStringView digits)
{
    if (m_buffer.size() <= size_t(digits.size()))
        m_buffer.resize(size_t(digits.size()) + 1);
    for (qsizetype i = 0; i < digits.size(); ++i)
        m_buffer[size_t(i)] = static_cast<unsigned char>(digits[i].unicode());
    m_buffer[size_t(digits.size())] = 0;
    return {m_buffer.data(), digits.size() + 1};
}

SortKeyWriter::~SortKeyWriter()
{
    if (m_icu)
        ucol_close(m_icu);
}

QByteArrayView SortKeyWriter::key(QStringView text)
{
    if (text.isEmpty()) {
        m_buffer[0] = 0;
        return {m_buffer.data(), 1};
    }
    if (m_weights) {
        const size_t room = m_weights->room(text.size());
        if (m_buffer.size() < room)
            m_buffer.resize(room);
        if (const size_t size = m_weights->write(text, m_buffer.data()))
            return {m_buffer.data(), qsizetype(size)};
        m_outsideMet = true;
    }
    const qsizetype size = m_icu ? writeIcuKey(text) : writeCodeUnitKey(text);
    return {m_buffer.data(), size};
}

QByteArrayView SortKeyWriter::keyStart(QStringView text, int count)
{
    if (count <= 0)
        return {};
    if (!m_icu || text.isEmpty()) {
        const QByteArrayView whole = key(text);
        return whole.first(std::min<qsizetype>(count, whole.size()));
    }
    if (m_weights) {
        const size_t room = m_weights->room(text.size());
        if (m_buffer.size() < room)
            m_buffer.resize(room);
        if (const size_t size = m_weights->writeStart(text, size_t(count), m_buffer.data()))
            return {m_buffer.data(), qsizetype(size)};
        m_outsideMet = true;
    }
    return {m_buffer.data(), writeIcuKeyStart(text, count)};
}

qsizetype SortKeyWriter::writeIcuKey(QStringView text)
{
    const auto length = int32_t(std::min<qsizetype>(text.size(), std::numeric_limits<int32_t>::max()));
    const auto *units = reinterpret_cast<const UChar *>(text.utf16());
    const auto capacity = int32_t(std::min<size_t>(m_buffer.size(), std::numeric_limits<int32_t>::max()));
    int32_t size = ucol_getSortKey(m_icu, units, length, m_buffer.data(), capacity);
    if (size > capacity) {
        m_buffer.resize(size_t(size));
        size = ucol_getSortKey(m_icu, units, length, m_buffer.data(), size);
    }
    // ICU ends every key with a zero byte that no key holds elsewhere; a
    // key it failed to write is the empty one.
    if (size <= 0) {
        m_buffer[0] = 0;
        return 1;
    }
    return size;
}

// ICU's partial key leaves out the terminating zero: it is added where the
// key ended within the bytes asked for.
qsizetype SortKeyWriter::writeIcuKeyStart(QStringView text, int count)
{
    if (m_buffer.size() < size_t(count))
        m_buffer.resize(size_t(count));
    UCharIterator iterator;
    uiter_setString(&iterator, reinterpret_cast<const UChar *>(text.utf16()),
                    int32_t(std::min<qsizetype>(text.size(), std::numeric_limits<int32_t>::max())));
    uint32_t state[2] = {0, 0};
    UErrorCode status = U_ZERO_ERROR;
    const int32_t written = ucol_nextSortKeyPart(m_icu, &iterator, state, m_buffer.data(), count, &status);
    if (U_FAILURE(status)) // the beginning of the whole key instead
        return std::min<qsizetype>(writeIcuKey(text), count);
    if (written < count) {
        m_buffer[size_t(written)] = 0;
        return written + 1;
    }
    return count;
}

// QString's comparison compares code unit by code unit; case-insensitively it
// compares each unit folded, a low surrogate after a high one as its whole
// folded code point. Each compared value, plus one so that no byte is zero,
// is written in the UTF-8 pattern, whose byte order is the order of the values.
qsizetype SortKeyWriter::writeCodeUnitKey(QStringView text)
{
    const size_t needed = size_t(text.size()) * 4 + 1;
    if (m_buffer.size() < needed)
        m_buffer.resize(needed);
    unsigned char *out = m_buffer.data();
    char16_t previous = 0;
    for (const QChar unit : text) {
        char32_t value = unit.unicode();
        if (m_foldCase) {
            if (QChar::isLowSurrogate(value) && QChar::isHighSurrogate(previous))
                value = QChar::surrogateToUcs4(previous, unit.unicode());
            value = QChar::toCaseFolded(value);
        }
        previous = unit.unicode();
        ++value;
        if (value < 0x80) {
            *out++ = static_cast<unsigned char>(value);
        } else if (value < 0x800) {
            *out++ = static_cast<unsigned char>(0xC0 | value >> 6);
            *out++ = static_cast<unsigned char>(0x80 | (value & 0x3F));
        } else if (value < 0x10000) {
            *out++ = static_cast<unsigned char>(0xE0 | value >> 12);
            *out++ = static_cast<unsigned char>(0x80 | (value >> 6 & 0x3F));
            *out++ = static_cast<unsigned char>(0x80 | (value & 0x3F));
        } else {
            *out++ = static_cast<unsigned char>(0xF0 | value >> 18);
            *out++ = static_cast<unsigned char>(0x80 | (value >> 12 & 0x3F));
            *out++ = static_cast<unsigned char>(0x80 | (value >> 6 & 0x3F));
            *out++ = static_cast<unsigned char>(0x80 | (value & 0x3F));
        }
    }
    *out++ = 0;
    return out - m_buffer.data();
}
