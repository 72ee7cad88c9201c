#include "GuardedTest.h"
#include "MainWindowAccess.h"
#include "ProgramFolder.h"
#include "ScriptedDesktop.h"
#include "SigningKey.h"
#include "app/ui/MainWindow.h"
#include "app/ui/QtDesktopServices.h"
#include "base/ErrorReporter.h"
#include "base/Windows1251.h"
#include "extras/ui/UpdateDialog.h"
#include "users/Accounts.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

namespace {

// A web server on 127.0.0.1 that answers GET requests from a table of paths.
// A file marked cut announces its whole length but sends only the first half
// before it hangs up; a stalled one sends its first half and waits; an
// endless one, of no announced length, sends its content again and again
// while the client takes it; a trickled one, of no announced length, sends
// it in small pieces, a millisecond apart, until it hangs up. A file may
// announce a length other than its own. A file with a redirect is moved
// there. A file with a status other than 200 is the server's error page.
class LocalServer : public QObject
{
public:
    struct File
    {
        File(QByteArray content = {}, bool cut = false, bool stall = false)
            : content(std::move(content))
            , cut(cut)
            , stall(stall)
        {
        }

        QByteArray content;
        bool cut;
        bool stall;
        bool endless = false;
        bool trickle = false;
        qint64 announced = -1; // its own length when negative
        QByteArray redirect;
        QByteArray status = "200 OK";
    };
    QHash<QString, File> files;
    bool stalled = false; // a stalled file is being sent
    bool clientLeftStalled = false;
    bool clientLeftEndless = false;

    LocalServer()
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { answer(socket); });
        });
        m_server.listen(QHostAddress::LocalHost);
    }

    quint16 port() const { return m_port ? m_port : m_server.serverPort(); }
    // Stops listening: connections to the port are refused.
    void refuse()
    {
        m_port = m_server.serverPort();
        m_server.close();
    }

