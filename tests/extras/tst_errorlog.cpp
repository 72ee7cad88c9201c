#include "GuardedTest.h"
#include "ProgramFolder.h"
#include "ScriptedDesktop.h"
#include "base/FileDescriptor.h"
#include "base/Windows1251.h"
#include "base/WorkProgress.h"
#include "extras/ErrorHandler.h"
#include "extras/ErrorLog.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <chrono>
#include <future>
#include <new>

#include <fcntl.h>
#include <sys/stat.h>

class ErrorLogTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void dateAndTime_data();
    void dateAndTime();
    void lineLayout();
    void fullStop_data();
    void fullStop();
    void handlerLogsAndShows();
    void refusalKeepsItsExclamationMark();
    void runningOutOfMemoryIsToldInRussian();
    void stoppedWorkIsNeitherLoggedNorShown();
    void unwritableLogStillShowsTheMessage();
    void specialLogFileIsLeftAlone_data();
    void specialLogFileIsLeftAlone();
    void captionFollowsTheApplicationTitle();

private:
    QStringList logLines() const;

    ProgramFolder m_folder;
    ScriptedDesktop m_desktop;
    QString m_logPath;
};

void ErrorLogTest::init()
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    m_desktop.reset();
    m_logPath = m_folder.filePath(QStringLiteral("errors.log"));
    QFile::remove(m_logPath);
    QDir().rmdir(m_logPath);
}

void ErrorLogTest::cleanup()
{
    QLocale::setDefault(QLocale::c());
    QVERIFY2(m_desktop.problems().isEmpty(), qPrintable(m_desktop.problems().join(QLatin1Char('\n'))));
}

QStringList ErrorLogTest::logLines() const
{
    QFile f(m_logPath);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = f.readAll();
    if (!bytes.endsWith("\r\n"))
        return {QStringLiteral("<missing CR LF at the end>")};
    QStringList lines = Windows1251::decode(bytes).split(QStringLiteral("\r\n"));
    lines.removeLast();
    return lines;
}

void ErrorLogTest::dateAndTime_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QDateTime>("when");
    QTest::addColumn<QString>("text");
    const QLocale ru(QLocale::Russian, QLocale::Russia);
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    QTest::newRow("russian") << ru << QDateTime(QDate(2026, 3, 4), QTime(9, 5, 7)) << "04.03.2026 09:05:07";
    QTest::newRow("russian midnight") << ru << QDateTime(QDate(2026, 3, 4), QTime(0, 0)) << "04.03.2026";
    QTest::newRow("just after midnight") << ru << QDateTime(QDate(2026, 3, 4), QTime(0, 0, 1)) << "04.03.2026 00:00:01";
    QTest::newRow("american, no time zone")
        << us << QDateTime(QDate(2026, 12, 31), QTime(23, 59, 58)) << "12/31/26 11:59:58 PM";
}

void ErrorLogTest::dateAndTime()
{
    QFETCH(QLocale, locale);
    QFETCH(QDateTime, when);
    QFETCH(QString, text);
    QCOMPARE(ErrorLog::dateTimeText(when, locale), text);
}

void ErrorLogTest::lineLayout()
{
    const QDateTime when(QDate(2026, 3, 14), QTime(15, 9, 26));
    QCOMPARE(ErrorLog::line(when, QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("Ошибка чтения")),
             QStringLiteral("Tablora 1.5 (http://tablora.example.org/soft/tablora.php)|Date and Time: "
                            "14.03.2026 15:09:26|Error:Ошибка чтения"));
}

void ErrorLogTest::fullStop_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("cyrillic letter") << "Файл не найден"
                                     << "Файл не найден.";
    QTest::newRow("latin letter") << "Cannot create file"
                                  << "Cannot create file.";
    QTest::newRow("digit") << "Код 5"
                           << "Код 5.";
    QTest::newRow("full stop") << "Готово."
                               << "Готово.";
    QTest::newRow("exclamation") << "Нет прав!"
                                 << "Нет прав!";
    QTest::newRow("bracket") << "Ошибка (диск)"
                             << "Ошибка (диск)";
    QTest::newRow("comma is below the full stop") << "a,"
                                                  << "a,";
    QTest::newRow("slash is above it") << "a/"
                                       << "a/.";
    QTest::newRow("empty") << ""
                           << "";
}

void ErrorLogTest::fullStop()
{
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(ErrorLog::withFullStop(message), shown);
}

void ErrorLogTest::handlerLogsAndShows()
{
    ErrorHandler handler(m_desktop, m_logPath);
    m_desktop.expectMessage(QStringLiteral("Файл повреждён."), QStringLiteral("Tablora 1.5"));
    handler.run([] { throw TabloraError(QStringLiteral("Файл повреждён")); });
    m_desktop.clock = m_desktop.clock.addSecs(1);
    m_desktop.expectMessage(QStringLiteral("Второй."));
    handler.run([] { throw TabloraError(QStringLiteral("Второй")); });

    const QStringList lines = logLines();
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines.at(0).endsWith(QStringLiteral("|Date and Time: 14.03.2026 15:09:26|Error:Файл повреждён")));
    QVERIFY(lines.at(1).endsWith(QStringLiteral("15:09:27|Error:Второй")));
    QVERIFY(m_desktop.log().last().endsWith(QStringLiteral("|error")));
}

