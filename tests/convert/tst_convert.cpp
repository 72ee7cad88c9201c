#include "GuardedTest.h"
#include "ProgramFolder.h"
#include "Records.h"
#include "base/ProgramDir.h"
#include "base/SettingKeys.h"
#include "base/Settings.h"
#include "convert/Console.h"
#include "convert/ConvertError.h"
#include "convert/ConvertFiles.h"
#include "convert/Converter.h"
#include "document/CsvWriter.h"
#include "document/DatabaseCodec.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <memory>

#include <sys/resource.h>
#include <sys/stat.h>

namespace {

struct Run
{
    int status = -1;
    QByteArray out;
    QByteArray err;
};

bool succeeded(const Run &run)
{
    return run.status == 0 && run.err.isEmpty();
}

const QString kWidths = QStringLiteral("30,150,5,100,60,110,70,60");

// Cells that a separator, a quote or a trimming reader could break.
TableData awkwardTable()
{
    TableData t;
    const char *titles[] = {"№", "Фамилия, имя", "", "\"Цитата\"", " пробел ", "a;b", "x\ty", "7 столбец"};
    for (int c = 0; c < kColumnCount; ++c)
        t.setTitle(c, QString::fromUtf8(titles[c]));
    const int widths[] = {30, 150, 5, 100, 60, 110, 70, 60};
    for (int c = 0; c < kColumnCount; ++c)
        t.setWidth(c, widths[c]);
    t.appendRecord(
        record({"1", "Иванов Пётр", "", "say \"hi\"", "a,b", "semi;colon", "tab\there", " lead and trail "}));
    t.appendRecord(Record());
    t.appendRecord(record({"№ 3", "\"", "\"\"", ",", ";", "\t", " ", "ёЁ«»—"}));
    t.appendRecord(record({"4", "007", "=1+2", "\"начало", "конец\""}));
    return t;
}

QByteArray encoded(const TableData &table)
{
    return DatabaseCodec::encodePlainList(DatabaseCodec::buildPlainList(table));
}

} // namespace

class ConvertTest : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void roundTripIsByteForByte_data();
    void roundTripIsByteForByte();
    void cellsAreQuotedWhereAReaderCouldSplitThem_data();
    void cellsAreQuotedWhereAReaderCouldSplitThem();
    void readsWhatSpreadsheetsWrite_data();
    void readsWhatSpreadsheetsWrite();
    void replacements();
    void formulasAreMarkedOnlyWhenAsked();
    void widthsOfANewDatabaseComeFromTheSettings();
    void infoAndUpgradeTellTheFormats();
    void failures_data();
    void failures();

    void standardStreams_data();
    void standardStreams();
    void specialFiles_data();
    void specialFiles();
    void inputSizeLimit_data();
    void inputSizeLimit();
    void interruptedWriteKeepsTheTarget_data();
    void interruptedWriteKeepsTheTarget();

private:
    QString path(const QString &name) const { return m_folder->filePath(name); }
    Run run(const QStringList &arguments);
    Run runProgram(const QStringList &arguments, const QByteArray &input);

    std::unique_ptr<ProgramFolder> m_folder;
};

void ConvertTest::init()
{
    m_folder = std::make_unique<ProgramFolder>();
}

// In this process, with the settings of a program in the test's folder.
Run ConvertTest::run(const QStringList &arguments)
{
    QBuffer in;
    in.open(QIODevice::ReadOnly);
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    Console console{in, out, err, false};
    const ProgramDir dir = m_folder->dir();
    Run result;
    QDir::setCurrent(m_folder->path());
    result.status = Converter(console, dir).run(arguments);
    result.out = out.data();
    result.err = err.data();
    return result;
}