private:
    void answer(QTcpSocket *socket)
    {
        QByteArray &request = m_requests[socket];
        request += socket->readAll();
        if (!request.contains("\r\n\r\n"))
            return;
        const QString path = QString::fromLatin1(request.split(' ').value(1));
        if (!files.contains(path)) {
            socket->write("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
            socket->disconnectFromHost();
            return;
        }
        const File &file = files[path];
        if (!file.redirect.isEmpty()) {
            socket->write("HTTP/1.1 302 Found\r\nLocation: " + file.redirect
                          + "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
            socket->disconnectFromHost();
            return;
        }
        if (file.endless) {
            socket->write("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n");
            const QByteArray piece = file.content.repeated(65536 / file.content.size() + 1);
            connect(socket, &QTcpSocket::bytesWritten, socket, [socket, piece] {
                if (socket->bytesToWrite() < piece.size())
                    socket->write(piece);
            });
            connect(socket, &QTcpSocket::disconnected, this, [this] { clientLeftEndless = true; });
            socket->write(piece);
            return;
        }
        if (file.trickle) {
            socket->write("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n");
            auto *pieces = new QTimer(socket);
            connect(pieces, &QTimer::timeout, socket,
                    [socket, pieces, content = file.content, sent = qsizetype(0)]() mutable {
                        socket->write(content.mid(sent, 1000));
                        sent += 1000;
                        if (sent < content.size())
                            return;
                        pieces->stop();
                        socket->disconnectFromHost();
                    });
            pieces->start(1);
            return;
        }
        const qint64 length = file.announced >= 0 ? file.announced : file.content.size();
        socket->write("HTTP/1.1 " + file.status
                      + "\r\nConnection: close\r\nContent-Length: " + QByteArray::number(length) + "\r\n\r\n");
        socket->write(file.cut || file.stall ? file.content.left(file.content.size() / 2) : file.content);
        if (file.stall) {
            stalled = true;
            connect(socket, &QTcpSocket::disconnected, this, [this] { clientLeftStalled = true; });
        } else
            socket->disconnectFromHost();
    }

    QTcpServer m_server;
    quint16 m_port = 0;
    QHash<QTcpSocket *, QByteArray> m_requests;
};

// The scripted desktop with real transfers. Its timeline holds, in order,
// every status the dialog shows, every transfer started and every pause.
class UpdateDesktop : public ScriptedDesktop
{
public:
    QPointer<QLabel> status; // the dialog's status label
    QStringList timeline;

    void restart()
    {
        reset();
        status = nullptr;
        timeline.clear();
        m_last.clear();
    }

    void processEvents() override
    {
        ScriptedDesktop::processEvents();
        note();
    }
    void sleep(int milliseconds) override
    {
        ScriptedDesktop::sleep(milliseconds);
        timeline.append(QStringLiteral("sleep %1").arg(milliseconds));
    }
    std::unique_ptr<Download> download(const QUrl &url, const QString &localPath, qint64 maxBytes,
                                       DownloadProgress progress, DownloadFinished finished) override
    {
        timeline.append(QStringLiteral("download ") + url.path());
        return m_network.download(
            url, localPath, maxBytes,
            [this, progress](qint64 received, qint64 total) {
                progress(received, total);
                note();
            },
            std::move(finished));
    }

private:
    void note()
    {
        if (status && status->text() != m_last) {
            m_last = status->text();
            timeline.append(m_last);
        }
    }

    QString m_last;
    QtDesktopServices m_network;
};

class NoErrors : public ErrorReporter
{
public:
    QStringList reported;
    void report(const QString &message) noexcept override { reported.append(message); }
};

template<typename T = QPushButton>
T *child(QObject &parent, const char *name)
{
    return parent.findChild<T *>(QString::fromLatin1(name));
}

// The bytes of the files this process holds open in the folder, named or
// not (an unnamed one shows as "<folder>/#<inode> (deleted)").
qint64 bytesInOpenFilesBelow(const QString &folder)
{
    qint64 bytes = 0;
    const QDir descriptors(QStringLiteral("/proc/self/fd"));
    for (const QString &fd : descriptors.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        const QFileInfo link(descriptors.filePath(fd));
        if (link.symLinkTarget().startsWith(folder + QLatin1Char('/')))
            bytes += link.size(); // the link leads to the file even when it has no name
    }
    return bytes;
}

// Waits until the dialog's steps are over: "Проверить" takes clicks again.
bool stepsOver(QDialog &dialog)
{
    return QTest::qWaitFor([&] { return child(dialog, "checkButton")->isEnabled(); }, 20000);
}

} // namespace

class UpdateTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void check_data();
    void check();
    void closingDuringTheDownloadCancelsIt();
    void downloadStartsTheUpdater_data();
    void downloadStartsTheUpdater();
    void onlyASignedUpdaterStarts_data();
    void onlyASignedUpdaterStarts();
    void installedCopyFetchesNoUpdater();
    void rightsCheck_data();
    void rightsCheck();

private:
    QString connecting() const;
    std::unique_ptr<MainWindow> startMainWindow();

    // Serves a newer release and the updater, signed.
    void serveSignedUpdater();

    std::unique_ptr<ProgramFolder> m_folder;
    std::unique_ptr<LocalServer> m_server;
    UpdateDesktop m_desktop;
    NoErrors m_errors;
    SigningKey m_key;
};

void UpdateTest::init()
{
    m_desktop.restart();
    m_errors.reported.clear();
    m_folder = std::make_unique<ProgramFolder>();
    m_server = std::make_unique<LocalServer>();
    qputenv("TABLORA_UPDATE_HOST", "127.0.0.1:" + QByteArray::number(m_server->port()));
}

void UpdateTest::cleanup()
{
    qunsetenv("TABLORA_UPDATE_HOST");
    QVERIFY2(m_desktop.problems().isEmpty(), qPrintable(m_desktop.problems().join(QLatin1Char('\n'))));
}

