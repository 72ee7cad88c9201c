#include "GuardedTest.h"
#include "base/Windows1251.h"
#include "document/TableModel.h"
#include "records/RowSorter.h"
#include "records/SortKeyWriter.h"

#include <QAbstractItemModelTester>
#include <QCollator>
#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <climits>
#include <numeric>
#include <string>

#include <unicode/ucol.h>

namespace {

// One record per text, the text in the given column. Every other column holds
// texts in the opposite row order, so a sort by the wrong column shows.
TableData tableWith(int column, const QStringList &texts)
{
    TableData table;
    for (int row = 0; row < texts.size(); ++row) {
        Record::Cells cells;
        for (int c = 0; c < kColumnCount; ++c)
            cells[c] = QString::number(texts.size() - row).rightJustified(6, QLatin1Char('0'));
        if (column >= 0 && column < kColumnCount)
            cells[column] = texts[row];
        table.appendRecord(Record(cells));
    }
    return table;
}

// The order the keys must give, compared text against text: ICU's collation
// of the locale with the collator's settings and the scripts in their default
// order; for a locale that names no language, of the root rules.
class DirectComparison
{
public:
    explicit DirectComparison(const QCollator &collator)
        : m_collator(collator)
    {
        const QLocale locale = collator.locale();
        const QByteArray name = locale.language() == QLocale::C ? QByteArray()
                                                                : locale.bcp47Name().toLatin1().replace('-', '_');
        UErrorCode status = U_ZERO_ERROR;
        m_icu = ucol_open(name.constData(), &status);
        ucol_setAttribute(m_icu, UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
        ucol_setAttribute(m_icu, UCOL_STRENGTH,
                          collator.caseSensitivity() == Qt::CaseInsensitive ? UCOL_SECONDARY : UCOL_DEFAULT_STRENGTH,
                          &status);
        ucol_setAttribute(m_icu, UCOL_NUMERIC_COLLATION, collator.numericMode() ? UCOL_ON : UCOL_OFF, &status);
        ucol_setAttribute(m_icu, UCOL_ALTERNATE_HANDLING,
                          collator.ignorePunctuation() ? UCOL_SHIFTED : UCOL_NON_IGNORABLE, &status);
        ucol_setReorderCodes(m_icu, nullptr, 0, &status);
        Q_ASSERT(U_SUCCESS(status));
    }
    ~DirectComparison()
    {
        if (m_icu)
            ucol_close(m_icu);
    }
    DirectComparison(const DirectComparison &) = delete;
    DirectComparison &operator=(const DirectComparison &) = delete;

    int compare(const QString &a, const QString &b) const
    {
        if (a.isEmpty() || b.isEmpty()) // an empty text first, as QCollator has it
            return m_collator.compare(a, b);
        return ucol_strcoll(m_icu, reinterpret_cast<const UChar *>(a.utf16()), int32_t(a.size()),
                            reinterpret_cast<const UChar *>(b.utf16()), int32_t(b.size()));
    }

private:
    const QCollator &m_collator;
    UCollator *m_icu = nullptr;
};

QList<int> toList(const std::vector<int> &order)
{
    return QList<int>(order.begin(), order.end());
}

// Texts built from pieces where collation keys and direct comparison could
// part ways: case, accents composed and combining, ligatures, expanding
// letters, Cyrillic е/ё, digits, punctuation, an ignorable control character,
// surrogate pairs with case, unpaired surrogates and the null character.
QStringList trickyTexts(int count)
{
    const QStringList pieces{
        QStringLiteral("a"),       QStringLiteral("A"),   QStringLiteral("b"),      QStringLiteral("ä"),
        QStringLiteral("Ä"),       QStringLiteral("ß"),   QStringLiteral("ss"),     QStringLiteral("SS"),
        QStringLiteral("e\u0301"), QStringLiteral("é"),   QStringLiteral("ﬀ"),      QStringLiteral("ff"),
        QStringLiteral("Σ"),       QStringLiteral("σ"),   QStringLiteral("ς"),      QStringLiteral("İ"),
        QStringLiteral("ı"),       QStringLiteral("i"),   QStringLiteral("I"),      QStringLiteral("я"),
        QStringLiteral("Я"),       QStringLiteral("е"),   QStringLiteral("ё"),      QStringLiteral("Ё"),
        QStringLiteral("Ꭰ"),       QStringLiteral("ꭰ"), QStringLiteral("1"),      QStringLiteral("9"),
        QStringLiteral("10"),      QStringLiteral(" "),   QStringLiteral("-"),      QStringLiteral("'"),
        QStringLiteral("\u0001"),  QStringLiteral("𐐀"),   QStringLiteral("𐐨"),      QString(QChar(0xD800)),
        QString(QChar(0xDC00)),    QString(QChar(0)),     QStringLiteral("\uFFFD"), QStringLiteral("中")};
    QRandomGenerator random(20240601);
    QStringList texts;
    for (int i = 0; i < count; ++i) {
        QString text;
        for (int n = int(random.bounded(5)); n > 0; --n)
            text += pieces[int(random.bounded(qsizetype(pieces.size())))];
        texts.append(text);
    }
    return texts;
}

// Texts that repeat for a long stretch, then hardly at all, then repeat the
// first ones again: the sort looks texts up while they repeat and gives the
// others keys of their own, which must still sort with their equals.
QStringList repeatingThenNot()
{
    const QStringList pool = trickyTexts(50);
    QStringList texts;
    for (int i = 0; i < 20000; ++i)
        texts.append(pool[i % pool.size()]);
    for (int i = 0; i < 30000; ++i)
        texts.append(QStringLiteral("Строка %1").arg(i * 7919 % 30000));
    for (int i = 0; i < 4000; ++i)
        texts.append(pool[(i * 3) % pool.size()]);
    return texts;
}

// Texts that share long beginnings and part anywhere from the first
// character to the fortieth, some the beginning of others, some apart only
// in case or accents (which their keys hold last): sorting them reads far
// past the first bytes of their keys.
QStringList longBeginnings()
{
    const QStringList beginnings{QStringLiteral("Иванова Мария Петровна, ул. Садовая"),
                                 QStringLiteral("Invoice 2024-05-17 warehouse"), QString()};
    const QStringList endings{QString(),           QStringLiteral("а"), QStringLiteral("Б"), QStringLiteral(" 12"),
                              QStringLiteral("ё"), QStringLiteral("é"), QStringLiteral("e"), QStringLiteral("-")};
    QRandomGenerator random(20261208);
    QStringList texts;
    for (int i = 0; i < 1500; ++i) {
        const QString &beginning = beginnings[int(random.bounded(qsizetype(beginnings.size())))];
        QString text = beginning.left(int(random.bounded(beginning.size() + 1)));
        if (!text.isEmpty() && random.bounded(3) == 0) {
            const int at = int(random.bounded(text.size()));
            text[at] = text[at].isUpper() ? text[at].toLower() : text[at].toUpper();
        }
        for (int n = int(random.bounded(3)); n > 0; --n)
            text += endings[int(random.bounded(qsizetype(endings.size())))];
        texts.append(text);
    }
    return texts;
}

// Two words of random letters, Latin or Cyrillic, in either case: texts that
// hardly tie even in the first bytes of their keys, whose beginnings are
// written first. A few repeat, or differ only at their ends, in case or in
// an accent.
QStringList distinctWords()
{
    const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwxyzабвгдеёжзийклмнопрстуфхцчшщъыьэюяÀéß");
    QRandomGenerator random(20260526);
    const auto word = [&] {
        QString text;
        for (int n = 1 + int(random.bounded(9)); n > 0; --n) {
            const QChar c = letters[int(random.bounded(letters.size()))];
            text += random.bounded(2) == 0 ? c.toUpper() : c;
        }
        return text;
    };
    QStringList texts;
    for (int i = 0; i < 3000; ++i) {
        if (i % 97 == 0 && i > 0)
            texts.append(texts[int(random.bounded(i))]);
        else if (i % 89 == 0 && i > 0)
            texts.append(texts[int(random.bounded(i))] + QStringLiteral("ё"));
        else if (i % 83 == 0 && i > 0)
            texts.append(texts[int(random.bounded(i))].toUpper());
        else
            texts.append(word() + QLatin1Char(' ') + word());
    }
    return texts;
}

// Numbers, as the number column holds them, with empty cells and leading
// zeros: sorted by their digits where the collator allows.
QStringList numbers()
{
    QStringList texts;
    for (int i = 0; i < 3000; ++i)
        texts.append(i % 17 == 0 ? QString() : QString::number(i * 7919 % 3001));
    texts += {QStringLiteral("007"), QStringLiteral("07"), QStringLiteral("0"), QStringLiteral("00")};
    return texts;
}

// The 256 characters of the code page the table files hold.
QString codePage()
{
    QByteArray bytes(256, '\0');
    std::iota(bytes.begin(), bytes.end(), char(0));
    return Windows1251::decode(bytes);
}

// Texts of the code page's characters alone, built from pieces where keys put
// together character by character could go wrong: case, ё beside е, letters
// that decompose (й, ї, ў), pairs the rules weigh as one (Czech "ch", the
// root rules' "l·"), expansions (№, …, ™), blanks, ignorable characters (a
// control, the soft hyphen) and punctuation. Many repeat or differ only in
// case.
QStringList codePageTexts(int count)
{
    const QStringList pieces{"a", "A", "ch",     "CH",     "Ch",     "c", "h", "l·", "L·", "l", "·", "е", "ё", "Ё", "Е",
                             "и", "й", "Й",      "ї",      "Ї",      "і", "I", "i",  "ґ",  "Ґ", "ў", "Ў", "я", "Я", "-",
                             "'", " ", "\u00A0", "\u00AD", "\u0001", "1", "9", "10", "№",  "…", "™", "«", "—"};
    QRandomGenerator random(20261209);
    QStringList texts;
    for (int i = 0; i < count; ++i) {
        QString text;
        for (int n = int(random.bounded(6)); n > 0; --n)
            text += pieces[int(random.bounded(qsizetype(pieces.size())))];
        texts.append(text);
    }
    return texts;
}

// The order of keys checked against the collator, text by text: sorted by
// their keys, each text must come after the one before it by the collator,
// or be equal to it exactly where their keys are. With the collator's order
// a total one, that is the whole order.
void checkKeyOrder(SortKeyWriter &writer, const DirectComparison &direct, const QStringList &texts)
{
    std::vector<std::string> keys;
    keys.reserve(size_t(texts.size()));
    for (const QString &text : texts) {
        const QByteArrayView key = writer.key(text);
        keys.emplace_back(key.data(), size_t(key.size()));
    }
    QVERIFY(!writer.metTextOutsideWeights());
    std::vector<int> order(size_t(texts.size()));
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int a, int b) { return keys[size_t(a)] < keys[size_t(b)]; });
    const auto codes = [](const QString &text) {
        QStringList units;
        for (const QChar c : text)
            units.append(QString::number(c.unicode(), 16).rightJustified(4, QLatin1Char('0')));
        return units.join(QLatin1Char(' '));
    };
    for (size_t i = 1; i < order.size(); ++i) {
        const QString &a = texts[order[i - 1]];
        const QString &b = texts[order[i]];
        const int expected = keys[size_t(order[i - 1])] == keys[size_t(order[i])] ? 0 : -1;
        const int actual = std::clamp(direct.compare(a, b), -1, 1);
        if (actual != expected)
            QFAIL(qPrintable(QStringLiteral("keys put [%1] %2 [%3], the collator says %4")
                                 .arg(codes(a), expected == 0 ? "=" : "<", codes(b))
                                 .arg(actual)));
    }
}

} // namespace

