#include "GuardedTest.h"
#include "base/SafeWrite.h"
#include "document/Base64.h"
#include "document/DatabaseCodec.h"
#include "document/PlainListWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

Q_DECLARE_METATYPE(TableData)

namespace {

Record record(const QStringList &cells)
{
    Record::Cells all;
    for (int c = 0; c < kColumnCount; ++c)
        all[c] = cells.value(c);
    return Record(all);
}

// Lines as Windows-1251 bytes, each followed by CR LF.
QByteArray plainOf(const QList<QByteArray> &lines)
{
    QByteArray out;
    for (const QByteArray &line : lines)
        out += line + "\r\n";
    return out;
}

// Default widths, short titles ("№", "1 столбец", "2" ... "7"), then the count line.
QList<QByteArray> header(const QByteArray &count)
{
    return {"30", "100", "100", "100", "100", "100", "100", "50", "\xB9", "1 \xF1\xF2\xEE\xEB\xE1\xE5\xF6",
            "2",  "3",   "4",   "5",   "6",   "7",   count};
}

QList<QByteArray> recordLines(const QByteArray &prefix)
{
    QList<QByteArray> lines;
    for (int c = 0; c < kColumnCount; ++c)
        lines << prefix + QByteArray::number(c);
    return lines;
}

TableData sampleTable()
{
    TableData t;
    t.setTitle(1, QStringLiteral("Фамилия"));
    t.setTitle(2, QString());
    t.setWidth(3, 240);
    t.setWidth(5, -12);
    t.appendRecord(record({QStringLiteral("1"), QStringLiteral("Иванов"), QStringLiteral("Пётр"),
                           QStringLiteral("+7 (495) 123-45-67"), QStringLiteral("Москва, ул. Тверская, 1"),
                           QStringLiteral("№ 5 «ёлка» — €"), QStringLiteral("Latin text"), QStringLiteral("end")}));
    t.appendRecord(Record());
    t.appendRecord(record({QString(), QString(), QStringLiteral("только третья")}));
    return t;
}

} // namespace

class CodecTest : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void newDatabaseFile();
    void roundTrip_data();
    void roundTrip();
    void largeFileRoundTrip();
    void base64MatchesStandardEncoding();
    void base64GroupRule_data();
    void base64GroupRule();

    void encodedText_data();
    void encodedText();
    void integerLines_data();
    void integerLines();
    void recordCount_data();
    void recordCount();
    void lineBreaksInPlainList_data();
    void lineBreaksInPlainList();
    void plainFileFormats();

    void unreadableFiles();
    void writeReplacesWholeFile();
    void writeFailureKeepsTarget_data();
    void writeFailureKeepsTarget();
    void unencodableText();
    void unencodableInParts();

    void partsReadTheSameTable_data();
    void partsReadTheSameTable();
    void partsReadALastLineWithoutBreak_data();
    void partsReadALastLineWithoutBreak();
    void writerPartsAndPieces_data();
    void writerPartsAndPieces();

private:
    QString writeFile(const QString &name, const QByteArray &bytes);

    std::unique_ptr<QTemporaryDir> m_dir;
};

void CodecTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

QString CodecTest::writeFile(const QString &name, const QByteArray &bytes)
{
    const QString path = m_dir->filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("Cannot write the test file %s", qPrintable(path));
    return path;
}

void CodecTest::newDatabaseFile()
{
    // As New makes it: every text column 100 wide.
    TableData table;
    table.setWidth(7, 100);
    const QByteArray plain = DatabaseCodec::buildPlainList(table);
    QCOMPARE(plain.size(), 122);
    QCOMPARE(plain.count("\r\n"), 17);
    QVERIFY(plain.startsWith("30\r\n100\r\n"));
    QVERIFY(plain.contains("\r\n100\r\n\xB9\r\n1 \xF1\xF2\xEE\xEB\xE1\xE5\xF6\r\n"));
    QVERIFY(plain.endsWith("\r\n7 \xF1\xF2\xEE\xEB\xE1\xE5\xF6\r\n0\r\n"));

    const QByteArray encoded = DatabaseCodec::encodePlainList(plain);
    QCOMPARE(encoded.size(), 164);
    QVERIFY(encoded.endsWith("=") && !encoded.endsWith("=="));
    QCOMPARE(encoded, plain.toBase64());

    const QString path = m_dir->filePath(QStringLiteral("new.db"));
    DatabaseCodec::writeTableFile(path, table);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), encoded);
    QVERIFY(DatabaseCodec::readBaseFile(path) == table);
}

