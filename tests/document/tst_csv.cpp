#include "GuardedTest.h"
#include "Records.h"
#include "base/WorkProgress.h"
#include "document/CsvDetection.h"
#include "document/CsvFormulas.h"
#include "document/CsvReader.h"
#include "document/CsvWriter.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

Q_DECLARE_METATYPE(TableData)
Q_DECLARE_METATYPE(CsvReadError::Kind)

namespace {

// Cells a delimiter, a quote, a trimming reader or a spreadsheet's formulas
// could break, in Cyrillic, Latin and beyond the code page.
TableData awkwardTable()
{
    TableData t;
    const char *titles[] = {"№", "Фамилия, имя", "", "\"Цитата\"", " пробел ", "a;b", "=СУММ(A1)", "x\ty"};
    for (int c = 0; c < kColumnCount; ++c)
        t.setTitle(c, QString::fromUtf8(titles[c]));
    t.appendRecord(record({"1", "Иванов Пётр", "", "say \"hi\"", "a,b", "semi;colon", "tab\there", " lead "}));
    t.appendRecord(Record());
    t.appendRecord(record({"=1+1", "+7 495 123-45-67", "-5", "@cmd", "'=уже", "''+два", "'просто", "a=b"}));
    t.appendRecord(record({"№ 3", "\"", "\"\"", ",", ";", "\t", " ", "ёЁ«»—€ 😀 中"}));
    t.appendRecord(record({"", "", "", "", "", "", "", "last"}));
    return t;
}

// Many records, some with quotes, delimiters and quotes inside unquoted
// cells, so that parts meet everything a cut could hit.
TableData largeTable(int records)
{
    TableData t;
    for (int i = 0; i < records; ++i) {
        const QString n = QString::number(i);
        switch (i % 5) {
        case 0:
            t.appendRecord(Record(Record::Cells{n, QStringLiteral("Иванов ") + n, QStringLiteral("a,b;c")}));
            break;
        case 1:
            t.appendRecord(Record(Record::Cells{n, QStringLiteral("5\" disk"), QStringLiteral("say \"") + n + '"'}));
            break;
        case 2:
            t.appendRecord(Record());
            break;
        case 3:
            t.appendRecord(Record(Record::Cells{n, QStringLiteral("=") + n, {}, {}, {}, {}, {}, QStringLiteral("z")}));
            break;
        default:
            t.appendRecord(Record(Record::Cells{n, QStringLiteral("Пётр \"Первый\"") + n}));
            break;
        }
    }
    return t;
}

CsvReadOptions readOptions(char delimiter, bool removeMarks = false)
{
    CsvReadOptions options;
    options.delimiter = delimiter;
    options.removeFormulaMarks = removeMarks;
    return options;
}

QList<Record::Cells> cellsOf(const TableData &table)
{
    QList<Record::Cells> out;
    for (int row = 0; row < table.recordCount(); ++row)
        out << table.record(row).cells();
    return out;
}

QStringList titlesOf(const TableData &table)
{
    QStringList out;
    for (int c = 0; c < kColumnCount; ++c)
        out << table.title(c);
    return out;
}

} // namespace

class CsvTest : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void firstCellLikeAByteOrderMark();
    void markedCellsComeBackOnlyWhenAsked();
    void formulaMarks_data();
    void formulaMarks();
    void detection_data();
    void detection();
    void windows1251();
    void refusals_data();
    void refusals();
    void breaksBecomeSpaces();
    void firstRowAsARecord();
    void partsGiveTheSameResult_data();
    void partsGiveTheSameResult();
    void preview();
    void progressReachesTheEnd();
    void stoppedReadEnds();
    void fileHoldsWhatTheTextHolds();
    void stoppedWriteLeavesNoFile_data();
    void stoppedWriteLeavesNoFile();
    void otherReadersSeeTheSameCells_data();
    void otherReadersSeeTheSameCells();
};

