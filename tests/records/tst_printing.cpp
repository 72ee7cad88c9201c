#include "GuardedTest.h"
#include "ProgramFolder.h"
#include "Records.h"
#include "ScratchVolume.h"
#include "ScriptedDesktop.h"
#include "app/ui/QtDesktopServices.h"
#include "base/ProgramDir.h"
#include "base/Settings.h"
#include "base/TabloraError.h"
#include "base/WorkPool.h"
#include "document/Document.h"
#include "records/PageIndex.h"
#include "records/PageProducer.h"
#include "records/PrintFileTarget.h"
#include "records/PrintFont.h"
#include "records/PrintJob.h"
#include "records/PrintLayout.h"
#include "records/PrintSurface.h"
#include "records/PrintText.h"
#include "records/RecordHistory.h"
#include "records/SortCommands.h"
#include "records/ui/PrintCommand.h"
#include "records/ui/PrintPreviewDialog.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QScrollArea>
#include <QSpinBox>
#include <QTest>
#include <QThreadPool>
#include <QToolButton>

#include <cerrno>
#include <cstring>

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

// The pages of a PDF file drawn as the print job drew them before it laid
// pages out ahead: every piece measured and drawn as text by the painter.
class PaintedText : public PrintSurface
{
public:
    PaintedText(QPainter &painter, QPdfWriter &device)
        : m_painter(painter)
        , m_device(device)
        , m_metrics(painter.fontMetrics())
    {
    }
    int pageWidth() const override { return m_device.width(); }
    int pageHeight() const override { return m_device.height(); }
    int textWidth(QStringView text) const override { return m_metrics.horizontalAdvance(text.toString()); }
    int textHeight() const override { return m_metrics.height(); }
    int averageCharWidth() const override { return m_metrics.averageCharWidth(); }
    void drawText(int x, int y, QStringView text) override
    {
        m_painter.drawText(QPoint(x, y + m_metrics.ascent()), text.toString());
    }
    void newPage() override { m_device.newPage(); }

private:
    QPainter &m_painter;
    QPdfWriter &m_device;
    QFontMetrics m_metrics;
};