void CodecTest::roundTrip_data()
{
    QTest::addColumn<TableData>("table");

    QTest::newRow("no records") << TableData();
    QTest::newRow("Cyrillic, Latin, empty cells and titles") << sampleTable();

    TableData longCells = sampleTable();
    QString longCell;
    for (int i = 0; longCell.size() < 9000; ++i)
        longCell += QStringLiteral("длинная ячейка %1; ").arg(i);
    longCells.appendRecord(record({longCell, QString(), longCell.left(4097), QStringLiteral("x")}));
    longCells.setTitle(7, longCell.left(5000));
    QTest::newRow("cells and titles longer than 4096 characters") << longCells;

    // Every plain list length modulo 3 and many group positions.
    TableData many;
    for (int i = 0; i < 500; ++i)
        many.appendRecord(record({QString::number(i), QString(i % 7, QChar(u'ж')), QString(i % 5, QChar(u'q'))}));
    QTest::newRow("500 records of varied length") << many;
}

void CodecTest::roundTrip()
{
    QFETCH(TableData, table);
    const QString path = m_dir->filePath(QStringLiteral("base.db"));
    DatabaseCodec::writeTableFile(path, table);
    QVERIFY(DatabaseCodec::readBaseFile(path) == table);
    QVERIFY(DatabaseCodec::fillTable(DatabaseCodec::buildPlainList(table)) == table);
}

// A file of 8 MB and more is read in two parts at once, as it is decoded,
// filled and written (on a machine with two processors or more).
void CodecTest::largeFileRoundTrip()
{
    TableData table = sampleTable();
    for (int i = 0; i < 100000; ++i)
        table.appendRecord(record({QString::number(i), QStringLiteral("Фамилия %1").arg(i * 7919),
                                   QStringLiteral("Имя"), QString(i % 23, QChar(u'ё')), QStringLiteral("Москва"),
                                   QStringLiteral("Тверская улица, дом %1").arg(i % 101)}));
    const QString path = m_dir->filePath(QStringLiteral("large.db"));
    DatabaseCodec::writeTableFile(path, table);
    QVERIFY(QFileInfo(path).size() >= qint64(8) << 20);
    QVERIFY(DatabaseCodec::readBaseFile(path) == table);
}

void CodecTest::base64MatchesStandardEncoding()
{
    QByteArray bytes;
    for (int n = 0; n < 70; ++n) {
        const QByteArray expected = bytes.toBase64();
        QCOMPARE(Base64::encode(bytes), expected);
        QCOMPARE(DatabaseCodec::encodePlainList(bytes), expected);
        QByteArray buffer = bytes;
        Base64::encodeInPlace(buffer);
        QCOMPARE(buffer, expected);
        const std::optional<QByteArrayView> decoded = Base64::decodeWhereItStands(buffer, 1);
        QVERIFY(decoded);
        QCOMPARE(decoded->toByteArray(), bytes);
        bytes += char(n * 37 + 11);
    }
}

