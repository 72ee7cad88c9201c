#include "GuardedTest.h"
#include "ScratchVolume.h"
#include "base/ProfileFormat.h"

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

#include <unistd.h>

// A save killed at any moment leaves the file it replaces either whole as it
// was or whole as the save meant it: never empty, cut off or mixed. The
// writer is a tablora-bench child that saves a database, or writes a setting
// again and again, over the target with the program's writer; it is killed
// at random moments of the writes.
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

int killTrials()
{
    return qEnvironmentVariableIsSet("TABLORA_KILL_TRIALS") ? qEnvironmentVariableIntValue("TABLORA_KILL_TRIALS")
        : qEnvironmentVariableIsSet("CI")                   ? 20
                                                            : 100;
}

quint32 killSeed()
{
    return qEnvironmentVariableIsSet("TABLORA_KILL_SEED") ? quint32(qEnvironmentVariableIntValue("TABLORA_KILL_SEED"))
                                                          : QRandomGenerator::global()->generate();
}

// The settings writes: so many of the key S/K, the value alternately
// kSettingLength letters and half as many, over a file of about 8 MB.
constexpr int kSettingLength = 400000;

bool startSettingWrites(QProcess &child, const QString &target, int writes)
{
    child.start(QStringLiteral(TABLORA_BENCH),
                {QStringLiteral("settings"), target, QString::number(writes), QString::number(kSettingLength)});
    return child.waitForStarted() && readLine(child, "writing\n");
}

} // namespace

class InterruptedSaveTest : public QObject
{
    Q_OBJECT

private slots:
    void killedSaveLeavesOldOrNewFile();
    void killedSettingWritesLeaveOldOrNewFile_data();
    void killedSettingWritesLeaveOldOrNewFile();
};

void InterruptedSaveTest::killedSaveLeavesOldOrNewFile()
{
    const int trials = killTrials();
    const quint32 seed = killSeed();
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

#include "GuardedTest.h"
void InterruptedSaveTest::killedSettingWritesLeaveOldOrNewFile_data()
{
    QTest::addColumn<QString>("folder");
    QTest::newRow("folder that takes new files") << QStringLiteral("plain");
    // Where no new file can be made, the write is refused: overwriting the
    // file in place could be killed half-way.
    QTest::newRow("tmpfs without free inodes") << QStringLiteral("volume");
    QTest::newRow("folder without write permission") << QStringLiteral("read-only");
}

void InterruptedSaveTest::killedSettingWritesLeaveOldOrNewFile()
{
    QFETCH(QString, folder);
    ScratchVolume volume("size=48m,nr_inodes=16");
    QTemporaryDir plain;
    if (folder == QLatin1String("volume") && !volume.isMounted())
        QSKIP("no tmpfs can be mounted here");
    if (folder == QLatin1String("read-only") && ::geteuid() == 0)
        QSKIP("permissions do not bind root");
    const QString dir = folder == QLatin1String("volume") ? volume.path() : plain.path();
    const QString target = dir + QStringLiteral("/config.ini");
    const QByteArray old = "[S]\r\nK=old\r\n;" + QByteArray(8 << 20, '-') + "\r\n";
    QVERIFY(put(target, old));
    if (folder == QLatin1String("volume")) {
        for (int i = 0; QFile(dir + QStringLiteral("/inode%1").arg(i)).open(QIODevice::WriteOnly); ++i) {
        }
    } else if (folder == QLatin1String("read-only")) {
        QVERIFY(QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner));
    }
    const bool refused = folder != QLatin1String("plain");
    const QByteArray longer = ProfileFormat::withValue(old, u"S", u"K", QByteArray(kSettingLength, 'a'));
    const QByteArray shorter = ProfileFormat::withValue(old, u"S", u"K", QByteArray(kSettingLength / 2, 'b'));

    // Two whole writes, the second shorter.
    QProcess child;
    QVERIFY(startSettingWrites(child, target, 2));
    QVERIFY(child.waitForFinished(120000));
    QCOMPARE(child.exitCode(), refused ? 1 : 0);
    QCOMPARE(contents(target), refused ? old : shorter);
    if (refused)
        QVERIFY(child.readAllStandardError().contains("нельзя создать новый файл"));

    // Writes without end, killed within their first moments. A quarter of
    // the trials: a write in place was caught half-done by about one kill
    // in four.
    const int trials = std::max(killTrials() / 4, 5);
    const quint32 seed = killSeed();
    QRandomGenerator random(seed);
    int killed = 0;
    for (int trial = 0; trial < trials; ++trial) {
        QVERIFY(put(target, old));
        QVERIFY(startSettingWrites(child, target, 1000000));
        if (!child.waitForFinished(random.bounded(100))) {
            child.kill();
            QVERIFY(child.waitForFinished(120000));
            ++killed;
        }
        const QByteArray now = contents(target);
        QVERIFY2(now == old || now == longer || now == shorter,
                 qPrintable(QStringLiteral("trial %1 (seed %2) left %3 bytes that are no file a write meant")
                                .arg(trial)
                                .arg(seed)
                                .arg(now.size())));
    }
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qInfo("%d trials (seed %u): %d killed", trials, seed, killed);
}

TABLORA_GUILESS_TEST_MAIN(InterruptedSaveTest)
#include "tst_interruptedsave.moc"