// Runs a poppler tool on a file and returns what it printed.
QString poppler(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QStringLiteral("%1 failed: %2").arg(tool, QString::fromUtf8(process.readAllStandardError()));
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Every word of a PDF file with its box, page by page.
QString wordBoxes(const QString &pdf)
{
    QString boxes = poppler(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    boxes.remove(QRegularExpression(QStringLiteral("<meta name=\"CreationDate\"[^>]*>")));
    return boxes;
}

// The text of each page of a PDF file, its lines simplified.
QStringList pageTexts(const QString &pdf)
{
    QStringList pages = poppler(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    for (QString &page : pages)
        page = page.simplified();
    return pages;
}

// A page as "x,y text" lines.
QStringList pieces(const PrintedPage &page)
{
    QStringList out;
    for (const PrintedText &piece : page.texts)
        out.append(QStringLiteral("%1,%2 ").arg(piece.x).arg(piece.y) + piece.text);
    return out;
}

// The program's desktop whose print dialog chooses a PDF file.
class PdfDesktop : public QtDesktopServices
{
public:
    explicit PdfDesktop(QString file)
        : m_file(std::move(file))
    {
    }
    bool choosePrinter(QPrinter &printer) override
    {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_file);
        return true;
    }

private:
    QString m_file;
};

// The files in a folder, hidden ones included.
QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
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
    void cancelLeavesTheFileAsItWas_data();
    void cancelLeavesTheFileAsItWas();
    void fullDiskIsReported();
    void printsOnAPoolOfOneThread();
    void copies_data();
    void copies();
    void glyphsAsShaped_data();
    void glyphsAsShaped();
    void pageAlone_data();
    void pageAlone();
    void previewNavigates();
    void previewPrints();

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
    appendTo(document.model(), record({"1", "Иванов", "Пётр"}));
    appendTo(document.model(), record({"2", "Абрамов", "", "x"}));
    appendTo(document.model(), record({"3", "Яковлев", "Ян"}));
    Settings settings{m_folder->dir()};
    QItemSelectionModel selection(&document.model());
    RecordHistory history(document, settings, selection);
    SortCommands sort(document.model(), settings, m_desktop, history);
    sort.chooseColumn(1);
    sort.chooseDirection(-1);
    sort.resort();

    const QString pdf = m_folder->filePath(QStringLiteral("out.pdf"));
    // A file of the chosen name is replaced. The new file has no name while
    // it is written: a print killed meanwhile leaves nothing behind.
    QFile before(pdf);
    QVERIFY(before.open(QIODevice::WriteOnly));
    before.write("not a PDF");
    before.close();
    QStringList filesMeanwhile;
    m_desktop.duringWork = [&](int) { filesMeanwhile = filesIn(m_folder->path()); };
    m_desktop.expectPrinter(true, pdf);
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPointSize(12);
    PrintCommand(document, m_desktop).print(font, [this](const QString &text) { m_status.append(text); });

    QCOMPARE(m_status, QStringList{PrintCommand::sentText()});
    QCOMPARE(m_desktop.logged(QStringLiteral("print dialog")), QStringList{QStringLiteral("print dialog ") + jobName});
    QCOMPARE(m_desktop.logged(QStringLiteral("work")), QStringList{QStringLiteral("work Печать базы данных...")});
    QCOMPARE(filesMeanwhile, QStringList{"out.pdf"});
    QCOMPARE(filesIn(m_folder->path()), QStringList{"out.pdf"});

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
    QVERIFY_THROWS_EXCEPTION(
        TabloraError,
        PrintCommand(document, m_desktop).print(QFont(), [this](const QString &text) { m_status.append(text); }));
    QVERIFY(m_status.isEmpty());
    QCOMPARE(m_desktop.log(), QStringList{QStringLiteral("print dialog ") + Document::untitledName()});
}

void PrintingTest::cancelLeavesTheFileAsItWas_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<int>("stopAt");

    QTest::newRow("no file, cancelled at once") << QByteArray() << 0;
    QTest::newRow("a file, cancelled at once") << QByteArray("the user's own file") << 0;
    QTest::newRow("a file, cancelled after a page") << QByteArray("the user's own file") << 1;
}

void PrintingTest::cancelLeavesTheFileAsItWas()
{
    QFETCH(QByteArray, before);
    QFETCH(int, stopAt);
    Document document;
    for (int i = 0; i < 30000; ++i)
        appendTo(document.model(), record({"1", "Иванов", "Пётр", "Petersburg"}));
    const QString pdf = m_folder->filePath(QStringLiteral("out.pdf"));
    if (!before.isNull()) {
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(before);
    }
    const QStringList files = filesIn(m_folder->path());
    m_desktop.expectPrinter(true, pdf);
    m_desktop.stopWorkAt = stopAt;
    PrintCommand(document, m_desktop).print(QFont(), [this](const QString &text) { m_status.append(text); });

    QCOMPARE(m_status, (QStringList{PrintCommand::sentText(), PrintCommand::cancelledText()}));
    QCOMPARE(filesIn(m_folder->path()), files);
    if (!before.isNull()) {
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
    }
}