void CodecTest::base64GroupRule_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("decodes");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("empty") << QByteArray() << true << QByteArray();
    QTest::newRow("padding ends a middle group") << QByteArray("Zm8=Zg==Zm9v") << true << QByteArray("foffoo");
    QTest::newRow("third character = gives one byte") << QByteArray("Zg=AZm9v") << true << QByteArray("ffoo");
    QTest::newRow("only padding") << QByteArray("====") << true << QByteArray(1, '\0');
    QTest::newRow("characters outside the alphabet count as 0") << QByteArray("Z!8=Zm9v\x01\x80\xFF.") << true
                                                                << QByteArray("d\x0f"
                                                                              "foo\0\0\0",
                                                                              8);
    QTest::newRow("length 3") << QByteArray("Zm9") << false << QByteArray();
    QTest::newRow("length 13") << QByteArray("Zm9vZm9vZm9vZ") << false << QByteArray();
}

void CodecTest::base64GroupRule()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, decodes);
    QFETCH(QByteArray, bytes);
    for (int parts : {1, 2}) {
        QByteArray buffer = text;
        const std::optional<QByteArrayView> decoded = Base64::decodeWhereItStands(buffer, parts);
        QCOMPARE(decoded.has_value(), decodes);
        QCOMPARE(decoded ? decoded->toByteArray() : buffer, decodes ? bytes : text);
    }
}

void CodecTest::encodedText_data()
{
    QTest::addColumn<QByteArray>("fileText");
    QTest::addColumn<bool>("readable");

    const QByteArray plain = DatabaseCodec::buildPlainList(sampleTable());
    const QByteArray encoded = plain.toBase64();
    QTest::newRow("as written") << encoded << true;
    QTest::newRow("followed by CR LF") << encoded + "\r\n" << false;
    QTest::newRow("followed by LF") << encoded + "\n" << false;
    QTest::newRow("followed by CR") << encoded + "\r" << false;
    // Each break becomes CR LF before the length test, and a group of breaks
    // decodes to zero bytes after the last line used.
    QTest::newRow("followed by two LF") << encoded + "\n\n" << true;
    QTest::newRow("followed by two CR") << encoded + "\r\r" << true;
    QTest::newRow("followed by a group outside the alphabet") << encoded + "!.!." << true;
    QTest::newRow("one character more") << encoded + "A" << false;
    QTest::newRow("padding in a middle group") << plain.left(100).toBase64() + plain.mid(100).toBase64() << true;
}

void CodecTest::encodedText()
{
    QFETCH(QByteArray, fileText);
    QFETCH(bool, readable);
    const QString path = writeFile(QStringLiteral("text.db"), fileText);
    if (readable)
        QVERIFY(DatabaseCodec::readBaseFile(path) == sampleTable());
    else
        QVERIFY_THROWS_EXCEPTION(DatabaseReadError, DatabaseCodec::readBaseFile(path));
}

void CodecTest::integerLines_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<int>("value");

    QTest::newRow("width with leading spaces") << 1 << QByteArray(" 25") << true << 25;
    QTest::newRow("width with a trailing space") << 1 << QByteArray("25 ") << false << 0;
    QTest::newRow("empty width") << 1 << QByteArray() << false << 0;
    QTest::newRow("width not a number") << 4 << QByteArray("abc") << false << 0;
    QTest::newRow("hexadecimal width $") << 2 << QByteArray("$1A") << true << 26;
    QTest::newRow("hexadecimal width 0x") << 7 << QByteArray("+0x1a") << true << 26;
    QTest::newRow("negative width kept") << 3 << QByteArray("-0X10") << true << -16;
    QTest::newRow("width beyond 32 bits") << 1 << QByteArray("2147483648") << false << 0;
    QTest::newRow("width 20 of the number column") << 0 << QByteArray("20") << true << 30;
    QTest::newRow("width 200 of the number column") << 0 << QByteArray("200") << true << 30;
    QTest::newRow("width 2 of a text column") << 6 << QByteArray("2") << true << 5;
    QTest::newRow("count with a trailing space") << 16 << QByteArray("0 ") << false << 0;
    QTest::newRow("empty count") << 16 << QByteArray() << false << 0;
    QTest::newRow("hexadecimal count") << 16 << QByteArray("x2") << true << 2;
}

