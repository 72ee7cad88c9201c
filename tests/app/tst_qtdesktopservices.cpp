#include "GuardedTest.h"
#include "app/QtDesktopServices.h"

#include <QApplication>
#include <QDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QTest>

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

} // namespace

class QtDesktopServicesTest : public QObject
{
    Q_OBJECT

private slots:
    void questionKeys_data();
    void questionKeys();
    void choiceKeys_data();
    void choiceKeys();
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