class SortingTest : public QObject
{
    Q_OBJECT

private slots:
    void order_data();
    void order();
    void sameOrderAsDirectComparison_data();
    void sameOrderAsDirectComparison();
    void keysInCollatorOrder_data();
    void keysInCollatorOrder();
    void localeWithoutLanguage();
    void emptyTable();
    void persistentIndexStaysOnItsRecord();
};

void SortingTest::order_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("factor");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QList<int>>("order");

    const QStringList numbers{"1", "2", "10", "9"};
    QTest::newRow("number cell, digits as characters") << "ru_RU" << 0 << 1 << numbers << QList<int>{0, 2, 1, 3};
    QTest::newRow("text cell, digits as characters") << "ru_RU" << 4 << 1 << numbers << QList<int>{0, 2, 1, 3};
    QTest::newRow("digits descending") << "ru_RU" << 7 << -1 << numbers << QList<int>{3, 1, 2, 0};

    const QStringList apples{"Apple", "b", "apple", "a", "APPLE"};
    QTest::newRow("case ignored, ties keep order") << "en_US" << 1 << 1 << apples << QList<int>{3, 0, 2, 4, 1};
    QTest::newRow("case ignored in the C locale") << "C" << 1 << 1 << apples << QList<int>{3, 0, 2, 4, 1};
    QTest::newRow("case ignored in the POSIX locale") << "POSIX" << 1 << 1 << apples << QList<int>{3, 0, 2, 4, 1};
    QTest::newRow("descending, ties keep order") << "en_US" << 1 << -1 << apples << QList<int>{1, 0, 2, 4, 3};
    QTest::newRow("factor 5 sorts ascending") << "en_US" << 1 << 5 << apples << QList<int>{3, 0, 2, 4, 1};
    QTest::newRow("factor -3 sorts descending") << "en_US" << 1 << -3 << apples << QList<int>{1, 0, 2, 4, 3};
    QTest::newRow("factor 0 keeps order") << "en_US" << 1 << 0 << apples << QList<int>{0, 1, 2, 3, 4};

    const QStringList russian{"Груша", "банан", "Яблоко", "груша"};
    QTest::newRow("Russian") << "ru_RU" << 2 << 1 << russian << QList<int>{1, 0, 3, 2};
    QTest::newRow("Russian descending") << "ru_RU" << 2 << -1 << russian << QList<int>{2, 0, 3, 1};

    QTest::newRow("two records") << "ru_RU" << 2 << 1 << QStringList{"б", "а"} << QList<int>{1, 0};

    // The scripts in their default order whatever the language, the
    // language's letter rules kept: ё sorts with е, not after я.
    const QStringList mixed{"яблоко", "Apple", "ёж", "ель", "Ежевика", "banana"};
    QTest::newRow("Latin before Cyrillic in Russian") << "ru_RU" << 1 << 1 << mixed << QList<int>{1, 5, 2, 4, 3, 0};
    QTest::newRow("Latin before Cyrillic in English") << "en_US" << 1 << 1 << mixed << QList<int>{1, 5, 2, 4, 3, 0};
    QTest::newRow("Latin before Cyrillic, descending") << "ru_RU" << 1 << -1 << mixed << QList<int>{0, 3, 4, 2, 5, 1};
    QTest::newRow("ё beside е") << "ru_RU" << 6 << 1 << QStringList{"ель", "ёлка", "еда", "Яма"}
                                << QList<int>{2, 1, 0, 3};
    // A locale that names no language collates by the root rules, not by
    // the code points (which put ё after я and Я before а).
    const QStringList russianAndLatin{"Яблоко", "ёж", "ель", "apple", "Ёлка", "банан", "Banana"};
    for (const char *locale : {"C", "POSIX"}) {
        QTest::addRow("root rules in the %s locale", locale)
            << locale << 2 << 1 << russianAndLatin << QList<int>{3, 6, 5, 1, 4, 2, 0};
    }

    const QStringList withEmpty{"b", "", "a", ""};
    QTest::newRow("empty cells first ascending") << "ru_RU" << 3 << 1 << withEmpty << QList<int>{1, 3, 2, 0};
    QTest::newRow("empty cells last descending") << "ru_RU" << 3 << -1 << withEmpty << QList<int>{0, 2, 1, 3};

    const QStringList shuffled{"c", "a", "b"};
    for (int column : {-1, 8, INT_MIN, INT_MAX}) {
        QTest::addRow("column %d keeps order", column) << "ru_RU" << column << 1 << shuffled << QList<int>{0, 1, 2};
    }
}

