#include "GuardedTest.h"
#include "MainWindowAccess.h"
#include "ProgramFolder.h"
#include "Records.h"
#include "RecoveryCopyAccess.h"
#include "ScriptedDesktop.h"
#include "SigningKey.h"
#include "app/ui/MainWindow.h"
#include "base/ProcessIdentity.h"
#include "document/DatabaseCodec.h"
#include "document/FileLock.h"
#include "document/RecoveryCopy.h"
#include "document/RecoveryFolder.h"
#include "document/RecoveryRestore.h"
#include "records/ClipboardRecord.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <cstdio>

#include <sys/stat.h>

// The recovery copy of unsaved changes, through the main window: written
// after changes, removed once they are saved or given up, offered at the next
// start when a run ended without either - a real process killed included.

namespace {

// The records every test pastes into the table, in order.
QList<Record> pastedRecords()
{
    return {record({"1", "Чай", "зелёный"}), record({"2", "Кофе", "", "", "", "", "", "в зёрнах"})};
}

// Runs the program's window over the program folder given, opens the
// database given at start, pastes pastedRecords() and says "written" on its
// output once their copy is on the disk; then waits to be killed.
int runKilledWindow(int argc, char *argv[])
{
    QApplication app(argc, argv);
    ScriptedDesktop desktop;
    MainWindow window(desktop, ProgramDir(QString::fromLocal8Bit(argv[2])), {QString::fromLocal8Bit(argv[3])});
    MainWindowAccess::startupTimer(window).setInterval(0);
    MainWindowAccess::recoveryCopy(window).setInterval(std::chrono::milliseconds(20));
    QObject::connect(&MainWindowAccess::recoveryCopy(window), &RecoveryCopy::written, [] {
        std::puts("written");
        std::fflush(stdout);
    });
    window.prepareToShow();
    QCoreApplication::processEvents(); // the first tick opens the database
    for (const Record &r : pastedRecords()) {
        desktop.clipboard = ClipboardRecord::text(r);
        window.action(Command::PasteRecord)->trigger();
    }
    return app.exec();
}

// The permission bits of a file or folder.
int permissionsOf(const QString &path)
{
    struct stat status
    {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? int(status.st_mode & 0777) : -1;
}

} // namespace

class RecoveryTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void copyFollowsTheChanges();
    void copiesGoOnWhileChangesDo();
    void copyIsRemoved_data();
    void copyIsRemoved();
    void restoreAtStart_data();
    void restoreAtStart();
    void twoCopiesLeftBehind_data();
    void twoCopiesLeftBehind();
    void unreadableCopiesAreKept_data();
    void unreadableCopiesAreKept();
    void copiesOfRunningProgramsAreLeftAlone();
    void killedProgramIsRecovered();

private:
    // Started with no login asked, not for the first time, the database at
    // path (if any) opened from the command line; copies are written as soon
    // as the event loop runs.
    std::unique_ptr<MainWindow> start(const QString &path = {});
    // Pastes pastedRecords() and waits for their copy.
    void changeAndWait(MainWindow &window);
    // Checks for an update, downloads the signed updater and answers the save
    // question with No: the updater starts and the program ends.
    void updateAnsweringNo(MainWindow &window, const QString &question);
    // Makes the copy's description say its process has ended, as a killed
    // run's would.
    void orphan(const QString &descriptionPath);
    QString writeDatabase(const QString &name, const TableData &table);
    QStringList recoveryFiles() const;
    // The table after pastedRecords() were pasted into table.
    static TableData changed(TableData table);

    std::unique_ptr<ProgramFolder> m_folder;
    ScriptedDesktop m_desktop;
};

void RecoveryTest::init()
{
    m_desktop.reset();
    m_folder = std::make_unique<ProgramFolder>();
    m_folder->write(QStringLiteral("data/other.dat"), "[Enter]\r\nQuestionOnStart=0\r\n");
    m_folder->write(QStringLiteral("data/config.ini"), "[Run]\r\nFirst=0\r\n[General]\r\nQuickStart=1\r\n");
}

void RecoveryTest::cleanup()
{
    QVERIFY2(m_desktop.problems().isEmpty(), qPrintable(m_desktop.problems().join(QLatin1Char('\n'))));
}

std::unique_ptr<MainWindow> RecoveryTest::start(const QString &path)
{
    auto window = std::make_unique<MainWindow>(m_desktop, m_folder->dir(),
                                               path.isEmpty() ? QStringList() : QStringList{path});
    MainWindowAccess::startupTimer(*window).setInterval(0);
    MainWindowAccess::recoveryCopy(*window).setInterval(std::chrono::milliseconds(0));
    window->prepareToShow();
    QCoreApplication::processEvents(); // the start timer's tick
    return window;
}

