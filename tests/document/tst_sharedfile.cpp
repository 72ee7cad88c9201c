#include "DocumentFixture.h"
#include "GuardedTest.h"
#include "ProgramFolder.h"
#include "Records.h"
#include "ScratchVolume.h"
#include "ScriptedDesktop.h"
#include "base/ProcessIdentity.h"
#include "base/Settings.h"
#include "document/DatabaseCodec.h"
#include "document/FileCommands.h"
#include "document/FileLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

#include <sys/mount.h>
#include <unistd.h>

namespace {

TableData tableOf(const char *text)
{
    TableData table;
    table.appendRecord(record({"1", text}));
    return table;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray databaseBytes(const TableData &table)
{
    return DatabaseCodec::encodePlainList(DatabaseCodec::buildPlainList(table));
}

// A lock file as a window of the given process would write it.
QByteArray lockOf(const ProcessIdentity &process)
{
    return QJsonDocument(QJsonObject{{QStringLiteral("format"), QStringLiteral("tablora-lock")},
                                     {QStringLiteral("process"), process.toJson()},
                                     {QStringLiteral("window"), QStringLiteral("another window")},
                                     {QStringLiteral("since"), QStringLiteral("2026-03-14T12:09:26.000Z")}})
        .toJson();
}

} // namespace

class SharedFileTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void changedFileIsNotOverwrittenUnasked_data();
    void changedFileIsNotOverwrittenUnasked();
    void ownSavesAskNothing();
    void twoWindowsOnOneFile();
    void lockFollowsTheOpenFile();
    void lockHolders_data();
    void lockHolders();
    void noLockWhereTheFolderTakesNone_data();
    void noLockWhereTheFolderTakesNone();

private:
    // A window of the program on this computer: the test's windows share
    // the program folder and the desktop.
    std::unique_ptr<DocumentFixture> window();
    // Opens the database at path in the window through the open dialog.
    void open(DocumentFixture &window, const QString &path);
    QString writeDatabase(const QString &name, const TableData &table);
    QString lockPath(const QString &name) const { return m_folder->filePath(QStringLiteral(".~lock.") + name + '#'); }

    std::unique_ptr<ProgramFolder> m_folder;
    ScriptedDesktop m_desktop;
};

void SharedFileTest::init()
{
    m_desktop.reset();
    m_folder = std::make_unique<ProgramFolder>();
}

void SharedFileTest::cleanup()
{
    QVERIFY2(m_desktop.problems().isEmpty(), qPrintable(m_desktop.problems().join(QLatin1Char('\n'))));
}

std::unique_ptr<DocumentFixture> SharedFileTest::window()
{
    return std::make_unique<DocumentFixture>(m_desktop, m_folder->dir());
}

void SharedFileTest::open(DocumentFixture &window, const QString &path)
{
    m_desktop.expectOpenFile(path);
    window.files.openDatabase();
}

QString SharedFileTest::writeDatabase(const QString &name, const TableData &table)
{
    m_folder->write(name, databaseBytes(table));
    return m_folder->filePath(name);
}

enum class Change { PlainWrite, SameSizeAndTime, Replaced, InPlaceTimeSetBack, InPlaceCoarseClock };

void SharedFileTest::changedFileIsNotOverwrittenUnasked_data()
{
    QTest::addColumn<Change>("change");
    QTest::addColumn<int>("answer"); // the button: 0 overwrite, 1 save as, 2 cancel, -1 the box closed
    QTest::newRow("plain write, overwrite") << Change::PlainWrite << 0;
    QTest::newRow("plain write, save as") << Change::PlainWrite << 1;
    QTest::newRow("plain write, cancel") << Change::PlainWrite << 2;
    QTest::newRow("plain write, box closed") << Change::PlainWrite << -1;
    QTest::newRow("same size and time, cancel") << Change::SameSizeAndTime << 2;
    QTest::newRow("replaced by another file, cancel") << Change::Replaced << 2;
    // 4000 records, 281 KB: one byte in the middle rewritten in place and the
    // modification time set back (touch -r), as another program may.
    QTest::newRow("middle of a large file in place, time set back, cancel") << Change::InPlaceTimeSetBack << 2;
    // The inode's change time ticks too coarsely on some file systems to tell
    // two writes apart: then only the content tells.
    QTest::newRow("same in place, inode change time the same, cancel") << Change::InPlaceCoarseClock << 2;
}