void SortingTest::order()
{
    QFETCH(QString, locale);
    QFETCH(int, column);
    QFETCH(int, factor);
    QFETCH(QStringList, texts);
    QFETCH(QList<int>, order);
    const TableData table = tableWith(column, texts);
    const QCollator collator = RowSorter::collator(QLocale(locale));
    QCOMPARE(toList(RowSorter::sortedOrder(table, column, factor, collator)), order);
}

// The order must be the one a direct comparison gives, ties kept in row order,
// whatever shortcut the sorting takes.
void SortingTest::sameOrderAsDirectComparison_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<bool>("numeric");
    QTest::addColumn<bool>("ignorePunctuation");
    QTest::addColumn<int>("factor");
    QTest::addColumn<QStringList>("texts");

    const QStringList tricky = trickyTexts(600);
    for (const char *locale : {"C", "en_US", "ru_RU", "de_DE", "sv_SE", "tr_TR", "sr_Latn_RS", "ja_JP"}) {
        QTest::addRow("%s ascending", locale) << locale << false << false << false << 1 << tricky;
        QTest::addRow("%s descending", locale) << locale << false << false << false << -1 << tricky;
        QTest::addRow("%s case-sensitive", locale) << locale << true << false << false << 1 << tricky;
    }
    QTest::newRow("en_US numeric") << "en_US" << false << true << false << 1 << tricky;
    QTest::newRow("ru_RU ignoring punctuation") << "ru_RU" << false << false << true << -1 << tricky;
    for (const char *locale : {"C", "ru_RU", "ja_JP"}) {
        QTest::addRow("%s numbers", locale) << locale << false << false << false << 1 << numbers();
        QTest::addRow("%s numbers descending", locale) << locale << false << false << false << -1 << numbers();
    }
    QTest::newRow("en_US numeric numbers") << "en_US" << false << true << false << 1 << numbers();
    const QStringList shared = longBeginnings();
    QTest::newRow("ru_RU, long beginnings") << "ru_RU" << false << false << false << 1 << shared;
    QTest::newRow("ru_RU, long beginnings descending") << "ru_RU" << false << false << false << -1 << shared;
    QTest::newRow("C, long beginnings, case-sensitive") << "C" << true << false << false << 1 << shared;
    const QStringList words = distinctWords();
    QTest::newRow("ru_RU, words that hardly repeat") << "ru_RU" << false << false << false << 1 << words;
    QTest::newRow("C, words that hardly repeat, descending") << "C" << false << false << false << -1 << words;
    QTest::newRow("ru_RU, texts that stop repeating") << "ru_RU" << false << false << false << -1 << repeatingThenNot();
    // Keys from the characters' weights, through every step of the sort.
    const QStringList codePageOnly = codePageTexts(2000);
    for (const char *locale : {"C", "ru_RU", "cs_CZ", "tr_TR"}) {
        QTest::addRow("%s, code page", locale) << locale << false << false << false << 1 << codePageOnly;
        QTest::addRow("%s, code page descending", locale) << locale << false << false << false << -1 << codePageOnly;
    }
    QTest::newRow("ru_RU, code page, ignoring punctuation") << "ru_RU" << false << false << true << 1 << codePageOnly;
    QTest::newRow("hu_HU, code page") << "hu_HU" << false << false << false << 1 << codePageOnly;
    // One text outside the code page, late in the table: every key is ICU's.
    QTest::newRow("ru_RU, code page and one text outside")
        << "ru_RU" << false << false << false << 1 << codePageOnly + QStringList{"ch中", "ch"};
}

