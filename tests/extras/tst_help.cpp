#include "GuardedTest.h"
#include "ProgramFolder.h"
#include "ScriptedDesktop.h"
#include "app/ui/TabloraApplication.h"
#include "base/TabloraError.h"
#include "base/Windows1251.h"
#include "extras/InfoPages.h"
#include "extras/ui/AboutDialog.h"
#include "extras/ui/HelpCommands.h"
#include "extras/ui/InfoPageWindow.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLibraryInfo>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

using Command = void (HelpCommands::*)();
Q_DECLARE_METATYPE(Command)
Q_DECLARE_METATYPE(InfoPages::Page)

namespace {

const QString kDocumentStart = QStringLiteral(
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\"><HTML><BODY bgcolor=white "
    "onload=scroller()><font color=\"black\"><center>");

QVariantList script(int limit)
{
    return {QStringLiteral("        var position = 0;"),
            QStringLiteral("function scroller() {"),
            QStringLiteral("        if (position != %1) {").arg(limit),
            QStringLiteral("                position++;"),
            QStringLiteral("                scroll(0,position);"),
            QStringLiteral("                clearTimeout(timer);"),
            QStringLiteral("                var timer = setTimeout(\"scroller()\",20); timer;"),
            QStringLiteral("        }"),
            QStringLiteral("        else"),
            QStringLiteral("                 {"),
            QStringLiteral("           location.replace(\"#\");"),
            QStringLiteral("        }"),
            QStringLiteral("}")};
}

// A line whose text is our own: only its shape is fixed.
QVariant shaped(const QString &pattern)
{
    return QRegularExpression(QLatin1Char('^') + pattern + QLatin1Char('$'));
}

QVariantList repeated(const QVariant &line, int times)
{
    return QVariantList(times, line);
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class HelpTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void shellTargets_data();
    void shellTargets();
    void pageLines_data();
    void pageLines();
    void pageFileIsWindows1251WithCrLf();
    void lastPageShownStaysInTheFile();
    void unwritablePageFileOpensNoWindow();
    void pageScrollsToItsLimitAndBack();
    void pageMenuHoldsWhatWorksInRussian_data();
    void pageMenuHoldsWhatWorksInRussian();
    void aboutBoxClicks_data();
    void aboutBoxClicks();

private:
    std::unique_ptr<ProgramFolder> m_folder;
    ScriptedDesktop m_desktop;
    std::unique_ptr<HelpCommands> m_help;
};

void HelpTest::init()
{
    m_desktop.reset();
    m_folder = std::make_unique<ProgramFolder>();
    m_help = std::make_unique<HelpCommands>(m_desktop, m_folder->dir(), nullptr);
}

void HelpTest::cleanup()
{
    QVERIFY2(m_desktop.problems().isEmpty(), qPrintable(m_desktop.problems().join(QLatin1Char('\n'))));
}

void HelpTest::shellTargets_data()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<QString>("target");
    QTest::newRow("help file") << &HelpCommands::openHelp << QStringLiteral("<dir>/help.chm");
    QTest::newRow("site") << &HelpCommands::visitSite << QStringLiteral("http://tablora.example.org");
    QTest::newRow("faq") << &HelpCommands::openFaq << QStringLiteral("http://tablora.example.org/faq.php");
    QTest::newRow("program page") << &HelpCommands::openProgramPage
                                  << QStringLiteral("http://tablora.example.org/soft/tablora.php");
    QTest::newRow("mail") << &HelpCommands::writeToAuthor
                          << QStringLiteral("mailto:dev@tablora.example.org?subject=About Tablora 1.5");
    QTest::newRow("error report") << &HelpCommands::reportError
                                  << QStringLiteral("mailto:dev@tablora.example.org?subject=Error in Tablora 1.5");
}

void HelpTest::shellTargets()
{
    QFETCH(Command, command);
    QFETCH(QString, target);
    target.replace(QStringLiteral("<dir>/"), QDir::toNativeSeparators(m_folder->path() + QLatin1Char('/')));
    (m_help.get()->*command)();
    QCOMPARE(m_desktop.log(), QStringList{QStringLiteral("open ") + target});
}

