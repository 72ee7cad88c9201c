#include "GuardedTest.h"
#include "MainWindowAccess.h"
#include "ProgramFolder.h"
#include "Records.h"
#include "ScriptedDesktop.h"
#include "app/Command.h"
#include "app/ui/CommandTable.h"
#include "app/ui/MainWindow.h"
#include "app/ui/QtDesktopServices.h"
#include "app/ui/RecordListView.h"
#include "app/ui/SplashWindow.h"
#include "app/ui/StatusPanels.h"
#include "app/ui/TabloraApplication.h"
#include "base/SettingKeys.h"
#include "base/Settings.h"
#include "base/Windows1251.h"
#include "document/DatabaseCodec.h"
#include "document/FileCommands.h"
#include "extras/InfoPages.h"
#include "records/ClipboardRecord.h"
#include "records/RecordCommands.h"
#include "records/ui/FindBar.h"
#include "users/Accounts.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <new>
#include <set>

namespace {

// Plays the user's part in the login dialog.
std::function<int(QDialog &)> typeLogin(const QString &login, const QString &password)
{
    return [=](QDialog &dialog) {
        dialog.findChild<QLineEdit *>(QStringLiteral("loginEdit"))->setText(login);
        dialog.findChild<QLineEdit *>(QStringLiteral("passwordEdit"))->setText(password);
        dialog.findChild<QPushButton *>(QStringLiteral("logInButton"))->click();
        return dialog.result();
    };
}

// The window's status bar, which shows its panels.
StatusPanels *panels(const MainWindow &window)
{
    return qobject_cast<StatusPanels *>(window.statusBar());
}

std::function<int(QDialog &)> cancelLogin()
{
    return [](QDialog &dialog) {
        dialog.findChild<QPushButton *>(QStringLiteral("cancelButton"))->click();
        return dialog.result();
    };
}

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void firstStartWithoutSettings();
    void secondStartDoesNotOpenHelp();
    void savedPlacementAndLook_data();
    void savedPlacementAndLook();
    void sortColumnMark_data();
    void sortColumnMark();
    void leavingTheLoginEndsTheProgram();
    void wrongPasswordKeepsTheDialogOpen();
    void userSwitch();
    void switchWithModifiedTable_data();
    void switchWithModifiedTable();
    void refreshFollowsTheTable();
    void commandLineDatabase();
    void recentMenuIsDisabledWhileEmpty();
    void commandLineFailure();
    void closeAnswers_data();
    void closeAnswers();
    void closeWhenSaveDoesNotHappen_data();
    void closeWhenSaveDoesNotHappen();
    void shutdownPanelIsPaintedBeforeThePause();
    void closeWithReadOnlySettings();
    void closingTheWindowEndsTheProgram();
    void favouriteCells();
    void refusedCommandIsLoggedAndShown();
    void runningOutOfMemoryIsLoggedAndShown_data();
    void runningOutOfMemoryIsLoggedAndShown();
    void sortCommandsPersistTheirChoice();
    void shortcutsDoNotReachModelessDialogs();
    void onlyTheTableHasAPopupMenu();
    void messageBoxIsCentredOnTheActiveDialog();
    void splashTitleStandsClearOfThePicture();
    void draggedWidthObeysTheColumnLimits();
    void clearByMistakeThenUndo();
    void saveShowsWhatTheFileHolds();
    void findFromTheBar();
    void findNotesLeaveThePanelsShown();
    void pastedLineBreakIsFound();
    void homeAndEndGoToTheFirstAndLastRecord();
    void popupFromTheKeyboardOpensAtTheRecord();
    void enterOrDoubleClickOpensTheRecord_data();
    void enterOrDoubleClickOpensTheRecord();
    void recordPutInIsSelectedAndShown();
    void panelsShowNamesAsText();
    void everyActionReachesItsHandler_data();
    void everyActionReachesItsHandler();
    void reachableActionsHaveHandlers();
    void recentFilesFollowTheOpens();

private:
    // What triggering one action must do in the window prepareActionWindow()
    // makes: the desktop's part, queued before the trigger, and what must hold
    // afterwards.
    struct Binding
    {
        Command command;
        std::function<void()> before;
        std::function<void()> after;
    };
    // Every action with a handler that does something. Any other action must
    // do nothing at all when triggered, and no menu, button or shortcut may
    // reach it: a new command comes with its row here.
    std::vector<Binding> bindings();
    // A started window over a titled, unmodified database of three
    // records, with five recent files and the three examples on disk.
    void prepareActionWindow();
    // Every cell of a record holds its letter.
    static Record letterRecord(const QString &letter);
    void setRecords(const QStringList &letters);
    QStringList letters() const;
    void selectRow(int row);
    // The commands a menu, the toolbar or a shortcut reaches.
    std::set<Command> reachableCommands() const;

    std::unique_ptr<MainWindow> create(QStringList arguments = {});
    // Creation, the login (when asked) and the first tick of the start timer.
    std::unique_ptr<MainWindow> start(QStringList arguments = {});
    // Started with no login asked and not for the first time.
    std::unique_ptr<MainWindow> startWithoutLogin();
    // A started window, shown and active, over a table of the given number
    // of records (cell 1 holds the row's number).
    std::unique_ptr<MainWindow> startShownWith(int records);
    // An empty database; returns its full path.
    QString writeDatabase(const QString &relative);
    void tick(MainWindow &window);

    std::unique_ptr<ProgramFolder> m_folder;
    ScriptedDesktop m_desktop;
    std::unique_ptr<MainWindow> m_window; // the window of the action tests
    int m_closes = 0;
    QString m_shownDialog;
};

void MainWindowTest::init()
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    m_desktop.reset();
    m_folder = std::make_unique<ProgramFolder>();
    m_folder->makeFolder(QStringLiteral("db/favourite"));
}

void MainWindowTest::cleanup()
{
    m_window.reset();
    QLocale::setDefault(QLocale::c());
    QVERIFY2(m_desktop.problems().isEmpty(), qPrintable(m_desktop.problems().join(QLatin1Char('\n'))));
}

QString MainWindowTest::writeDatabase(const QString &relative)
{
    m_folder->write(relative, DatabaseCodec::encodePlainList(DatabaseCodec::buildPlainList(TableData())));
    return m_folder->filePath(relative);
}

std::unique_ptr<MainWindow> MainWindowTest::create(QStringList arguments)
{
    auto window = std::make_unique<MainWindow>(m_desktop, m_folder->dir(), std::move(arguments));
    MainWindowAccess::startupTimer(*window).setInterval(0);
    MainWindowAccess::refreshTimer(*window).setInterval(0);
    return window;
}

std::unique_ptr<MainWindow> MainWindowTest::start(QStringList arguments)
{
    auto window = create(std::move(arguments));
    window->prepareToShow();
    QCoreApplication::processEvents(); // the start timer's tick
    return window;
}

std::unique_ptr<MainWindow> MainWindowTest::startWithoutLogin()
{
    m_folder->write(QStringLiteral("data/other.dat"), "[Enter]\r\nQuestionOnStart=0\r\n");
    m_folder->write(QStringLiteral("data/config.ini"), "[Run]\r\nFirst=0\r\n");
    return start();
}

void MainWindowTest::tick(MainWindow &)
{
    QCoreApplication::processEvents();
}

void MainWindowTest::firstStartWithoutSettings()
{
    m_desktop.expectDialog(typeLogin({}, {})); // no accounts yet: empty login is the administrator
    auto window = start();

    QCOMPARE(m_desktop.logged(QStringLiteral("sleep")).value(0), QStringLiteral("sleep 1000")); // no quick start
    QCOMPARE(window->document().role(), QStringLiteral("admin"));
    QCOMPARE(window->windowTitle(), QStringLiteral("Tablora 1.5 [Новая база данных]"));
    QCOMPARE(panels(*window)->text(StatusPanels::FileName), QStringLiteral("Имя: Новая база данных"));
    QCOMPARE(panels(*window)->text(StatusPanels::State), QStringLiteral("Вы вошли как: admin"));
    QVERIFY(window->noticePanel()->isHidden());
    QCOMPARE(window->recordList()->font().family(), QStringLiteral("Courier New"));
    QCOMPARE(window->recordList()->font().pointSize(), 8);
    QCOMPARE(window->document().model().alignment(), Qt::AlignLeft);
    const TableData &t = window->document().model().table();
    QCOMPARE(t.title(0), QStringLiteral("№"));
    QCOMPARE(t.title(7), QStringLiteral("7 столбец"));
    QCOMPARE(t.width(0), 30);
    QCOMPARE(t.width(1), 100);
    QVERIFY(!window->document().isModified());
    QCOMPARE(m_desktop.logged(QStringLiteral("open ")),
             QStringList{QStringLiteral("open ") + m_folder->dir().helpFile()});
    QVERIFY(m_folder->read(QStringLiteral("data/config.ini")).contains("[Run]\r\nFirst=0\r\n"));

    tick(*window);
    QCOMPARE(panels(*window)->text(StatusPanels::RecordCount), QStringLiteral("Всего записей: 0"));
    QCOMPARE(window->action(Command::SortColumn0)->text(), QStringLiteral("№"));
}