void CsvTest::roundTrip_data()
{
    QTest::addColumn<char>("delimiter");
    QTest::addColumn<bool>("byteOrderMark");
    QTest::addColumn<bool>("protect");
    for (const char delimiter : CsvDetection::kDelimiters) {
        for (const bool mark : {false, true}) {
            for (const bool protect : {false, true})
                QTest::addRow("%s%s%s",
                              delimiter == '\t'      ? "tab"
                                  : delimiter == ';' ? "semicolon"
                                                     : "comma",
                              mark ? ", BOM" : "", protect ? ", protected" : "")
                    << delimiter << mark << protect;
        }
    }
}

// What the export writes, the import reads back as it was: every title and
// cell, with the delimiter and the encoding the import guesses.
void CsvTest::roundTrip()
{
    QFETCH(char, delimiter);
    QFETCH(bool, byteOrderMark);
    QFETCH(bool, protect);
    const TableData table = awkwardTable();
    CsvWriteOptions write;
    write.delimiter = delimiter;
    write.byteOrderMark = byteOrderMark;
    write.protectFormulas = protect;
    const QByteArray text = CsvWriter::write(table, write);
    QCOMPARE(text.startsWith("\xEF\xBB\xBF"), byteOrderMark);

    QCOMPARE(CsvDetection::delimiter(text), delimiter);
    QCOMPARE(CsvDetection::encoding(text), TextEncoding::Utf8);
    const TableData back = CsvReader(readOptions(delimiter, protect)).read(text);
    QCOMPARE(titlesOf(back), titlesOf(table));
    QCOMPARE(cellsOf(back), cellsOf(table));
}

// A first title that starts with U+FEFF is not lost as a byte order mark.
void CsvTest::firstCellLikeAByteOrderMark()
{
    TableData table;
    table.setTitle(0, QStringLiteral("\uFEFFзаголовок"));
    table.appendRecord(record({"\uFEFF"}));
    for (const bool mark : {false, true}) {
        CsvWriteOptions write;
        write.byteOrderMark = mark;
        const TableData back = CsvReader(readOptions(',')).read(CsvWriter::write(table, write));
        QCOMPARE(back.title(0), table.title(0));
        QCOMPARE(cellsOf(back), cellsOf(table));
    }
}

void CsvTest::markedCellsComeBackOnlyWhenAsked()
{
    TableData table;
    table.appendRecord(record({"=1+1", "'=1+1", "-5", "5-"}));
    CsvWriteOptions write;
    write.protectFormulas = true;
    const QByteArray text = CsvWriter::write(table, write);
    QVERIFY2(text.endsWith("'=1+1,''=1+1,'-5,5-,,,,\r\n"), text.constData());

    const Record kept = CsvReader(readOptions(',')).read(text).record(0);
    QCOMPARE(kept.cell(0), QStringLiteral("'=1+1"));
    QCOMPARE(kept.cell(2), QStringLiteral("'-5"));
    const Record restored = CsvReader(readOptions(',', true)).read(text).record(0);
    QCOMPARE(restored.cells(), table.record(0).cells());
    // Without the mark the cells are written as they are.
    QVERIFY(CsvWriter::write(table, CsvWriteOptions()).endsWith("=1+1,'=1+1,-5,5-,,,,\r\n"));
}

void CsvTest::formulaMarks_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<bool>("needsMark");
    QTest::addColumn<bool>("isMarked");
    QTest::newRow("equals") << "=1+1" << true << false;
    QTest::newRow("plus") << "+7 495" << true << false;
    QTest::newRow("minus") << "-5" << true << false;
    QTest::newRow("at") << "@SUM(A1)" << true << false;
    QTest::newRow("tab") << "\tx" << true << false;
    QTest::newRow("CR") << "\rx" << true << false;
    QTest::newRow("marked") << "'=1+1" << true << true;
    QTest::newRow("marked twice") << "''-5" << true << true;
    QTest::newRow("apostrophe before text") << "'abc" << false << false;
    QTest::newRow("apostrophes only") << "''" << false << false;
    QTest::newRow("formula character later") << "a=b" << false << false;
    QTest::newRow("leading space") << " =1" << false << false;
    QTest::newRow("empty") << "" << false << false;
    QTest::newRow("Cyrillic") << "Иванов" << false << false;
}