void RecoveryTest::changeAndWait(MainWindow &window)
{
    QSignalSpy written(&MainWindowAccess::recoveryCopy(window), &RecoveryCopy::written);
    for (const Record &r : pastedRecords()) {
        m_desktop.clipboard = ClipboardRecord::text(r);
        window.action(Command::PasteRecord)->trigger();
    }
    QVERIFY(written.wait(60000));
    // Both changes went into one copy.
    QCoreApplication::processEvents();
    QCOMPARE(written.size(), 1);
    QVERIFY(!RecoveryCopyAccess::isWriting(MainWindowAccess::recoveryCopy(window)));
}

void RecoveryTest::updateAnsweringNo(MainWindow &window, const QString &question)
{
    const SigningKey key;
    const QByteArray updater = "#!/bin/sh\n";
    MainWindowAccess::updateCommand(window).setTrustedKey(key.publicKey());
    m_desktop.expectDialog([](QDialog &dialog) {
        const auto button = [&](const char *name) { return dialog.findChild<QPushButton *>(QLatin1String(name)); };
        button("checkButton")->click();
        QPushButton *download = button("downloadButton");
        if (!QTest::qWaitFor([&] { return download->isVisibleTo(&dialog) && download->isEnabled(); }))
            return -1;
        download->click();
        return QTest::qWaitFor([&] { return dialog.result() == QDialog::Accepted; }) ? dialog.result() : -1;
    });
    m_desktop.expectDownload("3\r\n1.6\r\n");
    m_desktop.expectDownload(updater);
    m_desktop.expectDownload(key.sign(updater));
    m_desktop.expectQuestion(question, DesktopServices::Answer::No);
    window.action(Command::CheckUpdate)->trigger();
    QVERIFY(m_desktop.terminateRequested());
    QCOMPARE(m_desktop.logged(QStringLiteral("start ")).size(), 1);
}

void RecoveryTest::orphan(const QString &descriptionPath)
{
    std::optional<RecoveryDescription> description =
        RecoveryDescription::fromJson(m_folder->read(QDir(m_folder->path()).relativeFilePath(descriptionPath)));
    QVERIFY(description);
    description->process.started += 1;
    m_folder->write(QDir(m_folder->path()).relativeFilePath(descriptionPath), description->toJson());
}

QString RecoveryTest::writeDatabase(const QString &name, const TableData &table)
{
    m_folder->write(name, DatabaseCodec::encodePlainList(DatabaseCodec::buildPlainList(table)));
    return m_folder->filePath(name);
}

QStringList RecoveryTest::recoveryFiles() const
{
    return QDir(m_folder->filePath(QStringLiteral("recovery"))).entryList(QDir::Files | QDir::Hidden);
}

TableData RecoveryTest::changed(TableData table)
{
    for (const Record &r : pastedRecords())
        table.appendRecord(r);
    return table;
}

void RecoveryTest::copyFollowsTheChanges()
{
    const QString path = writeDatabase(QStringLiteral("base.db"), TableData());
    auto window = start(path);
    QCOMPARE(std::chrono::milliseconds(RecoveryCopy::kInterval).count(), 30000);
    QVERIFY(recoveryFiles().isEmpty()); // nothing unsaved yet
    changeAndWait(*window);

    // The table as it stands, in the database format, its owner's only.
    RecoveryCopy &copy = MainWindowAccess::recoveryCopy(*window);
    QCOMPARE(DatabaseCodec::readBaseFile(copy.copyPath()), window->document().model().table());
    QCOMPARE(permissionsOf(copy.copyPath()), 0600);
    QCOMPARE(permissionsOf(copy.descriptionPath()), 0600);
    QCOMPARE(permissionsOf(m_folder->filePath(QStringLiteral("recovery"))), 0700);
    const std::optional<RecoveryDescription> description = RecoveryDescription::fromJson(
        m_folder->read(QStringLiteral("recovery/") + QFileInfo(copy.descriptionPath()).fileName()));
    QVERIFY(description);
    QCOMPARE(description->fileName, path);
    QCOMPARE(description->time, m_desktop.clock);
    QCOMPARE(description->user, QStringLiteral("admin"));
    QCOMPARE(description->process, ProcessIdentity::current());
    QVERIFY(description->stamp.isKnown());

    // A sort changes no data, yet the copy follows the table's order.
    QSignalSpy written(&copy, &RecoveryCopy::written);
    window->action(Command::SortColumn1)->trigger();
    QVERIFY(written.wait(60000));
    QCOMPARE(DatabaseCodec::readBaseFile(copy.copyPath()), window->document().model().table());
}

