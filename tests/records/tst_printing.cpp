#include "GuardedTest.h"
#include "ProgramFolder.h"
#include "Records.h"
#include "ScriptedDesktop.h"
#include "base/ProgramDir.h"
#include "base/TabloraError.h"
#include "document/Document.h"
#include "records/PrintCommand.h"
#include "records/PrintLayout.h"
#include "records/PrintSurface.h"
#include "records/PrintText.h"
#include "records/RecordHistory.h"
#include "records/SortCommands.h"
#include "users/Settings.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QItemSelectionModel>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

namespace {

// A page of a fixed-pitch printer: every character 10 units wide, text 12
// units high. What is drawn is kept as "x,y text"; a new page as "page".
class FakePage : public PrintSurface
{
public:
    int width = 100;
    int height = 60;
    QStringList drawn;

    int pageWidth() const override { return width; }
    int pageHeight() const override { return height; }
    int textWidth(QStringView text) const override { return 10 * int(text.size()); }
    int textHeight() const override { return 12; }
    int averageCharWidth() const override { return 10; }
    void drawText(int x, int y, QStringView text) override
    {
        drawn.append(QStringLiteral("%1,%2 ").arg(x).arg(y).append(text));
    }
    void newPage() override { drawn.append(QStringLiteral("page")); }
};

QString defaultTitleLine()
{
    return QStringLiteral("№ | 1 столбец | 2 столбец | 3 столбец | 4 столбец | 5 столбец | 6 столбец | 7 столбец");
}

QStringList printText(const TableData &table)
{
    QStringList lines;
    for (int i = 0; i < PrintText::lineCount(table); ++i)
        lines.append(PrintText::line(table, i));
    return lines;
}

// Runs a poppler tool on a file and returns what it printed.
QString poppler(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QStringLiteral("%1 failed: %2").arg(tool, QString::fromUtf8(process.readAllStandardError()));
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class PrintingTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void text_data();
    void text();
    void layout_data();
    void layout();
    void printsToPdf_data();
    void printsToPdf();
    void cancelledDialogPrintsNothing();
    void jobThatCannotStartIsReported();

private:
    std::unique_ptr<ProgramFolder> m_folder;
    ScriptedDesktop m_desktop;
    QStringList m_status;
};

void PrintingTest::init()
{
    m_desktop.reset();
    m_status.clear();
    m_folder = std::make_unique<ProgramFolder>();
}

void PrintingTest::cleanup()
{
    QVERIFY2(m_desktop.problems().isEmpty(), qPrintable(m_desktop.problems().join(QLatin1Char('\n'))));
}

void PrintingTest::text_data()
{
    QTest::addColumn<QList<Record>>("records");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("empty table") << QList<Record>{} << QStringList{defaultTitleLine(), QString()};
    QTest::newRow("all-empty record: seven separators")
        << QList<Record>{Record()}
        << QStringList{defaultTitleLine(), QString(), QStringLiteral(" |  |  |  |  |  |  | ")};
    QTest::newRow("cells in order, nothing trimmed")
        << QList<Record>{record({"7", " а ", "b", "", "c", "", "", "\tz"}), record({"1"})}
        << QStringList{defaultTitleLine(), QString(), QStringLiteral("7 |  а  | b |  | c |  |  | \tz"),
                       QStringLiteral("1 |  |  |  |  |  |  | ")};
}

void PrintingTest::text()
{
    QFETCH(QList<Record>, records);
    QFETCH(QStringList, lines);
    TableData table;
    for (const Record &r : records)
        table.appendRecord(r);
    QCOMPARE(printText(table), lines);
}

void PrintingTest::layout_data()
{
    QTest::addColumn<int>("pageWidth");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("drawn");

    // Lines are 14 high (text height 12 plus 2), an empty line 12; a page of
    // height 60 takes three lines, since a fourth would start past 60 - 2 * 14.
    QTest::newRow("fits") << 100 << QStringList{"abcdefghij"} << QStringList{"0,0 abcdefghij"};
    QTest::newRow("cut at a character, not at a word")
        << 100 << QStringList{"hello world again"} << QStringList{"0,0 hello worl", "0,14 d again"};
    QTest::newRow("empty line one character high")
        << 100 << QStringList{"a", "", "b"} << QStringList{"0,0 a", "0,26 b"};
    QTest::newRow("new page") << 100 << QStringList{"1", "2", "3", "4"}
                              << QStringList{"0,0 1", "0,14 2", "0,28 3", "page", "0,0 4"};
    QTest::newRow("no blank page after the last line")
        << 100 << QStringList{"1", "2", "3"} << QStringList{"0,0 1", "0,14 2", "0,28 3"};
    QTest::newRow("tab") << 100 << QStringList{"a\tb"} << QStringList{"0,0 a", "80,0 b"};
    QTest::newRow("tab beyond the page") << 100 << QStringList{"abcdefghi\tb"}
                                         << QStringList{"0,0 abcdefghi", "0,14 b"};
    QTest::newRow("form feed") << 100 << QStringList{"a\fb"} << QStringList{"0,0 a", "page", "0,0 b"};
    QTest::newRow("carriage return") << 100 << QStringList{"ab\rcd"} << QStringList{"0,0 ab", "20,0 cd"};
    QTest::newRow("line feed") << 100 << QStringList{"ab\ncd"} << QStringList{"0,0 ab", "0,14 cd"};
    QTest::newRow("wrap from where the piece starts")
        << 100 << QStringList{"ab\rcdefghijkl"} << QStringList{"0,0 ab", "20,0 cdefghij", "0,14 kl"};
    QTest::newRow("nothing fits at the line's end")
        << 100 << QStringList{"abcdefghij\rxy"} << QStringList{"0,0 abcdefghij", "0,14 xy"};
    QTest::newRow("a character wider than the page") << 5 << QStringList{"ab"} << QStringList{"0,0 a", "0,14 b"};
    QTest::newRow("surrogate pair kept whole")
        << 100 << QStringList{QStringLiteral("abcdefghi😀")} << QStringList{"0,0 abcdefghi", QStringLiteral("0,14 😀")};
}

void PrintingTest::layout()
{
    QFETCH(int, pageWidth);
    QFETCH(QStringList, lines);
    QFETCH(QStringList, drawn);
    FakePage page;
    page.width = pageWidth;
    PrintLayout layout(page);
    for (const QString &line : lines)
        layout.printLine(line);
    QCOMPARE(page.drawn, drawn);
}

void PrintingTest::printsToPdf_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("jobName");

