#include "app/QtDesktopServices.h"

#include <QDialog>
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

QTEST_MAIN(QtDesktopServicesTest)
#include "tst_qtdesktopservices.moc"