void SortingTest::sameOrderAsDirectComparison()
{
    QFETCH(QString, locale);
    QFETCH(bool, caseSensitive);
    QFETCH(bool, numeric);
    QFETCH(bool, ignorePunctuation);
    QFETCH(int, factor);
    QFETCH(QStringList, texts);
    QCollator collator = RowSorter::collator(QLocale(locale));
    collator.setCaseSensitivity(caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive);
    collator.setNumericMode(numeric);
    collator.setIgnorePunctuation(ignorePunctuation);
    const int column = 5;
    const TableData table = tableWith(column, texts);

    const DirectComparison direct(collator);
    std::vector<int> expected(size_t(texts.size()));
    std::iota(expected.begin(), expected.end(), 0);
    std::stable_sort(expected.begin(), expected.end(),
                     [&](int a, int b) { return factor * direct.compare(texts[a], texts[b]) < 0; });
    // In one part and in up to four, on threads of the pool, with whole keys
    // and with their beginnings first (the way a sample chooses is one of
    // them): the same order.
    for (int parts : {1, 2, 3, 4}) {
        for (SortKeys::Writing writing : {SortKeys::Writing::Whole, SortKeys::Writing::Beginnings}) {
            QCOMPARE(toList(RowSorter::sortedOrder(table, column, factor, collator, parts, writing)), toList(expected));
        }
    }
}