void CodecTest::integerLines()
{
    QFETCH(int, line);
    QFETCH(QByteArray, text);
    QFETCH(bool, readable);
    QFETCH(int, value);

    QList<QByteArray> lines = header("2") + recordLines("a") + recordLines("b");
    lines[line] = text;
    const QString path = writeFile(QStringLiteral("widths.db"), plainOf(lines).toBase64());
    if (!readable) {
        QVERIFY_THROWS_EXCEPTION(DatabaseReadError, DatabaseCodec::readBaseFile(path));
        return;
    }
    const TableData table = DatabaseCodec::readBaseFile(path);
    QCOMPARE(line == 16 ? table.recordCount() : table.width(line), value);
}

void CodecTest::recordCount_data()
{
    QTest::addColumn<QByteArray>("count");
    QTest::addColumn<QList<QByteArray>>("recordLines");
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("filledRecords");

    const QList<QByteArray> one = recordLines("a");
    const QList<QByteArray> two = one + recordLines("b");
    QTest::newRow("count 0") << QByteArray("0") << two << 0 << 0;
    QTest::newRow("count -2") << QByteArray("-2") << two << 0 << 0;
    QTest::newRow("count 1 of two: the rest ignored") << QByteArray("1") << two << 1 << 1;
    QTest::newRow("count 3 with one record") << QByteArray("3") << one << 3 << 1;
    QTest::newRow("count 2 with a record and a half") << QByteArray("2") << one + two.mid(8, 4) << 2 << 2;
    QTest::newRow("count 5 without records") << QByteArray("5") << QList<QByteArray>() << 5 << 0;
    QTest::newRow("hostile count") << QByteArray("2147483647") << one << 1 + DatabaseCodec::kMaxPaddingRecords << 1;
    QTest::newRow("hostile count after a record and a half")
        << QByteArray("2147483647") << one + two.mid(8, 4) << 2 + DatabaseCodec::kMaxPaddingRecords << 2;
}

void CodecTest::recordCount()
{
    QFETCH(QByteArray, count);
    QFETCH(QList<QByteArray>, recordLines);
    QFETCH(int, records);
    QFETCH(int, filledRecords);

    const QString path = writeFile(QStringLiteral("count.db"), plainOf(header(count) + recordLines).toBase64());
    const TableData table = DatabaseCodec::readBaseFile(path);
    QCOMPARE(table.width(7), 50);
    QCOMPARE(table.title(0), QStringLiteral("№"));
    QCOMPARE(table.title(1), QStringLiteral("1 столбец"));
    QCOMPARE(table.recordCount(), records);
    for (int row = 0; row < records; ++row) {
        for (int c = 0; c < kColumnCount; ++c) {
            const int line = row * kColumnCount + c;
            const QString expected = line < recordLines.size() ? QString::fromLatin1(recordLines[line]) : QString();
            QCOMPARE(table.cell(row, c), expected);
        }
        if (row >= filledRecords)
            QVERIFY(table.record(row) == Record());
    }
}

void CodecTest::lineBreaksInPlainList_data()
{
    QTest::addColumn<QByteArray>("lineEnd");
    QTest::newRow("CR LF") << QByteArray("\r\n");
    QTest::newRow("LF") << QByteArray("\n");
    QTest::newRow("CR") << QByteArray("\r");
}

void CodecTest::lineBreaksInPlainList()
{
    QFETCH(QByteArray, lineEnd);
    QByteArray plain = DatabaseCodec::buildPlainList(sampleTable());
    plain.replace("\r\n", lineEnd);
    QVERIFY(DatabaseCodec::fillTable(plain) == sampleTable());
    QVERIFY(DatabaseCodec::readPlainFile(writeFile(QStringLiteral("old.db"), plain)) == sampleTable());
    QVERIFY(DatabaseCodec::readBaseFile(writeFile(QStringLiteral("new.db"), plain.toBase64())) == sampleTable());

    // Without a final line break the last line still counts.
    plain.chop(lineEnd.size());
    QVERIFY(DatabaseCodec::fillTable(plain) == sampleTable());
}

