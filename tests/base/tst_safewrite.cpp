#include "GuardedTest.h"
#include "OrdinaryUser.h"
#include "ScratchVolume.h"
#include "base/ProfileFile.h"
#include "base/SafeWrite.h"
#include "base/WriteBehind.h"
#include "document/DatabaseCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <csignal>

#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

enum class Writer { Database, Settings };
enum class Limit { FullVolume, FileSize };

// The size limit for files this process writes, lowered as long as it lives:
// a device that refuses writes after that many bytes ("File too large").
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = m_saved;
        lowered.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_saved{};
    void (*m_oldHandler)(int);
};

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void put(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("Cannot write the test file %s", qPrintable(path));
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
}

// Writes until the volume refuses, then frees `free` bytes again.
void fill(const QString &folder, qint64 free)
{
    QFile filler(folder + QStringLiteral("/filler"));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        qFatal("Cannot create the filler");
    const QByteArray block(4096, 'F');
    while (filler.write(block) == block.size()) {
    }
    filler.resize(filler.size() / 4096 * 4096 - free);
}

// An old file both writers can read: a settings section, and a comment line
// that gives it some size.
QByteArray oldContent()
{
    return "[S]\r\nK=old\r\n;" + QByteArray(4000, '-') + "\r\n";
}

// A table whose database file takes about `size` bytes.
TableData tableOfSize(int size)
{
    TableData table;
    Record::Cells cells;
    cells[1] = QString(std::max(0, size / 4 * 3 - 122), QLatin1Char('A'));
    table.appendRecord(Record(cells));
    return table;
}

// Writes about `size` new bytes over path; the error's message, or nothing.
QString write(Writer writer, const QString &path, int size)
{
    try {
        if (writer == Writer::Database)
            DatabaseCodec::writeTableFile(path, tableOfSize(size));
        else
            ProfileFile(path).writeString(QStringLiteral("S"), QStringLiteral("K"), QString(size, QLatin1Char('v')));
    } catch (const TabloraError &e) {
        return e.message();
    }
    return QString();
}

QString refusal(Writer writer, const QString &path, const QString &reason)
{
    const QString native = QDir::toNativeSeparators(path);
    return writer == Writer::Database ? QStringLiteral("Cannot create file \"%1\". %2").arg(native, reason)
                                      : QStringLiteral("Unable to write to %1. %2").arg(native, reason);
}

// The type and permission bits, of a link itself rather than what it names.
mode_t modeOf(const QString &path)
{
    struct stat status
    {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode : 0;
}

} // namespace

class SafeWriteTest : public QObject
{
    Q_OBJECT

private slots:
    void fullDisk_data();
    void fullDisk();
    void folderTakesNoNewFile_data();
    void folderTakesNoNewFile();
    void specialFiles_data();
    void specialFiles();
    void replaceFollowsLinkAndKeepsMode();
    void writeBehindKeepsEveryPiece();
    void ownerOnlyAndLinksKept_data();
    void ownerOnlyAndLinksKept();
    void removeFile_data();
    void removeFile();
    void ordinaryUserKeepsModeAndReadOnlyFiles_data();
    void ordinaryUserKeepsModeAndReadOnlyFiles();
};

void SafeWriteTest::fullDisk_data()
{
    QTest::addColumn<Writer>("writer");
    QTest::addColumn<Limit>("limit");
    QTest::addColumn<int>("room"); // bytes free, or the file size limit
    QTest::addColumn<int>("size");

    // 13,000 bytes fit a write buffer, 200,000 do not.
    QTest::newRow("database, volume full") << Writer::Database << Limit::FullVolume << 0 << 13000;
    QTest::newRow("database, 8 KB free") << Writer::Database << Limit::FullVolume << 8192 << 13000;
    QTest::newRow("database, large, 8 KB free") << Writer::Database << Limit::FullVolume << 8192 << 200000;
    QTest::newRow("settings, volume full") << Writer::Settings << Limit::FullVolume << 0 << 10;
    QTest::newRow("settings, 8 KB free") << Writer::Settings << Limit::FullVolume << 8192 << 13000;
    QTest::newRow("database, 8 KB file limit") << Writer::Database << Limit::FileSize << 8192 << 13000;
    QTest::newRow("settings, 8 KB file limit") << Writer::Settings << Limit::FileSize << 8192 << 13000;
}

