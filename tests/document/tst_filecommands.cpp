#include "DocumentFixture.h"
#include "GuardedTest.h"
#include "ProgramFolder.h"
#include "Records.h"
#include "ScriptedDesktop.h"
#include "base/ProgramDir.h"
#include "base/SettingKeys.h"
#include "base/Settings.h"
#include "base/TabloraError.h"
#include "base/WorkProgress.h"
#include "document/DatabaseCodec.h"
#include "document/Document.h"
#include "document/DocumentTexts.h"
#include "document/DocumentView.h"
#include "document/FileCommands.h"

#include <QDir>
#include <QFile>
#include <QTest>

class FileCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void promptAnswers_data();
    void promptAnswers();
    void unsavedTableIsKept_data();
    void unsavedTableIsKept();
    void newTakesWidthsAndTitlesFromSettings();
    void openAddsToRecentFiles();
    void reopenMissingPathReadsDefaultDatabase();
    void failedLoadsChangeNothing_data();
    void failedLoadsChangeNothing();
    void saveNameRule_data();
    void saveNameRule();
    void saveUntitledCancelledWritesNothing();
    void saveRetriesThroughTheDialog();
    void saveAsReplacesAndReportsFailure();
    void saveNeedsTheRight();
    void unencodableTextIsNotLostSilently();
    void exampleLoadsUnderItsPath();
    void commandLineLoadKeepsRecentFiles();
    void importVersion10_data();
    void importVersion10();
    void importThenSaveConvertsTheFile();
    void longWorkCanBeStopped_data();
    void longWorkCanBeStopped();

private:
    QString writeDatabase(const QString &name, const TableData &table);
    TableData readBack(const QString &path);
    QString path(const QString &name) const { return QDir::toNativeSeparators(m_folder->filePath(name)); }
    // Another database, as "other.db", the example "Профайл" and recent entry 1.
    QString writeOtherDatabase();
    // Runs New, Open, Reopen 1, the example "Профайл" or Import.
    void run(int command);

    std::unique_ptr<ProgramFolder> m_folder;
    ScriptedDesktop m_desktop;
    std::unique_ptr<DocumentFixture> m_doc;
};

void FileCommandsTest::init()
{
    m_desktop.reset();
    m_folder = std::make_unique<ProgramFolder>();
    m_doc = std::make_unique<DocumentFixture>(m_desktop, m_folder->dir());
}

void FileCommandsTest::cleanup()
{
    QVERIFY2(m_desktop.problems().isEmpty(), qPrintable(m_desktop.problems().join(QLatin1Char('\n'))));
}

QString FileCommandsTest::writeDatabase(const QString &name, const TableData &table)
{
    const QString p = path(name);
    DatabaseCodec::writeTableFile(p, table);
    return p;
}

TableData FileCommandsTest::readBack(const QString &p)
{
    return DatabaseCodec::readBaseFile(p);
}

enum class Command { New, Open, Reopen, Example, Import };

QString FileCommandsTest::writeOtherDatabase()
{
    TableData other;
    other.appendRecord(record({"7", "другая"}));
    const QString otherPath = writeDatabase(QStringLiteral("other.db"), other);
    m_folder->makeFolder(QStringLiteral("Примеры"));
    writeDatabase(QStringLiteral("Примеры/Профайл.db"), other);
    m_doc->settings.write(Keys::reopenFile(1, m_folder->dir()), otherPath);
    return otherPath;
}

void FileCommandsTest::run(int command)
{
    switch (Command(command)) {
    case Command::New:
        m_doc->files.newDatabase();
        break;
    case Command::Open:
        m_doc->files.openDatabase();
        break;
    case Command::Reopen:
        m_doc->files.reopen(1);
        break;
    case Command::Example:
        m_doc->files.openExample(FileCommands::Example::Profile);
        break;
    case Command::Import:
        m_doc->files.importVersion10();
        break;
    }
}

void FileCommandsTest::promptAnswers_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("answer");
    for (auto [name, command] : {std::pair{"new", Command::New}, std::pair{"open", Command::Open},
                                 std::pair{"reopen", Command::Reopen}, std::pair{"example", Command::Example}}) {
        QTest::addRow("%s, cancel", name) << int(command) << int(DesktopServices::Answer::Cancel);
        QTest::addRow("%s, no", name) << int(command) << int(DesktopServices::Answer::No);
        QTest::addRow("%s, yes", name) << int(command) << int(DesktopServices::Answer::Yes);
    }
}