void MainWindowTest::secondStartDoesNotOpenHelp()
{
    m_folder->write(QStringLiteral("data/config.ini"), "[Run]\r\nFirst=0\r\n[General]\r\nQuickStart=1\r\n");
    m_folder->write(QStringLiteral("data/other.dat"), "[Enter]\r\nQuestionOnStart=0\r\n");
    auto window = start();
    QVERIFY(m_desktop.logged(QStringLiteral("open ")).isEmpty());
    QVERIFY(m_desktop.logged(QStringLiteral("sleep")).isEmpty());
    QCOMPARE(window->document().role(), QStringLiteral("admin")); // no login asked
}

void MainWindowTest::savedPlacementAndLook_data()
{
    QTest::addColumn<QByteArray>("config");
    QTest::addColumn<QPoint>("position"); // of the frame; (-1, -1) where the system chooses
    QTest::addColumn<QSize>("size"); // of the frame
    QTest::addColumn<int>("alignment");
    const QByteArray window = "[Window]\r\nLeft=10\r\nTop=20\r\nWidth=900\r\nHeight=600\r\n";
    QTest::newRow("nothing stored") << QByteArray() << QPoint(76, 44) << QSize(770, 566) << int(Qt::AlignLeft);
    QTest::newRow("saved placement") << window + "[General]\r\nAlign=Center\r\n"
                                     << QPoint(10, 20) << QSize(900, 600) << int(Qt::AlignHCenter);
    QTest::newRow("position not applied") << window + "[General]\r\nSavePosition=0\r\nAlign=Right\r\n"
                                          << QPoint(-1, -1) << QSize(900, 600) << int(Qt::AlignRight);
    QTest::newRow("size not applied") << window + "[General]\r\nSaveSize=0\r\nAlign=center\r\n"
                                      << QPoint(10, 20) << QSize(770, 565) << int(Qt::AlignRight);
}

void MainWindowTest::savedPlacementAndLook()
{
    QFETCH(QByteArray, config);
    QFETCH(QPoint, position);
    QFETCH(QSize, size);
    QFETCH(int, alignment);
    m_folder->write(QStringLiteral("data/config.ini"),
                    config + "[Run]\r\nFirst=0\r\n[Font]\r\nName=DejaVu Sans\r\nSize=11\r\n");
    m_folder->write(QStringLiteral("data/other.dat"), "[Enter]\r\nQuestionOnStart=0\r\n");
    auto window = create();
    window->prepareToShow();
    // This platform knows the frame as soon as the window exists, as the
    // window manager tells it on X11: the window is placed right at once.
    window->show();
    const QRect shown = window->frameGeometry();
    QCOMPARE(shown.size(), size);
    if (position != QPoint(-1, -1))
        QCOMPARE(shown.topLeft(), position);
    QCoreApplication::processEvents(); // the first tick
    QCOMPARE(window->frameGeometry(), shown); // and stays there
    QCOMPARE(int(window->document().model().alignment()), alignment);
    QCOMPARE(window->recordList()->font().family(), QStringLiteral("DejaVu Sans"));
    QCOMPARE(window->recordList()->font().pointSize(), 11);

    // Placement is written on every close, whatever the switches say.
    window->move(33, 44);
    QVERIFY(window->close());
    const QByteArray written = m_folder->read(QStringLiteral("data/config.ini"));
    QVERIFY2(written.contains("Left=33\r\n") && written.contains("Top=44\r\n")
                 && written.contains("Width=" + QByteArray::number(size.width()) + "\r\n"),
             written.constData());
}

void MainWindowTest::sortColumnMark_data()
{
    QTest::addColumn<QByteArray>("colNum");
    QTest::addColumn<int>("marked");
    QTest::newRow("none stored") << QByteArray() << 0;
    QTest::newRow("column 3") << QByteArray("3") << 3;
    QTest::newRow("column 7") << QByteArray("7") << 7;
    QTest::newRow("out of range") << QByteArray("9") << -1;
}

void MainWindowTest::sortColumnMark()
{
    QFETCH(QByteArray, colNum);
    QFETCH(int, marked);
    QByteArray config = "[Run]\r\nFirst=0\r\n";
    if (!colNum.isEmpty())
        config += "[Table]\r\nColNum=" + colNum + "\r\n";
    m_folder->write(QStringLiteral("data/config.ini"), config);
    m_folder->write(QStringLiteral("data/other.dat"), "[Enter]\r\nQuestionOnStart=0\r\n");
    auto window = start();
    for (int c = 0; c < kColumnCount; ++c)
        QCOMPARE(window->action(Commands::sortColumn(c))->isChecked(), c == marked);
}

void MainWindowTest::leavingTheLoginEndsTheProgram()
{
    m_desktop.expectDialog(cancelLogin());
    auto window = create();
    window->prepareToShow();
    QCoreApplication::processEvents();
    QVERIFY(m_desktop.terminateRequested());
    QVERIFY(!MainWindowAccess::startupTimer(*window).isActive());
    QCOMPARE(window->windowTitle(), QStringLiteral("Tablora 1.5")); // the start steps never ran
    QVERIFY(!QFile::exists(m_folder->filePath(QStringLiteral("data/config.ini"))));
}

void MainWindowTest::wrongPasswordKeepsTheDialogOpen()
{
    m_folder->write(QStringLiteral("data/other.dat"), "[Users]\r\nAdmin=Admin\r\nPassword=9107\r\n");
    m_folder->write(QStringLiteral("data/config.ini"), "[Run]\r\nFirst=0\r\n");
    m_desktop.expectDialog([this](QDialog &dialog) {
        auto *login = dialog.findChild<QLineEdit *>(QStringLiteral("loginEdit"));
        auto *password = dialog.findChild<QLineEdit *>(QStringLiteral("passwordEdit"));
        auto *enter = dialog.findChild<QPushButton *>(QStringLiteral("logInButton"));
        login->setText(QStringLiteral("Admin"));
        password->setText(QStringLiteral("0000"));
        m_desktop.expectMessage(Accounts::loginFailureMessage(), QStringLiteral("Ошибка"));
        enter->click();
        if (dialog.result() != 0 || login->text() != QStringLiteral("Admin")
            || password->text() != QStringLiteral("0000"))
            return -1;
        // The hint button beeps and explains.
        m_desktop.expectMessage(
            QStringLiteral("Введите логин и пароль для входа в программу. Подробности у администратора"),
            QStringLiteral("Подсказка"));
        dialog.findChild<QPushButton *>(QStringLiteral("hintButton"))->click();
        password->setText(QStringLiteral("9107"));
        dialog.show();
        QTest::keyClick(password, Qt::Key_Return); // Enter presses "Войти"
        return dialog.result();
    });
    auto window = start();
    QVERIFY(!m_desktop.terminateRequested());
    QCOMPARE(window->document().role(), QStringLiteral("admin"));
    QCOMPARE(m_desktop.logged(QStringLiteral("beep")).size(), 1);
    QVERIFY(m_desktop.log().contains(QStringLiteral("sleep 500")));
}

void MainWindowTest::userSwitch()
{
    m_folder->write(QStringLiteral("data/other.dat"),
                    "[Users]\r\nAdmin=Admin\r\nPassword=9107\r\nLogin1=petrov\r\nPassword1=p\r\nPrava1=moder\r\n");
    m_folder->write(QStringLiteral("data/config.ini"), "[Run]\r\nFirst=0\r\n[General]\r\nQuickStart=1\r\n");
    m_desktop.expectDialog(typeLogin(QStringLiteral("Admin"), QStringLiteral("9107")));
    auto window = start();
    appendTo(window->document().model(), record({"1"}));
    window->document().setModified(true);

    m_desktop.clearLog();
    QString statusShown;
    m_desktop.onCall = [&](const QString &call) {
        if (call == QLatin1String("process events"))
            statusShown = panels(*window)->text(StatusPanels::State);
    };
    m_desktop.expectQuestion(QStringLiteral("База данных \"Новая база данных\" была изменена. Сохранить изменения?"),
                             DesktopServices::Answer::No);
    m_desktop.expectDialog(typeLogin(QStringLiteral("petrov"), QStringLiteral("p")));
    window->action(Command::SwitchUser)->trigger();
    // The question comes while the previous user is still logged in.
    QCOMPARE(m_desktop.log().mid(2),
             QStringList({QStringLiteral("dialog"), QStringLiteral("sleep 500"), QStringLiteral("process events"),
                          QStringLiteral("sleep 200")}));
    QCOMPARE(statusShown, QStringLiteral("Смена пользователя завершена"));
    QCOMPARE(panels(*window)->text(StatusPanels::State), QStringLiteral("Вы вошли как: moder"));
    QCOMPARE(window->document().role(), QStringLiteral("moder"));
    QVERIFY(window->document().isModified()); // the database is untouched
}

void MainWindowTest::switchWithModifiedTable_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("saveDialog");
    QTest::newRow("cancel") << int(DesktopServices::Answer::Cancel) << false;
    QTest::newRow("yes, save dialog cancelled") << int(DesktopServices::Answer::Yes) << true;
    QTest::newRow("no, login left") << int(DesktopServices::Answer::No) << false;
}