void CodecTest::plainFileFormats()
{
    // Mixed breaks: "\r\r\n" is a lone CR and a CR LF, so an empty line between.
    const QByteArray mixed = plainOf(header("2")).replace("\r\n", "\n") + "a0\rb0\r\r\nc0";
    const TableData table = DatabaseCodec::readPlainFile(writeFile(QStringLiteral("mixed.db"), mixed));
    QCOMPARE(table.recordCount(), 2);
    QCOMPARE(table.record(0).cells(), (Record::Cells{"a0", "b0", "", "c0"}));
    QVERIFY(table.record(1) == Record());

    // A current-format file is no plain line list: its first line is not an integer.
    const QByteArray encoded = DatabaseCodec::encodePlainList(DatabaseCodec::buildPlainList(sampleTable()));
    QVERIFY_THROWS_EXCEPTION(DatabaseReadError,
                             DatabaseCodec::readPlainFile(writeFile(QStringLiteral("new.db"), encoded)));
    // A plain line list is no Database file: its length is not a multiple of 4.
    const QByteArray plain = DatabaseCodec::buildPlainList(TableData());
    QVERIFY(plain.size() % 4 != 0);
    QVERIFY_THROWS_EXCEPTION(DatabaseReadError,
                             DatabaseCodec::readBaseFile(writeFile(QStringLiteral("old.db"), plain)));
}

void CodecTest::unreadableFiles()
{
    QVERIFY_THROWS_EXCEPTION(DatabaseReadError,
                             DatabaseCodec::readBaseFile(m_dir->filePath(QStringLiteral("none.db"))));
    QVERIFY_THROWS_EXCEPTION(DatabaseReadError,
                             DatabaseCodec::readPlainFile(m_dir->filePath(QStringLiteral("none.db"))));
    QVERIFY_THROWS_EXCEPTION(DatabaseReadError, DatabaseCodec::readBaseFile(m_dir->path()));

    // A read that fails after the widths and titles hands back no table at all.
    TableData current = sampleTable();
    const QString path = writeFile(QStringLiteral("late.db"), plainOf(header("many")).toBase64());
    try {
        current = DatabaseCodec::readBaseFile(path);
        QFAIL("A count line that is not an integer was read");
    } catch (const TabloraError &) {
    }
    QVERIFY(current == sampleTable());
}

void CodecTest::writeReplacesWholeFile()
{
    const QString path = writeFile(QStringLiteral("base.db"), QByteArray(100000, 'Q'));
    DatabaseCodec::writeTableFile(path, TableData());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), DatabaseCodec::encodePlainList(DatabaseCodec::buildPlainList(TableData())));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{QStringLiteral("base.db")});
}

void CodecTest::writeFailureKeepsTarget_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("reason");
    // Permissions do not stop root, so the failures come from the paths.
    QTest::newRow("folder is a file") << QStringLiteral("plain.txt/base.db") << QStringLiteral("Not a directory");
    QTest::newRow("no such folder") << QStringLiteral("missing/base.db") << QStringLiteral("No such file or directory");
    QTest::newRow("target is a folder") << QStringLiteral("folder.db") << QString();
}

void CodecTest::writeFailureKeepsTarget()
{
    QFETCH(QString, target);
    QFETCH(QString, reason);
    const QByteArray kept("kept as it was");
    writeFile(QStringLiteral("plain.txt"), kept);
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("folder.db")));
    writeFile(QStringLiteral("folder.db/inside.db"), kept);

    const QString path = m_dir->filePath(target);
    try {
        DatabaseCodec::writeTableFile(path, sampleTable());
        QFAIL("The write did not fail");
    } catch (const TabloraError &e) {
        const QString prefix = QStringLiteral("Cannot create file \"%1\". ").arg(QDir::toNativeSeparators(path));
        QVERIFY2(e.message().startsWith(prefix), qPrintable(e.message()));
        const QString given = e.message().mid(prefix.size());
        QVERIFY2(reason.isEmpty() ? !given.isEmpty() : given == reason, qPrintable(given));
    }
    for (const QString &name : {QStringLiteral("plain.txt"), QStringLiteral("folder.db/inside.db")}) {
        QFile file(m_dir->filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), kept);
    }
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             (QStringList{QStringLiteral("folder.db"), QStringLiteral("plain.txt")}));
}

