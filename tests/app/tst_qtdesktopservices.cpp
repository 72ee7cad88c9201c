#include "GuardedTest.h"
#include "app/ui/QtDesktopServices.h"
#include "base/LongWork.h"
#include "base/TabloraError.h"
#include "base/WorkPool.h"
#include "base/WorkProgress.h"
#include "document/DatabaseCodec.h"
#include "document/TableModel.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include <condition_variable>
#include <functional>
#include <mutex>

namespace {

// The program's desktop with the user's part played on each box it shows:
// the box comes up, one key is typed into it.
class TypingDesktop : public QtDesktopServices
{
public:
    explicit TypingDesktop(Qt::Key key)
        : m_key(key)
    {
    }

    int execDialog(QDialog &dialog) override
    {
        dialog.show();
        QTest::keyClick(&dialog, m_key);
        return dialog.result();
    }

private:
    Qt::Key m_key;
};

// A window that counts what reaches it: paints, keys, clicks on its button,
// its shortcut.
class CountingWindow : public QWidget
{
public:
    CountingWindow()
        : button(new QPushButton(QStringLiteral("Кнопка"), this))
        , shortcut(new QAction(this))
    {
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(button);
        QObject::connect(button, &QPushButton::clicked, [this] { ++clicks; });
        shortcut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
        addAction(shortcut);
        QObject::connect(shortcut, &QAction::triggered, [this] { ++shortcuts; });
        resize(200, 100);
    }

    QPushButton *button;
    QAction *shortcut;
    int paints = 0;
    int keys = 0;
    int clicks = 0;
    int shortcuts = 0;

protected:
    void paintEvent(QPaintEvent *) override { ++paints; }
    void keyPressEvent(QKeyEvent *event) override { keys += event->key() == Qt::Key_A; }
};

// What the user does to the window.
void poke(CountingWindow &window)
{
    QTest::keyClick(&window, Qt::Key_A);
    QTest::mouseClick(window.button, Qt::LeftButton);
    QTest::keyClick(&window, Qt::Key_K, Qt::ControlModifier);
}

// Work on its own thread that waits until the window's side says it may end
// (or ten seconds have gone by).
class Gate
{
public:
    void open()
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_open = true;
        m_changed.notify_all();
    }
    bool waitOpen()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(10), [this] { return m_open; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_open = false;
};

QWidget *shownBar()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == u"WorkProgressDialog" && widget->isVisible())
            return widget;
    }
    return nullptr;
}

// The program's desktop, prepared as it prepares every modal window, with
// the window looked at instead of waited on.
class LookingDesktop : public QtDesktopServices
{
public:
    std::function<void(QDialog &)> look;

protected:
    int runModal(QDialog &dialog) override
    {
        if (look)
            look(dialog);
        return QDialog::Rejected;
    }
};

// One way the program opens a modal window.
using OpenModal = std::function<void(QtDesktopServices &)>;

const QString kCaption = QStringLiteral("Tablora 1.5 [Новая база данных]");

} // namespace

Q_DECLARE_METATYPE(OpenModal)

class QtDesktopServicesTest : public QObject
{
    Q_OBJECT

private slots:
    void questionKeys_data();
    void questionKeys();
    void longWorkGivesItsEnd();
    void windowsRepaintButTakeNoInputMeanwhile();
    void barFollowsTheWorkAndStopsIt_data();
    void barFollowsTheWorkAndStopsIt();
    void barOpensAboveStayOnTopDialogs();
    void longWorkReadsWhatTheWindowsCannotChange();
    void choiceKeys_data();
    void choiceKeys();
    void modalOpensAboveStayOnTopDialogs_data();
    void modalOpensAboveStayOnTopDialogs();
    void boxShowsItsTextAsGiven_data();
    void boxShowsItsTextAsGiven();
    void boxIsWideEnoughForItsCaption();
    void fileDialogTellsTypesByNameAlone();
    void printDialogOffersNoPageRange();
};