void SafeWriteTest::fullDisk()
{
    QFETCH(Writer, writer);
    QFETCH(Limit, limit);
    QFETCH(int, room);
    QFETCH(int, size);

    ScratchVolume volume("size=256k");
    QTemporaryDir plain;
    const bool onVolume = limit == Limit::FullVolume;
    if (onVolume && !volume.isMounted())
        QSKIP("no tmpfs can be mounted here");
    const QString folder = onVolume ? volume.path() : plain.path();
    const QString path = folder + QStringLiteral("/old.db");
    put(path, oldContent());

    QString message;
    QString reason;
    if (onVolume) {
        fill(folder, room);
        message = write(writer, path, size);
        reason = QStringLiteral("No space left on device");
    } else {
        const FileSizeLimit lowered(room);
        message = write(writer, path, size);
        reason = QStringLiteral("File too large");
    }
    QCOMPARE(message, refusal(writer, path, reason));
    QCOMPARE(contents(path), oldContent());
    QCOMPARE(entries(folder).filter(QStringLiteral("old.db")), QStringList{QStringLiteral("old.db")});
}

void SafeWriteTest::folderTakesNoNewFile_data()
{
    QTest::addColumn<bool>("onVolume");
    QTest::newRow("tmpfs without free inodes") << true;
    QTest::newRow("folder without write permission") << false;
}

void SafeWriteTest::folderTakesNoNewFile()
{
    QFETCH(bool, onVolume);
    ScratchVolume volume("size=256k,nr_inodes=6");
    QTemporaryDir plain;
    if (onVolume && !volume.isMounted())
        QSKIP("no tmpfs can be mounted here");
    if (!onVolume && ::geteuid() == 0)
        QSKIP("permissions do not bind root");
    const QString folder = onVolume ? volume.path() : plain.path();
    const QString database = folder + QStringLiteral("/base.db");
    const QString settings = folder + QStringLiteral("/config.ini");
    put(database, oldContent());
    put(settings, oldContent());
    if (onVolume) {
        for (int i = 0; QFile(folder + QStringLiteral("/inode%1").arg(i)).open(QIODevice::WriteOnly); ++i) {
        }
    } else {
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    }

    // A database is never overwritten in place: the write fails and says where.
    const QString message = write(Writer::Database, database, 10);
    QVERIFY2(message.startsWith(QStringLiteral("Cannot create file \"%1\". ").arg(QDir::toNativeSeparators(database))),
             qPrintable(message));
    QVERIFY2(message.endsWith(
                 QStringLiteral(". В папке \"%1\" нельзя создать новый файл.").arg(QDir::toNativeSeparators(folder))),
             qPrintable(message));
    QCOMPARE(contents(database), oldContent());

    // Nor is a settings file, where an interruption would leave a mix of the
    // old keys and the new (tests/base/tst_interruptedsave).
    const QString refused = write(Writer::Settings, settings, 10);
    QVERIFY2(refused.startsWith(QStringLiteral("Unable to write to %1. ").arg(QDir::toNativeSeparators(settings))),
             qPrintable(refused));
    QVERIFY2(refused.endsWith(
                 QStringLiteral(". В папке \"%1\" нельзя создать новый файл.").arg(QDir::toNativeSeparators(folder))),
             qPrintable(refused));
    QCOMPARE(contents(settings), oldContent());
    // A page the program writes afresh before each use is overwritten in
    // place, as the last resort.
    QVERIFY(!SafeWrite::replaceFile(settings, "new", SafeWrite::InPlace::AsLastResort));
    QCOMPARE(contents(settings), QByteArray("new"));
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void SafeWriteTest::specialFiles_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("folder") << QStringLiteral("folder") << QStringLiteral("Is a directory");
    QTest::newRow("FIFO without a writer") << QStringLiteral("fifo") << QStringLiteral("Not a regular file");
    QTest::newRow("socket") << QStringLiteral("socket") << QStringLiteral("Not a regular file");
    QTest::newRow("endless device") << QStringLiteral("/dev/zero") << QStringLiteral("Not a regular file");
}