void RecoveryTest::copiesGoOnWhileChangesDo()
{
    auto window = start();
    RecoveryCopy &copy = MainWindowAccess::recoveryCopy(*window);
    copy.setInterval(std::chrono::milliseconds(50));
    QSignalSpy written(&copy, &RecoveryCopy::written);
    // A change every 20 ms for 200 ms: a copy is due 50 ms after the first,
    // not 50 ms after the changes stop.
    bool copiedMeanwhile = false;
    QTimer changes;
    int left = 10;
    connect(&changes, &QTimer::timeout, this, [&] {
        copiedMeanwhile = copiedMeanwhile || RecoveryCopyAccess::isWriting(copy) || !written.isEmpty();
        m_desktop.clipboard = ClipboardRecord::text(record({"1"}));
        window->action(Command::PasteRecord)->trigger();
        if (--left == 0)
            changes.stop();
    });
    changes.start(20);
    QTRY_COMPARE_WITH_TIMEOUT(left, 0, 60000);
    QVERIFY(copiedMeanwhile);
}

enum class Ending {
    Save,
    Undo,
    UndoWhileWriting,
    NewAnsweredNo,
    OpenAnsweredNo,
    CloseAnsweredNo,
    CloseCancelled,
    UpdateAnsweredNo,
    SwitchUserAnsweredNoLoginLeft
};

void RecoveryTest::copyIsRemoved_data()
{
    QTest::addColumn<Ending>("ending");
    QTest::addColumn<bool>("kept");
    QTest::newRow("save") << Ending::Save << false;
    QTest::newRow("undo back to the saved table") << Ending::Undo << false;
    QTest::newRow("undo while the copy is written") << Ending::UndoWhileWriting << false;
    QTest::newRow("new, changes given up") << Ending::NewAnsweredNo << false;
    QTest::newRow("open, changes given up") << Ending::OpenAnsweredNo << false;
    QTest::newRow("close, changes given up") << Ending::CloseAnsweredNo << false;
    QTest::newRow("close cancelled") << Ending::CloseCancelled << true;
    // Two ways that end the program at once, after the same question.
    QTest::newRow("update, changes given up") << Ending::UpdateAnsweredNo << false;
    QTest::newRow("switch user, changes given up, login left") << Ending::SwitchUserAnsweredNoLoginLeft << false;
}

void RecoveryTest::copyIsRemoved()
{
    QFETCH(Ending, ending);
    QFETCH(bool, kept);
    const QString path = writeDatabase(QStringLiteral("base.db"), TableData());
    const QString other = writeDatabase(QStringLiteral("other.db"), TableData());
    auto window = start(path);
    changeAndWait(*window);
    QCOMPARE(recoveryFiles().size(), 2);

    const QString question = QStringLiteral("База данных \"base.db\" была изменена. Сохранить изменения?");
    switch (ending) {
    case Ending::Save:
        window->action(Command::Save)->trigger();
        QCOMPARE(DatabaseCodec::readBaseFile(path), window->document().model().table());
        break;
    case Ending::Undo:
        window->action(Command::Undo)->trigger();
        window->action(Command::Undo)->trigger();
        break;
    case Ending::UndoWhileWriting:
        window->action(Command::Undo)->trigger();
        MainWindowAccess::recoveryCopy(*window).writeNow();
        window->action(Command::Undo)->trigger();
        RecoveryCopyAccess::waitForWrite(MainWindowAccess::recoveryCopy(*window));
        break;
    case Ending::NewAnsweredNo:
        m_desktop.expectQuestion(question, DesktopServices::Answer::No);
        window->action(Command::NewDatabase)->trigger();
        break;
    case Ending::OpenAnsweredNo:
        m_desktop.expectOpenFile(other);
        m_desktop.expectQuestion(question, DesktopServices::Answer::No);
        window->action(Command::OpenDatabase)->trigger();
        QCOMPARE(window->document().fileName(), other);
        break;
    case Ending::CloseAnsweredNo:
    case Ending::CloseCancelled:
        m_desktop.expectQuestion(
            question, ending == Ending::CloseCancelled ? DesktopServices::Answer::Cancel : DesktopServices::Answer::No);
        QCOMPARE(window->close(), ending != Ending::CloseCancelled);
        break;
    case Ending::UpdateAnsweredNo:
        updateAnsweringNo(*window, question);
        break;
    case Ending::SwitchUserAnsweredNoLoginLeft:
        m_desktop.expectQuestion(question, DesktopServices::Answer::No);
        m_desktop.expectDialog([](QDialog &login) {
            login.reject(); // Esc
            return QDialog::Rejected;
        });
        window->action(Command::SwitchUser)->trigger();
        QVERIFY(m_desktop.terminateRequested());
        break;
    }
    QVERIFY(!RecoveryCopyAccess::isWriting(MainWindowAccess::recoveryCopy(*window)));
    QCOMPARE(recoveryFiles().size(), kept ? 2 : 0);
}