void CsvTest::formulaMarks()
{
    QFETCH(QString, cell);
    QFETCH(bool, needsMark);
    QFETCH(bool, isMarked);
    QCOMPARE(CsvFormulas::needsMark(cell), needsMark);
    QCOMPARE(CsvFormulas::isMarked(cell), isMarked);
}

void CsvTest::detection_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<char>("delimiter");
    QTest::addColumn<TextEncoding>("encoding");

    QTest::newRow("commas") << QByteArray("a,b,c\r\n1,2,3\r\n") << ',' << TextEncoding::Utf8;
    QTest::newRow("semicolons and decimal commas")
        << QByteArray("Имя;Цена;Вес\r\nЯблоко;3,5;1,2\r\nГруша;4;0,5\r\n") << ';' << TextEncoding::Utf8;
    QTest::newRow("tabs") << QByteArray("a\tb, c\n1\t2; 3\n") << '\t' << TextEncoding::Utf8;
    QTest::newRow("delimiters in quotes do not count")
        << QByteArray("\"a;b;c\",d\r\n\"x;y\",z\r\n") << ',' << TextEncoding::Utf8;
    QTest::newRow("quoted line break") << QByteArray("a;\"b\r\nc,d,e\"\r\n1;2\r\n") << ';' << TextEncoding::Utf8;
    QTest::newRow("one column") << QByteArray("a\r\nb\r\n") << ',' << TextEncoding::Utf8;
    QTest::newRow("uneven rows: most cells in the first")
        << QByteArray("a;b;c,d\r\n1;2\r\n") << ';' << TextEncoding::Utf8;
    QTest::newRow("Windows-1251") << QByteArray("\xD4\xE0\xEC\xE8\xEB\xE8\xFF;\xC8\xEC\xFF\r\n") << ';'
                                  << TextEncoding::Windows1251;
    QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF\xD0\x90\t\xD0\x91\r\n") << '\t' << TextEncoding::Utf8;
    QTest::newRow("empty") << QByteArray() << ',' << TextEncoding::Utf8;
    // A two-byte letter cut by the end of the sample is still UTF-8; the
    // rows the sample cuts do not count.
    QByteArray longer = QByteArray("a;b\r\n") + QByteArray(65535 - 5, 'x') + "\xD0\x90;c,d,e,f";
    QTest::newRow("sample cut in a letter") << longer << ';' << TextEncoding::Utf8;
    QTest::newRow("Windows-1251 after the sample") << QByteArray(70000, 'a') + "\xC0" << ',' << TextEncoding::Utf8;
}

void CsvTest::detection()
{
    QFETCH(QByteArray, text);
    QFETCH(char, delimiter);
    QFETCH(TextEncoding, encoding);
    QCOMPARE(CsvDetection::delimiter(text), delimiter);
    QCOMPARE(CsvDetection::encoding(text), encoding);
}

void CsvTest::windows1251()
{
    // "Фамилия;№" and "Ёлка;«Заря»" in Windows-1251.
    const QByteArray text = "\xD4\xE0\xEC\xE8\xEB\xE8\xFF;\xB9\r\n\xA8\xEB\xEA\xE0;\xAB\xC7\xE0\xF0\xFF\xBB\r\n";
    CsvReadOptions options = readOptions(';');
    options.encoding = TextEncoding::Windows1251;
    const TableData table = CsvReader(options).read(text);
    QCOMPARE(table.title(0), QStringLiteral("Фамилия"));
    QCOMPARE(table.title(1), QStringLiteral("№"));
    QCOMPARE(table.record(0).cells(), record({"Ёлка", "«Заря»"}).cells());
    QVERIFY(table.record(0).knownEncodable());
    // The same bytes are not UTF-8.
    try {
        CsvReader(readOptions(';')).read(text);
        QFAIL("Windows-1251 was read as UTF-8");
    } catch (const CsvReadError &e) {
        QCOMPARE(e.kind, CsvReadError::Kind::NotUtf8);
        QCOMPARE(e.line, 1);
    }
}