// The built program, with real standard streams.
Run ConvertTest::runProgram(const QStringList &arguments, const QByteArray &input)
{
    QProcess process;
    process.setWorkingDirectory(m_folder->path());
    process.start(QStringLiteral(TABLORA_CONVERT), arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

void ConvertTest::roundTripIsByteForByte_data()
{
    QTest::addColumn<QString>("option");
    QTest::newRow("CSV") << QString();
    QTest::newRow("tab-separated") << QStringLiteral("--tsv");
}

void ConvertTest::roundTripIsByteForByte()
{
    QFETCH(QString, option);
    const QStringList tsv = option.isEmpty() ? QStringList() : QStringList{option};
    m_folder->write(QStringLiteral("in.db"), encoded(awkwardTable()));

    Run toCsv = run(QStringList{QStringLiteral("to-csv"), QStringLiteral("in.db"), QStringLiteral("t.csv")} + tsv);
    QVERIFY2(succeeded(toCsv), toCsv.err.constData());
    Run fromCsv = run(QStringList{QStringLiteral("from-csv"), QStringLiteral("--widths"), kWidths,
                                  QStringLiteral("t.csv"), QStringLiteral("out.db")}
                      + tsv);
    QVERIFY2(succeeded(fromCsv), fromCsv.err.constData());
    QCOMPARE(m_folder->read(QStringLiteral("out.db")), m_folder->read(QStringLiteral("in.db")));
}

void ConvertTest::cellsAreQuotedWhereAReaderCouldSplitThem_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QByteArray>("field"); // alike in CSV and tab-separated text

    QTest::newRow("plain Cyrillic") << QStringLiteral("Ёлка №5") << QByteArray("Ёлка №5");
    QTest::newRow("empty") << QString() << QByteArray();
    QTest::newRow("quotes doubled") << QStringLiteral("a \"b\"") << QByteArray("\"a \"\"b\"\"\"");
    QTest::newRow("comma") << QStringLiteral("a,b") << QByteArray("\"a,b\"");
    QTest::newRow("semicolon") << QStringLiteral("a;b") << QByteArray("\"a;b\"");
    QTest::newRow("tab") << QStringLiteral("a\tb") << QByteArray("\"a\tb\"");
    QTest::newRow("leading space") << QStringLiteral(" a") << QByteArray("\" a\"");
    QTest::newRow("trailing space") << QStringLiteral("a ") << QByteArray("\"a \"");
    QTest::newRow("inner space") << QStringLiteral("a b") << QByteArray("a b");
}

void ConvertTest::cellsAreQuotedWhereAReaderCouldSplitThem()
{
    QFETCH(QString, cell);
    QFETCH(QByteArray, field);
    TableData table;
    table.appendRecord(Record(Record::Cells{QStringLiteral("1"), cell}));
    m_folder->write(QStringLiteral("in.db"), encoded(table));

    const QByteArray titles = "№,1 столбец,2 столбец,3 столбец,4 столбец,5 столбец,6 столбец,7 столбец\r\n";
    QCOMPARE(run({QStringLiteral("to-csv"), QStringLiteral("in.db"), QStringLiteral("-")}).out,
             titles + "1," + field + ",,,,,,\r\n");
    const QByteArray tabbedTitles = QByteArray(titles).replace(',', '\t');
    QCOMPARE(run({QStringLiteral("to-csv"), QStringLiteral("--tsv"), QStringLiteral("in.db"), QStringLiteral("-")}).out,
             tabbedTitles + "1\t" + field + "\t\t\t\t\t\t\r\n");
}

void ConvertTest::readsWhatSpreadsheetsWrite_data()
{
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QString>("option");
    QTest::addColumn<QList<Record>>("records");

    const QByteArray titles = "№,a,b,c,d,e,f,g";
    QTest::newRow("byte order mark, LF, no final break")
        << "\xEF\xBB\xBF" + titles + "\n1,x\n2,y" << QString() << QList<Record>{record({"1", "x"}), record({"2", "y"})};
    QTest::newRow("quoted delimiter, quotes, empty quoted cell") << titles
            + "\r\n\"1\",\"a,\"\"b\"\"\",\"\",z\r\n" << QString() << QList<Record>{record({"1", "a,\"b\"", "", "z"})};
    QTest::newRow("quote inside an unquoted cell") << titles + "\r\n1,5\" disk,x\r\n"
                                                   << QString() << QList<Record>{record({"1", "5\" disk", "x"})};
    QTest::newRow("empty line is an empty record") << titles
            + "\r\n1\r\n\r\n3\r\n" << QString() << QList<Record>{record({"1"}), Record(), record({"3"})};
    QTest::newRow("lone CR line ends") << titles + "\r1,a\r2,b\r" << QString()
                                       << QList<Record>{record({"1", "a"}), record({"2", "b"})};
    QTest::newRow("tab-separated keeps commas")
        << QByteArray(titles).replace(',', '\t') + "\n1\ta,b;c\t\" q \"\n"
        << QStringLiteral("--tsv") << QList<Record>{record({"1", "a,b;c", " q "})};
}

void ConvertTest::readsWhatSpreadsheetsWrite()
{
    QFETCH(QByteArray, csv);
    QFETCH(QString, option);
    QFETCH(QList<Record>, records);
    m_folder->write(QStringLiteral("in.csv"), csv);
    QStringList arguments{QStringLiteral("from-csv"), QStringLiteral("in.csv"), QStringLiteral("out.db")};
    if (!option.isEmpty())
        arguments << option;

    const Run result = run(arguments);
    QVERIFY2(succeeded(result), result.err.constData());
    const TableData table = DatabaseCodec::readBaseFile(path(QStringLiteral("out.db")));
    QCOMPARE(table.title(0), QStringLiteral("№"));
    QCOMPARE(table.title(7), QStringLiteral("g"));
    QCOMPARE(table.recordCount(), records.size());
    for (int row = 0; row < table.recordCount(); ++row)
        QCOMPARE(table.record(row).cells(), records[row].cells());
}

void ConvertTest::replacements()
{
    m_folder->write(QStringLiteral("in.csv"), "№,a\r\n1,\"two\r\nlines\nand\rmore\",中文 ok\r\n");
    const Run result =
        run({QStringLiteral("from-csv"), QStringLiteral("--replace-breaks"), QStringLiteral("--replace-unencodable"),
             QStringLiteral("in.csv"), QStringLiteral("out.db")});
    QVERIFY2(succeeded(result), result.err.constData());
    const TableData table = DatabaseCodec::readBaseFile(path(QStringLiteral("out.db")));
    QCOMPARE(table.recordCount(), 1);
    QCOMPARE(table.cell(0, 1), QStringLiteral("two lines and more"));
    QCOMPARE(table.cell(0, 2), QStringLiteral("?? ok"));
}

// A cell a spreadsheet would run gets an apostrophe only with the option.
void ConvertTest::formulasAreMarkedOnlyWhenAsked()
{
    m_folder->write(QStringLiteral("in.db"), encoded(awkwardTable()));
    const Run plain = run({QStringLiteral("to-csv"), QStringLiteral("in.db"), QStringLiteral("-")});
    QVERIFY2(plain.out.contains("\r\n4,007,=1+2,"), plain.out.constData());
    const Run marked = run(
        {QStringLiteral("to-csv"), QStringLiteral("--protect-formulas"), QStringLiteral("in.db"), QStringLiteral("-")});
    QVERIFY2(marked.out.contains("\r\n4,007,'=1+2,"), marked.out.constData());
    QCOMPARE(marked.out.size(), plain.out.size() + 2); // and a tab cell's
    QCOMPARE(run({QStringLiteral("from-csv"), QStringLiteral("--protect-formulas"), QStringLiteral("in.csv"),
                  QStringLiteral("out.db")})
                 .status,
             2);
}

void ConvertTest::widthsOfANewDatabaseComeFromTheSettings()
{
    m_folder->write(QStringLiteral("in.csv"), "№\r\n");
    const QStringList fromCsv{QStringLiteral("from-csv"), QStringLiteral("in.csv"), QStringLiteral("out.db")};
    QCOMPARE(run(fromCsv).status, 0);
    TableData table = DatabaseCodec::readBaseFile(path(QStringLiteral("out.db")));
    for (int c = 0; c < kColumnCount; ++c)
        QCOMPARE(table.width(c), c == 0 ? 30 : 100);

    Settings settings{m_folder->dir()};
    for (int c = 0; c < kColumnCount; ++c)
        settings.write(Keys::columnWidth(c), 40 + c);
    QCOMPARE(run(fromCsv).status, 0);
    table = DatabaseCodec::readBaseFile(path(QStringLiteral("out.db")));
    for (int c = 0; c < kColumnCount; ++c)
        QCOMPARE(table.width(c), c == 0 ? 30 : 40 + c);
}

void ConvertTest::infoAndUpgradeTellTheFormats()
{
    // Version 1.0: the plain line list itself, here with LF line ends.
    const QByteArray plain = DatabaseCodec::buildPlainList(awkwardTable());
    m_folder->write(QStringLiteral("old.db"), QByteArray(plain).replace("\r\n", "\n"));
    m_folder->write(QStringLiteral("new.db"), encoded(awkwardTable()));

    const QByteArray columns = "column 1: 30 №\ncolumn 2: 150 Фамилия, имя\ncolumn 3: 5 \ncolumn 4: 100 \"Цитата\"\n"
                               "column 5: 60  пробел \ncolumn 6: 110 a;b\ncolumn 7: 70 x\ty\ncolumn 8: 60 7 столбец\n";
    Run info = run({QStringLiteral("info"), QStringLiteral("old.db")});
    QCOMPARE(info.out, "format: version 1.0\nrecords: 4\n" + columns);
    info = run({QStringLiteral("info"), QStringLiteral("new.db")});
    QCOMPARE(info.out, "format: current\nrecords: 4\n" + columns);

    const Run upgrade = run({QStringLiteral("upgrade"), QStringLiteral("old.db"), QStringLiteral("old.db")});
    QVERIFY2(succeeded(upgrade), upgrade.err.constData());
    QCOMPARE(m_folder->read(QStringLiteral("old.db")), m_folder->read(QStringLiteral("new.db")));
}

void ConvertTest::failures_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");

    const QStringList fromCsv{QStringLiteral("from-csv"), QStringLiteral("in.csv"), QStringLiteral("out.db")};
    const QByteArray titles = "№,a,b,c,d,e,f,g\r\n";
    QTest::newRow("more than eight cells") << fromCsv << titles + "1\r\n1,2,3,4,5,6,7,8,9\r\n"
                                           << 1 << "in.csv:3: the row has more than 8 cells";
    QTest::newRow("line break in a cell")
        << fromCsv << titles + "1,\"a\r\nb\"\r\n"
        << 1
        << "in.csv:2: record 1, column 2 holds a line break, which a cell cannot hold "
           "(--replace-breaks turns breaks into spaces)";
    QTest::newRow("line break in a title") << fromCsv << QByteArray("№,a,\"b\nc\"\r\n") << 1
                                           << "in.csv:1: the title of column 3 holds a line break, which a cell "
                                              "cannot hold (--replace-breaks turns breaks into spaces)";
    QTest::newRow("text Windows-1251 cannot hold")
        << fromCsv << titles + "1\r\n2,x,y,ok 中\r\n"
        << 1
        << "in.csv: record 2, column 4 holds \"中\" (U+4E2D), which Windows-1251 cannot hold "
           "(--replace-unencodable writes \"?\" instead)";
    QTest::newRow("unencodable title") << fromCsv << QByteArray("№,✓\r\n") << 1
                                       << "in.csv: the title of column 2 holds \"✓\" (U+2713), which Windows-1251 "
                                          "cannot hold (--replace-unencodable writes \"?\" instead)";
    QTest::newRow("not UTF-8") << fromCsv << titles + "1,ok\r\n2,\xD6\xE5\xED\xE0\r\n"
                               << 1 << "in.csv:3: the text is not UTF-8";
    QTest::newRow("quote never closed") << fromCsv << titles + "1,\"abc\r\n"
                                        << 1 << "in.csv:2: the quote opening record 1, column 2 is never closed";
    QTest::newRow("text after a closing quote")
        << fromCsv << titles + "1,\"ab\"c\r\n"
        << 1 << "in.csv:2: text follows the closing quote of record 1, column 2";
    QTest::newRow("empty CSV") << fromCsv << QByteArray() << 1
                               << "in.csv:1: the file is empty; its first row must hold the column titles";
    const QStringList toCsv{QStringLiteral("to-csv"), QStringLiteral("in.csv"), QStringLiteral("out.csv")};
    QTest::newRow("missing input") << QStringList{QStringLiteral("info"), QStringLiteral("none.db")} << QByteArray()
                                   << 1 << "none.db: cannot read it: No such file or directory";
    QTest::newRow("Base64 of a wrong length")
        << toCsv << QByteArray("MzANCg=") << 1
        << "in.csv: not readable as a database: The length of the Base64 text is not a multiple of 4.";
    QTest::newRow("version 1.0 with a bad width") << toCsv << QByteArray("30\r\n100\r\nwide\r\n") << 1
                                                  << "in.csv: not readable as a version-1.0 database: Line 3 is not "
                                                     "an integer.";
    QTest::newRow("upgrade of a current file")
        << QStringList{QStringLiteral("upgrade"), QStringLiteral("in.csv"), QStringLiteral("out.db")}
        << encoded(TableData()) << 1 << "in.csv: already in the current format";
    QTest::newRow("output folder missing")
        << QStringList{QStringLiteral("from-csv"), QStringLiteral("in.csv"), QStringLiteral("no/out.db")}
        << QByteArray("№\r\n") << 1 << "no/out.db: cannot write: No such file or directory";

    QTest::newRow("no command") << QStringList() << QByteArray() << 2 << "no command given";
    QTest::newRow("unknown command") << QStringList{QStringLiteral("to-xls")} << QByteArray() << 2
                                     << "unknown command \"to-xls\"";
    QTest::newRow("missing operand") << QStringList{QStringLiteral("to-csv"), QStringLiteral("in.db")} << QByteArray()
                                     << 2 << "to-csv takes IN OUT.csv";
    QTest::newRow("unknown option") << fromCsv + QStringList{QStringLiteral("--fast")} << QByteArray() << 2
                                    << "unknown option \"--fast\"";
    QTest::newRow("option of another command") << toCsv + QStringList{QStringLiteral("--replace-breaks")}
                                               << QByteArray() << 2 << "--replace-breaks does not apply to to-csv";
    QTest::newRow("seven widths") << fromCsv + QStringList{QStringLiteral("--widths=30,1,2,3,4,5,6")} << QByteArray()
                                  << 2
                                  << "--widths takes eight integers separated by commas, such as "
                                     "30,100,100,100,100,100,100,50";
}

