#include "DocumentFixture.h"
#include "GuardedTest.h"
#include "ProgramFolder.h"
#include "Records.h"
#include "ScriptedDesktop.h"
#include "base/SettingKeys.h"
#include "base/Settings.h"
#include "base/TabloraError.h"
#include "base/WorkProgress.h"
#include "document/CsvWriter.h"
#include "document/DatabaseCodec.h"
#include "document/Document.h"
#include "document/FileCommands.h"
#include "document/ui/CsvCommands.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

template<typename Widget>
Widget *child(QDialog &dialog, const char *name)
{
    auto *widget = dialog.findChild<Widget *>(QString::fromLatin1(name));
    if (!widget)
        qFatal("no %s in the dialog", name);
    return widget;
}

// Plays the user's part in the export's options: the delimiter's button
// clicked, then the boxes set, then OK.
std::function<int(QDialog &)> chooseExport(const QString &delimiterButton, std::optional<bool> mark = {},
                                           std::optional<bool> protect = {})
{
    return [=](QDialog &dialog) {
        child<QRadioButton>(dialog, delimiterButton.toLatin1().constData())->click();
        if (mark)
            child<QCheckBox>(dialog, "byteOrderMarkBox")->setChecked(*mark);
        if (protect)
            child<QCheckBox>(dialog, "protectFormulasBox")->setChecked(*protect);
        child<QPushButton>(dialog, "okButton")->click();
        return dialog.result();
    };
}

// The table every test starts from: titled, Cyrillic, cells a spreadsheet
// could misread.
TableData sampleTable()
{
    TableData t;
    t.setTitle(1, QStringLiteral("Фамилия, имя"));
    t.setTitle(2, QStringLiteral("Телефон"));
    t.setTitle(3, QString());
    t.appendRecord(record({"1", "Иванов Пётр", "+7 495 123-45-67", "say \"hi\"", "a;b", "=1+1", "\t", " x "}));
    t.appendRecord(Record());
    t.appendRecord(record({"3", "Смирнова", "'=уже", "", "", "", "", "中"}));
    return t;
}

} // namespace

class CsvCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void exportWritesTheChosenForm_data();
    void exportWritesTheChosenForm();
    void byteOrderMarkFollowsTheDelimiter();
    void exportCancelledWritesNothing_data();
    void exportCancelledWritesNothing();
    void exportNeedsNoRight();
    void exportFailureIsReported();
    void exportThenImportGivesTheTableBack_data();
    void exportThenImportGivesTheTableBack();
    void importTakesTheFileAsDetected();
    void importWithoutTitles();
    void importRefusesWhatItCannotRead_data();
    void importRefusesWhatItCannotRead();
    void previewTellsAProblemAndHoldsOk();
    void importAsksAboutUnsavedChanges_data();
    void importAsksAboutUnsavedChanges();
    void importStoppedChangesNothing_data();
    void importStoppedChangesNothing();
    void unencodableTextIsSavedAsSaveDoes();

private:
    QString path(const QString &name) const { return QDir::toNativeSeparators(m_folder->filePath(name)); }
    // Runs the import of the file: its dialog taken as it comes, or as the
    // handler plays it; then what follows the dialog.
    void importFile(const QString &name, std::function<int(QDialog &)> dialog = {},
                    const std::function<void()> &afterDialog = {});

    std::unique_ptr<ProgramFolder> m_folder;
    ScriptedDesktop m_desktop;
    std::unique_ptr<DocumentFixture> m_doc;
    std::unique_ptr<CsvCommands> m_csv;
};

void CsvCommandsTest::init()
{
    m_desktop.reset();
    m_folder = std::make_unique<ProgramFolder>();
    m_doc = std::make_unique<DocumentFixture>(m_desktop, m_folder->dir());
    m_csv = std::make_unique<CsvCommands>(m_doc->document, m_doc->files, m_doc->settings, m_desktop, nullptr);
    m_doc->document.model().replaceTable(sampleTable());
    m_doc->document.setFileName(path(QStringLiteral("Склад.db")));
}

void CsvCommandsTest::cleanup()
{
    QVERIFY2(m_desktop.problems().isEmpty(), qPrintable(m_desktop.problems().join(QLatin1Char('\n'))));
}

void CsvCommandsTest::importFile(const QString &name, std::function<int(QDialog &)> dialog,
                                 const std::function<void()> &afterDialog)
{
    m_desktop.expectOpenFile(path(name));
    m_desktop.expectDialog(dialog ? dialog : [](QDialog &shown) {
        child<QPushButton>(shown, "okButton")->click();
        return shown.result();
    });
    if (afterDialog)
        afterDialog();
    m_csv->importCsv();
}