// A print that fills the disk names the file and the system's reason, as
// every other write does, and leaves the file of that name as it was.
void PrintingTest::fullDiskIsReported()
{
    ScratchVolume volume("size=64k");
    if (!volume.isMounted())
        QSKIP("no volume of its own can be mounted here");
    Document document;
    for (int i = 0; i < 10000; ++i)
        appendTo(document.model(), record({"1", "Иванов", "Пётр", "Petersburg"}));
    const QString pdf = volume.path() + QStringLiteral("/out.pdf");
    QFile before(pdf);
    QVERIFY(before.open(QIODevice::WriteOnly));
    before.write("the user's own file");
    before.close();
    m_desktop.expectPrinter(true, pdf);
    try {
        PrintCommand(document, m_desktop).print(QFont(), [this](const QString &text) { m_status.append(text); });
        QFAIL("a print that filled the disk succeeded");
    } catch (const TabloraError &e) {
        QCOMPARE(e.message(), PrintFileTarget::failureMessage(pdf, QString::fromLocal8Bit(std::strerror(ENOSPC))));
    }
    QCOMPARE(m_status, (QStringList{PrintCommand::sentText(), PrintCommand::failedText()}));
    QCOMPARE(filesIn(volume.path()), QStringList{"out.pdf"});
    QVERIFY(before.open(QIODevice::ReadOnly));
    QCOMPARE(before.readAll(), QByteArray("the user's own file"));
}

// The job runs as long work of the program's own desktop, its pages laid out
// ahead of the drawing by another task of the pool: with a pool of one
// thread, neither waits for the other for ever.
void PrintingTest::printsOnAPoolOfOneThread()
{
    QThreadPool &pool = WorkPool::pool();
    const int threads = pool.maxThreadCount();
    pool.setMaxThreadCount(1);
    const auto restore = qScopeGuard([&] { pool.setMaxThreadCount(threads); });
    Document document;
    for (int i = 0; i < 3000; ++i)
        appendTo(document.model(), record({"1", "Иванов", "Пётр", "Petersburg"}));
    appendTo(document.model(), record({"2", "Яковлев"}));
    const QString pdf = m_folder->filePath(QStringLiteral("one.pdf"));
    PdfDesktop desktop(pdf);
    PrintCommand(document, desktop).print(QFont(QStringLiteral("Liberation Mono"), 10), [this](const QString &text) {
        m_status.append(text);
    });
    QCOMPARE(m_status, QStringList{PrintCommand::sentText()});
    const QStringList pages = pageTexts(pdf);
    QVERIFY2(pages.size() > 20, qPrintable(QString::number(pages.size()))); // more than the pages laid out ahead
    QVERIFY(pages.last().contains(QStringLiteral("Яковлев")));
}

void PrintingTest::copies_data()
{
    QTest::addColumn<int>("copies");
    QTest::addColumn<bool>("collate");

    QTest::newRow("one") << 1 << true;
    QTest::newRow("two collated") << 2 << true;
    QTest::newRow("two page by page") << 2 << false;
    QTest::newRow("three collated") << 3 << true;
}

// A PDF file makes no copies of its own: the job prints them.
void PrintingTest::copies()
{
    QFETCH(int, copies);
    QFETCH(bool, collate);
    Document document;
    for (const char *name : {"Иванов", "Петров", "Сидоров", "Smith", "Jones"})
        appendTo(document.model(), record({"1", name}));
    QFont font(QStringLiteral("Liberation Mono"));
    font.setPointSize(60); // a few lines a page
    QList<QStringList> printed;
    for (int times : {1, copies}) {
        const QString pdf = m_folder->filePath(QStringLiteral("copies%1.pdf").arg(times));
        m_desktop.expectPrinter(true, pdf, times, collate);
        PrintCommand(document, m_desktop).print(font, [](const QString &) {});
        printed.append(pageTexts(pdf));
    }
    const QStringList once = printed[0];
    QVERIFY(once.size() >= 2);
    QStringList expected;
    for (int i = 0; i < once.size() * copies; ++i)
        expected.append(collate ? once[i % once.size()] : once[i / copies]);
    QCOMPARE(printed[1], expected);
}