void ConvertTest::failures()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(int, status);
    QFETCH(QString, message);
    m_folder->write(QStringLiteral("in.csv"), input);
    m_folder->write(QStringLiteral("out.db"), "kept");

    const Run result = run(arguments);
    QCOMPARE(result.status, status);
    const QList<QByteArray> lines = result.err.split('\n');
    QCOMPARE(QString::fromUtf8(lines.first()), QStringLiteral("tablora-convert: ") + message);
    // Exactly one line, or for wrong usage the usage text after it.
    QCOMPARE(lines.size() > 2, status == 2);
    QCOMPARE(lines.value(1).startsWith("Usage: tablora-convert"), status == 2);
    QCOMPARE(result.out, QByteArray());
    QCOMPARE(m_folder->read(QStringLiteral("out.db")), QByteArray("kept"));
}

void ConvertTest::standardStreams_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("output");

    const TableData table = awkwardTable();
    const QByteArray database = encoded(table);
    const QByteArray csv = CsvWriter::write(table, CsvWriteOptions());

    QTest::newRow("to-csv") << QStringList{QStringLiteral("to-csv"), QStringLiteral("-"), QStringLiteral("-")}
                            << database << csv;
    QTest::newRow("from-csv") << QStringList{QStringLiteral("from-csv"), QStringLiteral("--widths"), kWidths,
                                             QStringLiteral("-"), QStringLiteral("-")}
                              << csv << database;
    QTest::newRow("upgrade") << QStringList{QStringLiteral("upgrade"), QStringLiteral("-"), QStringLiteral("-")}
                             << DatabaseCodec::buildPlainList(table) << database;
    QTest::newRow("help") << QStringList{QStringLiteral("info"), QStringLiteral("--help")} << QByteArray()
                          << QByteArray("Usage: tablora-convert COMMAND [OPTIONS] FILES\n");
}