void ErrorLogTest::refusalKeepsItsExclamationMark()
{
    ErrorHandler handler(m_desktop, m_logPath);
    const QString refusal =
        QStringLiteral("У Вас не достаточно прав, чтобы выполнить это действие. Обратитесь к администратору!");
    m_desktop.expectMessage(refusal);
    handler.run([&] { throw TabloraError(refusal); });
    QCOMPARE(logLines().size(), 1);
    QVERIFY(logLines().at(0).endsWith(QStringLiteral("|Error:") + refusal));
}

void ErrorLogTest::runningOutOfMemoryIsToldInRussian()
{
    ErrorHandler handler(m_desktop, m_logPath);
    m_desktop.expectMessage(QStringLiteral("Недостаточно памяти для выполнения операции."));
    handler.run([] { throw std::bad_alloc(); });
    QCOMPARE(logLines().size(), 1);
    QVERIFY(logLines().at(0).endsWith(QStringLiteral("|Error:Недостаточно памяти для выполнения операции")));
}

// The user pressed "Отмена" on the bar of long work: the command ends there.
void ErrorLogTest::stoppedWorkIsNeitherLoggedNorShown()
{
    ErrorHandler handler(m_desktop, m_logPath);
    handler.run([] { throw WorkStopped(); });
    QVERIFY(logLines().isEmpty());
    QCOMPARE(m_desktop.log(), QStringList());
}

void ErrorLogTest::unwritableLogStillShowsTheMessage()
{
    // A log path whose folder is a regular file cannot be created, even as root.
    QFile blocker(m_folder.filePath(QStringLiteral("not-a-folder")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ErrorHandler handler(m_desktop, blocker.fileName() + QStringLiteral("/errors.log"));
    m_desktop.expectMessage(QStringLiteral("Сбой."));
    handler.run([] { throw TabloraError(QStringLiteral("Сбой")); });
    bool after = false;
    handler.run([&] { after = true; });
    QVERIFY(after);
}

void ErrorLogTest::specialLogFileIsLeftAlone_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("FIFO without a reader") << QStringLiteral("FIFO");
    QTest::newRow("FIFO with a reader") << QStringLiteral("FIFO with a reader");
    QTest::newRow("link to a device") << QStringLiteral("device");
    QTest::newRow("folder") << QStringLiteral("folder");
}

// Whatever stands at the path instead of a regular file is neither written
// nor waited for, and the message is shown all the same.
void ErrorLogTest::specialLogFileIsLeftAlone()
{
    QFETCH(QString, kind);
    const QByteArray name = QFile::encodeName(m_logPath);
    FileDescriptor reader;
    if (kind.startsWith(QLatin1String("FIFO"))) {
        QCOMPARE(::mkfifo(name.constData(), 0600), 0);
        if (kind.endsWith(QLatin1String("reader")))
            reader = FileDescriptor(::open(name.constData(), O_RDONLY | O_NONBLOCK));
    } else if (kind == QLatin1String("device")) {
        QVERIFY(QFile::link(QStringLiteral("/dev/null"), m_logPath));
    } else {
        QVERIFY(QDir().mkdir(m_logPath));
    }

    // A log that waits for a reader is given one after a while, so that the
    // test fails rather than hangs.
    auto appended = std::async(std::launch::async, [this] { return ErrorLog::append(m_logPath, QStringLiteral("x")); });
    if (appended.wait_for(std::chrono::seconds(10)) == std::future_status::timeout) {
        const FileDescriptor release(::open(name.constData(), O_RDONLY | O_NONBLOCK));
        appended.wait();
        QFAIL("the log waited for a FIFO's reader");
    }
    QVERIFY(!appended.get());
    char byte = 0;
    if (reader.isOpen())
        QVERIFY(::read(reader.get(), &byte, 1) <= 0); // nothing was written into it

    ErrorHandler handler(m_desktop, m_logPath);
    m_desktop.expectMessage(QStringLiteral("Сбой."));
    handler.run([] { throw TabloraError(QStringLiteral("Сбой")); });
}

void ErrorLogTest::captionFollowsTheApplicationTitle()
{
    ErrorHandler handler(m_desktop, m_logPath);
    handler.setApplicationTitle(QStringLiteral("Tablora 1.5 [Склад.db]"));
    m_desktop.expectMessage(QStringLiteral("x."), QStringLiteral("Tablora 1.5 [Склад.db]"));
    handler.run([] { throw std::runtime_error("x"); });
}

TABLORA_GUILESS_TEST_MAIN(ErrorLogTest)
#include "tst_errorlog.moc"