void CodecTest::unencodableText()
{
    TableData table = sampleTable();
    QVERIFY(!DatabaseCodec::findUnencodable(table));

    table.appendRecord(record({QString(), QString(), QStringLiteral("x"), QStringLiteral("a\u4E2Db")}));
    table.appendRecord(record({QStringLiteral("\u03A9")}));
    auto found = DatabaseCodec::findUnencodable(table);
    QVERIFY(found);
    QCOMPARE(found->record, 3);
    QCOMPARE(found->column, 3);

    table.setTitle(6, QStringLiteral("Ω"));
    found = DatabaseCodec::findUnencodable(table);
    QVERIFY(found);
    QCOMPARE(found->record, -1);
    QCOMPARE(found->column, 6);

    const TableData read = DatabaseCodec::fillTable(DatabaseCodec::buildPlainList(table));
    QCOMPARE(read.title(6), QStringLiteral("?"));
    QCOMPARE(read.cell(3, 3), QStringLiteral("a?b"));
    QCOMPARE(read.cell(4, 0), QStringLiteral("?"));
    QCOMPARE(read.cell(0, 5), QStringLiteral("№ 5 «ёлка» — €"));
    QVERIFY(!DatabaseCodec::findUnencodable(read));
}

void CodecTest::unencodableInParts()
{
    // Enough records for two parts, each looking for the first in its half.
    TableData table;
    for (int i = 0; i < 20000; ++i)
        table.appendRecord(record({QString::number(i), QStringLiteral("ячейка")}));
    table.setRecord(15000, record({QString(), QString(), QString(), QStringLiteral("\u4E2D")}));
    auto found = DatabaseCodec::findUnencodable(table);
    QVERIFY(found);
    QCOMPARE(found->record, 15000);
    QCOMPARE(found->column, 3);
    table.setRecord(9000, record({QString(), QStringLiteral("\u03A9")}));
    found = DatabaseCodec::findUnencodable(table);
    QVERIFY(found);
    QCOMPARE(found->record, 9000);
    QCOMPARE(found->column, 1);

    // Records read from a file hold only what the code page holds; a record
    // set afterwards is looked into all the same.
    TableData read = DatabaseCodec::fillTable(DatabaseCodec::buildPlainList(table));
    QVERIFY(!DatabaseCodec::findUnencodable(read));
    read.setRecord(19999, record({QStringLiteral("\u4E2D")}));
    found = DatabaseCodec::findUnencodable(read);
    QVERIFY(found);
    QCOMPARE(found->record, 19999);
}