void CsvTest::refusals_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<CsvReadError::Kind>("kind");
    QTest::addColumn<qint64>("line");
    QTest::addColumn<QString>("message");

    const QByteArray titles = "a,b,c,d,e,f,g,h\r\n";
    QTest::newRow("nine cells") << titles + "1\r\n1,2,3,4,5,6,7,8,9\r\n"
                                << CsvReadError::Kind::TooManyCells << 3LL
                                << "Строка 3 файла делится на 9 столбцов, а в базе данных их не больше 8.";
    QTest::newRow("twelve cells, a quoted one among them")
        << titles + "1,2,3,4,5,6,7,8,\"9,\"\"x\"\"\",10,11,12\r\n"
        << CsvReadError::Kind::TooManyCells << 2LL
        << "Строка 2 файла делится на 12 столбцов, а в базе данных их не больше 8.";
    QTest::newRow("nine titles") << QByteArray("1,2,3,4,5,6,7,8,9\r\n") << CsvReadError::Kind::TooManyCells << 1LL
                                 << "Строка 1 файла делится на 9 столбцов, а в базе данных их не больше 8.";
    QTest::newRow("quote never closed") << titles + "1,\"abc\r\n2\r\n"
                                        << CsvReadError::Kind::QuoteNotClosed << 2LL
                                        << "Строка 2 файла: кавычка, которая открывает ячейку (запись 1, столбец "
                                           "2), не закрыта.";
    QTest::newRow("text after a closing quote")
        << titles + "1\r\n2,\"ab\"c\r\n"
        << CsvReadError::Kind::TextAfterQuote << 3LL
        << "Строка 3 файла: после закрывающей кавычки ячейки (запись 2, столбец 2) стоит текст.";
    QTest::newRow("not UTF-8") << titles + "1,ok\r\n2,\xD6\xE5\r\n"
                               << CsvReadError::Kind::NotUtf8 << 3LL << "Строка 3 файла не в кодировке UTF-8.";
    QTest::newRow("overlong UTF-8") << titles + "1,\xC0\xAF\r\n"
                                    << CsvReadError::Kind::NotUtf8 << 2LL << "Строка 2 файла не в кодировке UTF-8.";
    // Among letters read four at a time.
    QTest::newRow("overlong UTF-8 among Cyrillic")
        << titles + "1,\xD0\xB0\xD0\xB1\xD0\xB2\xC0\xAF\xD0\xB3\xD0\xB4\xD0\xB5\xD0\xB6\r\n"
        << CsvReadError::Kind::NotUtf8 << 2LL << "Строка 2 файла не в кодировке UTF-8.";
    QTest::newRow("cut UTF-8 at the end")
        << titles + "1,\xE2\x84" << CsvReadError::Kind::NotUtf8 << 2LL << "Строка 2 файла не в кодировке UTF-8.";
    QTest::newRow("line break in a cell") << titles + "1,\"a\nb\"\r\n"
                                          << CsvReadError::Kind::LineBreak << 2LL
                                          << "Строка 2 файла: ячейка (запись 1, столбец 2) содержит перевод строки.";
    QTest::newRow("empty") << QByteArray("\xEF\xBB\xBF") << CsvReadError::Kind::Empty << 1LL
                           << "Файл пуст: в нём нет ни одной строки.";
}

void CsvTest::refusals()
{
    QFETCH(QByteArray, text);
    QFETCH(CsvReadError::Kind, kind);
    QFETCH(qint64, line);
    QFETCH(QString, message);
    for (const int parts : {1, 2, 3}) {
        try {
            CsvReader(readOptions(',')).read(text, parts);
            QFAIL("the text was read");
        } catch (const CsvReadError &e) {
            QCOMPARE(e.kind, kind);
            QCOMPARE(e.line, line);
            QCOMPARE(e.message(), message);
        }
    }
}