void PrintingTest::glyphsAsShaped_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<QStringList>("lines");

    const QStringList awkward = {
        QStringLiteral("Иванов | Smith | Пётр | ёлка | Ёж | 12 345,67 | «ы» — № 5"),
        QStringLiteral("ffi fl fi AV To Wa Ты Уа LT"), // ligatures and kerning where fonts have them
        QStringLiteral("е\u0308 e\u0301 a\u0302\u0323 й"), // combining marks
        QStringLiteral("soft\u00ADhyphen no\u00A0break zero\u200Bwidth"),
        QStringLiteral("Ελληνικά · עברית · العربية · 中文 · 😀 · \u0001"),
        QStringLiteral("a\tb\tв | x\ry | long %1").arg(QString(300, QLatin1Char('w'))),
    };
    for (const char *family : {"Liberation Mono", "Liberation Serif", "DejaVu Sans", "DejaVu Sans Mono"})
        QTest::newRow(family) << QString::fromLatin1(family) << awkward;
}

// Glyphs taken from the font's character map where it is plain draw the
// same words at the same places as the painter's shaped text, and the
// shortcut's widths are the shaped widths.
void PrintingTest::glyphsAsShaped()
{
    QFETCH(QString, family);
    QFETCH(QStringList, lines);
    QFont font(family);
    font.setPointSize(10);
    TableData table;
    table.setTitle(0, lines.join(QLatin1String(" ")));
    for (const QString &line : lines)
        table.appendRecord(Record(Record::Cells{line}));

    const QString shaped = m_folder->filePath(QStringLiteral("shaped.pdf"));
    {
        QPdfWriter pdf(shaped);
        QPainter painter(&pdf);
        painter.setFont(font);
        PaintedText pages(painter, pdf);
        PrintLayout layout(pages);
        for (const QString &line : printText(table))
            layout.printLine(line);
        const PrintFont printFont(painter.font(), pdf.logicalDpiY());
        for (const QString &line : lines)
            QCOMPARE(printFont.textWidth(line), painter.fontMetrics().horizontalAdvance(line));
    }
    const QString fast = m_folder->filePath(QStringLiteral("fast.pdf"));
    {
        QPdfWriter pdf(fast);
        PrintJob(pdf, font).print(table);
    }
    QCOMPARE(wordBoxes(fast), wordBoxes(shaped));
}

void PrintingTest::pageAlone_data()
{
    QTest::addColumn<int>("pageWidth");
    QTest::addColumn<int>("pageHeight");
    QTest::addColumn<QStringList>("cells");

    const QStringList mixed = {
        QStringLiteral("Иванов Пётр"), QStringLiteral("a\tb\tc"),        QStringLiteral("x").repeated(700),
        QStringLiteral("до\fпосле"),   QStringLiteral("\f\f"),           QString(),
        QStringLiteral("ab\ncd\ref"),  QStringLiteral("Ελληνικά 中文 😀")};
    QTest::newRow("narrow, low pages") << 3000 << 2500 << mixed;
    QTest::newRow("wide pages") << 9000 << 13000 << mixed;
    QTest::newRow("a line over many pages") << 2000 << 1500 << QStringList{QStringLiteral("щ").repeated(600)};
}

// Any page laid out alone from the index is the page the print job lays
// out after all the pages before it.
void PrintingTest::pageAlone()
{
    QFETCH(int, pageWidth);
    QFETCH(int, pageHeight);
    QFETCH(QStringList, cells);
    TableData table;
    for (int i = 0; i < 40; ++i) {
        Record::Cells record;
        record[0] = QString::number(i);
        record[1 + i % 3] = cells[i % cells.size()];
        table.appendRecord(Record(record));
    }
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(10);
    const int dpi = 1200;

    std::vector<PrintedPage> pages;
    {
        PageProducer producer(table, {font, dpi, pageWidth, pageHeight, 1});
        while (std::optional<PrintedPage> page = producer.takePage())
            pages.push_back(std::move(*page));
    }
    PageIndex index(table, font, {pageWidth, pageHeight, dpi});
    index.counting().waitForFinished();
    QVERIFY(index.complete());
    QCOMPARE(index.pageCount(), int(pages.size()));
    QVERIFY(pages.size() > 3);
    const PrintFont printFont(font, dpi);
    for (int i = int(pages.size()) - 1; i >= 0; --i) {
        const std::optional<PrintedPage> alone = index.layOut(i, printFont);
        QVERIFY(alone);
        QCOMPARE(pieces(*alone), pieces(pages[size_t(i)]));
    }
    QVERIFY(!index.layOut(int(pages.size()), printFont));
}