// Line lists that are awkward to cut: the first record line is lengthened
// character by character, so that the cuts between the parts fall on every
// place of the line breaks around them.
void CodecTest::partsReadTheSameTable_data()
{
    QTest::addColumn<QList<QByteArray>>("lines");
    QTest::addColumn<QList<QByteArray>>("breaks"); // used in turn
    QTest::addColumn<bool>("endsInBreak");

    QList<QByteArray> five;
    for (int r = 0; r < 5; ++r)
        five += recordLines("r" + QByteArray::number(r));
    QList<QByteArray> withEmpty = five;
    for (int i = 0; i < withEmpty.size(); i += 3)
        withEmpty[i].clear();
    const QList<QByteArray> crlf{"\r\n"};
    const QList<QByteArray> mixed{"\r\n", "\n", "\r", "\r\n", "\r"};

    QTest::newRow("CR LF") << header("5") + five << crlf << true;
    QTest::newRow("mixed breaks, empty lines") << header("5") + withEmpty << mixed << true;
    const QList<QByteArray> lf{"\n"};
    QTest::newRow("only LF, no break at the end") << header("5") + withEmpty << lf << false;
    QTest::newRow("count beyond the lines") << header("40") + withEmpty << mixed << true;
    QTest::newRow("count below the lines") << header("2") + five << mixed << true;
    QTest::newRow("hostile count, a record and a half") << header("2147483647") + five.mid(0, 12) << crlf << false;
    QTest::newRow("count 0") << header("0") + five << crlf << true;
    QTest::newRow("only the header") << header("3") << crlf << false;
    QTest::newRow("header cut short") << header("3").mid(0, 10) << crlf << true;

    QList<QByteArray> longRecord = five;
    longRecord[9] = QByteArray(70000, 'L');
    QTest::newRow("a record of 70000 characters") << header("5") + longRecord << mixed << true;

    // Large enough for each part to hand pages back as it reads.
    QList<QByteArray> many;
    for (int r = 0; r < 90000; ++r)
        many += recordLines("record " + QByteArray::number(r) + " \xE6\xE6");
    QTest::newRow("90000 records") << header("90000") + many << crlf << true;
}

void CodecTest::partsReadTheSameTable()
{
    QFETCH(QList<QByteArray>, lines);
    QFETCH(QList<QByteArray>, breaks);
    QFETCH(bool, endsInBreak);
    const int longest = lines.size() > 1000 ? 0 : 17;
    for (int lengthened = 0; lengthened <= longest; ++lengthened) {
        QByteArray plain;
        for (int i = 0; i < lines.size(); ++i) {
            plain += lines[i];
            if (i == 17)
                plain += QByteArray(lengthened, 'x');
            if (i + 1 < lines.size() || endsInBreak)
                plain += breaks[i % breaks.size()];
        }
        std::optional<TableData> inOnePart;
        try {
            inOnePart = DatabaseCodec::fillTable(plain, 1);
        } catch (const DatabaseReadError &) {
        }
        for (int parts : {2, 3, 4}) {
            if (!inOnePart) {
                QVERIFY_THROWS_EXCEPTION(DatabaseReadError, DatabaseCodec::fillTable(plain, parts));
                continue;
            }
            QVERIFY2(DatabaseCodec::fillTable(plain, parts) == *inOnePart,
                     qPrintable(QStringLiteral("%1 parts, lengthened by %2").arg(parts).arg(lengthened)));
        }
        // The Base64 text decoded in halves, the pages of the read text
        // handed back as the parts go.
        if (inOnePart) {
            QVERIFY(DatabaseCodec::readBaseText(plain.toBase64(), 2) == *inOnePart);
            QVERIFY(DatabaseCodec::readBaseText(plain.left(31).toBase64() + plain.mid(31).toBase64(), 2) == *inOnePart);
        }
    }
}

// A text that does not end in a line break, its last line lengthened byte
// by byte, so that the cuts between the parts fall before that line, at its
// start, inside it and at the end of the text. Every reader reads it as in
// one part: the plain list, the Base64 text and the import of a file.
void CodecTest::partsReadALastLineWithoutBreak_data()
{
    QTest::addColumn<QList<QByteArray>>("lines"); // before the last line, each followed by the break
    QTest::addColumn<QByteArray>("lineBreak");
    QTest::addColumn<int>("record"); // where the last line belongs, -1 for after the records
    QTest::addColumn<int>("column");

    const QList<QByteArray> first = recordLines("a");
    QTest::newRow("number cell of the only record") << header("1") << QByteArray("\r\n") << 0 << 0;
    QTest::newRow("number cell after a whole record, LF") << header("2") + first << QByteArray("\n") << 1 << 0;
    QTest::newRow("a cell after a whole record, LF")
        << header("2") + first + recordLines("b").mid(0, 3) << QByteArray("\n") << 1 << 3;
    QTest::newRow("last cell of the last record, CR")
        << header("2") + first + recordLines("b").mid(0, 7) << QByteArray("\r") << 1 << 7;
    QTest::newRow("a line after the records") << header("1") + first << QByteArray("\r\n") << -1 << 0;
}