void CsvCommandsTest::exportWritesTheChosenForm_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("protect");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("filter");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QByteArray>("start");
    QTest::addColumn<QByteArray>("firstRecord");

    const QByteArray mark = "\xEF\xBB\xBF";
    QTest::newRow("semicolons, marked, .csv added")
        << "semicolonButton" << true << "out" << 0 << "out.csv" << mark + "№;\"Фамилия, имя\";Телефон;;"
        << QByteArray("1;Иванов Пётр;'+7 495 123-45-67;\"say \"\"hi\"\"\";\"a;b\";'=1+1;\"'\t\";\" x \"\r\n");
    QTest::newRow("commas, cells as they are, .csv kept")
        << "commaButton" << false << "out.CSV" << 0 << "out.CSV" << QByteArray("№,\"Фамилия, имя\",Телефон,,")
        << QByteArray("1,Иванов Пётр,+7 495 123-45-67,\"say \"\"hi\"\"\",\"a;b\",=1+1,\"\t\",\" x \"\r\n");
    QTest::newRow("tabs, .tsv added") << "tabButton" << false << "out" << 1 << "out.tsv"
                                      << QByteArray("№\t\"Фамилия, имя\"\tТелефон\t\t")
                                      << QByteArray("1\tИванов Пётр\t+7 495 123-45-67\t");
    QTest::newRow("all files: as typed") << "commaButton" << true << "out" << 2 << "out" << QByteArray("№,")
                                         << QByteArray("1,Иванов Пётр,'+7 495");
}

void CsvCommandsTest::exportWritesTheChosenForm()
{
    QFETCH(QString, button);
    QFETCH(bool, protect);
    QFETCH(QString, typed);
    QFETCH(int, filter);
    QFETCH(QString, written);
    QFETCH(QByteArray, start);
    QFETCH(QByteArray, firstRecord);
    m_desktop.expectDialog(chooseExport(button, {}, protect));
    m_desktop.expectSaveFile(path(typed), filter);
    m_csv->exportCsv();

    QCOMPARE(m_desktop.lastFileDialog.title, QStringLiteral("Tablora [Экспорт в CSV]"));
    QCOMPARE(m_desktop.lastOfferedChoice.fileName, path(QStringLiteral("Склад.csv")));
    QCOMPARE(m_desktop.lastOfferedChoice.filterIndex, button == u"tabButton" ? 1 : 0);
    QCOMPARE(m_desktop.logged(QStringLiteral("work")), QStringList{QStringLiteral("work Экспорт в CSV...")});
    const QByteArray text = m_folder->read(written);
    QVERIFY2(text.startsWith(start), text.constData());
    QVERIFY2(text.contains("\r\n" + firstRecord), text.constData());
    QCOMPARE(text.count("\r\n"), 4);
    QVERIFY(!m_doc->document.isModified());
    QCOMPARE(m_doc->document.fileName(), path(QStringLiteral("Склад.db")));
}

void CsvCommandsTest::byteOrderMarkFollowsTheDelimiter()
{
    QList<bool> marks;
    for (const char *button : {"commaButton", "semicolonButton", "tabButton", "semicolonButton"}) {
        m_desktop.expectDialog([&marks, button](QDialog &dialog) {
            child<QRadioButton>(dialog, button)->click();
            marks << child<QCheckBox>(dialog, "byteOrderMarkBox")->isChecked();
            return int(QDialog::Rejected);
        });
        m_csv->exportCsv();
    }
    QCOMPARE(marks, QList<bool>({false, true, false, true}));

    // The choices stay for the next export while the program runs.
    m_desktop.expectDialog(chooseExport(QStringLiteral("tabButton"), true, false));
    m_desktop.expectSaveFile(path(QStringLiteral("first")), 2);
    m_csv->exportCsv();
    QList<bool> kept;
    m_desktop.expectDialog([&kept](QDialog &dialog) {
        kept << child<QRadioButton>(dialog, "tabButton")->isChecked()
             << child<QCheckBox>(dialog, "byteOrderMarkBox")->isChecked()
             << child<QCheckBox>(dialog, "protectFormulasBox")->isChecked();
        return int(QDialog::Rejected);
    });
    m_csv->exportCsv();
    QCOMPARE(kept, QList<bool>({true, true, false}));
    QVERIFY(m_folder->read(QStringLiteral("first")).startsWith("\xEF\xBB\xBF№\t"));
}