    QTest::newRow("never saved") << Document::untitledName() << Document::untitledName();
    QTest::newRow("saved") << QStringLiteral("/home/user/Базы/Склад.db") << QStringLiteral("Склад.db");
}

void PrintingTest::printsToPdf()
{
    QFETCH(QString, fileName);
    QFETCH(QString, jobName);
    Document document;
    document.setFileName(fileName);
    document.model().appendRecord(record({"1", "Иванов", "Пётр"}));
    document.model().appendRecord(record({"2", "Абрамов", "", "x"}));
    document.model().appendRecord(record({"3", "Яковлев", "Ян"}));
    Settings settings{m_folder->dir()};
    QItemSelectionModel selection(&document.model());
    RecordHistory history(document, settings, selection);
    SortCommands sort(document.model(), settings, m_desktop, history);
    sort.chooseColumn(1);
    sort.chooseDirection(-1);
    sort.resort();

    const QString pdf = m_folder->filePath(QStringLiteral("out.pdf"));
    m_desktop.expectPrinter(true, pdf);
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPointSize(12);
    PrintCommand(document, m_desktop).print(font, [this](const QString &text) { m_status.append(text); });

    QCOMPARE(m_status, QStringList{PrintCommand::sentText()});
    QCOMPARE(m_desktop.logged(QStringLiteral("print dialog")), QStringList{QStringLiteral("print dialog ") + jobName});
    QVERIFY(m_desktop.log().contains(QStringLiteral("busy off")));

    QStringList read = poppler(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}).split(QLatin1Char('\n'));
    read.removeAll(QString());
    read.removeAll(QStringLiteral("\f"));
    for (QString &line : read)
        line = line.simplified();
    QCOMPARE(read,
             (QStringList{defaultTitleLine(), "3 | Яковлев | Ян | | | | |", "1 | Иванов | Пётр | | | | |",
                          "2 | Абрамов | | x | | | |"}));

    const QString info = poppler(QStringLiteral("pdfinfo"), {pdf});
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("^Title: +") + QRegularExpression::escape(jobName) + '$',
                                              QRegularExpression::MultilineOption)),
             qPrintable(info));
    QVERIFY2(poppler(QStringLiteral("pdffonts"), {pdf}).contains(QStringLiteral("LiberationSerif")),
             "the table's font");
    // PDF units are points: a line of 12-point text stands about 12 high.
    const QRegularExpression word(
        QStringLiteral("<word xMin=\"[\\d.]+\" yMin=\"([\\d.]+)\" xMax=\"[\\d.]+\" yMax=\"([\\d.]+)\""));
    const auto match =
        word.match(poppler(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")}));
    QVERIFY(match.hasMatch());
    const double height = match.captured(2).toDouble() - match.captured(1).toDouble();
    QVERIFY2(height > 10 && height < 18, qPrintable(QString::number(height)));
}

void PrintingTest::cancelledDialogPrintsNothing()
{
    Document document;
    m_desktop.expectPrinter(false);
    PrintCommand(document, m_desktop).print(QFont(), [this](const QString &text) { m_status.append(text); });
    QVERIFY(m_status.isEmpty());
    QCOMPARE(m_desktop.log(), QStringList{QStringLiteral("print dialog ") + Document::untitledName()});
}

void PrintingTest::jobThatCannotStartIsReported()
{
    Document document;
    m_desktop.expectPrinter(true, m_folder->filePath(QStringLiteral("missing/folder/out.pdf")));
    QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
    QVERIFY_THROWS_EXCEPTION(
        TabloraError,
        PrintCommand(document, m_desktop).print(QFont(), [this](const QString &text) { m_status.append(text); }));
    QVERIFY(m_status.isEmpty());
    QCOMPARE(m_desktop.log().last(), QStringLiteral("busy off"));
}

TABLORA_TEST_MAIN(PrintingTest)
#include "tst_printing.moc"