void FileCommandsTest::promptAnswers()
{
    QFETCH(int, command);
    QFETCH(int, answer);
    const QString otherPath = writeOtherDatabase();

    const QString current = writeDatabase(QStringLiteral("current.db"), TableData());
    m_doc->document.setFileName(current);
    m_doc->change("изменение");

    if (Command(command) == Command::Open)
        m_desktop.expectOpenFile(otherPath);
    m_desktop.expectQuestion(QStringLiteral("База данных \"current.db\" была изменена. Сохранить изменения?"),
                             DesktopServices::Answer(answer), QStringLiteral("Предупреждение"));
    run(command);
    QCOMPARE(m_desktop.logged(QStringLiteral("beep")).size(), 1);
    QVERIFY(m_desktop.log().at(m_desktop.log().indexOf(QStringLiteral("beep")) + 1).startsWith(u"question"));

    if (DesktopServices::Answer(answer) == DesktopServices::Answer::Cancel) {
        QCOMPARE(m_doc->document.fileName(), current);
        QVERIFY(m_doc->document.isModified());
        QCOMPARE(m_doc->document.model().recordCount(), 1);
        QCOMPARE(readBack(current).recordCount(), 0);
        return;
    }
    QVERIFY(!m_doc->document.isModified());
    // Yes saved the changes into the previous file first; No dropped them.
    QCOMPARE(readBack(current).recordCount(), DesktopServices::Answer(answer) == DesktopServices::Answer::Yes ? 1 : 0);
    QCOMPARE(m_doc->document.model().recordCount(), Command(command) == Command::New ? 0 : 1);
}

// Yes to the question, and then the save does not happen: the command must
// end as Cancel does, whatever it would have loaded.
enum class Unsaved { DialogCancelled, ReplacementDeclined, WriteFailed, RightRefused };

void FileCommandsTest::unsavedTableIsKept_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("unsaved");
    for (auto [name, command] :
         {std::pair{"new", Command::New}, std::pair{"open", Command::Open}, std::pair{"reopen", Command::Reopen},
          std::pair{"example", Command::Example}, std::pair{"import", Command::Import}}) {
        QTest::addRow("%s, save dialog cancelled", name) << int(command) << int(Unsaved::DialogCancelled);
        QTest::addRow("%s, replacement declined", name) << int(command) << int(Unsaved::ReplacementDeclined);
        QTest::addRow("%s, write failed", name) << int(command) << int(Unsaved::WriteFailed);
        QTest::addRow("%s, right refused", name) << int(command) << int(Unsaved::RightRefused);
    }
}

void FileCommandsTest::unsavedTableIsKept()
{
    QFETCH(int, command);
    QFETCH(int, unsaved);
    const QString otherPath = writeOtherDatabase();
    QFile blocker(path(QStringLiteral("blocker"))); // a name under a file cannot be written
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    switch (Unsaved(unsaved)) {
    case Unsaved::DialogCancelled:
        break; // untitled
    case Unsaved::ReplacementDeclined:
        m_doc->document.setFileName(path(QStringLiteral("current.db")));
        appendTo(m_doc->document.model(), record({"1", "中"}));
        break;
    case Unsaved::WriteFailed:
        m_doc->document.setFileName(path(QStringLiteral("blocker/current.db")));
        break;
    case Unsaved::RightRefused:
        m_doc->document.setFileName(path(QStringLiteral("current.db")));
        m_doc->document.setRole(QStringLiteral("guest"));
        break;
    }
    m_doc->change("изменение");
    const QString name = m_doc->document.fileName();
    const TableData before = m_doc->document.model().table();

    if (Command(command) == Command::Open || Command(command) == Command::Import)
        m_desktop.expectOpenFile(otherPath);
    m_desktop.expectQuestion(QStringLiteral("База данных \"") + DocumentTexts::filePart(name)
                                 + QStringLiteral("\" была изменена. Сохранить изменения?"),
                             DesktopServices::Answer::Yes);
    if (Unsaved(unsaved) == Unsaved::ReplacementDeclined)
        m_desktop.expectQuestion(QStringLiteral("В записи 1, в столбце «1 столбец», есть символы, которые нельзя "
                                                "сохранить в файле базы данных. Сохранить, заменив их знаком \"?\"?"),
                                 DesktopServices::Answer::No);
    else if (Unsaved(unsaved) != Unsaved::RightRefused)
        m_desktop.expectSaveFileCancelled();

    bool reported = false;
    try {
        run(command);
    } catch (const TabloraError &) {
        reported = true;
    }
    QCOMPARE(reported, Unsaved(unsaved) == Unsaved::RightRefused); // the refusal is still reported
    QCOMPARE(m_doc->document.model().table(), before);
    QCOMPARE(m_doc->document.fileName(), name);
    QVERIFY(m_doc->document.isModified());
    QVERIFY(!m_doc->settings.read(Keys::reopenEnabled(1)));
}