void MainWindowTest::switchWithModifiedTable()
{
    QFETCH(int, answer);
    QFETCH(bool, saveDialog);
    auto window = startWithoutLogin();
    window->document().setModified(true);
    const QByteArray before = m_folder->read(QStringLiteral("data/config.ini"));
    m_desktop.expectQuestion(QStringLiteral("База данных \"Новая база данных\" была изменена. Сохранить изменения?"),
                             DesktopServices::Answer(answer));
    if (saveDialog)
        m_desktop.expectSaveFileCancelled();
    const bool loginShown = DesktopServices::Answer(answer) == DesktopServices::Answer::No;
    if (loginShown)
        m_desktop.expectDialog(cancelLogin());
    window->action(Command::SwitchUser)->trigger();
    // Leaving the login still ends the program; anything else leaves it as it was.
    QCOMPARE(m_desktop.terminateRequested(), loginShown);
    QVERIFY(window->document().isModified());
    QCOMPARE(window->document().role(), QStringLiteral("admin"));
    QCOMPARE(m_folder->read(QStringLiteral("data/config.ini")), before); // no closing steps
}

void MainWindowTest::refreshFollowsTheTable()
{
    m_folder->write(QStringLiteral("data/other.dat"), "[Enter]\r\nQuestionOnStart=0\r\n");
    m_folder->write(QStringLiteral("data/config.ini"), "[Run]\r\nFirst=0\r\n");
    auto window = start();
    TableModel &model = window->document().model();
    for (int i = 0; i < 12; ++i)
        appendTo(model, record({"n"}));
    tick(*window);
    QCOMPARE(panels(*window)->text(StatusPanels::RecordCount), QStringLiteral("Всего записей: 12"));
    model.takeRecord(3);
    tick(*window);
    QCOMPARE(panels(*window)->text(StatusPanels::RecordCount), QStringLiteral("Всего записей: 11"));
    model.setTitle(0, QStringLiteral("Код"));
    model.setTitle(2, QStringLiteral("R&D"));
    tick(*window);
    QCOMPARE(window->action(Command::SortColumn0)->text(), QStringLiteral("Код"));
    QCOMPARE(window->action(Command::SortColumn2)->text(), QStringLiteral("R&&D")); // shown as "R&D", no access key
    model.discard(model.takeRecords());
    tick(*window);
    QCOMPARE(panels(*window)->text(StatusPanels::RecordCount), QStringLiteral("Всего записей: 0"));
}

void MainWindowTest::commandLineDatabase()
{
    m_folder->write(QStringLiteral("data/other.dat"), "[Enter]\r\nQuestionOnStart=0\r\n");
    m_folder->write(QStringLiteral("data/config.ini"), "[Run]\r\nFirst=0\r\n");
    TableData t;
    t.setTitle(1, QStringLiteral("Товар"));
    t.appendRecord(record({"1", "Чай"}));
    t.appendRecord(record({"2", "Кофе"}));
    const QString p = m_folder->filePath(QStringLiteral("Склад.db"));
    DatabaseCodec::writeTableFile(p, t);

    auto window = start({p});
    QCOMPARE(window->document().model().recordCount(), 2);
    QCOMPARE(window->windowTitle(), QStringLiteral("Tablora 1.5 [Склад.db]"));
    QCOMPARE(window->document().fileName(), p);
    QVERIFY(!window->document().isModified());
    QVERIFY(!m_folder->read(QStringLiteral("data/config.ini")).contains("Enabled1"));
}

void MainWindowTest::recentMenuIsDisabledWhileEmpty()
{
    const QString p = m_folder->filePath(QStringLiteral("a.db"));
    DatabaseCodec::writeTableFile(p, TableData());
    auto window = startWithoutLogin();
    QMenu *recent = nullptr;
    for (QMenu *menu : window->menuBar()->findChildren<QMenu *>())
        if (menu->title() == QStringLiteral("Недавние"))
            recent = menu;
    QVERIFY(recent);
    QVERIFY(!recent->menuAction()->isEnabled());
    m_desktop.expectOpenFile(p);
    window->action(Command::OpenDatabase)->trigger();
    QVERIFY(recent->menuAction()->isEnabled());
}

void MainWindowTest::commandLineFailure()
{
    m_folder->write(QStringLiteral("data/other.dat"), "[Enter]\r\nQuestionOnStart=0\r\n");
    const QString missing = m_folder->filePath(QStringLiteral("нет.db"));
    m_desktop.expectMessage(QStringLiteral("Не возможно открыть файл ") + missing
                            + QStringLiteral("! Файл повреждён или имеет формат, не поддерживающийся программой"));
    auto window = start({missing});
    QCOMPARE(window->document().fileName(), QStringLiteral("Новая база данных"));
    QCOMPARE(window->document().model().recordCount(), 0);
    QVERIFY(!window->document().isModified());
    QCOMPARE(m_desktop.logged(QStringLiteral("open ")).size(), 1); // the help still opens on the first run
}

void MainWindowTest::closeAnswers_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("cancel") << int(DesktopServices::Answer::Cancel);
    QTest::newRow("no") << int(DesktopServices::Answer::No);
    QTest::newRow("yes") << int(DesktopServices::Answer::Yes);
}

void MainWindowTest::closeAnswers()
{
    QFETCH(int, answer);
    m_folder->write(QStringLiteral("data/other.dat"), "[Enter]\r\nQuestionOnStart=0\r\n");
    m_folder->write(QStringLiteral("data/config.ini"), "[Run]\r\nFirst=0\r\n");
    auto window = start();
    const QString p = m_folder->filePath(QStringLiteral("current.db"));
    window->document().setFileName(p);
    appendTo(window->document().model(), record({"1"}));
    window->document().setModified(true);
    const QByteArray before = m_folder->read(QStringLiteral("data/config.ini"));

    m_desktop.clearLog();
    m_desktop.expectQuestion(QStringLiteral("База данных \"current.db\" была изменена. Сохранить изменения?"),
                             DesktopServices::Answer(answer), QStringLiteral("Предупреждение"));
    const bool closed = window->close();
    if (DesktopServices::Answer(answer) == DesktopServices::Answer::Cancel) {
        QVERIFY(!closed);
        QCOMPARE(m_folder->read(QStringLiteral("data/config.ini")), before);
        QVERIFY(!m_desktop.log().contains(QStringLiteral("sleep 200")));
        return;
    }
    QVERIFY(closed);
    QCOMPARE(window->noticePanel()->text(), QStringLiteral("Завершение работы..."));
    QVERIFY(m_desktop.log().contains(QStringLiteral("sleep 200")));
    QCOMPARE(QFile::exists(p), DesktopServices::Answer(answer) == DesktopServices::Answer::Yes);
    const QByteArray written = m_folder->read(QStringLiteral("data/config.ini"));
    QVERIFY2(written.contains("[Table]\r\nCount=1\r\n"), written.constData());
    const qsizetype top = written.indexOf("Top="), left = written.indexOf("Left="), height = written.indexOf("Height="),
                    width = written.indexOf("Width=");
    QVERIFY(top > 0 && top < left && left < height && height < width);
}

void MainWindowTest::closeWhenSaveDoesNotHappen_data()
{
    QTest::addColumn<bool>("refused"); // else the save dialog of an untitled table is cancelled
    QTest::newRow("right refused") << true;
    QTest::newRow("save dialog cancelled") << false;
}

void MainWindowTest::closeWhenSaveDoesNotHappen()
{
    QFETCH(bool, refused);
    auto window = startWithoutLogin();
    if (refused) {
        window->document().setRole(QStringLiteral("guest"));
        window->document().setFileName(m_folder->filePath(QStringLiteral("x.db")));
    }
    window->document().setModified(true);
    const QByteArray before = m_folder->read(QStringLiteral("data/config.ini"));
    m_desktop.expectQuestion(QStringLiteral("База данных \"%1\" была изменена. Сохранить изменения?")
                                 .arg(refused ? QStringLiteral("x.db") : QStringLiteral("Новая база данных")),
                             DesktopServices::Answer::Yes);
    if (refused)
        m_desktop.expectMessage(Accounts::refusalMessage());
    else
        m_desktop.expectSaveFileCancelled();
    QVERIFY(!window->close());
    QVERIFY(window->document().isModified());
    QCOMPARE(m_folder->read(QStringLiteral("data/config.ini")), before);
}

void MainWindowTest::shutdownPanelIsPaintedBeforeThePause()
{
    auto window = startWithoutLogin();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QImage shown;
    m_desktop.onCall = [&](const QString &call) {
        if (call.startsWith(QLatin1String("sleep")))
            shown = window->screen()->grabWindow(window->winId()).toImage();
    };
    QVERIFY(window->close());
    const QRect panel(window->noticePanel()->mapTo(window.get(), QPoint()), window->noticePanel()->size());
    QVERIFY(shown.rect().contains(panel));
    int dark = 0;
    for (int y = panel.top(); y <= panel.bottom(); ++y)
        for (int x = panel.left(); x <= panel.right(); ++x)
            dark += qGray(shown.pixel(x, y)) < 128;
    QVERIFY2(dark > 50, qPrintable(QString::number(dark))); // the text "Завершение работы..."
}

void MainWindowTest::closeWithReadOnlySettings()
{
    m_folder->write(QStringLiteral("data/other.dat"), "[Enter]\r\nQuestionOnStart=0\r\n");
    m_folder->write(QStringLiteral("data/config.ini"), "[Run]\r\nFirst=0\r\n");
    auto window = start();
    // config.ini replaced by a folder: every write to it fails, even as root.
    QFile::remove(m_folder->filePath(QStringLiteral("data/config.ini")));
    m_folder->makeFolder(QStringLiteral("data/config.ini"));
    m_desktop.expectMessage(QStringLiteral("Unable to write to ")
                            + QDir::toNativeSeparators(m_folder->filePath(QStringLiteral("data/config.ini")))
                            + QStringLiteral(". Is a directory."));
    QVERIFY(window->close()); // reported, and the program still ends
}