void CodecTest::partsReadALastLineWithoutBreak()
{
    QFETCH(QList<QByteArray>, lines);
    QFETCH(QByteArray, lineBreak);
    QFETCH(int, record);
    QFETCH(int, column);
    QByteArray head;
    qsizetype records = 0; // the bytes after the count line
    for (qsizetype i = 0; i < lines.size(); ++i) {
        head += lines[i] + lineBreak;
        records += i > 16 ? lines[i].size() + lineBreak.size() : 0;
    }
    const QString path = m_dir->filePath(QStringLiteral("old.db"));
    for (qsizetype length = 0; length <= 3 * records + 12; ++length) {
        const QByteArray plain = head + QByteArray(length, 'N');
        const TableData inOnePart = DatabaseCodec::fillTable(plain, 1);
        if (record >= 0)
            QCOMPARE(inOnePart.cell(record, column), QString(length, QLatin1Char('N')));
        writeFile(QStringLiteral("old.db"), plain);
        for (int parts : {2, 3, 4}) {
            const QString where = QStringLiteral("%1 parts, last line of %2").arg(parts).arg(length);
            QVERIFY2(DatabaseCodec::fillTable(plain, parts) == inOnePart, qPrintable(where));
            QVERIFY2(DatabaseCodec::readBaseText(plain.toBase64(), parts) == inOnePart, qPrintable(where));
            QVERIFY2(DatabaseCodec::readPlainFile(path, parts) == inOnePart, qPrintable(where));
        }
    }
}

void CodecTest::writerPartsAndPieces_data()
{
    roundTrip_data();
    // Records with no text at all, where the writer looks ahead.
    TableData emptyRecords = sampleTable();
    for (int row = 0; row < 20; ++row)
        emptyRecords.appendRecord(Record());
    emptyRecords.appendRecord(record({QStringLiteral("после пустых")}));
    QTest::newRow("empty records from row 3 to 22") << emptyRecords;
    TableData unencodable = sampleTable();
    unencodable.appendRecord(record({QStringLiteral("\u4E2D"), QString(), QStringLiteral("a\u03A9b")}));
    QTest::newRow("characters written as ?") << unencodable;
    TableData longRecord = sampleTable();
    longRecord.appendRecord(record({QStringLiteral("1"), QString(70000, QChar(u'ж')), QStringLiteral("e")}));
    QTest::newRow("a record of 70000 characters") << longRecord;
}

// However the text is cut into parts and pieces, the file holds the text of
// the whole plain list.
void CodecTest::writerPartsAndPieces()
{
    QFETCH(TableData, table);
    const QByteArray expected = DatabaseCodec::encodePlainList(DatabaseCodec::buildPlainList(table));
    const QString path = m_dir->filePath(QStringLiteral("base.db"));
    for (int parts : {1, 2, 3, 4}) {
        for (qsizetype piece :
             {qsizetype(3), qsizetype(10), qsizetype(64), qsizetype(4096), PlainListWriter::kPieceBytes}) {
            const PlainListWriter writer(table, parts, piece);
            QCOMPARE(writer.encodedSize(), expected.size());
            const auto write = [&writer](int fd) { return writer.write(fd); };
            QVERIFY(!SafeWrite::replaceFile(path, writer.encodedSize(), write, SafeWrite::InPlace::Never));
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QVERIFY2(file.readAll() == expected,
                     qPrintable(QStringLiteral("%1 parts, pieces of %2").arg(parts).arg(piece)));
        }
        DatabaseCodec::writeTableFile(path, table, parts);
        QVERIFY(DatabaseCodec::readBaseFile(path) == table || DatabaseCodec::findUnencodable(table));
    }
}

TABLORA_GUILESS_TEST_MAIN(CodecTest)
#include "tst_codec.moc"