void PrintingTest::previewNavigates()
{
    TableData table;
    for (int i = 0; i < 3000; ++i)
        table.appendRecord(record({"1", "Иванов", "Пётр", "Petersburg"}));
    PrintPreviewDialog dialog(table, QFont(QStringLiteral("Liberation Mono"), 8));
    dialog.show();
    auto *count = dialog.findChild<QLabel *>(QStringLiteral("pageCountLabel"));
    auto *pageBox = dialog.findChild<QSpinBox *>(QStringLiteral("pageBox"));
    QCOMPARE(pageBox->value(), 1);
    // The page takes the window's width once the window is laid out.
    auto *area = dialog.findChild<QScrollArea *>(QStringLiteral("pageArea"));
    auto *sheet = dialog.findChild<QLabel *>(QStringLiteral("pageSheet"));
    QTRY_VERIFY(sheet->width() > area->viewport()->width() * 3 / 4);
    QVERIFY(sheet->width() <= area->viewport()->width());
    QTRY_VERIFY(!count->text().endsWith(QStringLiteral("…")));
    const int pages = dialog.pageCount();
    QVERIFY(pages > 10);
    QCOMPARE(count->text(), QStringLiteral("из %1").arg(pages));
    QVERIFY(!dialog.findChild<QToolButton *>(QStringLiteral("previousPageButton"))->isEnabled());

    // The page shown is the one the page box names.
    const QPixmap first = sheet->pixmap();
    dialog.findChild<QToolButton *>(QStringLiteral("lastPageButton"))->click();
    QCOMPARE(pageBox->value(), pages);
    QVERIFY(!dialog.findChild<QToolButton *>(QStringLiteral("nextPageButton"))->isEnabled());
    dialog.findChild<QToolButton *>(QStringLiteral("previousPageButton"))->click();
    QCOMPARE(pageBox->value(), pages - 1);
    QVERIFY(dialog.findChild<QToolButton *>(QStringLiteral("nextPageButton"))->isEnabled());
    pageBox->setValue(5);
    QVERIFY(sheet->pixmap().toImage() != first.toImage());
    pageBox->setValue(1);
    QCOMPARE(sheet->pixmap().toImage(), first.toImage());

    // The page shown holds text: dark pixels on the white sheet.
    const QImage image = sheet->pixmap().toImage();
    QVERIFY(!image.isNull());
    int dark = 0;
    for (int y = 0; y < image.height(); y += 2) {
        for (int x = 0; x < image.width(); x += 2)
            dark += qGray(image.pixel(x, y)) < 128;
    }
    QVERIFY2(dark > 100, qPrintable(QString::number(dark)));
}

void PrintingTest::previewPrints()
{
    Document document;
    appendTo(document.model(), record({"1", "Иванов"}));
    const QString pdf = m_folder->filePath(QStringLiteral("preview.pdf"));
    m_desktop.expectDialog([](QDialog &dialog) {
        dialog.findChild<QPushButton *>(QStringLiteral("printButton"))->click();
        return dialog.result();
    });
    m_desktop.expectPrinter(true, pdf);
    PrintCommand(document, m_desktop).preview(QFont(), nullptr, [this](const QString &text) { m_status.append(text); });
    QCOMPARE(m_status, QStringList{PrintCommand::sentText()});
    QVERIFY(poppler(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}).contains(QStringLiteral("Иванов")));
}

TABLORA_TEST_MAIN(PrintingTest)
#include "tst_printing.moc"