// Keys put together from the weights of the code page's characters order
// texts as the collator does: every text of one and two characters, every
// text of three over an alphabet of letters, digits, blanks and punctuation
// where told, and random longer texts. Where the rules ask for what a table
// cannot hold (Hungarian contractions of three letters, French-Canadian
// backward accents, numbers by value, case), the keys are ICU's.
void SortingTest::keysInCollatorOrder_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<bool>("numeric");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<bool>("ignorePunctuation");
    QTest::addColumn<bool>("threeCharacters");
    QTest::addColumn<bool>("weighed");

    QTest::newRow("root rules") << "C" << false << false << false << true << true;
    QTest::newRow("ru_RU") << "ru_RU" << false << false << false << true << true;
    for (const char *locale : {"uk_UA", "be_BY", "kk_KZ", "en_US", "de_DE", "tr_TR", "cs_CZ"})
        QTest::addRow("%s", locale) << locale << false << false << false << false << true;
    QTest::newRow("root rules, ignoring punctuation") << "C" << false << false << true << true << true;
    QTest::newRow("ru_RU, ignoring punctuation") << "ru_RU" << false << false << true << false << true;
    QTest::newRow("hu_HU") << "hu_HU" << false << false << false << false << false;
    QTest::newRow("fr_CA") << "fr_CA" << false << false << false << false << false;
    QTest::newRow("ru_RU numeric") << "ru_RU" << true << false << false << false << false;
    QTest::newRow("ru_RU case-sensitive") << "ru_RU" << false << true << false << false << false;
}