void SharedFileTest::changedFileIsNotOverwrittenUnasked()
{
    QFETCH(Change, change);
    QFETCH(int, answer);
    const bool inPlace = change == Change::InPlaceTimeSetBack || change == Change::InPlaceCoarseClock;
    TableData read = tableOf("прочитано");
    for (int i = 1; inPlace && i < 4000; ++i)
        read.appendRecord(record({"1", "Запись, что занимает место в файле", "ещё"}));
    const QString path = writeDatabase(QStringLiteral("base.db"), read);
    const QDateTime written(QDate(2026, 3, 1), QTime(12, 0));
    const auto setWritten = [&] {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite) && file.setFileTime(written, QFileDevice::FileModificationTime));
    };
    setWritten();
    auto ours = window();
    open(*ours, path);
    ours->change("наше");

    // Another program writes the file meanwhile.
    const QByteArray theirs = databaseBytes(tableOf(change == Change::PlainWrite ? "чужое, длиннее" : "чужое!!!!"));
    if (inPlace) {
        QFile file(path);
        QVERIFY(file.size() > 256 * 1024 && file.open(QIODevice::ReadWrite) && file.seek(file.size() / 2));
        const char was = file.peek(1).at(0);
        QVERIFY(file.write(was == 'A' ? "B" : "A") == 1);
        file.close();
        setWritten();
        if (change == Change::InPlaceCoarseClock) {
            QJsonObject known = ours->document.diskStamp().toJson();
            known[QStringLiteral("changed")] = FileStamp::of(path).toJson().value(QStringLiteral("changed"));
            ours->document.setDiskStamp(FileStamp::fromJson(known));
        }
    } else if (change == Change::Replaced) {
        m_folder->write(QStringLiteral("new.db"), fileBytes(path));
        QVERIFY(QFile::remove(path) && QFile::rename(m_folder->filePath(QStringLiteral("new.db")), path));
        setWritten(); // only which file it is tells
    } else {
        if (change == Change::SameSizeAndTime)
            QCOMPARE(theirs.size(), fileBytes(path).size());
        m_folder->write(QStringLiteral("base.db"), theirs);
        if (change == Change::SameSizeAndTime)
            setWritten(); // only the bytes tell
    }
    const QByteArray before = fileBytes(path);

    m_desktop.expectChoice(FileCommands::changedOnDiskQuestion(path), answer, QStringLiteral("Предупреждение"));
    if (answer == 1)
        m_desktop.expectSaveFile(m_folder->filePath(QStringLiteral("копия.db")));
    ours->files.save();
    QCOMPARE(m_desktop.logged(QStringLiteral("choice")).value(0).section(QLatin1Char('|'), 2),
             QStringLiteral("warning|Перезаписать/Сохранить как.../Отмена"));

    const TableData table = ours->document.model().table();
    switch (answer) {
    case 0:
        QCOMPARE(DatabaseCodec::readBaseFile(path), table);
        QVERIFY(!ours->document.isModified());
        break;
    case 1:
        QCOMPARE(fileBytes(path), before);
        QCOMPARE(DatabaseCodec::readBaseFile(m_folder->filePath(QStringLiteral("копия.db"))), table);
        QCOMPARE(ours->document.fileName(), m_folder->filePath(QStringLiteral("копия.db")));
        QVERIFY(!ours->document.isModified());
        break;
    default:
        QCOMPARE(fileBytes(path), before);
        QCOMPARE(ours->document.fileName(), path);
        QVERIFY(ours->document.isModified());
    }
}

void SharedFileTest::ownSavesAskNothing()
{
    const QString path = writeDatabase(QStringLiteral("base.db"), tableOf("прочитано"));
    auto ours = window();
    open(*ours, path);
    for (const char *text : {"первое", "второе"}) {
        ours->change(text);
        ours->files.save();
        QCOMPARE(DatabaseCodec::readBaseFile(path), ours->document.model().table());
    }
    // A file removed meanwhile holds nothing to lose: it is written again.
    QVERIFY(QFile::remove(path));
    ours->change("третье");
    ours->files.save();
    QCOMPARE(DatabaseCodec::readBaseFile(path), ours->document.model().table());
    QCOMPARE(m_desktop.logged(QStringLiteral("choice")), QStringList());
}