enum class Restore { Yes, YesUntitled, YesFileChangedSince, No };

void RecoveryTest::restoreAtStart_data()
{
    QTest::addColumn<Restore>("restore");
    QTest::newRow("yes") << Restore::Yes;
    QTest::newRow("yes, never saved") << Restore::YesUntitled;
    QTest::newRow("yes, the file changed since") << Restore::YesFileChangedSince;
    QTest::newRow("no") << Restore::No;
}

void RecoveryTest::restoreAtStart()
{
    QFETCH(Restore, restore);
    const bool untitled = restore == Restore::YesUntitled;
    TableData original;
    original.setTitle(1, QStringLiteral("Товар"));
    original.appendRecord(record({"0", "Сахар"}));
    const QString path = writeDatabase(QStringLiteral("base.db"), original);

    // A run changes the table and ends without saving or giving up.
    auto lost = start(untitled ? QString() : path);
    changeAndWait(*lost);
    const TableData expected = lost->document().model().table();
    const QString descriptionPath = MainWindowAccess::recoveryCopy(*lost).descriptionPath();
    lost.reset();
    orphan(descriptionPath);
    if (restore == Restore::YesFileChangedSince)
        writeDatabase(QStringLiteral("base.db"), TableData());

    const QString name = untitled ? QStringLiteral("Новая база данных") : QStringLiteral("base");
    const QString keptPath =
        m_folder->filePath(QStringLiteral("recovery/kept/") + name + QStringLiteral(" (копия 14.03.2026 15-09-26).db"));
    m_desktop.expectQuestion(
        QStringLiteral("Работа программы была прервана. Восстановить несохранённые изменения базы данных \"%1\" от "
                       "14.03.2026 15:09:26?\n\nЕсли ответить «Нет», они останутся в файле\n%2\nкоторый можно "
                       "открыть командой «Открыть базу данных...».")
            .arg(untitled ? name : QStringLiteral("base.db"), QDir::toNativeSeparators(keptPath)),
        restore == Restore::No ? DesktopServices::Answer::No : DesktopServices::Answer::Yes,
        QStringLiteral("Восстановление"));
    auto window = start();
    QCOMPARE(m_desktop.logged(QStringLiteral("question")).value(0).section(QLatin1Char('|'), 2),
             QStringLiteral("question|yes-no"));

    if (restore == Restore::No) {
        QCOMPARE(DatabaseCodec::readBaseFile(keptPath), expected);
        QVERIFY(recoveryFiles().isEmpty());
        QCOMPARE(window->document().fileName(), Document::untitledName());
        QCOMPARE(window->document().model().recordCount(), 0);
        QVERIFY(!window->document().isModified());
        return;
    }
    // The changes stand as unsaved changes of their database.
    QCOMPARE(window->document().model().table(), expected);
    QVERIFY(window->document().isModified());
    QCOMPARE(window->document().fileName(), untitled ? Document::untitledName() : path);
    QCOMPARE(window->windowTitle(),
             QStringLiteral("Tablora 1.5 [%1]").arg(untitled ? name : QStringLiteral("base.db")));
    // The copy is this window's now: a crash right away would keep it.
    QCOMPARE(recoveryFiles(),
             (QStringList{QFileInfo(MainWindowAccess::recoveryCopy(*window).copyPath()).fileName(),
                          QFileInfo(MainWindowAccess::recoveryCopy(*window).descriptionPath()).fileName()}));
    if (!untitled)
        QVERIFY(QFileInfo::exists(FileLock::lockPath(path)));

    if (untitled)
        m_desktop.expectSaveFile(path);
    else if (restore == Restore::YesFileChangedSince)
        m_desktop.expectChoice(FileCommands::changedOnDiskQuestion(path), 0);
    window->action(Command::Save)->trigger();
    QCOMPARE(DatabaseCodec::readBaseFile(path), expected);
    QVERIFY(recoveryFiles().isEmpty());
}