void CsvTest::breaksBecomeSpaces()
{
    CsvReadOptions options = readOptions(',');
    options.replaceBreaks = true;
    const TableData table =
        CsvReader(options).read("a,\"b\r\nc\"\r\n1,\"two\r\nlines\nand\rmore\",x\r\n2,\"\r\n\"\r\n");
    QCOMPARE(table.title(1), QStringLiteral("b c"));
    QCOMPARE(table.recordCount(), 2);
    QCOMPARE(table.record(0).cells(), record({"1", "two lines and more", "x"}).cells());
    QCOMPARE(table.record(1).cells(), record({"2", " "}).cells());
}

void CsvTest::firstRowAsARecord()
{
    CsvReadOptions options = readOptions(';');
    options.titlesInFirstRow = false;
    const TableData table = CsvReader(options).read("a;b\r\nc\r\n");
    QCOMPARE(table.title(1), TableData().title(1));
    QCOMPARE(cellsOf(table), QList<Record::Cells>({record({"a", "b"}).cells(), record({"c"}).cells()}));
}

void CsvTest::partsGiveTheSameResult_data()
{
    QTest::addColumn<char>("delimiter");
    QTest::addColumn<bool>("replaceBreaks");
    QTest::newRow("commas") << ',' << false;
    QTest::newRow("semicolons, breaks replaced") << ';' << true;
}

// The reader cuts the text where quotes pair up; a quote inside an unquoted
// cell can put the cut inside a row, which the reader notices. The writer
// cuts the records. Either way the result is the same as in one part.
void CsvTest::partsGiveTheSameResult()
{
    QFETCH(char, delimiter);
    QFETCH(bool, replaceBreaks);
    TableData table = largeTable(20000);
    table.appendRecord(record({"x", "many\r\nlines\r\nin a cell", "\"quoted\r\n\""}));
    for (int i = 0; i < 2000; ++i)
        table.appendRecord(record({"y", "6\" pipe \"", "a\"b", "\"\"\""}));
    CsvWriteOptions write;
    write.delimiter = delimiter;
    write.protectFormulas = true;
    const QByteArray text = CsvWriter::write(table, write, 1, nullptr);
    for (const int parts : {2, 3, 4, 7})
        QCOMPARE(CsvWriter::write(table, write, parts, nullptr), text);

    CsvReadOptions read = readOptions(delimiter, true);
    read.replaceBreaks = replaceBreaks;
    // The table read, or the line of the failure.
    const auto readIn = [&](const QByteArray &bytes, int parts) -> std::pair<TableData, qint64> {
        try {
            return {CsvReader(read).read(bytes, parts), 0};
        } catch (const CsvReadError &e) {
            return {TableData(), e.line};
        }
    };
    const auto [whole, failedAt] = readIn(text, 1);
    const int multiline = table.recordCount() - 2001;
    if (!replaceBreaks) {
        QCOMPARE(failedAt, qint64(multiline + 2)); // the cell with breaks fails the read
    } else {
        QCOMPARE(whole.recordCount(), table.recordCount());
        QCOMPARE(cellsOf(whole).mid(0, multiline), cellsOf(table).mid(0, multiline));
        QCOMPARE(cellsOf(whole).mid(multiline + 1), cellsOf(table).mid(multiline + 1));
        QCOMPARE(whole.cell(multiline, 1), QStringLiteral("many lines in a cell"));
    }
    for (const int parts : {2, 3, 4, 7}) {
        const auto [inParts, partsFailedAt] = readIn(text, parts);
        QCOMPARE(partsFailedAt, failedAt);
        QCOMPARE(titlesOf(inParts), titlesOf(whole));
        QCOMPARE(cellsOf(inParts), cellsOf(whole));
    }

    // A quote inside an unquoted cell, then quoted cells with line breaks:
    // the quotes pair up wrongly from there, and the cuts fall inside rows.
    QByteArray stray = "a,b\r\n1,5\" disk\r\n";
    for (int i = 0; i < 30000; ++i)
        stray += QByteArray::number(i) + ",\"x\r\ny\"\r\n";
    CsvReadOptions breaks = readOptions(',');
    breaks.replaceBreaks = true;
    const TableData straight = CsvReader(breaks).read(stray, 1);
    QCOMPARE(straight.recordCount(), 30001);
    QCOMPARE(straight.cell(0, 1), QStringLiteral("5\" disk"));
    QCOMPARE(straight.cell(30000, 1), QStringLiteral("x y"));
    for (const int parts : {2, 5})
        QCOMPARE(cellsOf(CsvReader(breaks).read(stray, parts)), cellsOf(straight));
}