void SafeWriteTest::specialFiles()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("special"));
    const QByteArray name = QFile::encodeName(path);
    if (kind == QLatin1String("folder")) {
        QVERIFY(QDir().mkdir(path));
    } else if (kind == QLatin1String("fifo")) {
        QCOMPARE(::mkfifo(name.constData(), 0600), 0);
    } else if (kind == QLatin1String("socket")) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        qstrncpy(address.sun_path, name.constData(), sizeof address.sun_path);
        QCOMPARE(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
        ::close(fd);
    } else {
        path = kind;
    }
    const mode_t mode = modeOf(path);

    // Both database readers refuse it at once, with the reason.
    for (auto read : {&DatabaseCodec::readBaseFile, &DatabaseCodec::readPlainFile}) {
        try {
            read(path, nullptr);
            QFAIL("a special file was read as a database");
        } catch (const DatabaseReadError &e) {
            QCOMPARE(e.message(), QStringLiteral("Cannot read file \"%1\". %2").arg(path, reason));
        }
    }
    // The settings reader takes it as no file.
    QCOMPARE(ProfileFile(path).readString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("d")),
             QStringLiteral("d"));
    // Neither writer replaces it (a system device is not risked).
    if (path.startsWith(dir.path())) {
        QCOMPARE(write(Writer::Database, path, 4), refusal(Writer::Database, path, reason));
        QCOMPARE(write(Writer::Settings, path, 4), refusal(Writer::Settings, path, reason));
        QCOMPARE(modeOf(path), mode);
        QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("special")});
    }
}

void SafeWriteTest::replaceFollowsLinkAndKeepsMode()
{
    QTemporaryDir dir;
    const QString real = dir.filePath(QStringLiteral("real.db"));
    const QString link = dir.filePath(QStringLiteral("link.db"));
    put(real, "old");
    QCOMPARE(::chmod(QFile::encodeName(real).constData(), 0640), 0);
    QVERIFY(QFile::link(real, link));

    DatabaseCodec::writeTableFile(link, TableData());
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(contents(real), DatabaseCodec::encodePlainList(DatabaseCodec::buildPlainList(TableData())));
    QCOMPARE(modeOf(real), mode_t(S_IFREG | 0640));
    QCOMPARE(entries(dir.path()), (QStringList{QStringLiteral("link.db"), QStringLiteral("real.db")}));
}

// Pieces written through WriteBehind, far more than it sends ahead and from
// two places at once, as the parts of a large save write them: the file
// holds every byte, those waited for and dropped from the cache and those
// still on their way.
void SafeWriteTest::writeBehindKeepsEveryPiece()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("pieces.db"));
    constexpr int kPieces = 24;
    constexpr int kPieceBytes = 65536 + 7;
    QByteArray expected;
    for (int k = 0; k < 2 * kPieces; ++k)
        expected += QByteArray(kPieceBytes, char('A' + k % 26));
    const std::optional<QString> failure = SafeWrite::replaceFile(
        path, expected.size(),
        [&expected](int fd) {
            WriteBehind front(fd);
            WriteBehind back(fd);
            for (int k = 0; k < kPieces; ++k) {
                const qint64 first = qint64(k) * kPieceBytes;
                const qint64 second = qint64(kPieces + k) * kPieceBytes;
                if (const int error = front.write(first, QByteArrayView(expected).sliced(first, kPieceBytes)))
                    return error;
                if (const int error = back.write(second, QByteArrayView(expected).sliced(second, kPieceBytes)))
                    return error;
            }
            return 0;
        },
        SafeWrite::InPlace::Never);
    QVERIFY(!failure);
    QCOMPARE(contents(path), expected);
}

void SafeWriteTest::ownerOnlyAndLinksKept_data()
{
    QTest::addColumn<QString>("before"); // "none", "file" (0644) or "link" (to a 0644 file)
    QTest::addColumn<bool>("followLinks");
    QTest::addColumn<int>("permissions");
    QTest::addColumn<int>("mode");
    QTest::newRow("new file, owner only") << QStringLiteral("none") << true << 0600 << 0600;
    QTest::newRow("file readable by all, owner only") << QStringLiteral("file") << true << 0600 << 0600;
    QTest::newRow("file, its own permissions") << QStringLiteral("file") << true << -1 << 0644;
    QTest::newRow("link, not followed") << QStringLiteral("link") << false << -1 << 0644;
    QTest::newRow("link, not followed, owner only") << QStringLiteral("link") << false << 0600 << 0600;
}

