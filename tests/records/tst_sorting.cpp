#include "GuardedTest.h"
#include "document/TableModel.h"
#include "records/RowSorter.h"

#include <QAbstractItemModelTester>
#include <QCollator>
#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <climits>
#include <numeric>

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

} // namespace

class SortingTest : public QObject
{
    Q_OBJECT

private slots:
    void order_data();
    void order();
    void sameOrderAsDirectComparison_data();
    void sameOrderAsDirectComparison();
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
    // In one part and in more, on threads of the pool, with whole keys and
    // with their beginnings first: the same order.
    for (int parts : {1, 2, 3, 4}) {
        for (SortKeys::Writing writing :
             {SortKeys::Writing::Chosen, SortKeys::Writing::Whole, SortKeys::Writing::Beginnings}) {
            QCOMPARE(toList(RowSorter::sortedOrder(table, column, factor, collator, parts, writing)), toList(expected));
        }
    }
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