QString UpdateTest::connecting() const
{
    return QStringLiteral("Попытка соединения с сервером 127.0.0.1:%1...").arg(m_server->port());
}

void UpdateTest::check_data()
{
    QTest::addColumn<QByteArray>("versionFile");
    // 0 whole, 1 cut half-way, 2 refused, 3 endlessly again, 4 moved on the
    // server, 5 moved to another server, 6 not found, 7 server error, 8 in
    // small pieces of no announced length
    QTest::addColumn<int>("serve");
    QTest::addColumn<bool>("offline");
    QTest::addColumn<QStringList>("statuses"); // after "Попытка соединения..." and the transfer
    QTest::addColumn<bool>("newer");

    const QString loaded = QStringLiteral("Информация о новой версии загружена");
    const QString comparing = QStringLiteral("Сравнивание версий");
    const QString failed = QStringLiteral("Ошибка обновления");
    QTest::newRow("2: current") << QByteArray("2\r\nTablora 1.5\r\n") << 0 << false
                                << QStringList{"Загрузка...", loaded, "sleep 200", comparing,
                                               "У Вас самая свежая версия программы"}
                                << false;
    QTest::newRow("offline, 3 with line 2")
        << Windows1251::encode(QStringLiteral("3\nВерсия 1.6\nпрочее")) << 0 << true
        << QStringList{"Загрузка...", loaded, "sleep 200", comparing, "Доступна новая версия: Версия 1.6"} << true;
    // The server's text is shown as text: a picture there once froze the window.
    QTest::newRow("3 with markup in line 2")
        << QByteArray("3\r\n<img src=\"/dev/zero\"><font size=7>1.6</font>\r\n") << 0 << false
        << QStringList{"Загрузка...", loaded, "sleep 200", comparing,
                       "Доступна новая версия: <img src=\"/dev/zero\"><font size=7>1.6</font>"}
        << true;
    QTest::newRow("3 without line 2") << QByteArray(
        "3") << 0 << false << QStringList{"Загрузка...", loaded, "sleep 200", comparing, "Доступна новая версия: "}
                                      << true;
    QTest::newRow("not a number") << Windows1251::encode(QStringLiteral("три\r\n3\r\n")) << 0 << false
                                  << QStringList{"Загрузка...", loaded, "sleep 200", comparing, failed} << false;
    QTest::newRow("refused connection") << QByteArray("3\r\n") << 2 << false << QStringList{"Загрузка...", failed}
                                        << false;
    QTest::newRow("cut off half-way") << QByteArray(4000, '3') << 1 << false << QStringList{"Загрузка...", failed}
                                      << false;

    // The version file is a few bytes: 64 KB are read, anything more is not.
    const QByteArray largest = "3\r\n" + QByteArray(64 * 1024 - 3, 'x');
    QTest::newRow("64 KB") << largest << 0 << false
                           << QStringList{"Загрузка...", loaded, "sleep 200", comparing,
                                          QStringLiteral("Доступна новая версия: ")
                                              + QString(64 * 1024 - 3, QLatin1Char('x'))}
                           << true;
    QTest::newRow("a byte over 64 KB") << largest + "x" << 0 << false << QStringList{"Загрузка...", failed} << false;
    QTest::newRow("endless") << QByteArray("3\r\n1.6\r\n") << 3 << false << QStringList{"Загрузка...", failed} << false;
    QTest::newRow("a byte over 64 KB in small pieces")
        << largest + "x" << 8 << false << QStringList{"Загрузка...", failed} << false;
    // Redirects stay on the update server.
    QTest::newRow("moved on the server") << QByteArray("3\r\n1.6\r\n") << 4 << false
                                         << QStringList{"Загрузка...", loaded, "sleep 200", comparing,
                                                        "Доступна новая версия: 1.6"}
                                         << true;
    QTest::newRow("moved to another server")
        << QByteArray("3\r\n1.6\r\n") << 5 << false << QStringList{"Загрузка...", failed} << false;
    // The error page arrives whole; the bar must not stand full after it.
    QTest::newRow("404 with a page") << QByteArray(4000, '<') << 6 << false << QStringList{"Загрузка...", failed}
                                     << false;
    QTest::newRow("500 with a page") << QByteArray(4000, '<') << 7 << false << QStringList{"Загрузка...", failed}
                                     << false;
}

