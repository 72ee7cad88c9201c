#include "GuardedTest.h"
#include "Records.h"
#include "document/Document.h"
#include "document/DocumentTexts.h"
#include "document/TableModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <numeric>
#include <random>

class TableTest : public QObject
{
    Q_OBJECT

private slots:
    void widthRule_data();
    void widthRule();
    void initialColumns();
    void recordCellsStayApart_data();
    void recordCellsStayApart();
    void titleTexts_data();
    void titleTexts();
    void recordCountText();
    void modelSignals();
    void reorderKeepsSelectionOnItsRecord();
    void reorderMovesEveryRecord_data();
    void reorderMovesEveryRecord();
    void replacedRecordsAreFreedByTheModelsEnd();
};

void TableTest::widthRule_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("requested");
    QTest::addColumn<int>("stored");
    QTest::newRow("number column too narrow") << 0 << 20 << 30;
    QTest::newRow("number column too wide") << 0 << 200 << 30;
    QTest::newRow("number column zero") << 0 << 0 << 30;
    QTest::newRow("number column negative kept") << 0 << -4 << -4;
    QTest::newRow("text column 3") << 1 << 3 << 5;
    QTest::newRow("text column 0") << 7 << 0 << 5;
    QTest::newRow("text column wide") << 7 << 5000 << 5000;
    QTest::newRow("text column negative kept") << 3 << -25 << -25;
}

void TableTest::widthRule()
{
    QFETCH(int, column);
    QFETCH(int, requested);
    QFETCH(int, stored);
    TableData t;
    t.setWidth(column, requested);
    QCOMPARE(t.width(column), stored);
}

void TableTest::initialColumns()
{
    TableData t;
    QCOMPARE(t.title(0), QStringLiteral("№"));
    QCOMPARE(t.title(1), QStringLiteral("1 столбец"));
    QCOMPARE(t.title(7), QStringLiteral("7 столбец"));
    QCOMPARE(t.width(0), 30);
    QCOMPARE(t.width(6), 100);
    QCOMPARE(t.width(7), 50);
    QCOMPARE(t.recordCount(), 0);
}

void TableTest::recordCellsStayApart_data()
{
    QTest::addColumn<Record::Cells>("cells");
    const QString x = QStringLiteral("x");
    QTest::newRow("short") << Record::Cells{QString(), QStringLiteral("Иванов"), QString(),
                                            x,         x.repeated(5000),         QString(),
                                            QString(), QStringLiteral("end")};
    // A record's ends take 16 bits up to 65535 characters, then 32.
    QTest::newRow("65535 characters") << Record::Cells{x, x.repeated(65533), x};
    QTest::newRow("65536 characters") << Record::Cells{x, x.repeated(65534), x};
    QTest::newRow("cells past 65536") << Record::Cells{x, QString(70000, QChar(u'ж')), QString(),
                                                       x, x.repeated(70000),           QStringLiteral("b")};
}

void TableTest::recordCellsStayApart()
{
    QFETCH(Record::Cells, cells);
    const Record r(cells);
    QCOMPARE(r.cells(), cells);
    QVERIFY(r != Record());
    QCOMPARE(Record(r).cells(), cells);

    QString text;
    Record::Ends ends;
    for (int c = 0; c < kColumnCount; ++c) {
        text += cells[c];
        if (c < kColumnCount - 1)
            ends[c] = std::uint32_t(text.size());
    }
    QVERIFY(Record::fromPacked(text, ends) == r);
    for (int c = 1; c < kColumnCount; ++c)
        QCOMPARE(r.cellStart(c), qsizetype(ends[c - 1]));
    // Read from a file, into a block the table's records share.
    QString block = QStringLiteral("before") + text;
    QCOMPARE(Record::inBlock(block, 6, text.size(), ends).cells(), cells);
}

void TableTest::titleTexts_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("status");
    QTest::newRow("untitled") << Document::untitledName() << QStringLiteral("Tablora 1.5 [Новая база данных]")
                              << QStringLiteral("Имя: Новая база данных");
    QTest::newRow("windows path") << QStringLiteral("C:\\Базы\\Склад.db") << QStringLiteral("Tablora 1.5 [Склад.db]")
                                  << QStringLiteral("Имя: Склад.db");
    QTest::newRow("drive only") << QStringLiteral("D:x.db") << QStringLiteral("Tablora 1.5 [x.db]")
                                << QStringLiteral("Имя: x.db");
    QTest::newRow("linux path") << QStringLiteral("/home/u/Базы/Склад.db") << QStringLiteral("Tablora 1.5 [Склад.db]")
                                << QStringLiteral("Имя: Склад.db");
}

void TableTest::titleTexts()
{
    QFETCH(QString, fileName);
    QFETCH(QString, title);
    QFETCH(QString, status);
    QCOMPARE(DocumentTexts::windowTitle(fileName), title);
    QCOMPARE(DocumentTexts::statusName(fileName), status);
}

void TableTest::recordCountText()
{
    QCOMPARE(DocumentTexts::recordCount(12), QStringLiteral("Всего записей: 12"));
    QCOMPARE(DocumentTexts::recordCount(0), QStringLiteral("Всего записей: 0"));
}

