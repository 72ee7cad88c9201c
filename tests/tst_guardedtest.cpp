#include "GuardedTest.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTest>

#include <stdexcept>

// Test functions that let exceptions out, run in a process of their own by
// the test below.
class ThrowingTest : public QObject
{
    Q_OBJECT

private slots:
    void throwsAStandardException() { throw std::runtime_error("out of range"); }
    void throwsSomethingElse() { throw 42; }
    void runsAfterwards() {}
};

class GuardedTestTest : public QObject
{
    Q_OBJECT

private slots:
    void exceptionFailsOnlyItsFunction();
};

void GuardedTestTest::exceptionFailsOnlyItsFunction()
{
    QProcess run;
    run.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--throwing")});
    QVERIFY(run.waitForFinished(60000));
    const QString output = QString::fromUtf8(run.readAllStandardOutput());
    QCOMPARE(run.exitStatus(), QProcess::NormalExit);
    QCOMPARE(run.exitCode(), 2); // the functions that failed
    for (const char *line : {"FAIL!  : ThrowingTest::throwsAStandardException() Unexpected exception: out of range",
                             "FAIL!  : ThrowingTest::throwsSomethingElse() Unexpected exception",
                             "PASS   : ThrowingTest::runsAfterwards()"})
        QVERIFY2(output.contains(QLatin1String(line)), qPrintable(output));
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], "--throwing") == 0) {
        GuardedTest<ThrowingTest> throwing;
        return QTest::qExec(&throwing, 1, argv);
    }
    GuardedTest<GuardedTestTest> test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_guardedtest.moc"