void UpdateTest::check()
{
    QFETCH(QByteArray, versionFile);
    QFETCH(int, serve);
    QFETCH(bool, offline);
    QFETCH(QStringList, statuses);
    QFETCH(bool, newer);
    const QString versionPath = QStringLiteral("/other/tabloraversion.txt");
    LocalServer::File served{versionFile, serve == 1};
    served.endless = serve == 3;
    served.trickle = serve == 8;
    served.status = serve == 6 ? "404 Not Found" : serve == 7 ? "500 Internal Server Error" : "200 OK";
    LocalServer elsewhere;
    if (serve == 4) {
        m_server->files[QStringLiteral("/moved.txt")] = {versionFile};
        served.redirect = "http://127.0.0.1:" + QByteArray::number(m_server->port()) + "/moved.txt";
    } else if (serve == 5) {
        elsewhere.files[versionPath] = {versionFile};
        served.redirect = "http://localhost:" + QByteArray::number(elsewhere.port()) + versionPath.toLatin1();
    } else if (serve == 2) {
        m_server->refuse();
    }
    m_server->files[versionPath] = served;
    const QString saved = QStringLiteral("tabloraversion.txt");
    m_folder->write(saved, "1\r\nan earlier check\r\n");
    m_desktop.offline = offline;

    bool startAsked = false;
    UpdateDialog dialog(m_desktop, m_errors, m_folder->dir(), m_key.publicKey(), [&] { return startAsked = true; });
    m_desktop.status = child<QLabel>(dialog, "statusLabel");
    QCOMPARE(m_desktop.status->text(),
             offline ? QStringLiteral("Вы не подключены к сети. Проверьте подключение перед "
                                      "обновлением!")
                     : QStringLiteral("Жду старта..."));
    child(dialog, "checkButton")->click();
    QVERIFY(stepsOver(dialog));

    QCOMPARE(m_desktop.timeline, (QStringList{connecting(), "download /other/tabloraversion.txt"} + statuses));
    QCOMPARE(m_desktop.status->textFormat(), Qt::PlainText);
    QCOMPARE(child(dialog, "downloadButton")->isVisibleTo(&dialog), newer);
    QVERIFY(!child<QLabel>(dialog, "packageNote")->isVisibleTo(&dialog)); // a copy of its own folder
    const bool failure = statuses.last() == QStringLiteral("Ошибка обновления");
    QCOMPARE(child<QLabel>(dialog, "updatePageLink")->isVisibleTo(&dialog), failure);
    const auto *bar = child<QProgressBar>(dialog, "progressBar");
    QVERIFY(bar->maximum() > 0); // no transfer left looking busy
    if (failure)
        QCOMPARE(bar->value(), bar->minimum()); // nor looking done
    const bool transferred = statuses.contains(QStringLiteral("Информация о новой версии загружена"));
    QCOMPARE(m_folder->read(saved), transferred ? versionFile : QByteArray("1\r\nan earlier check\r\n"));
    QVERIFY(serve != 3 || QTest::qWaitFor([&] { return m_server->clientLeftEndless; }, 20000));
    QVERIFY(m_errors.reported.isEmpty()); // the dialog's failures go to no error handler
    QVERIFY(!startAsked);
    if (failure) {
        emit child<QLabel>(dialog, "updatePageLink")->linkActivated({});
        QCOMPARE(m_desktop.logged(QStringLiteral("open ")),
                 QStringList{QStringLiteral("open http://127.0.0.1:%1/update.php").arg(m_server->port())});
    }
}