void ConvertTest::standardStreams()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, output);

    const Run result = runProgram(arguments, input);
    QVERIFY2(succeeded(result), result.err.constData());
    if (output.startsWith("Usage:"))
        QVERIFY(result.out.startsWith(output));
    else
        QCOMPARE(result.out, output);
}

void ConvertTest::specialFiles_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message"); // on standard error, empty for none

    const QString notRegular = QStringLiteral("cannot read it: not a regular file (\"-\" reads standard input)");
    QTest::newRow("FIFO without a writer as input")
        << QStringList{QStringLiteral("to-csv"), QStringLiteral("fifo"), QStringLiteral("out.csv")} << 1
        << QStringLiteral("fifo: ") + notRegular;
    QTest::newRow("endless device as input")
        << QStringList{QStringLiteral("from-csv"), QStringLiteral("/dev/zero"), QStringLiteral("out.db")} << 1
        << QStringLiteral("/dev/zero: ") + notRegular;
    QTest::newRow("/dev/null as output") << QStringList{QStringLiteral("to-csv"), QStringLiteral("in.db"),
                                                        QStringLiteral("/dev/null")}
                                         << 0 << QString();
    QTest::newRow("full device as output")
        << QStringList{QStringLiteral("to-csv"), QStringLiteral("in.db"), QStringLiteral("/dev/full")} << 1
        << QStringLiteral("/dev/full: cannot write: No space left on device");
    QTest::newRow("FIFO without a reader as output")
        << QStringList{QStringLiteral("upgrade"), QStringLiteral("old.db"), QStringLiteral("fifo")} << 1
        << QStringLiteral("fifo: cannot write: Not a regular file");
}