void HelpTest::pageLines_data()
{
    QTest::addColumn<InfoPages::Page>("page");
    QTest::addColumn<QVariantList>("expected");

    const QVariantList scriptEnd420 = QVariantList{QStringLiteral("<!--")} + script(420)
        + QVariantList{QStringLiteral("// -->"), QStringLiteral("</SCRIPT></center></font></BODY></HTML>")};

    QTest::newRow("license") << InfoPages::Page::License
                             << QVariantList{kDocumentStart + QStringLiteral("<br><br><br><br>"),
                                             QStringLiteral("<h1>Лицензионное соглашение</h1>")}
            + repeated(shaped(QStringLiteral("<li>[^<]+")), 11)
            + QVariantList{QStringLiteral("<br><br><br><br><br></center><SCRIPT language=JavaScript>")} + scriptEnd420;

    QTest::newRow("history") << InfoPages::Page::History
                             << QVariantList{kDocumentStart + QStringLiteral("<br><br><br><br>"),
                                             QStringLiteral("<h1>История изменения проекта Tablora</h1></center>"),
                                             shaped(QStringLiteral("<li>[^<]*<b>[^<]*1\\.5</b>"))}
            + repeated(shaped(QStringLiteral("<br>[^<]+")), 9)
            + QVariantList{shaped(QStringLiteral("<br><br><li>[^<]*<b>[^<]*1\\.0</b>")),
                           shaped(QStringLiteral("<br>[^<]+")),
                           QStringLiteral("<br><br><br><br><br><SCRIPT language=JavaScript>")}
            + scriptEnd420;

    // Three people, the first two with an address in brackets, then a phrase
    // and a one-entry list with the thanked site.
    const QString thanksHead = QStringLiteral("(<br>){7}<h1>Благодарности</h1><b>[^<]+</b>(<br>)?[^<]+<br>");
    const QString thanksBody = QStringLiteral("(<li>[^<(]+\\([^()<@]+@[^()<]+\\)[^<(]*){2}<li>[^<(@]+"
                                              "(<br>)*[^<]+<ul><li>http://[^<]+</ul>(<br>){9}"
                                              "</center><SCRIPT language=JavaScript><!--");
    QTest::newRow("thanks") << InfoPages::Page::Thanks
                            << QVariantList{kDocumentStart, shaped(thanksHead), shaped(thanksBody)} + script(220)
            + QVariantList{QStringLiteral("// --></SCRIPT></center></font></BODY></HTML>")};
}

void HelpTest::pageLines()
{
    QFETCH(InfoPages::Page, page);
    QFETCH(QVariantList, expected);
    const QStringList lines = InfoPages::lines(page);
    QCOMPARE(lines.size(), expected.size());
    for (int i = 0; i < lines.size(); ++i) {
        const QString where = QStringLiteral("line %1: %2").arg(i + 1).arg(lines[i]);
        QVERIFY2(Windows1251::canEncode(lines[i]), qPrintable(where));
        if (expected[i].userType() == QMetaType::QRegularExpression)
            QVERIFY2(expected[i].toRegularExpression().match(lines[i]).hasMatch(), qPrintable(where));
        else
            QCOMPARE(lines[i], expected[i].toString());
    }
}

void HelpTest::pageFileIsWindows1251WithCrLf()
{
    const QString path = m_help->pageFile();
    InfoPages::writeFile(path, InfoPages::lines(InfoPages::Page::Thanks));
    const QByteArray bytes = readAll(path);
    QVERIFY(bytes.contains("<h1>\xc1\xeb\xe0\xe3\xee\xe4\xe0\xf0\xed\xee\xf1\xf2\xe8</h1>")); // Благодарности
    QVERIFY(bytes.endsWith("// --></SCRIPT></center></font></BODY></HTML>\r\n"));
    QCOMPARE(bytes.count("\n"), bytes.count("\r\n"));
    QCOMPARE(bytes.count("\r\n"), InfoPages::lines(InfoPages::Page::Thanks).size());
    QVERIFY(!bytes.toLower().contains("charset"));
}