void FileCommandsTest::newTakesWidthsAndTitlesFromSettings()
{
    m_doc->settings.write(Keys::columnWidth(0), 50);
    m_doc->settings.write(Keys::columnWidth(3), 2);
    m_doc->settings.write(Keys::caption(2), QStringLiteral("Фамилия"));
    m_doc->document.setFileName(QStringLiteral("/x/old.db"));
    m_doc->files.newDatabase();
    const TableData &t = m_doc->document.model().table();
    QCOMPARE(t.width(0), 30);
    QCOMPARE(t.width(1), 100);
    QCOMPARE(t.width(3), 5);
    QCOMPARE(t.width(7), 100);
    QCOMPARE(t.title(0), QStringLiteral("№"));
    QCOMPARE(t.title(2), QStringLiteral("Фамилия"));
    QCOMPARE(t.title(7), QStringLiteral("7 столбец"));
    QCOMPARE(m_doc->document.fileName(), Document::untitledName());
    QCOMPARE(m_doc->view.title, QStringLiteral("Tablora 1.5 [Новая база данных]"));
    QVERIFY(m_desktop.log().isEmpty()); // not modified: no question
}

void FileCommandsTest::openAddsToRecentFiles()
{
    TableData t;
    t.setTitle(1, QStringLiteral("Товар"));
    t.appendRecord(record({"1", "Чай"}));
    const QString p = writeDatabase(QStringLiteral("Склад.db"), t);
    m_desktop.expectOpenFile(p);
    m_doc->files.openDatabase();
    QCOMPARE(m_desktop.lastFileDialog.title, QStringLiteral("Tablora [Открыть...]"));
    QCOMPARE(m_desktop.lastFileDialog.filters.at(0).first, QStringLiteral("Базы данных (*.db)"));
    QCOMPARE(m_desktop.lastFileDialog.filters.at(1).first, QStringLiteral("Все файлы (*.*)"));
    QCOMPARE(m_doc->document.model().table(), t);
    QCOMPARE(m_doc->document.fileName(), p);
    QCOMPARE(m_doc->view.title, QStringLiteral("Tablora 1.5 [Склад.db]"));
    QCOMPARE(m_doc->settings.read(Keys::reopenFileForShift(1)), p);
    QVERIFY(m_doc->settings.read(Keys::reopenEnabled(1)));
}

void FileCommandsTest::reopenMissingPathReadsDefaultDatabase()
{
    m_folder->makeFolder(QStringLiteral("db"));
    TableData t;
    t.appendRecord(record({"1", "по умолчанию"}));
    const QString defaultDb = writeDatabase(QStringLiteral("db/default.db"), t);
    m_doc->settings.write(Keys::reopenEnabled(2), true);
    m_doc->files.reopen(2);
    QCOMPARE(m_doc->document.fileName(), defaultDb);
    QCOMPARE(m_doc->document.model().recordCount(), 1);
    QVERIFY(!m_doc->settings.read(Keys::reopenEnabled(1))); // reopening leaves the list alone
}

void FileCommandsTest::failedLoadsChangeNothing_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("message");
    QTest::newRow("open") << int(Command::Open) << FileCommands::openFailureMessage();
    QTest::newRow("reopen") << int(Command::Reopen) << FileCommands::openFailureMessage();
    QTest::newRow("example") << int(Command::Example) << FileCommands::exampleFailureMessage();
    QTest::newRow("import") << int(Command::Import) << FileCommands::importFailureMessage();
}

