#include "GuardedTest.h"
#include "app/QtDesktopServices.h"
#include "base/TabloraError.h"
#include "base/WorkProgress.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

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

} // namespace

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
    void printDialogOffersNoPageRange();
    void progressCancels();
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

void QtDesktopServicesTest::progressCancels()
{
    QtDesktopServices desktop;
    const auto progress = desktop.startProgress(QStringLiteral("Печать базы данных..."), 1000);
    progress->setValue(10);
    QVERIFY(!progress->cancelled());
    QProgressDialog *box = nullptr;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *candidate = qobject_cast<QProgressDialog *>(widget))
            box = candidate;
    }
    QVERIFY(box);
    QCOMPARE(box->labelText(), QStringLiteral("Печать базы данных..."));
    QCOMPARE(box->windowModality(), Qt::ApplicationModal);
    box->cancel();
    QVERIFY(progress->cancelled());
}

TABLORA_TEST_MAIN(QtDesktopServicesTest)
#include "tst_qtdesktopservices.moc"