void TableTest::modelSignals()
{
    TableModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy widths(&model, &TableModel::columnWidthChanged);
    QSignalSpy cells(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy titles(&model, &QAbstractItemModel::headerDataChanged);
    // The columns each change signal covered, "first-last"; the spy is emptied.
    const auto cellColumns = [&cells] {
        QStringList out;
        for (const QList<QVariant> &signal : std::as_const(cells))
            out << QStringLiteral("%1-%2")
                       .arg(signal[0].toModelIndex().column())
                       .arg(signal[1].toModelIndex().column());
        cells.clear();
        return out;
    };
    const auto titleColumns = [&titles] {
        QStringList out;
        for (const QList<QVariant> &signal : std::as_const(titles))
            out << QStringLiteral("%1-%2").arg(signal[1].toInt()).arg(signal[2].toInt());
        titles.clear();
        return out;
    };

    appendTo(model, Record(Record::Cells{QStringLiteral("1"), QStringLiteral("a")}));
    appendTo(model, Record(Record::Cells{QStringLiteral("2"), QStringLiteral("b")}));
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.data(model.index(1, 1)).toString(), QStringLiteral("b"));
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("№"));
    QVERIFY(!(model.flags(model.index(0, 0)) & Qt::ItemIsEditable));

    model.setWidth(3, 2);
    QCOMPARE(model.table().width(3), 5);
    QCOMPARE(widths.count(), 1);
    model.setWidth(0, 200); // stays 30: no change to report
    QCOMPARE(widths.count(), 1);

    model.exchangeRecord(0, Record(Record::Cells{QStringLiteral("9")}));
    QCOMPARE(model.data(model.index(0, 0)).toString(), QStringLiteral("9"));
    QCOMPARE(cellColumns(), QStringList{"0-7"});
    model.setTitle(7, QStringLiteral("Итог"));
    QCOMPARE(model.headerData(7, Qt::Horizontal).toString(), QStringLiteral("Итог"));
    QCOMPARE(titleColumns(), QStringList{"7-7"});
    model.replaceTable(TableData());
    QCOMPARE(titleColumns(), QStringList{"0-7"});
    appendTo(model, Record(Record::Cells{QStringLiteral("1")}));
    appendTo(model, Record(Record::Cells{QStringLiteral("2")}));
    model.takeRecord(0);
    QCOMPARE(model.data(model.index(0, 0)).toString(), QStringLiteral("2"));
    model.discard(model.takeRecords());
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.table().title(1), QStringLiteral("1 столбец"));

    model.setAlignment(Qt::AlignRight);
    QCOMPARE(model.headerData(2, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>()
                 & Qt::AlignHorizontal_Mask,
             Qt::AlignRight);
    QCOMPARE(titleColumns(), QStringList{"0-7"});
    appendTo(model, Record());
    model.setAlignment(Qt::AlignLeft);
    QCOMPARE(cellColumns(), QStringList{"0-7"});
}

void TableTest::reorderKeepsSelectionOnItsRecord()
{
    TableModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    for (const char *n : {"a", "b", "c"})
        appendTo(model, Record(Record::Cells{QString::fromLatin1(n)}));
    const QPersistentModelIndex selected = model.index(0, 0);
    model.reorder({2, 1, 0});
    QCOMPARE(model.data(model.index(0, 0)).toString(), QStringLiteral("c"));
    QCOMPARE(selected.row(), 2);
    QCOMPARE(selected.data().toString(), QStringLiteral("a"));
}

// Reordering works in place, with half the records aside and the others
// closed up in between: every new row must hold the old row the order
// names, at every size around the word and the half, and for the large
// tables that are worked on in two parts.
void TableTest::reorderMovesEveryRecord_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("kind");
    for (int count : {0, 1, 2, 3, 63, 64, 65, 127, 128, 129, 20001}) {
        for (const char *kind : {"same", "reversed", "shuffled", "halves swapped", "every other first"})
            QTest::addRow("%d, %s", count, kind) << count << QString::fromLatin1(kind);
    }
}

void TableTest::reorderMovesEveryRecord()
{
    QFETCH(int, count);
    QFETCH(QString, kind);
    std::vector<int> order(static_cast<size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    if (kind == QLatin1String("reversed")) {
        std::reverse(order.begin(), order.end());
    } else if (kind == QLatin1String("shuffled")) {
        std::shuffle(order.begin(), order.end(), std::mt19937(20260526));
    } else if (kind == QLatin1String("halves swapped")) {
        std::rotate(order.begin(), order.begin() + count / 2, order.end());
    } else if (kind == QLatin1String("every other first")) {
        std::stable_partition(order.begin(), order.end(), [](int row) { return row % 2 == 0; });
    }
    TableData table;
    for (int row = 0; row < count; ++row)
        table.appendRecord(Record(Record::Cells{QString::number(row), QStringLiteral("x").repeated(row % 5)}));
    const TableData before = table;
    table.reorder(order);
    QCOMPARE(table.recordCount(), count);
    for (int row = 0; row < count; ++row) {
        if (table.record(row) != before.record(order[size_t(row)]))
            QFAIL(qPrintable(QStringLiteral("row %1 does not hold old row %2").arg(row).arg(order[size_t(row)])));
    }
}

// A load frees the table it replaces on a thread of its own, which ends with
// the model, not after it.
void TableTest::replacedRecordsAreFreedByTheModelsEnd()
{
    QString last; // shares the last record's text, the last one freed
    {
        TableModel model;
        TableData table;
        for (int i = 0; i < 400000; ++i) {
            last = QStringLiteral("record %1").arg(i);
            table.appendRecord(Record::fromPacked(last, {}));
        }
        model.replaceTable(std::move(table));
        model.replaceTable(TableData());
    }
    QVERIFY(last.isDetached());
}

TABLORA_GUILESS_TEST_MAIN(TableTest)
#include "tst_table.moc"