void FileCommandsTest::failedLoadsChangeNothing()
{
    QFETCH(int, command);
    QFETCH(QString, message);
    QFile bad(path(QStringLiteral("bad.db")));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("not a database\r\n");
    bad.close();
    m_doc->settings.write(Keys::reopenFile(1, m_folder->dir()), bad.fileName());

    const QString current = path(QStringLiteral("current.db"));
    m_doc->document.setFileName(current);
    m_doc->change("изменение");
    const TableData before = m_doc->document.model().table();
    if (Command(command) == Command::Open || Command(command) == Command::Import)
        m_desktop.expectOpenFile(bad.fileName()); // the dialog comes before the question
    m_desktop.expectQuestion(QStringLiteral("База данных \"current.db\" была изменена. Сохранить изменения?"),
                             DesktopServices::Answer::No);
    try {
        if (Command(command) == Command::Open)
            m_doc->files.openDatabase();
        else if (Command(command) == Command::Reopen)
            m_doc->files.reopen(1);
        else if (Command(command) == Command::Import)
            m_doc->files.importVersion10();
        else
            m_doc->files.openExample(FileCommands::Example::Programs);
        QFAIL("the load should have failed");
    } catch (const TabloraError &e) {
        QCOMPARE(e.message(), message);
    }
    QCOMPARE(m_doc->document.model().table(), before);
    QCOMPARE(m_doc->document.fileName(), current);
    QVERIFY(m_doc->document.isModified());
    QVERIFY(!m_doc->settings.read(Keys::reopenEnabled(1)));
}

void FileCommandsTest::saveNameRule_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("filter");
    QTest::addColumn<QString>("written");
    QTest::newRow("first filter adds .db") << "Склад" << 0 << "Склад.db";
    QTest::newRow("first filter keeps .db") << "Склад.db" << 0 << "Склад.db";
    QTest::newRow("any letter case") << "Склад.DB" << 0 << "Склад.DB";
    QTest::newRow("other extension") << "Склад.txt" << 0 << "Склад.txt.db";
    QTest::newRow("second filter as typed") << "Склад" << 1 << "Склад";
}

void FileCommandsTest::saveNameRule()
{
    QFETCH(QString, typed);
    QFETCH(int, filter);
    QFETCH(QString, written);
    m_doc->change("изменение");
    m_desktop.expectSaveFile(path(typed), filter);
    m_doc->files.save();
    QCOMPARE(m_desktop.lastFileDialog.title, QStringLiteral("Tablora [Сохранить]"));
    QCOMPARE(m_desktop.lastFileDialog.filters.at(0).first, QStringLiteral("База данных (*.db)"));
    QVERIFY(QFile::exists(path(written)));
    QCOMPARE(m_doc->document.fileName(), path(written));
    QVERIFY(!m_doc->document.isModified());
    QCOMPARE(m_doc->view.title, QStringLiteral("Tablora 1.5 [") + written + QLatin1Char(']'));
    QCOMPARE(readBack(path(written)), m_doc->document.model().table());
}

void FileCommandsTest::saveUntitledCancelledWritesNothing()
{
    m_doc->change("изменение");
    m_desktop.expectSaveFileCancelled();
    m_doc->files.save();
    QVERIFY(m_doc->document.isModified());
    QCOMPARE(m_doc->document.fileName(), Document::untitledName());
    QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files), QStringList());
}