void QtDesktopServicesTest::questionKeys_data()
{
    using Answer = DesktopServices::Answer;
    using Buttons = DesktopServices::Buttons;
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("answer");
    // Esc on the save question cancels the command: the changes stay.
    QTest::newRow("Esc with Cancel") << int(Buttons::YesNoCancel) << int(Qt::Key_Escape) << int(Answer::Cancel);
    QTest::newRow("Esc without Cancel") << int(Buttons::YesNo) << int(Qt::Key_Escape) << int(Answer::No);
    QTest::newRow("Enter with Cancel") << int(Buttons::YesNoCancel) << int(Qt::Key_Return) << int(Answer::Yes);
    QTest::newRow("Enter without Cancel") << int(Buttons::YesNo) << int(Qt::Key_Return) << int(Answer::Yes);
}

void QtDesktopServicesTest::questionKeys()
{
    QFETCH(int, buttons);
    QFETCH(int, key);
    QFETCH(int, answer);
    TypingDesktop desktop{Qt::Key(key)};
    QCOMPARE(int(desktop.ask(QStringLiteral("Предупреждение"), QStringLiteral("Сохранить изменения?"),
                             DesktopServices::Icon::Question, DesktopServices::Buttons(buttons))),
             answer);
}

void QtDesktopServicesTest::longWorkGivesItsEnd()
{
    QtDesktopServices desktop;
    WorkProgress progress;
    int done = 0;
    desktop.runLongWork(QStringLiteral("Работа..."), progress, [&] { done = 1; });
    QCOMPARE(done, 1);
    try {
        desktop.runLongWork(QStringLiteral("Работа..."), progress, [] { throw TabloraError(QStringLiteral("сбой")); });
        QFAIL("the failure was lost");
    } catch (const TabloraError &e) {
        QCOMPARE(e.message(), QStringLiteral("сбой"));
    }
}

void QtDesktopServicesTest::windowsRepaintButTakeNoInputMeanwhile()
{
    CountingWindow window;
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    poke(window); // without work, everything reaches the window
    QCOMPARE(window.keys, 1);
    QCOMPARE(window.clicks, 1);
    QCOMPARE(window.shortcuts, 1);

    QtDesktopServices desktop;
    desktop.setDialogParent(&window);
    WorkProgress progress;
    Gate gate;
    int paintsBefore = 0;
    QTimer windowSide;
    windowSide.setSingleShot(true);
    QObject::connect(&windowSide, &QTimer::timeout, [&] {
        paintsBefore = window.paints;
        poke(window);
        window.update();
        // The input the window system queued comes now, while the work runs.
        QCoreApplication::processEvents();
        gate.open();
    });
    windowSide.start(0);
    bool opened = false;
    desktop.runLongWork(QStringLiteral("Работа..."), progress, [&] { opened = gate.waitOpen(); });
    QVERIFY(opened);
    QVERIFY(window.paints > paintsBefore);
    QCOMPARE(window.keys, 1);
    QCOMPARE(window.clicks, 1);
    QCOMPARE(window.shortcuts, 1);
    poke(window); // and afterwards again
    QCOMPARE(window.keys, 2);
    QCOMPARE(window.clicks, 2);
}

void QtDesktopServicesTest::barFollowsTheWorkAndStopsIt_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("Отмена") << false;
    QTest::newRow("Esc") << true;
}

// The bar shows once the work has run a while, follows its progress, and
// "Отмена" (or Esc) asks it to stop.
void QtDesktopServicesTest::barFollowsTheWorkAndStopsIt()
{
    QFETCH(bool, escape);
    QtDesktopServices desktop;
    WorkProgress progress;
    Gate halfway;
    QString text;
    int shownValue = -1;
    QTimer windowSide;
    windowSide.setInterval(10);
    QObject::connect(&windowSide, &QTimer::timeout, [&] {
        QWidget *bar = shownBar();
        if (!bar || bar->findChild<QProgressBar *>()->value() < WorkProgress::kScale / 2)
            return;
        windowSide.stop();
        text = bar->findChild<QLabel *>(QStringLiteral("textLabel"))->text();
        shownValue = bar->findChild<QProgressBar *>()->value();
        if (escape)
            QTest::keyClick(bar, Qt::Key_Escape);
        else
            QTest::mouseClick(bar->findChild<QPushButton *>(QStringLiteral("cancelButton")), Qt::LeftButton);
        halfway.open();
    });
    windowSide.start();
    bool stopped = false;
    QVERIFY_THROWS_EXCEPTION(WorkStopped, desktop.runLongWork(QStringLiteral("Экспорт в CSV..."), progress, [&] {
        progress.beginStage(WorkProgress::kScale, 2);
        progress.advance(1);
        halfway.waitOpen();
        stopped = progress.stopRequested();
        progress.throwIfStopped();
    }));
    QVERIFY(stopped);
    QCOMPARE(text, QStringLiteral("Экспорт в CSV..."));
    QCOMPARE(shownValue, WorkProgress::kScale / 2);
    QVERIFY(!shownBar());
}

