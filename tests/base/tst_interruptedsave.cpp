#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <utility>
#include <vector>

// A save killed at any moment leaves the file it replaces either whole as it
// was or whole as the save meant it: never empty, cut off or mixed. The
// writer is a tablora-bench child that reads a database and saves it over the
// target with the program's writer; it is killed at random moments of the
// write.
//
// TABLORA_KILL_TRIALS sets the number of trials: 100 by default, 20 where
// the CI variable is set. On a busy machine the trials stop after a minute
// (at least five run), so the test never runs into its time limit.
// TABLORA_KILL_SEED repeats a run's moments.
namespace {

// Records of the old and the new file: about 5.6 and 6.2 MB.
constexpr int kOldRecords = 45000;
constexpr int kNewRecords = 50000;

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool put(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

bool readLine(QProcess &child, const QByteArray &expected)
{
    while (!child.canReadLine()) {
        if (!child.waitForReadyRead(120000))
            return false;
    }
    return child.readLine() == expected;
}

// Starts a save of the file source over target and waits until only the
// write is left.
bool startSave(QProcess &child, const QString &source, const QString &target)
{
    child.start(QStringLiteral(TABLORA_BENCH), {QStringLiteral("save"), source, target});
    return child.waitForStarted() && readLine(child, "writing\n");
}

} // namespace

class InterruptedSaveTest : public QObject
{
    Q_OBJECT

private slots:
    void killedSaveLeavesOldOrNewFile();
};

void InterruptedSaveTest::killedSaveLeavesOldOrNewFile()
{
    const int trials = qEnvironmentVariableIsSet("TABLORA_KILL_TRIALS")
        ? qEnvironmentVariableIntValue("TABLORA_KILL_TRIALS")
        : qEnvironmentVariableIsSet("CI") ? 20
                                          : 100;
    const quint32 seed = qEnvironmentVariableIsSet("TABLORA_KILL_SEED")
        ? quint32(qEnvironmentVariableIntValue("TABLORA_KILL_SEED"))
        : QRandomGenerator::global()->generate();
    QRandomGenerator random(seed);

    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("base.db"));
    const QString source = dir.filePath(QStringLiteral("new.db"));
    for (const auto &[records, path] : {std::pair(kOldRecords, target), std::pair(kNewRecords, source)}) {
        QCOMPARE(
            QProcess::execute(QStringLiteral(TABLORA_BENCH), {QStringLiteral("gen"), QString::number(records), path}),
            0);
    }
    const QByteArray old = contents(target);
    const QByteArray fresh = contents(source);
    QVERIFY(!old.isEmpty() && !fresh.isEmpty() && old != fresh);

    // Three whole saves give the usual length of the write.
    QProcess child;
    std::vector<int> spans;
    for (int run = 0; run < 3; ++run) {
        QVERIFY(startSave(child, source, target));
        QElapsedTimer timer;
        timer.start();
        QVERIFY(readLine(child, "written\n"));
        spans.push_back(int(timer.elapsed()));
        QVERIFY(child.waitForFinished(120000));
        QCOMPARE(child.exitCode(), 0);
        QCOMPARE(contents(target), fresh);
    }
    std::sort(spans.begin(), spans.end());
    const int span = spans[1];

    int killed = 0;
    int keptOld = 0;
    int trial = 0;
    QElapsedTimer budget;
    budget.start();
    for (; trial < trials && (trial < 5 || budget.elapsed() < 60000); ++trial) {
        QVERIFY(put(target, old));
        QVERIFY(startSave(child, source, target));
        // Moments from the start of the write to a little past its usual end.
        if (!child.waitForFinished(random.bounded(span * 5 / 4 + 1))) {
            child.kill();
            QVERIFY(child.waitForFinished(120000));
            ++killed;
        }
        const QByteArray now = contents(target);
        QVERIFY2(now == old || now == fresh,
                 qPrintable(QStringLiteral("trial %1 (seed %2) left %3 bytes that are neither file")
                                .arg(trial)
                                .arg(seed)
                                .arg(now.size())));
        keptOld += now == old ? 1 : 0;
    }
    const int leftovers = int(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size()) - 2;
    qInfo("%d trials (seed %u, write about %d ms): %d killed, %d left the old file, %d the new; %d stray files", trial,
          seed, span, killed, keptOld, trial - keptOld, leftovers);
}

QTEST_GUILESS_MAIN(InterruptedSaveTest)
#include "tst_interruptedsave.moc"