void MainWindowTest::closingTheWindowEndsTheProgram()
{
    auto window = startWithoutLogin();
    window->show();
    // The close runs in the program's event loop. When it does not end the
    // loop, the call queued after it does, with another code; the call dies
    // with its receiver, so it cannot reach a later test.
    QObject otherwise;
    QTimer::singleShot(0, window.get(), [&] {
        window->close();
        QMetaObject::invokeMethod(
            &otherwise, [] { QCoreApplication::exit(1); }, Qt::QueuedConnection);
    });
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(!window->isVisible());
}

void MainWindowTest::favouriteCells()
{
    m_folder->write(QStringLiteral("db/favourite/favourite.ini"),
                    Windows1251::encode(u"[Item3]\r\nEnabled=1\r\nName=Склад\r\n[Item4]\r\nEnabled=0\r\nName=Архив\r\n"
                                        u"[Item5]\r\nEnabled=1\r\nName=\r\n[Item6]\r\nEnabled=yes\r\n"));
    auto window = create();
    auto open = [&](int cell) { return window->action(Commands::favouriteOpen(cell)); };
    auto remove = [&](int cell) { return window->action(Commands::favouriteDelete(cell)); };
    QVERIFY(open(3)->isVisible() && remove(3)->isVisible());
    QCOMPARE(open(3)->text(), QStringLiteral("Склад"));
    QCOMPARE(remove(3)->text(), QStringLiteral("Склад"));
    QVERIFY(!open(4)->isVisible() && !remove(4)->isVisible());
    QCOMPARE(open(4)->text(), QStringLiteral("Архив"));
    QVERIFY(open(5)->isVisible());
    QCOMPARE(open(5)->text(), QString());
    QVERIFY(!open(6)->isVisible()); // not an integer: false
    QCOMPARE(open(1)->text(), QStringLiteral("Без имени"));
    QCOMPARE(remove(10)->text(), QStringLiteral("Без имени"));
    QVERIFY(!open(10)->isVisible());
}

void MainWindowTest::refusedCommandIsLoggedAndShown()
{
    m_folder->write(QStringLiteral("data/other.dat"), "[Users]\r\nLogin1=g\r\nPassword1=g\r\nPrava1=guest\r\n");
    m_folder->write(QStringLiteral("data/config.ini"), "[Run]\r\nFirst=0\r\n");
    m_desktop.expectDialog(typeLogin(QStringLiteral("g"), QStringLiteral("g")));
    auto window = start();
    m_desktop.expectMessage(Accounts::refusalMessage(), QStringLiteral("Tablora 1.5 [Новая база данных]"));
    window->action(Command::Save)->trigger();
    const QByteArray log = m_folder->read(QStringLiteral("errors.log"));
    QVERIFY(log.endsWith(Windows1251::encode(QStringLiteral("|Error:") + Accounts::refusalMessage()) + "\r\n"));
    QCOMPARE(log.count("\r\n"), 1);

    // A cancelled question ends the command quietly: nothing is logged.
    window->document().setModified(true);
    m_desktop.expectQuestion(QStringLiteral("База данных \"Новая база данных\" была изменена. Сохранить изменения?"),
                             DesktopServices::Answer::Cancel);
    window->action(Command::NewDatabase)->trigger();
    QCOMPARE(m_folder->read(QStringLiteral("errors.log")).count("\r\n"), 1);
}

void MainWindowTest::runningOutOfMemoryIsLoggedAndShown_data()
{
    QTest::addColumn<Command>("action");
    QTest::newRow("a load, whose other failures have a message of their own") << Command::OpenDatabase;
    QTest::newRow("a save") << Command::Save;
}

void MainWindowTest::runningOutOfMemoryIsLoggedAndShown()
{
    QFETCH(Command, action);
    auto window = startWithoutLogin();
    const QString path = writeDatabase(QStringLiteral("base.db"));
    window->document().setFileName(path);
    if (action == Command::OpenDatabase)
        m_desktop.expectOpenFile(path);
    // Memory runs out as the command sets to work on the file.
    m_desktop.onCall = [](const QString &call) {
        if (call == QLatin1String("busy on") || call.startsWith(QLatin1String("work ")))
            throw std::bad_alloc();
    };
    const QString message = QStringLiteral("Недостаточно памяти для выполнения операции");
    m_desktop.expectMessage(message + QLatin1Char('.'));
    window->action(action)->trigger();
    m_desktop.onCall = nullptr;
    QVERIFY(m_folder->read(QStringLiteral("errors.log"))
                .endsWith(Windows1251::encode(QStringLiteral("|Error:") + message) + "\r\n"));
}

void MainWindowTest::sortCommandsPersistTheirChoice()
{
    m_folder->write(QStringLiteral("data/other.dat"), "[Enter]\r\nQuestionOnStart=0\r\n");
    m_folder->write(QStringLiteral("data/config.ini"), "[Run]\r\nFirst=0\r\n");
    auto window = start();
    TableModel &model = window->document().model();
    for (const char *c : {"b", "a", "c"})
        appendTo(model, record({"", "", "", c}));

    window->action(Command::SortDescending)->trigger(); // descending, by the stored column 0
    window->action(Command::SortColumn3)->trigger(); // column 3
    QStringList order;
    for (int r = 0; r < 3; ++r)
        order << model.table().cell(r, 3).toString();
    QCOMPARE(order, QStringList({"c", "b", "a"}));
    QVERIFY(window->action(Command::SortColumn3)->isChecked());
    QVERIFY(!window->action(Command::SortColumn0)->isChecked());
    QVERIFY(!window->document().isModified());
    const QByteArray config = m_folder->read(QStringLiteral("data/config.ini"));
    QVERIFY(config.contains("Sort=-1\r\n") && config.contains("ColNum=3\r\n"));

    // The choice outlives the window.
    window.reset();
    auto again = start();
    QVERIFY(again->action(Command::SortColumn3)->isChecked());
}

void MainWindowTest::shortcutsDoNotReachModelessDialogs()
{
    m_folder->write(QStringLiteral("data/other.dat"), "[Enter]\r\nQuestionOnStart=0\r\n");
    m_folder->write(QStringLiteral("data/config.ini"), "[Run]\r\nFirst=0\r\n");
    auto window = start();
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    int deletes = 0;
    connect(window->action(Command::DeleteRecord), &QAction::triggered, this, [&] { ++deletes; });

    m_desktop.expectMessage(QStringLiteral("Выберите запись")); // nothing is selected
    QTest::keyClick(window->recordList(), Qt::Key_Delete);
    QCOMPARE(deletes, 1); // in the main window Del runs "Удалить"

    QDialog dialog(window.get());
    auto *edit = new QLineEdit(QStringLiteral("abc"), &dialog);
    (new QVBoxLayout(&dialog))->addWidget(edit);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    edit->setFocus();
    edit->setCursorPosition(0);
    QTest::keyClick(edit, Qt::Key_Delete);
    QCOMPARE(edit->text(), QStringLiteral("bc"));
    QCOMPARE(deletes, 1);
}

void MainWindowTest::onlyTheTableHasAPopupMenu()
{
    auto window = startWithoutLogin();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    for (QWidget *clicked : {static_cast<QWidget *>(window->menuBar()), window->findChild<QWidget *>("toolBar")}) {
        const QPoint at(clicked->width() - 5, clicked->height() / 2);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, clicked->mapToGlobal(at));
        QApplication::sendEvent(clicked, &event);
        QWidget *popup = QApplication::activePopupWidget();
        if (popup)
            popup->close();
        QVERIFY2(!popup, qPrintable(clicked->objectName()));
    }
    const QPoint onRow(20, 20);
    QContextMenuEvent onTable(QContextMenuEvent::Mouse, onRow, window->recordList()->viewport()->mapToGlobal(onRow));
    QApplication::sendEvent(window->recordList()->viewport(), &onTable);
    QCOMPARE(QApplication::activePopupWidget(), window->popupMenu());
    window->popupMenu()->close();
}

// The one test that shows a real message box; a timer reads and closes it.
void MainWindowTest::messageBoxIsCentredOnTheActiveDialog()
{
    QWidget mainWindow; // not shown yet, as during the login at start
    mainWindow.setGeometry(0, 0, 300, 200);
    QtDesktopServices desktop;
    desktop.setDialogParent(&mainWindow);
    QDialog login;
    login.setGeometry(370, 350, 265, 96);
    login.setModal(true);
    login.show();
    QVERIFY(QTest::qWaitForWindowExposed(&login));

    QRect box;
    QTimer closer;
    connect(&closer, &QTimer::timeout, this, [&] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (qobject_cast<QMessageBox *>(w) && w->isVisible()) {
                box = w->frameGeometry();
                w->close();
            }
        }
    });
    closer.start(0);
    desktop.showMessage(QStringLiteral("Ошибка"), QStringLiteral("Вы ввели не верный логин/пароль."),
                        DesktopServices::Icon::Information);
    QVERIFY(!box.isNull());
    QVERIFY2((box.center() - login.frameGeometry().center()).manhattanLength() < 20,
             qPrintable(QStringLiteral("box centre %1,%2").arg(box.center().x()).arg(box.center().y())));
}