void CsvCommandsTest::exportCancelledWritesNothing_data()
{
    QTest::addColumn<bool>("atOptions");
    QTest::addColumn<bool>("stopped");
    QTest::newRow("options cancelled") << true << false;
    QTest::newRow("save dialog cancelled") << false << false;
    QTest::newRow("stopped") << false << true;
}

void CsvCommandsTest::exportCancelledWritesNothing()
{
    QFETCH(bool, atOptions);
    QFETCH(bool, stopped);
    m_folder->write(QStringLiteral("out.csv"), "old");
    const QStringList files = QDir(m_folder->path()).entryList(QDir::Files | QDir::Hidden);
    if (atOptions) {
        m_desktop.expectDialog([](QDialog &dialog) {
            child<QPushButton>(dialog, "cancelButton")->click();
            return dialog.result();
        });
    } else {
        m_desktop.expectDialog(chooseExport(QStringLiteral("commaButton")));
        if (stopped)
            m_desktop.expectSaveFile(path(QStringLiteral("out.csv")));
        else
            m_desktop.expectSaveFileCancelled();
    }
    m_desktop.stopWorkAt = stopped ? WorkProgress::kScale : -1;
    if (stopped)
        QVERIFY_THROWS_EXCEPTION(WorkStopped, m_csv->exportCsv());
    else
        m_csv->exportCsv();
    QCOMPARE(m_desktop.logged(QStringLiteral("save dialog")).size(), atOptions ? 0 : 1);
    QCOMPARE(m_folder->read(QStringLiteral("out.csv")), QByteArray("old"));
    QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files | QDir::Hidden), files);
}

void CsvCommandsTest::exportNeedsNoRight()
{
    m_doc->document.setRole(QStringLiteral("guest"));
    for (const BoolKey &right : {Keys::pravaEditBase(), Keys::pravaSaveBase(), Keys::pravaEditOptions()})
        m_doc->settings.write(right, false);
    m_desktop.expectDialog(chooseExport(QStringLiteral("commaButton")));
    m_desktop.expectSaveFile(path(QStringLiteral("out.csv")));
    m_csv->exportCsv();
    QVERIFY(m_folder->read(QStringLiteral("out.csv")).startsWith("№,"));
}

void CsvCommandsTest::exportFailureIsReported()
{
    m_folder->write(QStringLiteral("blocker"), "a file, not a folder");
    const QString unwritable = path(QStringLiteral("blocker/out.csv"));
    m_desktop.expectDialog(chooseExport(QStringLiteral("commaButton")));
    m_desktop.expectSaveFile(unwritable);
    try {
        m_csv->exportCsv();
        QFAIL("the export wrote under a file");
    } catch (const TabloraError &e) {
        QVERIFY2(e.message().startsWith(QStringLiteral("Cannot create file \"%1\". ").arg(unwritable)),
                 qPrintable(e.message()));
    }
}

void CsvCommandsTest::exportThenImportGivesTheTableBack_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("semicolons") << "semicolonButton";
    QTest::newRow("commas") << "commaButton";
    QTest::newRow("tabs") << "tabButton";
}

// Titles and every cell, quotes, delimiters and marked formulas among them;
// the widths are those of a new database.
void CsvCommandsTest::exportThenImportGivesTheTableBack()
{
    QFETCH(QString, button);
    const TableData table = m_doc->document.model().table();
    m_desktop.expectDialog(chooseExport(button, {}, true));
    m_desktop.expectSaveFile(path(QStringLiteral("out")), 2);
    m_csv->exportCsv();

    importFile(QStringLiteral("out"), [](QDialog &dialog) {
        child<QCheckBox>(dialog, "removeMarksBox")->setChecked(true);
        child<QPushButton>(dialog, "okButton")->click();
        return dialog.result();
    });
    TableData back = m_doc->document.model().table();
    for (int c = 0; c < kColumnCount; ++c) {
        QCOMPARE(back.width(c), c == 0 ? 30 : 100);
        back.setWidth(c, table.width(c));
    }
    QCOMPARE(back, table);
}