void QtDesktopServicesTest::barOpensAboveStayOnTopDialogs()
{
    QDialog addRecord(nullptr, Qt::Dialog | Qt::WindowStaysOnTopHint);
    addRecord.show();
    QVERIFY(QTest::qWaitForWindowExposed(&addRecord));
    QtDesktopServices desktop;
    WorkProgress progress;
    Gate gate;
    bool lowered = false;
    QTimer::singleShot(0, [&] {
        lowered = !(addRecord.windowHandle()->flags() & Qt::WindowStaysOnTopHint);
        gate.open();
    });
    desktop.runLongWork(QStringLiteral("Печать базы данных..."), progress, [&] { gate.waitOpen(); });
    QVERIFY(lowered);
    QVERIFY(addRecord.windowHandle()->flags() & Qt::WindowStaysOnTopHint);
}

// Long work reads data the windows cannot change while it runs: real work
// under the program's runner, a save in more parts than the pool has threads
// (one), while the user clicks and types in a window that would change the
// table. The parts wait for no thread, and the file holds the table as it
// stood.
void QtDesktopServicesTest::longWorkReadsWhatTheWindowsCannotChange()
{
    QThreadPool &pool = WorkPool::pool();
    const int threads = pool.maxThreadCount();
    pool.setMaxThreadCount(1);
    const auto restore = qScopeGuard([&] { pool.setMaxThreadCount(threads); });
    TableModel model;
    for (int i = 0; i < 40000; ++i) {
        Record::Cells cells;
        cells[0] = QString::number(i);
        cells[1] = QStringLiteral("Иванов Пётр %1").arg(i);
        model.insertRecord(i, Record(cells));
    }
    const TableData before = model.table().sharedCopy();
    CountingWindow window;
    QObject::connect(window.button, &QPushButton::clicked, [&] { model.insertRecord(0, Record()); });
    QObject::connect(window.shortcut, &QAction::triggered, [&] { model.takeRecord(0); });
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    QtDesktopServices desktop;
    desktop.setDialogParent(&window);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("saved.db"));
    Gate gate;
    QTimer::singleShot(0, [&] {
        poke(window);
        QCoreApplication::processEvents();
        gate.open();
    });
    bool opened = false;
    LongWork::run(desktop, QStringLiteral("Сохранение..."), [&](WorkProgress &progress) {
        opened = gate.waitOpen();
        DatabaseCodec::writeTableFile(path, model.table(), 4, &progress);
    });
    QVERIFY(opened);
    QCOMPARE(window.clicks, 0);
    QCOMPARE(window.shortcuts, 0);
    QCOMPARE(model.table(), before);
    const TableData saved = LongWork::run(desktop, QStringLiteral("Открытие..."), [&](WorkProgress &progress) {
        return DatabaseCodec::readBaseFile(path, &progress);
    });
    QCOMPARE(saved, before);
}

void QtDesktopServicesTest::choiceKeys_data()
{
    QTest::addColumn<int>("key");
    // Both keys take the last button, the one that changes nothing.
    QTest::newRow("Esc") << int(Qt::Key_Escape);
    QTest::newRow("Enter") << int(Qt::Key_Return);
}

void QtDesktopServicesTest::choiceKeys()
{
    QFETCH(int, key);
    TypingDesktop desktop{Qt::Key(key)};
    QCOMPARE(desktop.choose(
                 QStringLiteral("Предупреждение"), QStringLiteral("Файл изменён."), DesktopServices::Icon::Warning,
                 {QStringLiteral("Перезаписать"), QStringLiteral("Сохранить как..."), QStringLiteral("Отмена")}),
             2);
}