void UpdateTest::closingDuringTheDownloadCancelsIt()
{
    m_server->files[QStringLiteral("/other/tabloraversion.txt")] = {"3"};
    m_server->files[QStringLiteral("/files/tabloraupdate.exe")] = {QByteArray(100000, 'U'), false, true};
    bool startAsked = false;
    UpdateDialog dialog(m_desktop, m_errors, m_folder->dir(), m_key.publicKey(), [&] { return startAsked = true; });
    child(dialog, "checkButton")->click();
    QVERIFY(stepsOver(dialog));
    child(dialog, "downloadButton")->click();
    QVERIFY(QTest::qWaitFor([&] { return m_server->stalled; }, 20000));
    // What has come is on the disk already, in a new file in the folder.
    QVERIFY(QTest::qWaitFor([&] { return bytesInOpenFilesBelow(m_folder->path()) == 50000; }, 20000));

    dialog.reject(); // "Отмена", Esc and the close box alike
    QVERIFY(QTest::qWaitFor([&] { return m_server->clientLeftStalled; }, 20000));
    QVERIFY(!QFile::exists(m_folder->filePath(QStringLiteral("tabloraupdate.exe"))));
    QCOMPARE(bytesInOpenFilesBelow(m_folder->path()), 0);
    QVERIFY(
        QDir(m_folder->path()).entryList(QDir::Hidden | QDir::Files).filter(QStringLiteral("tabloraupdate")).isEmpty());
    QVERIFY(!startAsked);
    QVERIFY(!m_desktop.terminateRequested());
    QVERIFY(m_desktop.logged(QStringLiteral("start ")).isEmpty());
}

void UpdateTest::serveSignedUpdater()
{
    const QByteArray updater(100000, 'U');
    m_server->files[QStringLiteral("/other/tabloraversion.txt")] = {"3\r\n1.6\r\n"};
    m_server->files[QStringLiteral("/files/tabloraupdate.exe")] = {updater};
    m_server->files[QStringLiteral("/files/tabloraupdate.exe.sig")] = {m_key.sign(updater)};
}

std::unique_ptr<MainWindow> UpdateTest::startMainWindow()
{
    m_folder->write(QStringLiteral("data/other.dat"), "[Enter]\r\nQuestionOnStart=0\r\n");
    m_folder->write(QStringLiteral("data/config.ini"), "[Run]\r\nFirst=0\r\n[General]\r\nQuickStart=1\r\n");
    auto window = std::make_unique<MainWindow>(m_desktop, m_folder->dir(), QStringList{});
    MainWindowAccess::updateCommand(*window).setTrustedKey(m_key.publicKey());
    MainWindowAccess::startupTimer(*window).setInterval(0);
    window->prepareToShow();
    QCoreApplication::processEvents(); // the start timer's tick
    return window;
}

void UpdateTest::downloadStartsTheUpdater_data()
{
    QTest::addColumn<bool>("modified");
    QTest::addColumn<int>("answer"); // to the save question, -1 for none
    QTest::addColumn<bool>("saveDialogConfirmed");
    QTest::addColumn<bool>("ends");

    using A = DesktopServices::Answer;
    QTest::newRow("unmodified table: no question") << false << -1 << false << true;
    QTest::newRow("modified, not saved") << true << int(A::No) << false << true;
    QTest::newRow("modified, saved") << true << int(A::Yes) << true << true;
    QTest::newRow("modified, save cancelled: stays") << true << int(A::Yes) << false << false;
    QTest::newRow("modified, question cancelled: stays") << true << int(A::Cancel) << false << false;
}