void RecoveryTest::twoCopiesLeftBehind_data()
{
    QTest::addColumn<int>("secondsApart");
    QTest::newRow("the newer first") << 60;
    QTest::newRow("the same time: the second kept under a number") << 0;
}

// Two runs left changes of one database; both are given up, each kept in
// a file of its own.
void RecoveryTest::twoCopiesLeftBehind()
{
    QFETCH(int, secondsApart);
    m_folder->makeFolder(QStringLiteral("recovery"));
    const auto leave = [&](const char *id, const char *text, int seconds) {
        RecoveryDescription description;
        description.fileName = m_folder->filePath(QStringLiteral("base.db"));
        description.time = m_desktop.clock.addSecs(seconds);
        description.process = ProcessIdentity::current();
        description.process.started += 1;
        m_folder->write(QStringLiteral("recovery/%1.json").arg(QLatin1String(id)), description.toJson());
        TableData table;
        table.appendRecord(record({"1", text}));
        writeDatabase(QStringLiteral("recovery/%1.db").arg(QLatin1String(id)), table);
        return std::make_pair(description, table);
    };
    // The older one's name sorts first.
    const auto [older, olderTable] = leave("a", "старое", 0);
    const auto [newer, newerTable] = leave("b", "новое", secondsApart);
    const auto kept = [&](const char *time, const char *number) {
        return m_folder->filePath(QStringLiteral("recovery/kept/base (копия 14.03.2026 %1)%2.db")
                                      .arg(QLatin1String(time), QLatin1String(number)));
    };
    const QString first = kept(secondsApart ? "15-10-26" : "15-09-26", "");
    const QString second = kept("15-09-26", secondsApart ? "" : " 2");
    m_desktop.expectQuestion(RecoveryRestore::question(newer, first), DesktopServices::Answer::No);
    m_desktop.expectQuestion(RecoveryRestore::question(older, second), DesktopServices::Answer::No);
    auto window = start();

    QVERIFY(recoveryFiles().isEmpty());
    const TableData firstKept = DatabaseCodec::readBaseFile(first);
    const TableData secondKept = DatabaseCodec::readBaseFile(second);
    if (secondsApart)
        QCOMPARE(firstKept, newerTable);
    else
        QVERIFY(firstKept == newerTable || firstKept == olderTable); // either may come first
    QVERIFY(!(secondKept == firstKept) && (secondKept == newerTable || secondKept == olderTable));
}

enum class Damage { Copy, Description, NoDescription, NulInName, RawNulInName };

void RecoveryTest::unreadableCopiesAreKept_data()
{
    QTest::addColumn<Damage>("damage");
    QTest::newRow("copy not a database") << Damage::Copy;
    QTest::newRow("description damaged") << Damage::Description;
    QTest::newRow("copy without a description") << Damage::NoDescription;
    // The system would take the name cut at the NUL, an existing file's.
    QTest::newRow("NUL in the file name") << Damage::NulInName;
    QTest::newRow("raw NUL in the file name") << Damage::RawNulInName;
}

void RecoveryTest::unreadableCopiesAreKept()
{
    QFETCH(Damage, damage);
    m_folder->makeFolder(QStringLiteral("recovery"));
    RecoveryDescription description;
    const bool nul = damage == Damage::NulInName || damage == Damage::RawNulInName;
    description.fileName = nul ? QStringLiteral("/базы/x.d") + QChar(0) + QStringLiteral("b")
                               : QStringLiteral("/базы/Склад.db");
    description.time = m_desktop.clock;
    description.process = ProcessIdentity::current();
    description.process.started += 1;
    const QByteArray copy = damage == Damage::Copy ? QByteArray("не база") : QByteArray("QUJD");
    m_folder->write(QStringLiteral("recovery/lost.db"), copy);
    QByteArray json = damage == Damage::Description ? QByteArray("{\"format\": ") : description.toJson();
    if (damage == Damage::RawNulInName)
        json.replace("\\u0000", QByteArray(1, '\0'));
    if (damage != Damage::NoDescription)
        m_folder->write(QStringLiteral("recovery/lost.json"), json);
    m_folder->makeFolder(QStringLiteral("recovery/kept"));
    m_folder->write(QStringLiteral("recovery/kept/x.d"), "someone's file");

    RecoveryFolder::Entry entry{QStringLiteral("lost"), std::nullopt};
    if (damage == Damage::Copy)
        entry.description = description;
    const QString damaged = m_folder->filePath(QStringLiteral("recovery/damaged"));
    m_desktop.expectMessage(RecoveryRestore::damagedMessage(entry, damaged), QStringLiteral("Восстановление"));
    auto window = start();
    QCOMPARE(window->document().fileName(), Document::untitledName());
    // Moved aside, never deleted.
    QVERIFY(recoveryFiles().isEmpty());
    QCOMPARE(m_folder->read(QStringLiteral("recovery/damaged/lost.db")), copy);
    QCOMPARE(QFileInfo::exists(m_folder->filePath(QStringLiteral("recovery/damaged/lost.json"))),
             damage != Damage::NoDescription);
    QCOMPARE(m_folder->read(QStringLiteral("recovery/kept/x.d")), QByteArray("someone's file"));
    if (damage == Damage::Copy)
        QVERIFY(m_desktop.logged(QStringLiteral("message")).value(0).contains(u"\"Склад.db\" от 14.03.2026"));
}