void QtDesktopServicesTest::modalOpensAboveStayOnTopDialogs_data()
{
    using D = DesktopServices;
    QTest::addColumn<OpenModal>("open");
    QTest::newRow("message") << OpenModal(
        [](QtDesktopServices &d) { d.showMessage(kCaption, QStringLiteral("Выберите запись"), D::Icon::Information); });
    QTest::newRow("question") << OpenModal([](QtDesktopServices &d) {
        d.ask(QStringLiteral("Предупреждение"), QStringLiteral("Сохранить?"), D::Icon::Question,
              D::Buttons::YesNoCancel);
    });
    QTest::newRow("choice") << OpenModal([](QtDesktopServices &d) {
        d.choose(QStringLiteral("Предупреждение"), QStringLiteral("Файл изменён."), D::Icon::Warning,
                 {QStringLiteral("Перезаписать"), QStringLiteral("Отмена")});
    });
    QTest::newRow("open dialog") << OpenModal([](QtDesktopServices &d) {
        D::FileChoice choice;
        d.chooseOpenFile({QStringLiteral("Tablora [Открыть...]"), {}}, choice);
    });
    QTest::newRow("save dialog") << OpenModal([](QtDesktopServices &d) {
        D::FileChoice choice;
        d.chooseSaveFile({QStringLiteral("Tablora [Сохранить]"), {}}, choice);
    });
    QTest::newRow("font dialog") << OpenModal([](QtDesktopServices &d) { d.chooseFont(QFont()); });
    QTest::newRow("print dialog") << OpenModal([](QtDesktopServices &d) {
        QPrinter printer;
        d.choosePrinter(printer);
    });
    QTest::newRow("the program's own dialog (login, manager, settings)") << OpenModal([](QtDesktopServices &d) {
        QDialog login;
        d.execDialog(login);
    });
}

// The add, edit and column-title dialogs stay on top of other windows; a
// modal window that opens meanwhile must come above them, or the user sees
// a frozen program (the login under them took the keys, Esc ended it).
void QtDesktopServicesTest::modalOpensAboveStayOnTopDialogs()
{
    QFETCH(OpenModal, open);
    QWidget mainWindow;
    mainWindow.show();
    QDialog addRecord(&mainWindow, Qt::Dialog | Qt::WindowStaysOnTopHint);
    addRecord.show();
    QVERIFY(QTest::qWaitForWindowExposed(&addRecord));
    QDialog hidden(&mainWindow, Qt::Dialog | Qt::WindowStaysOnTopHint); // not shown: nothing to do

    LookingDesktop desktop;
    desktop.setDialogParent(&mainWindow);
    int looks = 0;
    desktop.look = [&](QDialog &) {
        QVERIFY(!(addRecord.windowHandle()->flags() & Qt::WindowStaysOnTopHint));
        QVERIFY(addRecord.isVisible()); // lowered, not hidden
        if (++looks > 1)
            return;
        // A box the modal window opens in its turn leaves the restoring to it.
        QDialog inner;
        desktop.execDialog(inner);
        QVERIFY(!(addRecord.windowHandle()->flags() & Qt::WindowStaysOnTopHint));
    };
    open(desktop);
    QCOMPARE(looks, 2); // the window and the one inside it
    QVERIFY(addRecord.windowHandle()->flags() & Qt::WindowStaysOnTopHint);
    QVERIFY(addRecord.windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(!hidden.isVisible());
}

void QtDesktopServicesTest::boxShowsItsTextAsGiven_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("kind"); // 0 message, 1 question, 2 choice
    // A folder name, a line of the update server, a text to find: never markup.
    const QString picture = QStringLiteral("Не возможно открыть файл /tmp/<img src=\"/dev/zero\">/a.db!");
    const QString font = QStringLiteral("Текст «<font size=7>Петров</font>» не найден");
    QTest::newRow("picture in a path, message") << picture << 0;
    QTest::newRow("font in a text, message") << font << 0;
    QTest::newRow("picture in a path, question") << picture << 1;
    QTest::newRow("bold in a name, question") << QStringLiteral("База данных \"<b>x</b>\" была изменена.") << 1;
    QTest::newRow("picture in a path, choice") << picture << 2;
}

void QtDesktopServicesTest::boxShowsItsTextAsGiven()
{
    QFETCH(QString, text);
    QFETCH(int, kind);
    LookingDesktop desktop;
    QString shown;
    Qt::TextFormat format = Qt::AutoText;
    desktop.look = [&](QDialog &box) {
        const auto *label = box.findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
        QVERIFY(label);
        shown = label->text();
        format = label->textFormat();
    };
    if (kind == 0)
        desktop.showMessage(kCaption, text, DesktopServices::Icon::Error);
    else if (kind == 1)
        desktop.ask(kCaption, text, DesktopServices::Icon::Question, DesktopServices::Buttons::YesNo);
    else
        desktop.choose(kCaption, text, DesktopServices::Icon::Warning, {QStringLiteral("Отмена")});
    QCOMPARE(shown, text);
    QCOMPARE(format, Qt::PlainText);
}