// Inputs are regular files or standard input, and no special file keeps a
// run waiting or reading; outputs may be character devices, written as they
// stand. The built program, so that a run that hangs fails the test.
void ConvertTest::specialFiles()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, message);
    for (const QString &argument : arguments) {
        if (argument.startsWith(QLatin1String("/dev/")) && !QFile::exists(argument))
            QSKIP("the device is missing here");
    }
    QCOMPARE(::mkfifo(QFile::encodeName(path(QStringLiteral("fifo"))).constData(), 0600), 0);
    m_folder->write(QStringLiteral("in.db"), encoded(awkwardTable()));
    m_folder->write(QStringLiteral("old.db"), DatabaseCodec::buildPlainList(awkwardTable()));

    const Run result = runProgram(arguments, QByteArray());
    QCOMPARE(result.status, status);
    QCOMPARE(QString::fromUtf8(result.err),
             message.isEmpty() ? QString() : QStringLiteral("tablora-convert: ") + message + u'\n');
    QCOMPARE(result.out, QByteArray());
    QVERIFY(!QFile::exists(path(QStringLiteral("out.csv"))) && !QFile::exists(path(QStringLiteral("out.db"))));
}

// An input larger than the limit, a file or standard input, is refused with
// the limit named; standard input redirected from a file is refused unread,
// as a named file is.
void ConvertTest::inputSizeLimit_data()
{
    QTest::addColumn<bool>("redirected");
    QTest::newRow("standard input a pipe") << false;
    QTest::newRow("standard input a file") << true;
}