void SortingTest::keysInCollatorOrder()
{
    QFETCH(QString, locale);
    QFETCH(bool, numeric);
    QFETCH(bool, caseSensitive);
    QFETCH(bool, ignorePunctuation);
    QFETCH(bool, threeCharacters);
    QFETCH(bool, weighed);
    QCollator collator = RowSorter::collator(QLocale(locale));
    collator.setNumericMode(numeric);
    collator.setCaseSensitivity(caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive);
    collator.setIgnorePunctuation(ignorePunctuation);
    SortKeyWriter writer(collator);
    QCOMPARE(writer.usesCharacterWeights(), weighed);
    const DirectComparison direct(collator);

    const QString characters = codePage();
    QStringList texts;
    for (const QChar a : characters) {
        texts.append(a);
        for (const QChar b : characters)
            texts.append(QString(a) + b);
    }
    QRandomGenerator random(20261210);
    for (int i = 0; i < 20000; ++i) {
        QString text;
        for (int n = 3 + int(random.bounded(14)); n > 0; --n)
            text += characters[int(random.bounded(256))];
        texts.append(text);
    }
    checkKeyOrder(writer, direct, texts);
    if (QTest::currentTestFailed() || !threeCharacters)
        return;
    const QString alphabet = QStringLiteral("aAcChHlLiIzеЕёЁийЙїЇіґўщъьяЯ019 \u00A0-.,'·…№™«—\u00AD\u0001\u0098");
    texts.clear();
    for (const QChar a : alphabet) {
        for (const QChar b : alphabet) {
            for (const QChar c : alphabet)
                texts.append(QString(a) + b + c);
        }
    }
    checkKeyOrder(writer, direct, texts);
}

// The tests run with LC_ALL=C.UTF-8: the program's own collator, of the
// system's locale, follows the root rules there.
void SortingTest::localeWithoutLanguage()
{
    if (QLocale().language() != QLocale::C)
        QSKIP("the tests' locale names a language");
    const TableData table = tableWith(3, {"Яблоко", "ёж", "ель", "apple", "Ёлка", "банан", "Banana"});
    QCOMPARE(toList(RowSorter::sortedOrder(table, 3, 1, RowSorter::collator())), (QList<int>{3, 6, 5, 1, 4, 2, 0}));
}

void SortingTest::emptyTable()
{
    const QCollator collator = RowSorter::collator(QLocale(QStringLiteral("ru_RU")));
    for (int column : {0, 7, -1})
        QVERIFY(RowSorter::sortedOrder(TableData(), column, 1, collator).empty());
}

void SortingTest::persistentIndexStaysOnItsRecord()
{
    TableModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.replaceTable(tableWith(1, {"Яблоко", "груша", "Груша", "банан"}));
    const QPersistentModelIndex selected = model.index(0, 1);

    const QCollator collator = RowSorter::collator(QLocale(QStringLiteral("ru_RU")));
    model.reorder(RowSorter::sortedOrder(model.table(), 1, 1, collator));

    QCOMPARE(model.data(model.index(0, 1)).toString(), QStringLiteral("банан"));
    QCOMPARE(selected.row(), 3);
    QCOMPARE(selected.data().toString(), QStringLiteral("Яблоко"));
}

TABLORA_GUILESS_TEST_MAIN(SortingTest)
#include "tst_sorting.moc"
