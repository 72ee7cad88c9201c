#include "GuardedTest.h"
#include "app/QtDesktopServices.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <functional>

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
    void choiceKeys_data();
    void choiceKeys();
    void modalOpensAboveStayOnTopDialogs_data();
    void modalOpensAboveStayOnTopDialogs();
    void boxShowsItsTextAsGiven_data();
    void boxShowsItsTextAsGiven();
    void boxIsWideEnoughForItsCaption();
    void fileDialogTellsTypesByNameAlone();
    void printDialogOffersNoPageRange();
    void progressCancels();
    void progressOpensAboveStayOnTopDialogs();
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

void QtDesktopServicesTest::progressOpensAboveStayOnTopDialogs()
{
    QDialog addRecord(nullptr, Qt::Dialog | Qt::WindowStaysOnTopHint);
    addRecord.show();
    QVERIFY(QTest::qWaitForWindowExposed(&addRecord));
    QtDesktopServices desktop;
    auto progress = desktop.startProgress(QStringLiteral("Печать базы данных..."), 10);
    QVERIFY(!(addRecord.windowHandle()->flags() & Qt::WindowStaysOnTopHint));
    progress.reset();
    QVERIFY(addRecord.windowHandle()->flags() & Qt::WindowStaysOnTopHint);
}

TABLORA_TEST_MAIN(QtDesktopServicesTest)
#include "tst_qtdesktopservices.moc"