void MainWindowTest::splashTitleStandsClearOfThePicture()
{
    SplashWindow splash;
    auto *title = splash.findChild<QLabel *>(QStringLiteral("titleLabel"));
    QCOMPARE(title->text(), QStringLiteral("СУБД версия 1.5"));
    const QRect place = title->geometry();
    QVERIFY(QRect(0, 0, 320, 239).contains(place));
    title->hide();
    const QImage picture = splash.grab().toImage();
    for (int y = place.top(); y <= place.bottom(); ++y)
        for (int x = place.left(); x <= place.right(); ++x)
            QVERIFY2(picture.pixel(x, y) == qRgb(255, 255, 255), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
}

void MainWindowTest::draggedWidthObeysTheColumnLimits()
{
    m_folder->write(QStringLiteral("data/other.dat"), "[Enter]\r\nQuestionOnStart=0\r\n");
    m_folder->write(QStringLiteral("data/config.ini"), "[Run]\r\nFirst=0\r\n");
    auto window = start();
    QHeaderView *header = window->recordList()->horizontalHeader();
    header->resizeSection(2, 2);
    QCOMPARE(header->sectionSize(2), 5);
    QCOMPARE(window->document().model().table().width(2), 5);
    header->resizeSection(2, 240);
    QCOMPARE(window->document().model().table().width(2), 240);
    header->resizeSection(0, 80);
    QCOMPARE(header->sectionSize(0), 30);
    QVERIFY(!window->document().isModified()); // widths are not a change of the data
}

// The user clears a database by mistake and takes it back: every record
// returns and nothing is left to save. Opening a file starts a fresh history.
void MainWindowTest::clearByMistakeThenUndo()
{
    TableData t;
    t.setTitle(1, QStringLiteral("Товар"));
    for (const char *n : {"1", "2", "3"})
        t.appendRecord(record({n, "Чай"}));
    const QString p = m_folder->filePath(QStringLiteral("Склад.db"));
    DatabaseCodec::writeTableFile(p, t);
    auto window = startWithoutLogin();
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    m_desktop.expectOpenFile(p);
    window->action(Command::OpenDatabase)->trigger();
    QAction *undo = window->action(Command::Undo);
    QAction *redo = window->action(Command::Redo);
    QVERIFY(!undo->isEnabled() && !redo->isEnabled());

    m_desktop.expectQuestion(RecordCommands::clearQuestion(), DesktopServices::Answer::Yes);
    window->action(Command::ClearAll)->trigger();
    QCOMPARE(window->document().model().recordCount(), 0);
    QVERIFY(window->document().isModified());
    QVERIFY(undo->isEnabled());
    QCOMPARE(undo->text(), QStringLiteral("Отменить очистку базы"));

    QTest::keyClick(window->recordList(), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(window->document().model().table() == t);
    QVERIFY(!window->document().isModified());
    QCOMPARE(undo->text(), QStringLiteral("Отменить"));
    QVERIFY(!undo->isEnabled());
    QCOMPARE(redo->text(), QStringLiteral("Повторить очистку базы"));
    QTest::keyClick(window->recordList(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(window->document().model().recordCount(), 0);
    QTest::keyClick(window->recordList(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(window->document().model().recordCount(), 3);

    m_desktop.expectOpenFile(p);
    window->action(Command::OpenDatabase)->trigger();
    QVERIFY(!undo->isEnabled() && !redo->isEnabled());
    QCOMPARE(redo->text(), QStringLiteral("Повторить"));
    QVERIFY(window->close()); // no question: nothing to save
}

// After a save that wrote "?" for characters the file cannot hold, the
// window's table holds the same text, as one change that can be taken back.
void MainWindowTest::saveShowsWhatTheFileHolds()
{
    auto window = startWithoutLogin();
    const QString p = m_folder->filePath(QStringLiteral("Склад.db"));
    window->document().setFileName(p);
    TableModel &model = window->document().model();
    model.setTitle(1, QStringLiteral("Товар ✓"));
    appendTo(model, record({"1", "Чай"}));
    appendTo(model, record({"2", "pässword 😀", "😀😀"}));
    window->document().setModified(true);
    const TableData typed = model.table();

    m_desktop.expectQuestion(QStringLiteral("В заголовке столбца «Товар ✓» есть символы, которые нельзя сохранить в "
                                            "файле базы данных. Сохранить, заменив их знаком \"?\"?"),
                             DesktopServices::Answer::Yes);
    window->action(Command::Save)->trigger();
    const TableData saved = DatabaseCodec::readBaseFile(p);
    QCOMPARE(saved.title(1), QStringLiteral("Товар ?"));
    QCOMPARE(saved.cell(1, 1), QStringLiteral("p?ssword ?"));
    QCOMPARE(saved.cell(1, 2), QStringLiteral("??"));
    QVERIFY(model.table() == saved);
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Товар ?"));
    QVERIFY(!window->document().isModified());

    QAction *undo = window->action(Command::Undo);
    QCOMPARE(undo->text(), QStringLiteral("Отменить замену символов знаком \"?\""));
    undo->trigger();
    QVERIFY(model.table() == typed);
    QVERIFY(window->document().isModified()); // the window differs from the file again
    window->action(Command::Redo)->trigger();
    QVERIFY(model.table() == saved);
    QVERIFY(!window->document().isModified());
    QVERIFY(window->close()); // no question: the window and the file agree
}

void MainWindowTest::findFromTheBar()
{
    auto window = startWithoutLogin();
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    TableModel &model = window->document().model();
    for (const char *name : {"Иванов", "Петров", "Иванова", "Сидоров"})
        appendTo(model, record({"", "", name}));
    model.setTitle(2, QStringLiteral("Фамилия"));
    FindBar *bar = window->findBar();
    QVERIFY(bar->isHidden());

    QTest::keyClick(window->recordList(), Qt::Key_F3); // no text yet: the bar opens
    QVERIFY(bar->isVisible());
    auto *text = bar->findChild<QLineEdit *>(QStringLiteral("findText"));
    QVERIFY(text->hasFocus());
    QCOMPARE(bar->findChild<QComboBox *>(QStringLiteral("columnCombo"))->itemText(2), QStringLiteral("Фамилия"));

    text->setText(QStringLiteral("иванов")); // typed
    QTest::keyClick(text, Qt::Key_Return);
    QCOMPARE(window->recordList()->selectedRow(), 0);
    QTest::keyClick(text, Qt::Key_F3);
    QCOMPARE(window->recordList()->selectedRow(), 2);
    QCOMPARE(panels(*window)->note(), QString());
    QTest::keyClick(text, Qt::Key_Return);
    QCOMPARE(window->recordList()->selectedRow(), 0);
    QCOMPARE(panels(*window)->note(), QStringLiteral("Поиск продолжен с начала"));
    QTest::keyClick(text, Qt::Key_F3, Qt::ShiftModifier);
    QCOMPARE(window->recordList()->selectedRow(), 2);
    QCOMPARE(panels(*window)->note(), QStringLiteral("Поиск продолжен с конца"));

    bar->findChild<QCheckBox *>(QStringLiteral("matchCaseCheck"))->setChecked(true);
    QTest::keyClick(text, Qt::Key_Return);
    QCOMPARE(panels(*window)->note(), QStringLiteral("Текст «иванов» не найден"));
    QCOMPARE(window->recordList()->selectedRow(), 2); // the selection stays
    QVERIFY(m_desktop.logged(QStringLiteral("beep")).isEmpty());

    QTest::keyClick(text, Qt::Key_Escape);
    QVERIFY(bar->isHidden());
    QVERIFY(window->recordList()->hasFocus());
    window->action(Command::Find)->trigger(); // back with the last text ready to be typed over
    QVERIFY(bar->isVisible() && text->hasFocus());
    QCOMPARE(text->selectedText(), QStringLiteral("иванов"));
}

std::unique_ptr<MainWindow> MainWindowTest::startShownWith(int records)
{
    auto window = startWithoutLogin();
    for (int row = 0; row < records; ++row)
        appendTo(window->document().model(), Record(Record::Cells{QString(), QString::number(row)}));
    window->show();
    if (!QTest::qWaitForWindowActive(window.get()))
        return nullptr;
    window->recordList()->setFocus();
    return window;
}

// A note of the find stands beside the record count, the file name and the
// state; none of the three is hidden while it shows.
void MainWindowTest::findNotesLeaveThePanelsShown()
{
    auto window = startShownWith(3);
    QVERIFY(window);
    window->findBar()->open();
    auto *text = window->findBar()->findChild<QLineEdit *>(QStringLiteral("findText"));
    text->setText(QStringLiteral("2"));
    QTest::keyClick(text, Qt::Key_Return);
    QCOMPARE(window->recordList()->selectedRow(), 2);
    for (const char *typed : {"1", "Петров"}) { // wrapped round, then nothing found
        text->setText(QString::fromUtf8(typed));
        QTest::keyClick(text, Qt::Key_Return);
        QVERIFY(!panels(*window)->note().isEmpty());
        for (const char *panel : {"recordCountPanel", "fileNamePanel", "statePanel", "notePanel"})
            QVERIFY2(panels(*window)->findChild<QLabel *>(QLatin1String(panel))->isVisible(), panel);
    }
    QCOMPARE(panels(*window)->text(StatusPanels::State), QStringLiteral("Вы вошли как: admin"));
    QCOMPARE(panels(*window)->findChild<QLabel *>(QStringLiteral("notePanel"))->textFormat(), Qt::PlainText);
}

// "Петров" copied from another program brings its line break along; the find
// box keeps one line, and the name is found.
void MainWindowTest::pastedLineBreakIsFound()
{
    auto window = startShownWith(0);
    QVERIFY(window);
    for (const char *name : {"Иванов", "Петров", "Сидоров"})
        appendTo(window->document().model(), record({"", name}));
    window->findBar()->open();
    auto *text = window->findBar()->findChild<QLineEdit *>(QStringLiteral("findText"));
    text->insert(QStringLiteral("Петров\r\n")); // as pasting does
    QCOMPARE(text->text(), QStringLiteral("Петров"));
    QTest::keyClick(text, Qt::Key_Return);
    QCOMPARE(window->recordList()->selectedRow(), 1);
    text->clear();
    text->insert(QStringLiteral("\nИван\r\nов\n"));
    QCOMPARE(text->text(), QStringLiteral("Иван ов")); // inner breaks become spaces, as in the record boxes
}

void MainWindowTest::homeAndEndGoToTheFirstAndLastRecord()
{
    auto window = startShownWith(300);
    QVERIFY(window);
    RecordListView *list = window->recordList();
    list->selectionModel()->setCurrentIndex(window->document().model().index(150, 3),
                                            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    const auto shown = [list](int row) {
        return list->viewport()->rect().intersects(list->visualRect(list->model()->index(row, 0)));
    };
    QTest::keyClick(list, Qt::Key_End);
    QCOMPARE(list->selectedRow(), 299);
    QVERIFY(shown(299));
    QTest::keyClick(list, Qt::Key_Home);
    QCOMPARE(list->selectedRow(), 0);
    QVERIFY(shown(0));
    QTest::keyClick(list, Qt::Key_End, Qt::ControlModifier); // the keys of before still work
    QCOMPARE(list->selectedRow(), 299);
}

// Shift+F10 and the Menu key open the table's pop-up at the selected record,
// as a right-click opens it where the mouse is.
void MainWindowTest::popupFromTheKeyboardOpensAtTheRecord()
{
    auto window = startShownWith(20);
    QVERIFY(window);
    RecordListView *list = window->recordList();
    list->selectionModel()->setCurrentIndex(window->document().model().index(3, 0),
                                            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    const QRect selected = list->visualRect(window->document().model().index(3, 0));
    const QPoint expected = list->viewport()->mapToGlobal(list->keyboardMenuPoint());
    QCOMPARE(list->keyboardMenuPoint().y(), selected.bottom());

    QTest::keyClick(list, Qt::Key_F10, Qt::ShiftModifier);
    QCOMPARE(QApplication::activePopupWidget(), window->popupMenu());
    QCOMPARE(window->popupMenu()->pos(), expected);
    window->popupMenu()->close();

    QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(1, 1), list->mapToGlobal(QPoint(1, 1)));
    QApplication::sendEvent(list, &menuKey);
    QCOMPARE(QApplication::activePopupWidget(), window->popupMenu());
    QCOMPARE(window->popupMenu()->pos(), expected);
    window->popupMenu()->close();

    list->selectionModel()->clearSelection();
    QCOMPARE(list->keyboardMenuPoint(), QPoint(0, 0));
}

void MainWindowTest::enterOrDoubleClickOpensTheRecord_data()
{
    QTest::addColumn<QString>("role");
    QTest::addColumn<bool>("editRight");
    QTest::addColumn<bool>("doubleClick");
    QTest::addColumn<QString>("opened"); // the dialog's caption
    const QString edit = QStringLiteral("Tablora 1.5 [Изменить запись]");
    const QString view = QStringLiteral("Tablora 1.5 [Просмотр записи]");
    for (const bool doubleClick : {false, true}) {
        const QByteArray how = doubleClick ? "double-click, " : "Enter, ";
        QTest::newRow(how + "admin") << "admin" << false << doubleClick << edit;
        QTest::newRow(how + "guest who may edit") << "guest" << true << doubleClick << edit;
        // Nobody gets a refusal for opening a record: it is shown instead.
        QTest::newRow(how + "guest who may not") << "guest" << false << doubleClick << view;
    }
}

void MainWindowTest::enterOrDoubleClickOpensTheRecord()
{
    QFETCH(QString, role);
    QFETCH(bool, editRight);
    QFETCH(bool, doubleClick);
    QFETCH(QString, opened);
    auto window = startShownWith(5);
    QVERIFY(window);
    m_folder->write(QStringLiteral("data/other.dat"),
                    QByteArray("[Enter]\r\nQuestionOnStart=0\r\n[Prava]\r\nEditBase=") + (editRight ? "1" : "0"));
    window->document().setRole(role);
    RecordListView *list = window->recordList();
    const QModelIndex third = window->document().model().index(2, 1);
    const auto open = [&] {
        if (doubleClick)
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(third).center());
        else
            QTest::keyClick(list, Qt::Key_Return);
    };

    if (!doubleClick) { // Enter with nothing selected: the command's own test
        m_desktop.clearLog();
        m_desktop.expectMessage(RecordCommands::selectRecordMessage());
        open();
        QCOMPARE(m_desktop.logged(QStringLiteral("beep")).size(), 1);
        list->selectionModel()->setCurrentIndex(third, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    QString caption;
    QString number;
    if (opened.contains(QStringLiteral("Просмотр"))) {
        m_desktop.expectDialog([&](QDialog &dialog) {
            caption = dialog.windowTitle();
            number = dialog.findChild<QLineEdit *>(QStringLiteral("columnEdit1"))->text();
            return int(QDialog::Accepted);
        });
        open();
    } else {
        open();
        auto *dialog = window->findChild<QDialog *>(QStringLiteral("EditRecordDialog"));
        QVERIFY(dialog && dialog->isVisible());
        caption = dialog->windowTitle();
        number = dialog->findChild<QLineEdit *>(QStringLiteral("columnEdit1"))->text();
        dialog->close();
    }
    QCOMPARE(caption, opened);
    QCOMPARE(number, QStringLiteral("2"));
    QCOMPARE(list->selectedRow(), 2);
    QVERIFY(m_desktop.logged(QStringLiteral("message")).size() == (doubleClick ? 0 : 1));

    if (doubleClick) { // below the last record: nothing to open
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, QPoint(5, list->viewport()->height() - 3));
        for (const QDialog *dialog : window->findChildren<QDialog *>())
            QVERIFY(!dialog->isVisible());
    }
}

// A record added or pasted is selected and scrolled to; taking the paste back
// leaves a record chosen since as it was.
void MainWindowTest::recordPutInIsSelectedAndShown()
{
    auto window = startShownWith(300);
    QVERIFY(window);
    RecordListView *list = window->recordList();
    const auto shown = [list](int row) {
        return list->viewport()->rect().intersects(list->visualRect(list->model()->index(row, 0)));
    };
    const auto choose = [&](int row) {
        list->selectionModel()->setCurrentIndex(list->model()->index(row, 0),
                                                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    };
    choose(2);
    m_desktop.clipboard = ClipboardRecord::text(record({"301", "Новикова"}));
    window->action(Command::PasteRecord)->trigger();
    QCOMPARE(list->selectedRow(), 300);
    QVERIFY(shown(300));
    QVERIFY(!shown(2));

    choose(2);
    window->action(Command::Undo)->trigger();
    QCOMPARE(window->document().model().recordCount(), 300);
    QCOMPARE(list->selectedRow(), 2);
    QVERIFY(shown(2));
    window->action(Command::Redo)->trigger();
    QCOMPARE(list->selectedRow(), 300);
    window->action(Command::Undo)->trigger(); // the pasted record was the chosen one: nothing is chosen now,
    QCOMPARE(list->selectedRow(), -1); // rather than its neighbour

    choose(5);
    window->action(Command::AddRecord)->trigger();
    auto *add = window->findChild<QDialog *>(QStringLiteral("AddRecordDialog"));
    QVERIFY(add);
    add->findChild<QLineEdit *>(QStringLiteral("columnEdit0"))->setText(QStringLiteral("302"));
    add->findChild<QPushButton *>(QStringLiteral("confirmButton"))->click();
    QCOMPARE(list->selectedRow(), 300);
    QCOMPARE(window->document().model().table().cell(300, 0), QStringLiteral("302"));
    QVERIFY(shown(300));
}

// A file name, a Role read from a file, a text to find: the panels show them
// as they are, never as markup.
void MainWindowTest::panelsShowNamesAsText()
{
    auto window = startWithoutLogin();
    const QString name = QStringLiteral("<font size=7>Склад.db");
    window->document().setFileName(m_folder->filePath(name));
    window->updateTitle();
    QCOMPARE(panels(*window)->text(StatusPanels::FileName), QStringLiteral("Имя: ") + name);
    for (const char *panel : {"recordCountPanel", "fileNamePanel", "statePanel"})
        QCOMPARE(panels(*window)->findChild<QLabel *>(QLatin1String(panel))->textFormat(), Qt::PlainText);
}

// --- every action through the real window, by its name ---

void MainWindowTest::prepareActionWindow()
{
    m_folder->write(QStringLiteral("data/other.dat"), "[Enter]\r\nQuestionOnStart=0\r\n");
    QString config = QStringLiteral("[Run]\r\nFirst=0\r\n[General]\r\nQuickStart=1\r\n[Reopen]\r\n");
    for (int k = 1; k <= kRecentFileCount; ++k) {
        const QString recent = writeDatabase(QStringLiteral("recent%1.db").arg(k));
        config += QStringLiteral("Enabled%1=1\r\nFile%1=%2\r\n").arg(k).arg(recent);
    }
    m_folder->write(QStringLiteral("data/config.ini"), Windows1251::encode(config));
    m_folder->makeFolder(QStringLiteral("Примеры"));
    for (const FileCommands::Example e :
         {FileCommands::Example::Programs, FileCommands::Example::Profile, FileCommands::Example::School})
        writeDatabase(FileCommands::exampleFile(e));

    m_window = start();
    m_closes = 0;
    connect(m_window.get(), &MainWindow::closed, this, [this] { ++m_closes; });
    m_window->document().setFileName(m_folder->filePath(QStringLiteral("current.db")));
    setRecords({"b", "a", "c"});
    m_shownDialog.clear();
    m_desktop.clearLog();
}

Record MainWindowTest::letterRecord(const QString &letter)
{
    Record::Cells cells;
    cells.fill(letter);
    return Record(cells);
}

void MainWindowTest::setRecords(const QStringList &letters)
{
    TableModel &model = m_window->document().model();
    model.discard(model.takeRecords());
    for (const QString &letter : letters)
        appendTo(model, letterRecord(letter));
}

void MainWindowTest::selectRow(int row)
{
    m_window->recordList()->selectionModel()->select(m_window->document().model().index(row, 0),
                                                     QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

QStringList MainWindowTest::letters() const
{
    QStringList out;
    const TableData &t = m_window->document().model().table();
    for (int row = 0; row < t.recordCount(); ++row)
        out << t.cell(row, 1).toString();
    return out;
}

std::vector<MainWindowTest::Binding> MainWindowTest::bindings()
{
    const auto opens = [this](const QString &relative) {
        return [this, relative] { QCOMPARE(m_window->document().fileName(), m_folder->filePath(relative)); };
    };
    // The action shows a modal dialog of the given class, closed at once.
    const auto showsDialog = [this](Command command, const char *className) {
        return Binding{command,
                       [this] {
                           m_desktop.expectDialog([this](QDialog &dialog) {
                               m_shownDialog = QString::fromLatin1(dialog.metaObject()->className());
                               return int(QDialog::Rejected);
                           });
                       },
                       [this, className] { QCOMPARE(m_shownDialog, QString::fromLatin1(className)); }};
    };
    // The action shows a modeless dialog of the given class over the window.
    const auto showsModeless = [this](Command command, const char *className, std::function<void()> before) {
        return Binding{command, std::move(before), [this, className] {
                           QStringList shown;
                           for (const QDialog *dialog : m_window->findChildren<QDialog *>()) {
                               if (dialog->isVisible())
                                   shown << QString::fromLatin1(dialog->metaObject()->className());
                           }
                           QCOMPARE(shown, QStringList{QString::fromLatin1(className)});
                           QCOMPARE(m_desktop.logged(QStringLiteral("dialog")), QStringList());
                       }};
    };
    // The action asks the shell to open the target, and nothing else.
    const auto shellOpens = [this](Command command, const QString &target) {
        return Binding{
            command, {}, [this, target] { QCOMPARE(m_desktop.log(), QStringList{QStringLiteral("open ") + target}); }};
    };
    // The action writes the information page and shows it in the browser.
    const auto showsPage = [this, showsDialog](Command command, InfoPages::Page page) {
        Binding b = showsDialog(command, "InfoPageWindow");
        b.after = [this, page, dialog = b.after] {
            dialog();
            QCOMPARE(m_folder->read(QStringLiteral("thanks.htm")), InfoPages::fileBytes(InfoPages::lines(page)));
        };
        return b;
    };
    Binding view = showsDialog(Command::ViewRecord, "EditRecordDialog"); // modal, unlike the edit's
    view.before = [this, expect = view.before] {
        selectRow(1);
        expect();
    };
    const auto clear = [this] {
        m_desktop.expectQuestion(RecordCommands::clearQuestion(), DesktopServices::Answer::Yes);
        m_window->action(Command::ClearAll)->trigger();
    };
    const auto findA = [this] {
        setRecords({"a", "b", "a"});
        m_window->findBar()->findChild<QLineEdit *>(QStringLiteral("findText"))->setText(QStringLiteral("a"));
    };
    const auto sortsBy = [this](int column, int direction, const QStringList &order) {
        return [=] {
            QCOMPARE(Settings(m_folder->dir()).read(Keys::sortColumn()), column);
            QCOMPARE(Settings(m_folder->dir()).read(Keys::sortDirection()), direction);
            QCOMPARE(letters(), order);
            for (int c = 0; c < kColumnCount; ++c)
                QCOMPARE(m_window->action(Commands::sortColumn(c))->isChecked(), c == column);
        };
    };
    std::vector<Binding> rows = {
        {Command::Exit, [this] { m_window->show(); },
         [this] {
             QVERIFY(!m_window->isVisible());
             QCOMPARE(m_closes, 1);
         }},
        {Command::SwitchUser,
         [this] {
             m_desktop.expectDialog([this](QDialog &dialog) {
                 m_shownDialog = QString::fromLatin1(dialog.metaObject()->className());
                 return typeLogin({}, {})(dialog);
             });
         },
         [this] {
             QCOMPARE(m_shownDialog, QStringLiteral("LoginDialog"));
             QCOMPARE(panels(*m_window)->text(StatusPanels::State), QStringLiteral("Вы вошли как: admin"));
         }},
        {Command::NewDatabase,
         {},
         [this] {
             QCOMPARE(m_window->document().fileName(), Document::untitledName());
             QCOMPARE(letters(), QStringList());
         }},
        // Open takes a database and adds it to the recent files; the import
        // takes a plain list of version 1.0 and leaves them alone.
        {Command::OpenDatabase, [this] { m_desktop.expectOpenFile(writeDatabase(QStringLiteral("opened.db"))); },
         [this] {
             QCOMPARE(m_desktop.lastFileDialog.title, QStringLiteral("Tablora [Открыть...]"));
             QCOMPARE(m_window->document().fileName(), m_folder->filePath(QStringLiteral("opened.db")));
             QCOMPARE(Settings(m_folder->dir()).read(Keys::reopenFileForShift(1)), m_window->document().fileName());
         }},
        {Command::ImportVersion10,
         [this] {
             m_folder->write(QStringLiteral("old.db"), DatabaseCodec::buildPlainList(TableData()));
             m_desktop.expectOpenFile(m_folder->filePath(QStringLiteral("old.db")));
         },
         [this] {
             QCOMPARE(m_window->document().fileName(), m_folder->filePath(QStringLiteral("old.db")));
             QCOMPARE(Settings(m_folder->dir()).read(Keys::reopenFileForShift(1)),
                      m_folder->filePath(QStringLiteral("recent1.db")));
         }},
        // The export writes the table as CSV; the import makes a new,
        // unsaved table of one, after their options dialogs.
        {Command::ExportCsv,
         [this] {
             m_desktop.expectDialog([this](QDialog &dialog) {
                 m_shownDialog = QString::fromLatin1(dialog.metaObject()->className());
                 return int(QDialog::Accepted);
             });
             m_desktop.expectSaveFile(m_folder->filePath(QStringLiteral("export")));
         },
         [this] {
             QCOMPARE(m_shownDialog, QStringLiteral("CsvExportDialog"));
             QCOMPARE(m_folder->read(QStringLiteral("export.csv")).count("b;b;b;b;b;b;b;b\r\n"), 1);
             QVERIFY(!m_window->document().isModified());
         }},
        {Command::ImportCsv,
         [this] {
             m_folder->write(QStringLiteral("in.csv"), "a,b,c,d,e,f,g,h\r\n1,2\r\n3,4\r\n");
             m_desktop.expectOpenFile(m_folder->filePath(QStringLiteral("in.csv")));
             m_desktop.expectDialog([this](QDialog &dialog) {
                 m_shownDialog = QString::fromLatin1(dialog.metaObject()->className());
                 return int(QDialog::Accepted);
             });
         },
         [this] {
             QCOMPARE(m_shownDialog, QStringLiteral("CsvImportDialog"));
             QCOMPARE(m_window->document().fileName(), Document::untitledName());
             QVERIFY(m_window->document().isModified());
             QCOMPARE(letters(), QStringList({"2", "4"}));
             QCOMPARE(m_window->document().model().table().title(7), QStringLiteral("h"));
         }},
        {Command::Save,
         {},
         [this] {
             // A titled database is written where it came from, without a dialog.
             QVERIFY(QFile::exists(m_window->document().fileName()));
             QCOMPARE(DatabaseCodec::readBaseFile(m_window->document().fileName()),
                      m_window->document().model().table());
             QVERIFY(m_desktop.logged(QStringLiteral("save dialog")).isEmpty());
         }},
        {Command::SaveAs, [this] { m_desktop.expectSaveFileCancelled(); },
         [this] {
             QCOMPARE(m_desktop.lastFileDialog.title, QStringLiteral("Tablora [Сохранить]"));
             QVERIFY(!QFile::exists(m_window->document().fileName()));
         }},
        {Command::SortAscending, [this] { Settings(m_folder->dir()).write(Keys::sortDirection(), -1); },
         sortsBy(0, 1, {"a", "b", "c"})},
        {Command::SortDescending, {}, sortsBy(0, -1, {"c", "b", "a"})},
        showsDialog(Command::UserManager, "UserManagerDialog"),
        showsDialog(Command::ProgramSettings, "SettingsDialog"),
        shellOpens(Command::OpenHelp, m_folder->filePath(QStringLiteral("help.chm"))),
        shellOpens(Command::VisitSite, QStringLiteral("http://tablora.example.org")),
        shellOpens(Command::WriteToAuthor, QStringLiteral("mailto:dev@tablora.example.org?subject=About Tablora 1.5")),
        shellOpens(Command::Faq, QStringLiteral("http://tablora.example.org/faq.php")),
        shellOpens(Command::ProgramPage, QStringLiteral("http://tablora.example.org/soft/tablora.php")),
        shellOpens(Command::ReportError, QStringLiteral("mailto:dev@tablora.example.org?subject=Error in Tablora 1.5")),
        showsPage(Command::LicenseAgreement, InfoPages::Page::License),
        showsPage(Command::Thanks, InfoPages::Page::Thanks),
        showsPage(Command::ChangeHistory, InfoPages::Page::History),
        showsDialog(Command::About, "AboutDialog"),
        showsDialog(Command::CheckUpdate, "UpdateDialog"),
        {Command::Print, [this] { m_desktop.expectPrinter(false); },
         [this] { QCOMPARE(m_desktop.logged(QStringLiteral("print dialog")).size(), 1); }},
        showsDialog(Command::PrintPreview, "PrintPreviewDialog"),
        // The record commands, on the second record ("a") where they need one.
        showsModeless(Command::AddRecord, "AddRecordDialog", {}),
        showsModeless(Command::ColumnTitles, "ColumnTitlesDialog", {}),
        showsModeless(Command::EditRecord, "EditRecordDialog", [this] { selectRow(1); }),
        view,
        {Command::DeleteRecord,
         [this] {
             selectRow(1);
             m_desktop.expectQuestion(RecordCommands::deleteQuestion(), DesktopServices::Answer::Yes);
         },
         [this] {
             QCOMPARE(letters(), QStringList({"b", "c"}));
         }},
        {Command::ClearAll,
         [this] { m_desktop.expectQuestion(RecordCommands::clearQuestion(), DesktopServices::Answer::Yes); },
         [this] {
             QCOMPARE(letters(), QStringList());
             QCOMPARE(m_window->document().fileName(), m_folder->filePath(QStringLiteral("current.db")));
         }},
        {Command::CopyRecord, [this] { selectRow(1); },
         [this] {
             QCOMPARE(m_desktop.clipboard, ClipboardRecord::text(letterRecord("a")));
             QCOMPARE(letters(), QStringList({"b", "a", "c"}));
         }},
        {Command::CutRecord, [this] { selectRow(1); },
         [this] {
             QCOMPARE(m_desktop.clipboard, ClipboardRecord::text(letterRecord("a")));
             QCOMPARE(letters(), QStringList({"b", "c"}));
         }},
        {Command::PasteRecord, [this] { m_desktop.clipboard = ClipboardRecord::text(letterRecord("d")); },
         [this] {
             QCOMPARE(letters(), QStringList({"b", "a", "c", "d"}));
         }},
        // Undo and redo of a clear; finding "a" in records a, b, a.
        {Command::Undo, clear,
         [this] {
             QCOMPARE(letters(), QStringList({"b", "a", "c"}));
         }},
        {Command::Redo,
         [this, clear] {
             clear();
             m_window->action(Command::Undo)->trigger();
         },
         [this] { QCOMPARE(letters(), QStringList()); }},
        {Command::Find, {}, [this] { QVERIFY(!m_window->findBar()->isHidden()); }},
        {Command::FindNext, findA, [this] { QCOMPARE(m_window->recordList()->selectedRow(), 0); }},
        {Command::FindPrevious, findA, [this] { QCOMPARE(m_window->recordList()->selectedRow(), 2); }},
    };
    for (int k = 1; k <= kRecentFileCount; ++k)
        rows.push_back({Commands::reopen(k), {}, opens(QStringLiteral("recent%1.db").arg(k))});
    for (const auto &[command, example] : {std::pair{Command::ExamplePrograms, FileCommands::Example::Programs},
                                           std::pair{Command::ExampleProfile, FileCommands::Example::Profile},
                                           std::pair{Command::ExampleSchool, FileCommands::Example::School}})
        rows.push_back({command, {}, opens(FileCommands::exampleFile(example))});
    // Two records: the smallest table that has an order to make.
    for (int c = 0; c < kColumnCount; ++c)
        rows.push_back({Commands::sortColumn(c), [this] { setRecords({"b", "a"}); }, sortsBy(c, 1, {"a", "b"})});
    return rows;
}

void MainWindowTest::everyActionReachesItsHandler_data()
{
    QTest::addColumn<Command>("command");
    for (const Command command : Commands::all())
        QTest::newRow(qPrintable(CommandTable::row(command).name)) << command;
}

void MainWindowTest::everyActionReachesItsHandler()
{
    QFETCH(Command, command);
    prepareActionWindow();
    std::vector<Binding> all = bindings();
    const auto found = std::find_if(all.begin(), all.end(), [&](const Binding &b) { return b.command == command; });
    if (found != all.end() && found->before)
        found->before();
    const QByteArray config = m_folder->read(QStringLiteral("data/config.ini"));
    const QString fileName = m_window->document().fileName();
    const QStringList records = letters();

    m_window->action(command)->trigger();

    if (found != all.end()) {
        found->after();
        return;
    }
    // Without a handler, or with an empty one, nothing at all happens.
    QCOMPARE(m_desktop.log(), QStringList());
    QCOMPARE(m_folder->read(QStringLiteral("data/config.ini")), config);
    QCOMPARE(m_window->document().fileName(), fileName);
    QCOMPARE(letters(), records);
    QVERIFY(!m_window->document().isModified());
    QCOMPARE(m_closes, 0);
}

std::set<Command> MainWindowTest::reachableCommands() const
{
    QSet<const QAction *> reached;
    std::function<void(const QMenu *)> collect = [&](const QMenu *menu) {
        for (QAction *a : menu->actions()) {
            if (a->menu())
                collect(a->menu());
            else if (!a->isSeparator())
                reached.insert(a);
        }
    };
    for (QAction *top : m_window->menuBar()->actions())
        collect(top->menu());
    collect(m_window->popupMenu());
    for (QAction *a : m_window->actions()) {
        if (!a->shortcut().isEmpty())
            reached.insert(a);
    }
    std::set<Command> commands;
    for (const Command command : Commands::all()) {
        if (reached.contains(m_window->action(command)))
            commands.insert(command);
    }
    for (const CommandTable::ToolButton &button : CommandTable::toolBar()) {
        if (button.command)
            commands.insert(*button.command);
    }
    return commands;
}

void MainWindowTest::reachableActionsHaveHandlers()
{
    prepareActionWindow();
    std::set<Command> bound;
    for (const Binding &b : bindings())
        bound.insert(b.command);
    for (const Command command : reachableCommands()) {
        const CommandTable::Row &row = CommandTable::row(command);
        QVERIFY2(row.handler, qPrintable(row.name + QStringLiteral(" is reachable but has no handler")));
        QVERIFY2(bound.count(command) == 1, qPrintable(row.name + QStringLiteral(" has no row in bindings()")));
    }
}

void MainWindowTest::recentFilesFollowTheOpens()
{
    auto window = startWithoutLogin();
    QStringList files;
    for (int i = 0; i < 6; ++i)
        files << writeDatabase(QStringLiteral("f%1.db").arg(i));
    // The menu as the user sees it: each entry's caption, "-" for a hidden one.
    const auto menu = [](const MainWindow &shownWindow) {
        QStringList shown;
        for (int k = 1; k <= kRecentFileCount; ++k) {
            const QAction *entry = shownWindow.action(Commands::reopen(k));
            shown << (entry->isVisible() ? entry->text() : QStringLiteral("-"));
        }
        return shown;
    };
    const auto open = [&](const QString &path) {
        m_desktop.expectOpenFile(path);
        window->action(Command::OpenDatabase)->trigger();
    };
    QCOMPARE(menu(*window), QStringList({"-", "-", "-", "-", "-"}));
    open(files[0]);
    QCOMPARE(menu(*window), QStringList({files[0], "-", "-", "-", "-"}));
    for (int i = 1; i < 5; ++i)
        open(files[i]);
    QCOMPARE(menu(*window), QStringList({files[0], files[1], files[2], files[3], files[4]}));
    // All five in use: the list shifts down, each entry by one, and the last
    // drops out. Six different files show a shift that stops short.
    open(files[5]);
    QCOMPARE(menu(*window), QStringList({files[5], files[0], files[1], files[2], files[3]}));
    open(files[5]); // the same file again takes an entry of its own
    const QStringList shifted = {files[5], files[5], files[0], files[1], files[2]};
    QCOMPARE(menu(*window), shifted);
    window.reset();
    QCOMPARE(menu(*create()), shifted);
}

// The program's own application object, which ends only when told to: a test
// sees whether closing the main window ends the program.
int main(int argc, char *argv[])
{
    TabloraApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    GuardedTest<MainWindowTest> test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_mainwindow.moc"
