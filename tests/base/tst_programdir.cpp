#include "GuardedTest.h"
#include "base/ProgramDir.h"
#include "base/TabloraError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <sys/stat.h>

namespace {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Every entry below root, "relative/path" for files and "relative/path/" for
// folders, with its permission bits in octal.
QStringList listing(const QString &root)
{
    QStringList entries;
    const QDir base(root);
    const auto walk = [&](const auto &self, const QString &folder) -> void {
        const auto filter = QDir::Dirs | QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot;
        const QFileInfoList infos = QDir(folder).entryInfoList(filter, QDir::Name);
        for (const QFileInfo &info : infos) {
            struct stat status
            {};
            ::stat(QFile::encodeName(info.filePath()).constData(), &status);
            const QString name = base.relativeFilePath(info.filePath()) + (info.isDir() ? "/" : "");
            entries << name + QStringLiteral(" %1").arg(status.st_mode & 0777, 3, 8, QLatin1Char('0'));
            if (info.isDir())
                self(self, info.filePath());
        }
    };
    walk(walk, root);
    return entries;
}

} // namespace

class ProgramDirTest : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void choose_data();
    void choose();
    void probe_data();
    void probe();
    void seedCopiesTheInstalledFilesForItsOwner();
    void seedLeavesAnExistingFolderAlone();
    void seedThatCannotMakeTheFolderThrows();

private:
    QString installed() const { return m_root->filePath(QStringLiteral("usr/lib/tablora")); }
    QString user() const { return m_root->filePath(QStringLiteral("home/.local/share/tablora")); }

    std::unique_ptr<QTemporaryDir> m_root;
};

void ProgramDirTest::init()
{
    m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(m_root->isValid());
    // An installed folder as the install lays it out.
    QVERIFY(writeFile(installed() + QStringLiteral("/tablora"), "program"));
    QVERIFY(writeFile(installed() + QStringLiteral("/help.chm"), "help"));
    QVERIFY(writeFile(installed() + QStringLiteral("/installed"), "mark"));
    QVERIFY(QDir().mkpath(installed() + QStringLiteral("/data")));
    QVERIFY(QDir().mkpath(installed() + QStringLiteral("/db/favourite")));
    QVERIFY(writeFile(installed() + QStringLiteral("/db/default.db"), "default"));
    QVERIFY(writeFile(installed() + QStringLiteral("/Примеры/Профайл.db"), "example"));
}

void ProgramDirTest::choose_data()
{
    QTest::addColumn<bool>("writable");
    QTest::addColumn<bool>("installed");
    QTest::addColumn<bool>("beside");
    QTest::newRow("a build folder") << true << false << true;
    QTest::newRow("read-only") << false << false << false;
    QTest::newRow("installed, read-only") << false << true << false;
    QTest::newRow("installed, started by root") << true << true << false;
}

void ProgramDirTest::choose()
{
    QFETCH(bool, writable);
    QFETCH(bool, installed);
    QFETCH(bool, beside);
    const QString exe = QStringLiteral("/usr/lib/tablora");
    const QString home = QStringLiteral("/home/anna/.local/share/tablora");

    const ProgramDir dir = ProgramDir::choose(exe, {writable, installed}, home);
    QCOMPARE(dir.isInstalled(), installed);

    const QString folder = beside ? exe : home;
    QCOMPARE(dir.configIni(), folder + QStringLiteral("/data/config.ini"));
    QCOMPARE(dir.otherDat(), folder + QStringLiteral("/data/other.dat"));
    QCOMPARE(dir.favouriteIni(), folder + QStringLiteral("/db/favourite/favourite.ini"));
    QCOMPARE(dir.defaultDb(), folder + QStringLiteral("/db/default.db"));
    QCOMPARE(dir.errorLog(), folder + QStringLiteral("/errors.log"));
    QCOMPARE(dir.file(QStringLiteral("thanks.htm")), folder + QStringLiteral("/thanks.htm"));
    // The help file ships read-only and is never copied.
    QCOMPARE(dir.helpFile(), exe + QStringLiteral("/help.chm"));
}

void ProgramDirTest::probe_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<bool>("installed");
    QTest::newRow("installed") << "usr/lib/tablora" << true << true;
    QTest::newRow("build folder") << "usr/lib/tablora/db" << true << false;
    // Below a regular file nothing can be created, not even by root.
    QTest::newRow("cannot be written") << "usr/lib/tablora/tablora/sub" << false << false;
}

void ProgramDirTest::probe()
{
    QFETCH(QString, folder);
    QFETCH(bool, writable);
    QFETCH(bool, installed);
    const QStringList before = listing(m_root->path());

    const ProgramDir::Probe probe = ProgramDir::probe(m_root->filePath(folder));

    QCOMPARE(probe.writable, writable);
    QCOMPARE(probe.installed, installed);
    QCOMPARE(listing(m_root->path()), before); // the trial file is gone
}

void ProgramDirTest::seedCopiesTheInstalledFilesForItsOwner()
{
    ProgramDir::seed(installed(), user());

    // Folders the program makes, up to the data home, and the copies are
    // their owner's only; the executable, the help file and the mark stay.
    QCOMPARE(listing(m_root->filePath(QStringLiteral("home"))),
             QStringList({".local/ 700", ".local/share/ 700", ".local/share/tablora/ 700",
                          ".local/share/tablora/data/ 700", ".local/share/tablora/db/ 700",
                          ".local/share/tablora/db/default.db 600", ".local/share/tablora/db/favourite/ 700",
                          ".local/share/tablora/Примеры/ 700", ".local/share/tablora/Примеры/Профайл.db 600"}));
    QCOMPARE(readFile(user() + QStringLiteral("/Примеры/Профайл.db")), QByteArray("example"));
}

void ProgramDirTest::seedLeavesAnExistingFolderAlone()
{
    ProgramDir::seed(installed(), user());
    QVERIFY(writeFile(user() + QStringLiteral("/db/default.db"), "the user's table"));
    QVERIFY(writeFile(user() + QStringLiteral("/data/config.ini"), "[Run]"));
    QVERIFY(QFile::remove(user() + QStringLiteral("/Примеры/Профайл.db")));
    // A later package brings new files.
    QVERIFY(writeFile(installed() + QStringLiteral("/db/default.db"), "new default"));
    QVERIFY(writeFile(installed() + QStringLiteral("/data/config.ini"), "new config"));
    const QStringList before = listing(m_root->filePath(QStringLiteral("home")));

    ProgramDir::seed(installed(), user());

    QCOMPARE(listing(m_root->filePath(QStringLiteral("home"))), before);
    QCOMPARE(readFile(user() + QStringLiteral("/db/default.db")), QByteArray("the user's table"));
    QCOMPARE(readFile(user() + QStringLiteral("/data/config.ini")), QByteArray("[Run]"));
}

void ProgramDirTest::seedThatCannotMakeTheFolderThrows()
{
    const QString blocked = installed() + QStringLiteral("/tablora/share/tablora");
    try {
        ProgramDir::seed(installed(), blocked);
        QFAIL("no error");
    } catch (const TabloraError &e) {
        const QString start = QStringLiteral("Не удалось создать папку программы ") + blocked + u':';
        QVERIFY2(e.message().startsWith(start), qPrintable(e.message()));
    }
    QVERIFY(!QFileInfo::exists(blocked));
}

TABLORA_GUILESS_TEST_MAIN(ProgramDirTest)
#include "tst_programdir.moc"