// The window manager writes the caption in bold beside its title bar's
// buttons: "Выберите запись" under a long file name showed "Tablor… ff.db]".
void QtDesktopServicesTest::boxIsWideEnoughForItsCaption()
{
    const QString caption = QStringLiteral("Tablora 1.5 [Список сотрудников отдела кадров за 2024 год.db]");
    LookingDesktop desktop;
    int width = 0;
    QFont titleFont;
    desktop.look = [&](QDialog &box) {
        box.show();
        width = box.width();
        titleFont = box.font();
        box.hide();
    };
    desktop.showMessage(caption, QStringLiteral("Выберите запись"), DesktopServices::Icon::Information);
    titleFont.setBold(true);
    QVERIFY2(width >= QFontMetrics(titleFont).horizontalAdvance(caption) + 100, qPrintable(QString::number(width)));
}

// Typing "/proc/" into the save dialog's name box listed /proc, and the
// file dialog's model read /proc/kmsg on the window's thread to tell its type:
// the program froze. A type must come from the name alone, so a file whose
// bytes say PNG but whose name says nothing is typed as any other such name.
void QtDesktopServicesTest::fileDialogTellsTypesByNameAlone()
{
    QTemporaryDir folder;
    QFile picture(folder.filePath(QStringLiteral("picture")));
    QVERIFY(picture.open(QIODevice::WriteOnly));
    picture.write(QByteArray::fromHex("89504e470d0a1a0a0000000d49484452"));
    picture.close();
    QFile empty(folder.filePath(QStringLiteral("nothing")));
    QVERIFY(empty.open(QIODevice::WriteOnly));
    empty.close();

    LookingDesktop desktop;
    int looked = 0;
    desktop.look = [&](QDialog &dialog) {
        ++looked;
        const QAbstractFileIconProvider *types = static_cast<QFileDialog &>(dialog).iconProvider();
        QVERIFY(types);
        const QFileInfo pictureInfo(picture.fileName());
        const QFileInfo emptyInfo(empty.fileName());
        QCOMPARE(types->type(pictureInfo), types->type(emptyInfo));
        QCOMPARE(types->icon(pictureInfo).name(), types->icon(emptyInfo).name());
        QCOMPARE(types->type(QFileInfo(folder.path())), QFileIconProvider().type(QFileInfo(folder.path())));
    };
    DesktopServices::FileChoice choice{folder.filePath(QStringLiteral("new.db"))};
    desktop.chooseSaveFile({QStringLiteral("Tablora [Сохранить]"), {{QStringLiteral("База данных (*.db)"), {}}}},
                           choice);
    desktop.chooseOpenFile({QStringLiteral("Tablora [Открыть...]"), {{QStringLiteral("Базы данных (*.db)"), {}}}},
                           choice);
    QCOMPARE(looked, 2);
}

void QtDesktopServicesTest::printDialogOffersNoPageRange()
{
    QPrinter printer;
    QPrintDialog dialog(&printer);
    QtDesktopServices::limitPrintDialog(dialog);
    dialog.show();
    const auto *range = dialog.findChild<QWidget *>(QStringLiteral("gbPrintRange"));
    QVERIFY(range);
    QVERIFY(!range->isVisible());
    const auto *pageSet = dialog.findChild<QWidget *>(QStringLiteral("pageSetCombo"));
    QVERIFY(!pageSet || !pageSet->isVisible());
    const auto *reverse = dialog.findChild<QWidget *>(QStringLiteral("reverse"));
    QVERIFY(reverse);
    QVERIFY(!reverse->isVisible());
    QVERIFY(dialog.testOption(QAbstractPrintDialog::PrintCollateCopies));
    QVERIFY(!dialog.testOption(QAbstractPrintDialog::PrintSelection));
    dialog.close();
}

TABLORA_TEST_MAIN(QtDesktopServicesTest)
#include "tst_qtdesktopservices.moc"