void HelpTest::lastPageShownStaysInTheFile()
{
    const auto closeAtOnce = [this](const QString &heading) {
        return [this, heading](QDialog &dialog) {
            [&] {
                QCOMPARE(dialog.windowTitle(), QStringLiteral("Tablora 1.5 [Информация]"));
                QVERIFY(Windows1251::decode(readAll(m_help->pageFile())).contains(heading));
                auto *view = dialog.findChild<QWebEngineView *>(QStringLiteral("webView"));
                QTRY_COMPARE(view->url(), QUrl::fromLocalFile(m_help->pageFile()));
            }();
            dialog.findChild<QPushButton *>(QStringLiteral("okButton"))->click();
            return dialog.result();
        };
    };
    const QByteArray sandboxSwitch = qgetenv("QTWEBENGINE_DISABLE_SANDBOX");
    m_desktop.expectDialog(closeAtOnce(QStringLiteral("<h1>Лицензионное соглашение</h1>")));
    m_help->showLicense();
    m_desktop.expectDialog(closeAtOnce(QStringLiteral("<h1>Благодарности</h1>")));
    m_help->showThanks();
    const QString kept = Windows1251::decode(readAll(m_help->pageFile()));
    QVERIFY(kept.contains(QStringLiteral("<h1>Благодарности</h1>")));
    QVERIFY(!kept.contains(QStringLiteral("Лицензионное")));
    QCOMPARE(qgetenv("QTWEBENGINE_DISABLE_SANDBOX"), sandboxSwitch); // the shell's programs do not inherit it
}

void HelpTest::unwritablePageFileOpensNoWindow()
{
    // A folder in the file's place cannot be replaced, whoever runs the test.
    QVERIFY(QDir(m_folder->path()).mkdir(QStringLiteral("thanks.htm")));
    try {
        m_help->showChangeHistory();
        QFAIL("the page was shown");
    } catch (const TabloraError &e) {
        QVERIFY2(e.message().contains(QStringLiteral("thanks.htm")), qPrintable(e.message()));
    }
    QVERIFY(m_desktop.logged(QStringLiteral("dialog")).isEmpty());
}

void HelpTest::pageScrollsToItsLimitAndBack()
{
    m_desktop.expectDialog([](QDialog &dialog) {
        dialog.show(); // a page that is not shown gets no timer ticks
        QWebEnginePage *page = dialog.findChild<QWebEngineView *>(QStringLiteral("webView"))->page();
        qreal deepest = 0;
        bool backAtTop = false;
        QObject::connect(page, &QWebEnginePage::scrollPositionChanged, &dialog, [&](const QPointF &at) {
            deepest = std::max(deepest, at.y());
            backAtTop = backAtTop || (deepest > 0 && at.y() == 0);
        });
        QString text;
        QObject::connect(page, &QWebEnginePage::loadFinished, &dialog, [&] {
            page->runJavaScript(QStringLiteral("document.body.innerText"),
                                [&](const QVariant &result) { text = result.toString(); });
        });
        [&] {
            QTRY_VERIFY_WITH_TIMEOUT(backAtTop, 60000);
            QCOMPARE(deepest, 220.0);
            QTRY_VERIFY(text.contains(QStringLiteral("Благодарности"))); // read as Windows-1251
        }();
        dialog.findChild<QPushButton *>(QStringLiteral("okButton"))->click();
        return dialog.result();
    });
    m_help->showThanks();
}

void HelpTest::pageMenuHoldsWhatWorksInRussian_data()
{
    QTest::addColumn<QString>("script"); // run before the click
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QList<int>>("entries"); // the page actions the menu offers, in order
    using P = QWebEnginePage;
    QTest::newRow("on the page") << QString() << QPoint(300, 250) << QList<int>{P::Reload};
    QTest::newRow("on a link") << QString() << QPoint(30, 20) << QList<int>{P::Reload, P::CopyLinkToClipboard};
    QTest::newRow("on selected text") << QStringLiteral("document.execCommand('selectAll')") << QPoint(30, 60)
                                      << QList<int>{P::Copy};
}