void CsvCommandsTest::importTakesTheFileAsDetected()
{
    m_doc->settings.write(Keys::columnWidth(2), 150);
    // Windows-1251 with semicolons and decimal commas, as spreadsheets in
    // Russian locales write it: "Товар;Цена", "Чай;3,50".
    m_folder->write(QStringLiteral("Товары.csv"), "\xD2\xEE\xE2\xE0\xF0;\xD6\xE5\xED\xE0\r\n\xD7\xE0\xE9;3,50\r\n");
    importFile(QStringLiteral("Товары.csv"), [](QDialog &dialog) {
        if (child<QComboBox>(dialog, "delimiterBox")->currentText() != QStringLiteral("Точка с запятой ( ; )")
            || child<QComboBox>(dialog, "encodingBox")->currentText() != QStringLiteral("Windows-1251")
            || !child<QCheckBox>(dialog, "titlesBox")->isChecked()
            || child<QCheckBox>(dialog, "removeMarksBox")->isChecked())
            return int(QDialog::Rejected);
        child<QPushButton>(dialog, "okButton")->click();
        return dialog.result();
    });
    QCOMPARE(m_desktop.lastFileDialog.title, QStringLiteral("Tablora [Импорт из CSV]"));
    QCOMPARE(m_desktop.logged(QStringLiteral("work")),
             QStringList({QStringLiteral("work Чтение файла..."), QStringLiteral("work Импорт из CSV...")}));
    const TableData &table = m_doc->document.model().table();
    QCOMPARE(table.title(0), QStringLiteral("Товар"));
    QCOMPARE(table.title(1), QStringLiteral("Цена"));
    QCOMPARE(table.title(2), QString());
    QCOMPARE(table.width(2), 150);
    QCOMPARE(table.recordCount(), 1);
    QCOMPARE(table.record(0).cells(), record({"Чай", "3,50"}).cells());
    // A new database no file holds yet; saving suggests the file's name.
    QCOMPARE(m_doc->document.fileName(), Document::untitledName());
    QVERIFY(m_doc->document.isModified());
    QCOMPARE(m_doc->view.title, QStringLiteral("Tablora 1.5 [Новая база данных]"));
    m_desktop.expectSaveFileCancelled();
    m_doc->files.save();
    QCOMPARE(m_desktop.lastOfferedChoice.fileName, path(QStringLiteral("Товары.db")));
}

void CsvCommandsTest::importWithoutTitles()
{
    m_doc->settings.write(Keys::caption(1), QStringLiteral("Имя"));
    m_folder->write(QStringLiteral("in.csv"), "a,b\r\nc\r\n");
    importFile(QStringLiteral("in.csv"), [](QDialog &dialog) {
        child<QCheckBox>(dialog, "titlesBox")->setChecked(false);
        child<QPushButton>(dialog, "okButton")->click();
        return dialog.result();
    });
    const TableData &table = m_doc->document.model().table();
    QCOMPARE(table.title(0), QStringLiteral("№"));
    QCOMPARE(table.title(1), QStringLiteral("Имя"));
    QCOMPARE(table.recordCount(), 2);
    QCOMPARE(table.record(0).cells(), record({"a", "b"}).cells());
}

void CsvCommandsTest::importRefusesWhatItCannotRead_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("message");
    QTest::newRow("nine columns further down")
        << "wide.csv" << QByteArray("a,b\r\n") + QByteArray("1,2\r\n").repeated(30) + "1,2,3,4,5,6,7,8,9\r\n"
        << "Строка 32 файла делится на 9 столбцов, а в базе данных их не больше 8.";
    // Beyond the bytes the encoding is guessed from.
    QTest::newRow("not UTF-8 further down")
        << "mixed.csv" << QByteArray("a,b\r\n") + QByteArray("1,2\r\n").repeated(14000) + "\xC0\r\n"
        << "Строка 14002 файла не в кодировке UTF-8.";
    QTest::newRow("missing file") << "none.csv" << QByteArray()
                                  << "Не удаётся прочитать файл \"%1\". No such file or directory";
}

// A refusal is reported and the table stays as it was.
void CsvCommandsTest::importRefusesWhatItCannotRead()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    if (!content.isEmpty())
        m_folder->write(file, content);
    const TableData before = m_doc->document.model().table();
    try {
        if (content.isEmpty()) {
            m_desktop.expectOpenFile(path(file));
            m_csv->importCsv();
        } else {
            importFile(file);
        }
        QFAIL("the file was imported");
    } catch (const TabloraError &e) {
        QCOMPARE(e.message(), message.contains(u"%1") ? message.arg(path(file)) : message);
    }
    QCOMPARE(m_doc->document.model().table(), before);
    QCOMPARE(m_doc->document.fileName(), path(QStringLiteral("Склад.db")));
}