void UpdateTest::downloadStartsTheUpdater()
{
    QFETCH(bool, modified);
    QFETCH(int, answer);
    QFETCH(bool, saveDialogConfirmed);
    QFETCH(bool, ends);
    serveSignedUpdater();
    auto window = startMainWindow();
    window->document().setModified(modified);
    const QString database = m_folder->filePath(QStringLiteral("saved.db"));

    m_desktop.clearLog();
    m_desktop.expectDialog([&](QDialog &dialog) {
        m_desktop.status = child<QLabel>(dialog, "statusLabel");
        child(dialog, "checkButton")->click();
        if (!stepsOver(dialog))
            return -1;
        child(dialog, "downloadButton")->click();
        stepsOver(dialog);
        return dialog.result();
    });
    if (answer >= 0)
        m_desktop.expectQuestion(
            QStringLiteral("База данных \"Новая база данных\" была изменена. Сохранить изменения?"),
            DesktopServices::Answer(answer), QStringLiteral("Предупреждение"));
    if (answer == int(DesktopServices::Answer::Yes)) {
        if (saveDialogConfirmed)
            m_desktop.expectSaveFile(database);
        else
            m_desktop.expectSaveFileCancelled();
    }
    window->action(Command::CheckUpdate)->trigger();

    const QString updater = m_folder->filePath(QStringLiteral("tabloraupdate.exe"));
    QCOMPARE(m_folder->read(QStringLiteral("tabloraupdate.exe")),
             QByteArray(100000, 'U')); // the download stays either way
    QCOMPARE(m_desktop.terminateRequested(), ends);
    // Started as a program, never opened by a handler of the file's type.
    QCOMPARE(m_desktop.logged(QStringLiteral("start ")),
             ends ? QStringList{QStringLiteral("start ") + QDir::toNativeSeparators(updater)} : QStringList{});
    QVERIFY(m_desktop.logged(QStringLiteral("open ")).isEmpty());
    if (ends)
        QCOMPARE(QFile::permissions(updater),
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadUser | QFile::WriteUser
                     | QFile::ExeUser);
    const QStringList tail = m_desktop.timeline.mid(m_desktop.timeline.indexOf("download /files/tabloraupdate.exe"));
    QStringList expected{"download /files/tabloraupdate.exe", "Загрузка...", "download /files/tabloraupdate.exe.sig",
                         "Загрузка завершена", "sleep 500"};
    if (ends)
        expected += QStringList{"Обновление программы...", "sleep 200"};
    QCOMPARE(tail, expected);
    QCOMPARE(QFile::exists(database), saveDialogConfirmed);
    QCOMPARE(window->document().isModified(), modified && !saveDialogConfirmed);
}

enum class Served { Signed, NoSignature, OtherKey, OtherBytes, SignaturePadded, AnnouncedShorter };

void UpdateTest::onlyASignedUpdaterStarts_data()
{
    QTest::addColumn<Served>("served");
    QTest::newRow("signed with the trusted key") << Served::Signed;
    QTest::newRow("no signature on the server") << Served::NoSignature;
    QTest::newRow("signed with another key") << Served::OtherKey;
    QTest::newRow("signature of other bytes") << Served::OtherBytes;
    QTest::newRow("signature with bytes after it") << Served::SignaturePadded;
    // The first bytes as many as announced, the rest never read.
    QTest::newRow("announces less than it sends") << Served::AnnouncedShorter;
}

