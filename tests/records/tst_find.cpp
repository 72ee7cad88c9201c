#include "GuardedTest.h"
#include "Records.h"
#include "document/TableData.h"
#include "records/RecordSearch.h"
#include "records/TextMatcher.h"

#include <QTest>

using RecordSearch::Direction;

// Finding records: which row and cell a search lands on, from where, in which
// direction, and whether it went round the end.
class FindTest : public QObject
{
    Q_OBJECT

private slots:
    void find_data();
    void find();
    void matcher_data();
    void matcher();
};

void FindTest::find_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("from");
    QTest::addColumn<bool>("forward");
    QTest::addColumn<int>("row"); // -1: nothing found
    QTest::addColumn<int>("hitColumn");
    QTest::addColumn<bool>("wrapped");

    // The table is the one in find() below.
    QTest::newRow("the number cell counts") << "17" << false << -1 << -1 << true << 2 << 0 << false;
    QTest::newRow("a later cell of a row") << "Тверь" << false << -1 << -1 << true << 1 << 6 << false;
    QTest::newRow("case ignored") << "иванов" << false << -1 << -1 << true << 0 << 1 << false;
    QTest::newRow("case ignored, Cyrillic ё") << "ЁЛКА" << false << -1 << -1 << true << 3 << 7 << false;
    QTest::newRow("case matched") << "иванов" << true << -1 << -1 << true << 2 << 2 << false;
    QTest::newRow("after the selected row") << "иванов" << false << -1 << 0 << true << 2 << 2 << false;
    QTest::newRow("round the end") << "иванов" << false << -1 << 2 << true << 0 << 1 << true;
    QTest::newRow("the selected row comes last") << "Тверь" << false << -1 << 1 << true << 1 << 6 << true;
    QTest::newRow("backward") << "иванов" << false << -1 << 2 << false << 0 << 1 << false;
    QTest::newRow("backward round the top") << "иванов" << false << -1 << 0 << false << 2 << 2 << true;
    QTest::newRow("backward, nothing selected: from the bottom")
        << "иванов" << false << -1 << -1 << false << 2 << 2 << false;
    QTest::newRow("only in its column") << "иванов" << false << 2 << -1 << true << 2 << 2 << false;
    QTest::newRow("not in that column") << "Тверь" << false << 3 << -1 << true << -1 << -1 << false;
    QTest::newRow("never across two cells") << "ТверьМосква" << false << -1 << -1 << true << -1 << -1 << false;
    QTest::newRow("nowhere") << "Жужелица" << false << -1 << 1 << true << -1 << -1 << false;
    QTest::newRow("empty text finds nothing") << "" << false << -1 << -1 << true << -1 << -1 << false;
}

void FindTest::find()
{
    QFETCH(QString, text);
    QFETCH(bool, matchCase);
    QFETCH(int, column);
    QFETCH(int, from);
    QFETCH(bool, forward);
    QFETCH(int, row);
    QFETCH(int, hitColumn);
    QFETCH(bool, wrapped);

    TableData table;
    table.appendRecord(record({"1", "Иванов", "", "", "", "", "", ""}));
    table.appendRecord(record({"2", "Петров", "", "", "", "", "Тверь", "Москва"}));
    table.appendRecord(record({"17", "Сидоров", "иванов"}));
    table.appendRecord(record({"3", "", "", "", "", "", "", "ёлка"}));

    const std::optional<RecordSearch::Hit> hit = RecordSearch::find(
        table, {text, matchCase, column}, from, forward ? Direction::Forward : Direction::Backward, QLocale::c());
    QCOMPARE(hit ? hit->row : -1, row);
    if (hit) {
        QCOMPARE(hit->column, hitColumn);
        QCOMPARE(hit->wrapped, wrapped);
    }
}

void FindTest::matcher_data()
{
    QTest::addColumn<QString>("needle");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("at");

    QTest::newRow("a later candidate") << "abc"
                                       << "xabxaBcabc" << false << "C" << 4;
    QTest::newRow("case matched passes a fold") << "abc"
                                                << "xaBcabc" << true << "C" << 4;
    QTest::newRow("at the very end") << "ц"
                                     << "абвЦ" << false << "ru_RU" << 3;
    QTest::newRow("longer than the text") << "abcd"
                                          << "abc" << false << "C" << -1;
    QTest::newRow("Kelvin sign folds to k") << "k"
                                            << "\u212A" << false << "C" << 0;
    QTest::newRow("capital I is not dotless i") << "ı"
                                                << "I" << false << "C" << -1;
    QTest::newRow("Turkish: capital I is dotless i") << "ı"
                                                     << "I" << false << "tr_TR" << 0;
    QTest::newRow("Turkish: dotted capital İ is i") << "i"
                                                    << "İ" << false << "tr_TR" << 0;
    QTest::newRow("beyond the BMP, itself") << "\U0001F600"
                                            << "a\U0001F600" << false << "C" << 1;
}

void FindTest::matcher()
{
    QFETCH(QString, needle);
    QFETCH(QString, text);
    QFETCH(bool, matchCase);
    QFETCH(QString, locale);
    QFETCH(int, at);
    const TextMatcher matcher(needle, matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive, QLocale(locale));
    QCOMPARE(matcher.indexIn(text), at);
}

TABLORA_APPLESS_TEST_MAIN(FindTest)
#include "tst_find.moc"