void CsvTest::preview()
{
    const QByteArray text = "a,b\r\n1,\"x\r\ny\"\r\n2\r\n3,4,5,6,7,8,9,10,11\r\n4\r\n";
    CsvReadOptions options = readOptions(',');
    options.replaceBreaks = true;
    const CsvReader::Preview shown = CsvReader(options).preview(text, 3);
    QCOMPARE(shown.rows, QList<QStringList>({{"a", "b"}, {"1", "x y"}, {"2"}}));
    QVERIFY(!shown.problem);

    const CsvReader::Preview further = CsvReader(options).preview(text, 10);
    QCOMPARE(further.rows.size(), 4);
    QCOMPARE(further.rows.last(), QStringList({"3", "4", "5", "6", "7", "8", "9", "10"}));
    QVERIFY(further.problem);
    QCOMPARE(further.problem->kind, CsvReadError::Kind::TooManyCells);
    QCOMPARE(further.problem->cells, 9);
    QCOMPARE(further.problem->line, 5);
}

void CsvTest::progressReachesTheEnd()
{
    const TableData table = largeTable(50000);
    WorkProgress writing;
    int lastWritten = -1;
    writing.setObserver([&](int value) {
        QVERIFY(value >= lastWritten);
        lastWritten = value;
    });
    const QByteArray text = CsvWriter::write(table, CsvWriteOptions(), 2, &writing);
    QCOMPARE(writing.value(), WorkProgress::kScale);
    QCOMPARE(lastWritten, WorkProgress::kScale);

    WorkProgress reading;
    QList<int> values;
    reading.setObserver([&](int value) { values << value; });
    CsvReader(readOptions(',')).read(text, 1, &reading);
    QCOMPARE(reading.value(), WorkProgress::kScale);
    QVERIFY(values.size() > 3); // reported as it went
    QVERIFY(std::is_sorted(values.begin(), values.end()));
}

void CsvTest::stoppedReadEnds()
{
    const QByteArray text = CsvWriter::write(largeTable(100000), CsvWriteOptions());
    for (const int parts : {1, 2}) {
        WorkProgress reading;
        reading.setObserver([&](int value) {
            if (value >= WorkProgress::kScale / 3)
                reading.requestStop();
        });
        QVERIFY_THROWS_EXCEPTION(WorkStopped, CsvReader(readOptions(',')).read(text, parts, &reading));
    }
}

// The file is written as it is made, a piece at a time, with a record
// longer than a piece among others; it holds the same text as the whole.
void CsvTest::fileHoldsWhatTheTextHolds()
{
    TableData table = largeTable(30000);
    table.insertRecord(5, record({"long"}));
    table.exchangeRecord(
        5, Record(Record::Cells{QStringLiteral("long"), QString(3 << 20, QChar(u'Ж')), QStringLiteral("\"")}));
    CsvWriteOptions write;
    write.byteOrderMark = true;
    write.protectFormulas = true;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.csv"));
    CsvWriter::writeFile(path, table, write);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), CsvWriter::write(table, write, 1, nullptr));
}

void CsvTest::stoppedWriteLeavesNoFile_data()
{
    QTest::addColumn<int>("stopAt");
    QTest::newRow("while the text is made") << WorkProgress::kScale / 4;
    QTest::newRow("once the last byte is written") << WorkProgress::kScale;
}