// The page's pop-up offered "View page source", "Save page" and the like in
// English; none of them did anything in this window.
void HelpTest::pageMenuHoldsWhatWorksInRussian()
{
    QFETCH(QString, script);
    QFETCH(QPoint, at);
    QFETCH(QList<int>, entries);
    const bool russian =
        QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtwebengine_ru.qm"));
    TabloraApplication::installRussianTranslation();
    const QString page = m_folder->filePath(QStringLiteral("page.htm"));
    m_folder->write(QStringLiteral("page.htm"),
                    "<html><body style='font-size:30px'><a href='http://example.org/'>"
                    "link</a><p>text text text</p></body></html>");
    InfoPageWindow window;
    auto *view = window.findChild<QWebEngineView *>(QStringLiteral("webView"));
    window.show();
    QSignalSpy loaded(view->page(), &QWebEnginePage::loadFinished);
    window.navigate(page);
    QVERIFY(loaded.wait(30000));
    if (!script.isEmpty()) {
        bool ran = false;
        view->page()->runJavaScript(script, [&](const QVariant &) { ran = true; });
        QTRY_VERIFY(ran);
    }
    QWidget *surface = view->focusProxy();
    QVERIFY(surface);
    QTest::mouseMove(surface, at);
    QTest::mouseClick(surface, Qt::RightButton, {}, at);
    QTRY_VERIFY(qobject_cast<QMenu *>(QApplication::activePopupWidget()));
    auto *menu = static_cast<QMenu *>(QApplication::activePopupWidget());
    QCOMPARE(menu->objectName(), QStringLiteral("pageMenu"));
    QList<int> offered;
    for (QAction *entry : menu->actions()) {
        if (entry->isSeparator())
            continue;
        for (int a = 0; a < QWebEnginePage::WebActionCount; ++a) {
            if (view->pageAction(QWebEnginePage::WebAction(a)) == entry)
                offered.append(a);
        }
        if (russian)
            QVERIFY2(entry->text().contains(QRegularExpression(QStringLiteral("[а-яА-Я]"))), qPrintable(entry->text()));
    }
    menu->close();
    QCOMPARE(offered, entries);
}

void HelpTest::aboutBoxClicks_data()
{
    QTest::addColumn<QString>("clicked");
    QTest::addColumn<QString>("target"); // empty: the box closes
    for (const char *name :
         {"picture", "titleLabel", "versionLabel", "siteCaption", "authorLabel", "mailCaption", "copyrightLabel"})
        QTest::newRow(name) << QString::fromLatin1(name) << QString();
    QTest::newRow("site") << QStringLiteral("siteLink") << QStringLiteral("http://tablora.example.org/");
    QTest::newRow("mail") << QStringLiteral("mailLink") << QStringLiteral("mailto:dev@tablora.example.org");
}

void HelpTest::aboutBoxClicks()
{
    QFETCH(QString, clicked);
    QFETCH(QString, target);
    AboutDialog about(m_desktop);
    about.show();
    QCOMPARE(about.size(), QSize(320, 240));
    QVERIFY(about.windowFlags().testFlag(Qt::FramelessWindowHint));
    QSignalSpy closed(&about, &QDialog::finished);

    // The picture is clicked where no label covers it.
    const QWidget *widget = about.findChild<QWidget *>(clicked);
    QVERIFY(widget);
    const QPoint at = clicked == QLatin1String("picture") ? QPoint(300, 100) : widget->geometry().center();
    QCOMPARE(about.childAt(at), widget);
    QTest::mouseClick(&about, Qt::LeftButton, {}, at);

    QCOMPARE(closed.size(), target.isEmpty() ? 1 : 0);
    QCOMPARE(m_desktop.log(), target.isEmpty() ? QStringList() : QStringList{QStringLiteral("open ") + target});
}

TABLORA_TEST_MAIN(HelpTest)
#include "tst_help.moc"