void SharedFileTest::twoWindowsOnOneFile()
{
    const QString path = writeDatabase(QStringLiteral("base.db"), tableOf("прочитано"));
    auto first = window();
    auto second = window();
    open(*first, path);
    QVERIFY(QFileInfo::exists(lockPath(QStringLiteral("base.db"))));

    // The second window learns who has the file open.
    FileLock::Holder holder;
    holder.known = true;
    holder.process = ProcessIdentity::current();
    holder.since = m_desktop.clock;
    m_desktop.expectOpenFile(path);
    m_desktop.expectQuestion(FileCommands::lockedQuestion(path, holder), DesktopServices::Answer::Yes,
                             QStringLiteral("Вопрос"));
    second->files.openDatabase();
    QCOMPARE(second->document.fileName(), path);
    QVERIFY(m_desktop.logged(QStringLiteral("question")).value(0).contains(ProcessIdentity::current().host));

    // The first saves; the second, saving later, is asked and overwrites.
    first->change("первое окно");
    first->files.save();
    second->change("второе окно");
    m_desktop.expectChoice(FileCommands::changedOnDiskQuestion(path), 0);
    second->files.save();
    QCOMPARE(DatabaseCodec::readBaseFile(path), second->document.model().table());
    // Now the first is asked in turn, and keeps its changes by cancelling.
    first->change("снова первое");
    m_desktop.expectChoice(FileCommands::changedOnDiskQuestion(path), 2);
    first->files.save();
    QVERIFY(first->document.isModified());
    QCOMPARE(DatabaseCodec::readBaseFile(path), second->document.model().table());

    // A third window that answers No opens nothing.
    auto third = window();
    m_desktop.expectOpenFile(path);
    m_desktop.expectQuestion(FileCommands::lockedQuestion(path, holder), DesktopServices::Answer::No);
    third->files.openDatabase();
    QCOMPARE(third->document.fileName(), Document::untitledName());

    // Only the window that wrote the lock removes it.
    second.reset();
    QVERIFY(QFileInfo::exists(lockPath(QStringLiteral("base.db"))));
    first.reset();
    QVERIFY(!QFileInfo::exists(lockPath(QStringLiteral("base.db"))));
}

void SharedFileTest::lockFollowsTheOpenFile()
{
    const QString a = writeDatabase(QStringLiteral("a.db"), tableOf("а"));
    auto ours = window();
    open(*ours, a);
    const QJsonObject lock = QJsonDocument::fromJson(fileBytes(lockPath(QStringLiteral("a.db")))).object();
    QCOMPARE(ProcessIdentity::fromJson(lock.value(QStringLiteral("process")).toObject()), ProcessIdentity::current());
    QCOMPARE(ProcessIdentity::fromJson(lock.value(QStringLiteral("process")).toObject()).login,
             ProcessIdentity::current().login);

    m_desktop.expectSaveFile(m_folder->filePath(QStringLiteral("b.db")));
    ours->files.saveAs();
    QVERIFY(!QFileInfo::exists(lockPath(QStringLiteral("a.db"))));
    QVERIFY(QFileInfo::exists(lockPath(QStringLiteral("b.db"))));

    ours->files.newDatabase(); // an untitled table has no lock
    QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files | QDir::Hidden),
             (QStringList{QStringLiteral("a.db"), QStringLiteral("b.db")}));

    m_desktop.expectOpenFile(a);
    ours->files.openDatabase();
    ours->files.release(); // the program's end
    QVERIFY(!QFileInfo::exists(lockPath(QStringLiteral("a.db"))));
}

enum class Holder { EndedProcess, OtherBoot, GoneProcess, IdTaken, RunningWindow, OtherHost, OtherProgram };