void SafeWriteTest::ownerOnlyAndLinksKept()
{
    QFETCH(QString, before);
    QFETCH(bool, followLinks);
    QFETCH(int, permissions);
    QFETCH(int, mode);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("notice"));
    const QString other = dir.filePath(QStringLiteral("other"));
    if (before != QLatin1String("none")) {
        put(before == QLatin1String("link") ? other : path, "old");
        QCOMPARE(::chmod(QFile::encodeName(before == QLatin1String("link") ? other : path).constData(), 0644), 0);
    }
    if (before == QLatin1String("link"))
        QVERIFY(QFile::link(other, path));
    const mode_t umask = ::umask(022);

    SafeWrite::Options options;
    options.followLinks = followLinks;
    options.permissions = permissions;
    QCOMPARE(SafeWrite::replaceFile(path, "new", options), std::nullopt);
    ::umask(umask);
    QCOMPARE(contents(path), QByteArray("new"));
    QCOMPARE(modeOf(path), mode_t(S_IFREG | mode));
    // The file a link named is never written through it.
    if (before == QLatin1String("link"))
        QCOMPARE(contents(other), QByteArray("old"));
}

void SafeWriteTest::removeFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("file") << QStringLiteral("file") << QString();
    QTest::newRow("link, its file kept") << QStringLiteral("link") << QString();
    QTest::newRow("missing") << QStringLiteral("missing") << QString();
    QTest::newRow("folder") << QStringLiteral("folder") << QStringLiteral("Is a directory");
}

void SafeWriteTest::removeFile()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("notice"));
    const QString other = dir.filePath(QStringLiteral("other"));
    put(other, "kept");
    if (kind == QLatin1String("file"))
        put(path, "old");
    else if (kind == QLatin1String("link"))
        QVERIFY(QFile::link(other, path));
    else if (kind == QLatin1String("folder"))
        QVERIFY(QDir().mkdir(path));

    QCOMPARE(SafeWrite::removeFile(path).value_or(QString()), reason);
    QCOMPARE(modeOf(path) != 0, kind == QLatin1String("folder"));
    QCOMPARE(contents(other), QByteArray("kept"));
}

void SafeWriteTest::ordinaryUserKeepsModeAndReadOnlyFiles_data()
{
    QTest::addColumn<Writer>("writer");
    QTest::newRow("database") << Writer::Database;
    QTest::newRow("settings") << Writer::Settings;
}

// The replacement takes the old file's mode even where the umask would make
// it another (0664 under 022 gives 0644), and a file its owner made read-only
// is not replaced.
void SafeWriteTest::ordinaryUserKeepsModeAndReadOnlyFiles()
{
    QFETCH(Writer, writer);
    QTemporaryDir dir;
    const QString shared = dir.filePath(QStringLiteral("shared"));
    const QString readOnly = dir.filePath(QStringLiteral("read-only"));
    const std::optional<QByteArray> seen = OrdinaryUser::run(dir.path(), [&] {
        ::umask(022);
        put(shared, oldContent());
        put(readOnly, oldContent());
        if (::chmod(QFile::encodeName(shared).constData(), 0664) != 0
            || ::chmod(QFile::encodeName(readOnly).constData(), 0444) != 0)
            return QByteArray("<chmod failed>");
        const QString saved = write(writer, shared, 100);
        const QString refused = write(writer, readOnly, 100);
        return QStringList({saved, QString::number(modeOf(shared) & 07777, 8), refused,
                            contents(readOnly) == oldContent() ? QStringLiteral("kept") : QStringLiteral("changed")})
            .join(QLatin1Char('|'))
            .toUtf8();
    });
    if (!seen)
        QSKIP("no ordinary user can be had here");
    QCOMPARE(QString::fromUtf8(*seen),
             QStringList({QString(), QStringLiteral("664"),
                          refusal(writer, readOnly, QStringLiteral("Permission denied")), QStringLiteral("kept")})
                 .join(QLatin1Char('|')));
}

TABLORA_GUILESS_TEST_MAIN(SafeWriteTest)
#include "tst_safewrite.moc"