void CsvCommandsTest::previewTellsAProblemAndHoldsOk()
{
    m_folder->write(QStringLiteral("in.csv"), "\xD7\xE0\xE9;1\r\n");
    m_desktop.expectOpenFile(path(QStringLiteral("in.csv")));
    bool held = false;
    m_desktop.expectDialog([&held](QDialog &dialog) {
        auto *problem = child<QLabel>(dialog, "problemLabel");
        auto *ok = child<QPushButton>(dialog, "okButton");
        const bool fineAsDetected = problem->text().isEmpty() && ok->isEnabled();
        child<QComboBox>(dialog, "encodingBox")->setCurrentIndex(0); // UTF-8
        held = fineAsDetected && problem->text() == QStringLiteral("Строка 1 файла не в кодировке UTF-8.")
            && !ok->isEnabled();
        return int(QDialog::Rejected);
    });
    m_csv->importCsv();
    QVERIFY(held);
    QCOMPARE(m_doc->document.model().table(), sampleTable());
}

void CsvCommandsTest::importAsksAboutUnsavedChanges_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("cancel") << int(DesktopServices::Answer::Cancel);
    QTest::newRow("no") << int(DesktopServices::Answer::No);
    QTest::newRow("yes") << int(DesktopServices::Answer::Yes);
}

// After the file is read, as the import of version 1.0 asks.
void CsvCommandsTest::importAsksAboutUnsavedChanges()
{
    QFETCH(int, answer);
    m_doc->document.setModified(true);
    m_folder->write(QStringLiteral("in.csv"), "a\r\nb\r\n");
    importFile(QStringLiteral("in.csv"), {}, [&] {
        m_desktop.expectQuestion(QStringLiteral("База данных \"Склад.db\" была изменена. Сохранить изменения?"),
                                 DesktopServices::Answer(answer));
        if (DesktopServices::Answer(answer) == DesktopServices::Answer::Yes)
            m_desktop.expectQuestion(QStringLiteral("В записи 3, в столбце «7 столбец», есть символы, которые нельзя "
                                                    "сохранить в файле базы данных. Сохранить, заменив их знаком "
                                                    "\"?\"?"),
                                     DesktopServices::Answer::Yes);
    });
    const bool cancelled = DesktopServices::Answer(answer) == DesktopServices::Answer::Cancel;
    QCOMPARE(m_doc->document.model().table() == sampleTable(), cancelled);
    QCOMPARE(m_doc->document.fileName(), cancelled ? path(QStringLiteral("Склад.db")) : Document::untitledName());
    QCOMPARE(QFile::exists(path(QStringLiteral("Склад.db"))),
             DesktopServices::Answer(answer) == DesktopServices::Answer::Yes);
}

void CsvCommandsTest::importStoppedChangesNothing_data()
{
    QTest::addColumn<bool>("whileReadingTheFile");
    QTest::newRow("while the file is read") << true;
    QTest::newRow("while the text is read") << false;
}

void CsvCommandsTest::importStoppedChangesNothing()
{
    QFETCH(bool, whileReadingTheFile);
    m_doc->document.setModified(true);
    m_folder->write(QStringLiteral("in.csv"), "a\r\nb\r\n");
    m_desktop.expectOpenFile(path(QStringLiteral("in.csv")));
    if (!whileReadingTheFile) {
        m_desktop.expectDialog([this](QDialog &dialog) {
            m_desktop.stopWorkAt = 0;
            child<QPushButton>(dialog, "okButton")->click();
            return dialog.result();
        });
    } else {
        m_desktop.stopWorkAt = 0;
    }
    QVERIFY_THROWS_EXCEPTION(WorkStopped, m_csv->importCsv());
    QCOMPARE(m_desktop.logged(QStringLiteral("work")).size(), whileReadingTheFile ? 1 : 2);
    QCOMPARE(m_doc->document.model().table(), sampleTable());
    QCOMPARE(m_doc->document.fileName(), path(QStringLiteral("Склад.db")));
    QVERIFY(m_doc->document.isModified());
}

// Text the database file cannot hold comes in as it is; Save asks about it.
void CsvCommandsTest::unencodableTextIsSavedAsSaveDoes()
{
    m_folder->write(QStringLiteral("in.csv"), "a,b\r\n1,中 ok\r\n");
    importFile(QStringLiteral("in.csv"));
    QCOMPARE(m_doc->document.model().table().cell(0, 1), QStringLiteral("中 ok"));
    m_desktop.expectQuestion(QStringLiteral("В записи 1, в столбце «b», есть символы, которые нельзя сохранить в "
                                            "файле базы данных. Сохранить, заменив их знаком \"?\"?"),
                             DesktopServices::Answer::Yes);
    m_desktop.expectSaveFile(path(QStringLiteral("in")));
    m_doc->files.save();
    QCOMPARE(DatabaseCodec::readBaseFile(path(QStringLiteral("in.db"))).cell(0, 1), QStringLiteral("? ok"));
}

TABLORA_TEST_MAIN(CsvCommandsTest)
#include "tst_csvcommands.moc"