void FileCommandsTest::saveRetriesThroughTheDialog()
{
    // A file name under a regular file cannot be written, even as root.
    QFile blocker(path(QStringLiteral("blocker")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString unwritable = path(QStringLiteral("blocker/base.db"));

    m_doc->document.setFileName(unwritable);
    m_doc->change("изменение");
    m_desktop.expectSaveFile(path(QStringLiteral("second.db")));
    m_doc->files.save();
    QCOMPARE(m_doc->document.fileName(), path(QStringLiteral("second.db")));
    QVERIFY(!m_doc->document.isModified());

    // A failing second choice is reported with the path and the reason.
    m_doc->document.setFileName(unwritable);
    m_doc->change("изменение");
    m_desktop.expectSaveFile(unwritable, 1);
    QVERIFY_THROWS_EXCEPTION(TabloraError, m_doc->files.save());
    QCOMPARE(m_doc->document.fileName(), unwritable);
    QVERIFY(m_doc->document.isModified());

    // Cancelling the second dialog ends the command quietly.
    m_desktop.expectSaveFileCancelled();
    m_doc->files.save();
    QVERIFY(m_doc->document.isModified());
}

void FileCommandsTest::saveAsReplacesAndReportsFailure()
{
    const QString existing = writeDatabase(QStringLiteral("existing.db"), TableData());
    m_doc->document.setFileName(path(QStringLiteral("current.db")));
    m_doc->change("изменение");
    m_desktop.expectSaveFile(existing);
    m_doc->files.saveAs();
    QCOMPARE(readBack(existing).recordCount(), 1);
    QCOMPARE(m_doc->document.fileName(), existing);
    QVERIFY(!m_doc->document.isModified());
    QVERIFY(!m_doc->settings.read(Keys::reopenEnabled(1)));

    m_doc->change("изменение");
    QFile blocker(path(QStringLiteral("blocker")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    m_desktop.expectSaveFile(path(QStringLiteral("blocker/x.db")));
    try {
        m_doc->files.saveAs();
        QFAIL("the write should have failed");
    } catch (const TabloraError &e) {
        QVERIFY2(e.message().startsWith(QStringLiteral("Cannot create file \"")), qPrintable(e.message()));
        QVERIFY(e.message().contains(path(QStringLiteral("blocker/x.db"))));
    }
    QCOMPARE(m_doc->document.fileName(), existing);
    QVERIFY(m_doc->document.isModified());
}

void FileCommandsTest::saveNeedsTheRight()
{
    m_doc->document.setRole(QStringLiteral("guest"));
    m_doc->document.setFileName(path(QStringLiteral("current.db")));
    m_doc->change("изменение");
    QVERIFY_THROWS_EXCEPTION(TabloraError, m_doc->files.save());
    QVERIFY_THROWS_EXCEPTION(TabloraError, m_doc->files.saveAs());
    QVERIFY(!QFile::exists(path(QStringLiteral("current.db"))));
    m_doc->settings.write(Keys::pravaSaveBase(), true);
    m_doc->files.save();
    QVERIFY(QFile::exists(path(QStringLiteral("current.db"))));
}

void FileCommandsTest::unencodableTextIsNotLostSilently()
{
    const QString p = path(QStringLiteral("u.db"));
    m_doc->document.setFileName(p);
    appendTo(m_doc->document.model(), record({"1", "ok"}));
    appendTo(m_doc->document.model(), record({"2", "x", "", "цена 5€ — 中文 😀"}));
    m_doc->document.setModified(true);
    const QString question = QStringLiteral(
        "В записи 2, в столбце «3 столбец», есть символы, которые нельзя сохранить в файле базы данных. "
        "Сохранить, заменив их знаком \"?\"?");

    m_desktop.expectQuestion(question, DesktopServices::Answer::No, QStringLiteral("Вопрос"));
    m_doc->files.save();
    QVERIFY(!QFile::exists(p));
    QVERIFY(m_doc->document.isModified());

    // The window shows what the file holds: one "?" for each character, the
    // one outside the BMP included, kept by the view as one change.
    m_desktop.expectQuestion(question, DesktopServices::Answer::Yes);
    m_doc->files.save();
    QCOMPARE(readBack(p).cell(1, 3).toString(), QStringLiteral("цена 5€ — ?? ?"));
    QVERIFY(readBack(p) == m_doc->document.model().table());
    QVERIFY(!m_doc->document.isModified());
    QCOMPARE(m_doc->view.replacements.size(), size_t(1));
    m_doc->view.replacements.back().swap(m_doc->document.model()); // taken back
    QCOMPARE(m_doc->document.model().table().cell(1, 3), QStringLiteral("цена 5€ — 中文 😀"));

    // A write that fails leaves the table its own text.
    m_doc->document.setFileName(path(QStringLiteral("missing/u.db")));
    m_desktop.expectQuestion(question, DesktopServices::Answer::Yes);
    m_desktop.expectSaveFileCancelled();
    m_doc->files.save();
    QCOMPARE(m_doc->document.model().table().cell(1, 3), QStringLiteral("цена 5€ — 中文 😀"));
    QCOMPARE(m_doc->view.replacements.size(), size_t(1));

    m_doc->document.model().setTitle(0, QStringLiteral("№ 中"));
    m_desktop.expectQuestion(QStringLiteral("В заголовке столбца «№ 中» есть символы, которые нельзя сохранить в "
                                            "файле базы данных. Сохранить, заменив их знаком \"?\"?"),
                             DesktopServices::Answer::No);
    m_doc->files.save();
}

void FileCommandsTest::exampleLoadsUnderItsPath()
{
    m_folder->makeFolder(QStringLiteral("Примеры"));
    TableData t;
    t.appendRecord(record({"1", "Фамилия"}));
    const QString p = writeDatabase(QStringLiteral("Примеры/Профайл.db"), t);
    m_doc->files.openExample(FileCommands::Example::Profile);
    QCOMPARE(m_doc->document.fileName(), p);
    QCOMPARE(m_doc->view.title, QStringLiteral("Tablora 1.5 [Профайл.db]"));
    QVERIFY(!m_doc->settings.read(Keys::reopenEnabled(1)));
}

void FileCommandsTest::commandLineLoadKeepsRecentFiles()
{
    TableData t;
    t.appendRecord(record({"5"}));
    const QString p = writeDatabase(QStringLiteral("arg.db"), t);
    m_doc->files.loadFile(p);
    QCOMPARE(m_doc->document.model().recordCount(), 1);
    QCOMPARE(m_doc->document.fileName(), p);
    QVERIFY(!m_doc->settings.read(Keys::reopenEnabled(1)));
    QVERIFY_THROWS_EXCEPTION(std::exception, m_doc->files.loadFile(path(QStringLiteral("missing.db"))));
    QCOMPARE(m_doc->document.fileName(), p);
}

void FileCommandsTest::importVersion10_data()
{
    QTest::addColumn<QByteArray>("lineBreak");
    QTest::newRow("CR LF") << QByteArray("\r\n");
    QTest::newRow("LF") << QByteArray("\n");
    QTest::newRow("CR") << QByteArray("\r");
}

void FileCommandsTest::importVersion10()
{
    QFETCH(QByteArray, lineBreak);
    TableData old;
    old.setWidth(2, 150);
    old.setTitle(1, QStringLiteral("Товар"));
    old.appendRecord(record({"1", "Чай", "", "", "", "", "", "последняя"}));
    old.appendRecord(record({"2", "Кофе"}));
    const QString p = path(QStringLiteral("old.db"));
    QFile file(p);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(DatabaseCodec::buildPlainList(old).replace("\r\n", lineBreak));
    file.close();

    m_doc->document.setFileName(path(QStringLiteral("current.db")));
    m_doc->change("изменение");
    m_desktop.expectOpenFile(p);
    m_desktop.expectQuestion(QStringLiteral("База данных \"current.db\" была изменена. Сохранить изменения?"),
                             DesktopServices::Answer::No);
    m_doc->files.importVersion10();
    QCOMPARE(m_desktop.lastFileDialog.title, QStringLiteral("Tablora [Открыть...]"));
    QCOMPARE(m_doc->document.model().table(), old);
    QCOMPARE(m_doc->document.fileName(), p);
    QCOMPARE(m_doc->view.title, QStringLiteral("Tablora 1.5 [old.db]"));
    QVERIFY(!m_doc->document.isModified());
    QVERIFY(!m_doc->settings.read(Keys::reopenEnabled(1)));
}

void FileCommandsTest::importThenSaveConvertsTheFile()
{
    // The count says 2, the file holds one record: the second is empty.
    const QString p = path(QStringLiteral("old.db"));
    QFile file(p);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("30\n100\n100\n100\n100\n100\n100\n100\nN\nA\nB\nC\nD\nE\nF\nG\n2\n1\na\nb\nc\nd\ne\nf\ng\n");
    file.close();
    m_desktop.expectOpenFile(p);
    m_doc->files.importVersion10();
    QCOMPARE(m_doc->document.model().recordCount(), 2);
    QCOMPARE(m_doc->document.model().table().cell(1, 7).toString(), QString());

    m_doc->files.save();
    const TableData imported = m_doc->document.model().table();
    QCOMPARE(readBack(p), imported);

    // The file is now in the current format, which the import refuses.
    appendTo(m_doc->document.model(), record({"3"}));
    m_desktop.expectOpenFile(p);
    QVERIFY_THROWS_EXCEPTION(TabloraError, m_doc->files.importVersion10());
    QCOMPARE(m_doc->document.model().recordCount(), 3);
    QCOMPARE(m_doc->document.fileName(), p);
}

// Open, save and the import read and write as long work, under the name the
// progress bar shows. "Отмена" on the bar ends the command as if it had not
// been given: no message, the table, its name and its flag as they were,
// every file as it was and nothing left beside them.
enum class LongCommand { Open, Reopen, Example, Import, Save, SaveAs, SaveBeforeNew };

void FileCommandsTest::longWorkCanBeStopped_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("work");
    QTest::addColumn<bool>("stop");
    const struct
    {
        const char *name;
        LongCommand command;
        QString work;
    } rows[] = {
        {"open", LongCommand::Open, FileCommands::openProgressText()},
        {"reopen", LongCommand::Reopen, FileCommands::openProgressText()},
        {"example", LongCommand::Example, FileCommands::openProgressText()},
        {"import", LongCommand::Import, FileCommands::importProgressText()},
        {"save", LongCommand::Save, FileCommands::saveProgressText()},
        {"save as", LongCommand::SaveAs, FileCommands::saveProgressText()},
        {"save before new", LongCommand::SaveBeforeNew, FileCommands::saveProgressText()},
    };
    for (const auto &row : rows) {
        QTest::addRow("%s", row.name) << int(row.command) << row.work << false;
        QTest::addRow("%s, stopped", row.name) << int(row.command) << row.work << true;
    }
}

void FileCommandsTest::longWorkCanBeStopped()
{
    QFETCH(int, command);
    QFETCH(QString, work);
    QFETCH(bool, stop);
    const QString otherPath = writeOtherDatabase();
    m_folder->write(QStringLiteral("old.db"), DatabaseCodec::buildPlainList(TableData()));
    const QString current = writeDatabase(QStringLiteral("current.db"), TableData());
    m_doc->document.setFileName(current);
    m_doc->change("изменение");
    const TableData before = m_doc->document.model().table();
    const QStringList files = QDir(m_folder->path()).entryList(QDir::Files | QDir::Hidden);
    const QByteArray saved = m_folder->read(QStringLiteral("current.db"));

    const auto answer = [this](DesktopServices::Answer a) {
        m_desktop.expectQuestion(QStringLiteral("База данных \"current.db\" была изменена. Сохранить изменения?"), a);
    };
    switch (LongCommand(command)) {
    case LongCommand::Open:
        m_desktop.expectOpenFile(otherPath);
        answer(DesktopServices::Answer::No);
        break;
    case LongCommand::Import:
        m_desktop.expectOpenFile(path(QStringLiteral("old.db")));
        answer(DesktopServices::Answer::No);
        break;
    case LongCommand::Reopen:
    case LongCommand::Example:
        answer(DesktopServices::Answer::No);
        break;
    case LongCommand::SaveAs:
        m_desktop.expectSaveFile(path(QStringLiteral("new.db")));
        break;
    case LongCommand::SaveBeforeNew:
        answer(DesktopServices::Answer::Yes);
        break;
    case LongCommand::Save:
        break;
    }
    m_desktop.stopWorkAt = stop ? 0 : -1;
    // A stop ends the command as a silent abort, which the window drops.
    bool stopped = false;
    try {
        switch (LongCommand(command)) {
        case LongCommand::Open:
            m_doc->files.openDatabase();
            break;
        case LongCommand::Reopen:
            m_doc->files.reopen(1);
            break;
        case LongCommand::Example:
            m_doc->files.openExample(FileCommands::Example::Profile);
            break;
        case LongCommand::Import:
            m_doc->files.importVersion10();
            break;
        case LongCommand::Save:
            m_doc->files.save();
            break;
        case LongCommand::SaveAs:
            m_doc->files.saveAs();
            break;
        case LongCommand::SaveBeforeNew:
            m_doc->files.newDatabase();
            break;
        }
    } catch (const WorkStopped &) {
        stopped = true;
    }
    QCOMPARE(stopped, stop);
    QCOMPARE(m_desktop.logged(QStringLiteral("work ")), QStringList{QStringLiteral("work ") + work});
    if (!stop) {
        QVERIFY(!m_doc->document.isModified());
        return;
    }
    QCOMPARE(m_doc->document.model().table(), before);
    QCOMPARE(m_doc->document.fileName(), current);
    QVERIFY(m_doc->document.isModified());
    QCOMPARE(m_folder->read(QStringLiteral("current.db")), saved);
    QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files | QDir::Hidden), files);
    QVERIFY(!m_doc->settings.read(Keys::reopenEnabled(1)));
}

TABLORA_GUILESS_TEST_MAIN(FileCommandsTest)
#include "tst_filecommands.moc"