// Anyone on the way can hand the program another file: only the one the
// project signed runs, and it runs as a program, never opened by the type
// its bytes suggest.
void UpdateTest::onlyASignedUpdaterStarts()
{
    QFETCH(Served, served);
    serveSignedUpdater();
    const QByteArray updater = m_server->files[QStringLiteral("/files/tabloraupdate.exe")].content;
    LocalServer::File &signature = m_server->files[QStringLiteral("/files/tabloraupdate.exe.sig")];
    switch (served) {
    case Served::Signed:
        break;
    case Served::NoSignature:
        m_server->files.remove(QStringLiteral("/files/tabloraupdate.exe.sig"));
        break;
    case Served::OtherKey:
        signature.content = SigningKey().sign(updater);
        break;
    case Served::OtherBytes:
        signature.content = m_key.sign("#!/bin/sh\nrm -rf ~\n");
        break;
    case Served::SignaturePadded:
        signature.content += '\n';
        break;
    case Served::AnnouncedShorter:
        m_server->files[QStringLiteral("/files/tabloraupdate.exe")].announced = 1000;
        break;
    }
    const bool starts = served == Served::Signed;

    bool startAsked = false;
    UpdateDialog dialog(m_desktop, m_errors, m_folder->dir(), m_key.publicKey(), [&] { return startAsked = true; });
    m_desktop.status = child<QLabel>(dialog, "statusLabel");
    child(dialog, "checkButton")->click();
    QVERIFY(stepsOver(dialog));
    child(dialog, "downloadButton")->click();
    QVERIFY(stepsOver(dialog));

    QCOMPARE(startAsked, starts);
    QCOMPARE(m_desktop.terminateRequested(), starts);
    QCOMPARE(m_desktop.logged(QStringLiteral("start ")).size(), starts ? 1 : 0);
    QVERIFY(m_desktop.logged(QStringLiteral("open ")).isEmpty());
    QCOMPARE(m_folder->read(QStringLiteral("tabloraupdate.exe")), starts ? updater : QByteArray());
    QCOMPARE(QFile::exists(m_folder->filePath(QStringLiteral("tabloraupdate.exe.sig"))), starts);
    if (!starts) {
        QCOMPARE(m_desktop.status->text(), UpdateDialog::badSignatureStatus());
        QVERIFY(child<QLabel>(dialog, "updatePageLink")->isVisibleTo(&dialog));
    }
}

// A copy installed from the package is updated by the package manager: it
// checks, tells, and fetches no updater.
void UpdateTest::installedCopyFetchesNoUpdater()
{
    serveSignedUpdater();
    const ProgramDir installed = ProgramDir::choose(m_folder->filePath(QStringLiteral("usr/lib/tablora")),
                                                    {false, true}, m_folder->path());
    UpdateDialog dialog(m_desktop, m_errors, installed, m_key.publicKey(), [] { return true; });
    m_desktop.status = child<QLabel>(dialog, "statusLabel");
    child(dialog, "checkButton")->click();
    QVERIFY(stepsOver(dialog));

    QCOMPARE(m_desktop.status->text(), QStringLiteral("Доступна новая версия: 1.6"));
    QVERIFY(!child(dialog, "downloadButton")->isVisibleTo(&dialog));
    QCOMPARE(child<QLabel>(dialog, "packageNote")->text(),
             QStringLiteral("Обновите Tablora менеджером пакетов системы"));
    QVERIFY(child<QLabel>(dialog, "packageNote")->isVisibleTo(&dialog));
    QVERIFY(child<QLabel>(dialog, "updatePageLink")->isVisibleTo(&dialog));
    QCOMPARE(m_desktop.timeline.filter(QStringLiteral("download ")),
             QStringList{QStringLiteral("download /other/tabloraversion.txt")});
    QCOMPARE(m_folder->read(QStringLiteral("tabloraversion.txt")), QByteArray("3\r\n1.6\r\n"));
}

void UpdateTest::rightsCheck_data()
{
    QTest::addColumn<QByteArray>("right");
    QTest::addColumn<bool>("granted");
    QTest::newRow("guest without the right") << QByteArray("0") << false;
    QTest::newRow("guest with the right") << QByteArray("1") << true;
}

void UpdateTest::rightsCheck()
{
    QFETCH(QByteArray, right);
    QFETCH(bool, granted);
    auto window = startMainWindow();
    m_folder->write(QStringLiteral("data/other.dat"), "[Prava]\r\nUpdateProgram=" + right + "\r\n");
    window->document().setRole(QStringLiteral("guest"));
    if (granted)
        m_desktop.expectDialog([](QDialog &) { return QDialog::Rejected; });
    else
        m_desktop.expectMessage(Accounts::refusalMessage());
    window->action(Command::CheckUpdate)->trigger();
}

TABLORA_TEST_MAIN(UpdateTest)
#include "tst_update.moc"