void RecoveryTest::copiesOfRunningProgramsAreLeftAlone()
{
    m_folder->makeFolder(QStringLiteral("recovery"));
    const QByteArray copy = DatabaseCodec::encodePlainList(DatabaseCodec::buildPlainList(TableData()));
    RecoveryDescription description;
    description.fileName = Document::untitledName();
    description.time = m_desktop.clock;
    // This very process, as another window of it would write.
    description.process = ProcessIdentity::current();
    m_folder->write(QStringLiteral("recovery/running.json"), description.toJson());
    m_folder->write(QStringLiteral("recovery/running.db"), copy);
    // A run of another computer, which only that computer can judge.
    description.process.host = QStringLiteral("elsewhere.example.org");
    m_folder->write(QStringLiteral("recovery/elsewhere.json"), description.toJson());
    m_folder->write(QStringLiteral("recovery/elsewhere.db"), copy);
    // A run that ended before it wrote its copy: nothing to restore.
    description.process = ProcessIdentity::current();
    description.process.started += 1;
    m_folder->write(QStringLiteral("recovery/unwritten.json"), description.toJson());

    auto window = start();
    QCOMPARE(recoveryFiles(),
             (QStringList{QStringLiteral("elsewhere.db"), QStringLiteral("elsewhere.json"),
                          QStringLiteral("running.db"), QStringLiteral("running.json")}));
}

void RecoveryTest::killedProgramIsRecovered()
{
    TableData original;
    original.appendRecord(record({"0", "Сахар"}));
    const QString path = writeDatabase(QStringLiteral("base.db"), original);

    QProcess killed;
    killed.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--killed-window"), m_folder->path(), path});
    QVERIFY(killed.waitForStarted());
    while (!killed.canReadLine())
        QVERIFY2(killed.waitForReadyRead(120000), killed.readAllStandardError().constData());
    QCOMPARE(killed.readLine(), QByteArray("written\n"));
    killed.kill(); // SIGKILL: no closing step runs
    QVERIFY(killed.waitForFinished());
    QCOMPARE(killed.exitStatus(), QProcess::CrashExit);
    QVERIFY(QFileInfo::exists(FileLock::lockPath(path))); // left behind, stale

    const QString keptPath = m_folder->filePath(QStringLiteral("recovery/kept/base (копия 14.03.2026 15-09-26).db"));
    m_desktop.expectQuestion(RecoveryRestore::question(*RecoveryDescription::fromJson(m_folder->read(
                                                           QStringLiteral("recovery/")
                                                           + recoveryFiles().filter(QStringLiteral(".json")).value(0))),
                                                       keptPath),
                             DesktopServices::Answer::Yes);
    auto window = start();
    QCOMPARE(window->document().model().table(), changed(original));
    QCOMPARE(window->document().fileName(), path);
    QVERIFY(window->document().isModified());
    // The stale lock gave way to this window's without a question.
    const QJsonObject lock = QJsonDocument::fromJson(m_folder->read(QStringLiteral(".~lock.base.db#"))).object();
    QCOMPARE(ProcessIdentity::fromJson(lock.value(QStringLiteral("process")).toObject()), ProcessIdentity::current());
}

int main(int argc, char *argv[])
{
    if (argc == 4 && qstrcmp(argv[1], "--killed-window") == 0)
        return runKilledWindow(argc, argv);
    QApplication app(argc, argv);
    GuardedTest<RecoveryTest> test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_recovery.moc"