void SharedFileTest::lockHolders_data()
{
    QTest::addColumn<Holder>("holder");
    QTest::addColumn<bool>("asked");
    // A lock whose process has ended on this computer is stale.
    QTest::newRow("same id, other start") << Holder::EndedProcess << false;
    QTest::newRow("same id, other boot") << Holder::OtherBoot << false;
    QTest::newRow("process gone") << Holder::GoneProcess << false;
    QTest::newRow("its id taken by another process") << Holder::IdTaken << false;
    QTest::newRow("running window") << Holder::RunningWindow << true;
    QTest::newRow("other computer") << Holder::OtherHost << true;
    QTest::newRow("other program") << Holder::OtherProgram << true;
}

void SharedFileTest::lockHolders()
{
    QFETCH(Holder, holder);
    QFETCH(bool, asked);
    const QString path = writeDatabase(QStringLiteral("base.db"), tableOf("прочитано"));
    ProcessIdentity process = ProcessIdentity::current();
    switch (holder) {
    case Holder::EndedProcess:
        process.started += 1;
        break;
    case Holder::OtherBoot:
        process.boot = QStringLiteral("00000000-0000-0000-0000-000000000000");
        process.pid = 1;
        break;
    case Holder::GoneProcess: {
        QProcess gone;
        gone.start(QStringLiteral("true"), QStringList());
        QVERIFY(gone.waitForStarted());
        process.pid = gone.processId();
        QVERIFY(gone.waitForFinished());
        break;
    }
    case Holder::IdTaken:
        process.pid = ::getppid();
        process.started = 1; // the boot's first tick: nothing of ours
        break;
    case Holder::RunningWindow:
        break;
    case Holder::OtherHost:
        process.host = QStringLiteral("elsewhere.example.org");
        process.login = QStringLiteral("kolya");
        break;
    case Holder::OtherProgram:
        break;
    }
    const QByteArray lock = holder == Holder::OtherProgram ? QByteArray(",kolya,elsewhere,14.03.2026 12:09;")
                                                           : lockOf(process);
    m_folder->write(QStringLiteral(".~lock.base.db#"), lock);

    auto ours = window();
    m_desktop.expectOpenFile(path);
    if (asked) {
        FileLock::Holder expected;
        expected.known = holder != Holder::OtherProgram;
        expected.process = process;
        expected.since = QDateTime::fromString(QStringLiteral("2026-03-14T12:09:26.000Z"), Qt::ISODateWithMs);
        m_desktop.expectQuestion(FileCommands::lockedQuestion(path, expected), DesktopServices::Answer::Yes);
    }
    ours->files.openDatabase();
    QCOMPARE(ours->document.fileName(), path);
    // Someone else's lock stays theirs; a stale one is replaced.
    QCOMPARE(fileBytes(lockPath(QStringLiteral("base.db"))) == lock, asked);
    ours.reset();
    QCOMPARE(QFileInfo::exists(lockPath(QStringLiteral("base.db"))), asked);
}

void SharedFileTest::noLockWhereTheFolderTakesNone_data()
{
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("folder that takes no file") << true;
    QTest::newRow("name with no room for the lock's") << false;
}

void SharedFileTest::noLockWhereTheFolderTakesNone()
{
    QFETCH(bool, readOnly);
    // A volume mounted read-only as root, a folder without the right to
    // write otherwise.
    ScratchVolume volume("size=64k");
    QTemporaryDir plain;
    const bool mounted = readOnly && ::geteuid() == 0 && volume.isMounted();
    if (readOnly && ::geteuid() == 0 && !mounted)
        QSKIP("no tmpfs can be mounted here");
    const QString folder = mounted ? volume.path() : plain.path();
    const QString name = readOnly ? QStringLiteral("base.db") : QString(250, QLatin1Char('b')) + QStringLiteral(".db");
    const QString path = folder + QLatin1Char('/') + name;
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(databaseBytes(tableOf("прочитано"))) > 0);
    file.close();
    if (mounted) {
        QCOMPARE(
            ::mount("tablora-test", QFile::encodeName(folder).constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr),
            0);
    } else if (readOnly) {
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    }

    auto ours = window();
    open(*ours, path); // quietly, without a lock
    QCOMPARE(ours->document.fileName(), path);
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{name});
    open(*ours, path); // and again, with no question about a lock that cannot be
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TABLORA_GUILESS_TEST_MAIN(SharedFileTest)
#include "tst_sharedfile.moc"