void ConvertTest::inputSizeLimit()
{
    QFETCH(bool, redirected);
    m_folder->write(QStringLiteral("in.csv"), QByteArray(101, 'x'));
    QBuffer pipe;
    pipe.setData(QByteArray(101, 'x'));
    QFile file(path(QStringLiteral("in.csv")));
    QIODevice &standardInput = redirected ? static_cast<QIODevice &>(file) : pipe;
    QVERIFY(standardInput.open(QIODevice::ReadOnly));
    const QString tooLarge =
        QStringLiteral(": cannot read it: it holds more than 100 bytes, the most the converter reads");
    for (const QString &name : {path(QStringLiteral("in.csv")), QStringLiteral("-")}) {
        try {
            ConvertFiles::readInput(name, standardInput, 100);
            QFAIL("an input over the limit was read");
        } catch (const ConvertError &e) {
            QCOMPARE(e.message(), ConvertFiles::inputName(name) + tooLarge);
        }
        if (redirected)
            QCOMPARE(standardInput.pos(), 0);
        standardInput.seek(0);
        QCOMPARE(ConvertFiles::readInput(name, standardInput, 101), QByteArray(101, 'x'));
        standardInput.seek(0);
    }
}

void ConvertTest::interruptedWriteKeepsTheTarget_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");

    TableData table;
    for (int i = 0; i < 4000; ++i)
        table.appendRecord(record({"1", "Запись, которая занимает место в файле", "ещё текст"}));
    QTest::newRow("to-csv") << QStringList{QStringLiteral("to-csv"), QStringLiteral("in"), QStringLiteral("target")}
                            << encoded(table);
    QTest::newRow("from-csv") << QStringList{QStringLiteral("from-csv"), QStringLiteral("in"), QStringLiteral("target")}
                              << CsvWriter::write(table, CsvWriteOptions());
}

void ConvertTest::interruptedWriteKeepsTheTarget()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    m_folder->write(QStringLiteral("in"), input);
    m_folder->write(QStringLiteral("target"), "the old content");

    // The system stops the program once a file it writes passes 64 KiB.
    QProcess process;
    process.setChildProcessModifier([] {
        const rlimit limit{64 * 1024, 64 * 1024};
        setrlimit(RLIMIT_FSIZE, &limit);
    });
    process.setWorkingDirectory(m_folder->path());
    process.start(QStringLiteral(TABLORA_CONVERT), arguments);
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitStatus(), QProcess::CrashExit);
    QCOMPARE(m_folder->read(QStringLiteral("target")), QByteArray("the old content"));
}

TABLORA_GUILESS_TEST_MAIN(ConvertTest)
#include "tst_convert.moc"