// A stop before the file has taken the target's place leaves the target as
// it was and nothing else in the folder.
void CsvTest::stoppedWriteLeavesNoFile()
{
    QFETCH(int, stopAt);
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("out.csv"));
    QFile old(target);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();

    WorkProgress writing;
    writing.setObserver([&](int value) {
        if (value >= stopAt)
            writing.requestStop();
    });
    QVERIFY_THROWS_EXCEPTION(WorkStopped, CsvWriter::writeFile(target, largeTable(50000), CsvWriteOptions(), &writing));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("old"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("out.csv")});

    // Without a stop the file is written.
    CsvWriter::writeFile(target, awkwardTable(), CsvWriteOptions());
    old.close();
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), CsvWriter::write(awkwardTable(), CsvWriteOptions()));
}

namespace {

// The rows Python's csv module reads from the file, or an empty list with
// the reason in the test's output.
QList<QStringList> rowsByPython(const QString &python, const QString &path, char delimiter)
{
    QProcess process;
    process.start(python,
                  {QStringLiteral("-c"),
                   QStringLiteral("import csv, json, sys\n"
                                  "with open(sys.argv[1], encoding='utf-8-sig', newline='') as f:\n"
                                  "    print(json.dumps(list(csv.reader(f, delimiter=sys.argv[2]))))"),
                   path, QString(QLatin1Char(delimiter))});
    process.waitForFinished(60000);
    if (process.exitCode() != 0)
        qWarning("%s", process.readAllStandardError().constData());
    QList<QStringList> rows;
    for (const QJsonValue &row : QJsonDocument::fromJson(process.readAllStandardOutput()).array()) {
        QStringList cells;
        for (const QJsonValue &cell : row.toArray())
            cells << cell.toString();
        rows << cells;
    }
    return rows;
}

} // namespace

void CsvTest::otherReadersSeeTheSameCells_data()
{
    QTest::addColumn<bool>("spreadsheet");
    QTest::newRow("Python's csv module") << false;
    QTest::newRow("LibreOffice Calc") << true;
}

// A CSV as the window writes it by default (semicolons, the byte order mark,
// formulas kept text) reads as the table's cells in Python's csv module, and
// LibreOffice Calc shows the same cells, the marked formulas as text.
void CsvTest::otherReadersSeeTheSameCells()
{
    QFETCH(bool, spreadsheet);
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    const QString office = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (python.isEmpty() || (spreadsheet && office.isEmpty()))
        QSKIP("python3 or soffice is not installed");

    const TableData table = awkwardTable();
    CsvWriteOptions write;
    write.delimiter = ';';
    write.byteOrderMark = true;
    write.protectFormulas = true;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("table.csv"));
    CsvWriter::writeFile(path, table, write);

    // Titles and cells alike, those a spreadsheet would take for formulas
    // with the apostrophe in front.
    QList<QStringList> expected;
    const auto shown = [](const auto &cells) {
        QStringList row;
        for (const QString &cell : cells)
            row << (CsvFormulas::needsMark(cell) ? QLatin1Char('\'') + cell : cell);
        return row;
    };
    expected << shown(titlesOf(table));
    for (const Record::Cells &cells : cellsOf(table))
        expected << shown(cells);
    QVERIFY(expected[3][0] == QStringLiteral("'=1+1"));

    if (!spreadsheet) {
        QCOMPARE(rowsByPython(python, path, ';'), expected);
        return;
    }
    // Calc reads the file as semicolon-separated UTF-8 and writes it back as
    // comma-separated UTF-8 with every text cell quoted.
    QProcess calc;
    calc.start(office,
               {QStringLiteral("--headless"), QStringLiteral("--norestore"),
                QStringLiteral("-env:UserInstallation=")
                    + QUrl::fromLocalFile(dir.filePath(QStringLiteral("profile"))).toString(),
                QStringLiteral("--infilter=CSV:59,34,76,1"), QStringLiteral("--convert-to"),
                QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76,1,,0,true"), QStringLiteral("--outdir"),
                dir.filePath(QStringLiteral("calc")), path});
    QVERIFY(calc.waitForFinished(120000));
    QCOMPARE(calc.exitCode(), 0);
    QCOMPARE(rowsByPython(python, dir.filePath(QStringLiteral("calc/table.csv")), ','), expected);
}

TABLORA_GUILESS_TEST_MAIN(CsvTest)
#include "tst_csv.moc"
