#include "GuardedTest.h"
#include "MainWindowAccess.h"
#include "ProgramFolder.h"
#include "Records.h"
#include "ScriptedDesktop.h"
#include "app/ui/MainWindow.h"
#include "app/ui/RecordListView.h"
#include "document/DatabaseCodec.h"
#include "document/FileCommands.h"
#include "records/ClipboardRecord.h"
#include "records/RecordCommands.h"
#include "records/ui/AddRecordDialog.h"
#include "records/ui/ColumnTitlesDialog.h"
#include "records/ui/EditRecordDialog.h"
#include "users/Accounts.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

// The record and column-title dialogs as the user meets them: opened by the
// main window's actions, filled by typing, confirmed by their buttons.
class RecordDialogsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void actionsReachTheirCommands_data();
    void actionsReachTheirCommands();
    void addDialogsAreModelessAndEachAppends();
    void editDialogWritesIntoItsOwnRecord();
    void editOfADeletedRecordKeepsTheTypedTexts();
    void removingARecordLeavesNoneSelected_data();
    void removingARecordLeavesNoneSelected();
    void guestViewsARecord();
    void titlesDialog();
    void titlesDialogStaysWithItsTable_data();
    void titlesDialogStaysWithItsTable();
    void commitAfterAUserSwitchChecksTheRight_data();
    void commitAfterAUserSwitchChecksTheRight();
    void keysTypedInADialogEditItsBox_data();
    void keysTypedInADialogEditItsBox();
    void pastedLineBreakBecomesASpace();
    void longCellSurvivesTheEditDialog();

private:
    template<typename Dialog>
    Dialog *openedDialog() const;
    QLineEdit *edit(QWidget *dialog, int column) const;
    void click(QWidget *dialog, const char *button);
    QStringList column0() const;

    std::unique_ptr<ProgramFolder> m_folder;
    ScriptedDesktop m_desktop;
    std::unique_ptr<MainWindow> m_window;
};

void RecordDialogsTest::init()
{
    m_desktop.reset();
    m_folder = std::make_unique<ProgramFolder>();
    m_folder->write(QStringLiteral("data/config.ini"), "[Run]\r\nFirst=0\r\n[General]\r\nQuickStart=1\r\n");
    m_folder->write(QStringLiteral("data/other.dat"), "[Enter]\r\nQuestionOnStart=0\r\n");
    m_window = std::make_unique<MainWindow>(m_desktop, m_folder->dir(), QStringList());
    MainWindowAccess::startupTimer(*m_window).setInterval(0);
    m_window->prepareToShow();
    QCoreApplication::processEvents(); // the start timer's tick
    TableModel &model = m_window->document().model();
    for (const char *n : {"1", "2", "3"})
        appendTo(model, record({n, "cell"}));
}

void RecordDialogsTest::cleanup()
{
    m_window.reset();
    QVERIFY2(m_desktop.problems().isEmpty(), qPrintable(m_desktop.problems().join(QLatin1Char('\n'))));
}

template<typename Dialog>
Dialog *RecordDialogsTest::openedDialog() const
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const QList<Dialog *> dialogs = m_window->findChildren<Dialog *>(Qt::FindDirectChildrenOnly);
    return dialogs.isEmpty() ? nullptr : dialogs.last();
}

QLineEdit *RecordDialogsTest::edit(QWidget *dialog, int column) const
{
    return dialog->findChild<QLineEdit *>(QStringLiteral("columnEdit%1").arg(column));
}

void RecordDialogsTest::click(QWidget *dialog, const char *button)
{
    dialog->findChild<QPushButton *>(QLatin1String(button))->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QStringList RecordDialogsTest::column0() const
{
    QStringList out;
    for (int r = 0; r < m_window->document().model().recordCount(); ++r)
        out << m_window->document().model().table().cell(r, 0).toString();
    return out;
}

// With the second row selected each action shows its own command's first
// effect, so a handler bound to the wrong action shows.
void RecordDialogsTest::actionsReachTheirCommands_data()
{
    QTest::addColumn<Command>("action");
    QTest::addColumn<QString>("effect");
    QTest::newRow("Добавить") << Command::AddRecord << "add dialog";
    QTest::newRow("Изменить") << Command::EditRecord << "edit dialog";
    QTest::newRow("Просмотр записи") << Command::ViewRecord << "view dialog";
    QTest::newRow("Удалить") << Command::DeleteRecord << "delete question";
    QTest::newRow("Очистить всю базу") << Command::ClearAll << "clear question";
    QTest::newRow("Копировать") << Command::CopyRecord << "copied";
    QTest::newRow("Вырезать") << Command::CutRecord << "cut";
    QTest::newRow("Вставить") << Command::PasteRecord << "not a record";
    QTest::newRow("Столбцы") << Command::ColumnTitles << "titles dialog";
}

void RecordDialogsTest::actionsReachTheirCommands()
{
    QFETCH(Command, action);
    QFETCH(QString, effect);
    m_window->recordList()->selectRow(1);
    if (effect == QLatin1String("view dialog"))
        m_desktop.expectDialog([](QDialog &d) { return d.windowTitle() == "Tablora 1.5 [Просмотр записи]" ? 1 : -1; });
    if (effect == QLatin1String("delete question"))
        m_desktop.expectQuestion(RecordCommands::deleteQuestion(), DesktopServices::Answer::No);
    if (effect == QLatin1String("clear question"))
        m_desktop.expectQuestion(RecordCommands::clearQuestion(), DesktopServices::Answer::No);
    if (effect == QLatin1String("not a record"))
        m_desktop.expectMessage(RecordCommands::notARecordMessage());

    m_window->action(action)->trigger();

    QCOMPARE(openedDialog<AddRecordDialog>() != nullptr, effect == QLatin1String("add dialog"));
    QCOMPARE(openedDialog<EditRecordDialog>() != nullptr, effect == QLatin1String("edit dialog"));
    QCOMPARE(openedDialog<ColumnTitlesDialog>() != nullptr, effect == QLatin1String("titles dialog"));
    const bool removed = effect == QLatin1String("cut");
    QCOMPARE(column0(), removed ? QStringList({"1", "3"}) : QStringList({"1", "2", "3"}));
    const bool onClipboard = removed || effect == QLatin1String("copied");
    QCOMPARE(m_desktop.clipboard, onClipboard ? ClipboardRecord::text(record({"2", "cell"})) : QString());
}

void RecordDialogsTest::addDialogsAreModelessAndEachAppends()
{
    m_window->document().model().setTitle(1, QStringLiteral("R&D"));
    m_window->action(Command::AddRecord)->trigger();
    QPointer<AddRecordDialog> first = openedDialog<AddRecordDialog>();
    m_window->action(Command::AddRecord)->trigger();
    QPointer<AddRecordDialog> second = openedDialog<AddRecordDialog>();
    QVERIFY(first && second && first != second);
    QVERIFY(!first->isModal() && first->isVisible() && second->isVisible());
    QCOMPARE(first->parent(), m_window.get()); // the window owns it while it is open
    QCOMPARE(first->windowTitle(), QStringLiteral("Tablora 1.5 [Добавить запись]"));
    QVERIFY(first->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(first->findChild<QGroupBox *>(QStringLiteral("columnGroup0"))->title(), QStringLiteral("№"));
    QCOMPARE(first->findChild<QGroupBox *>(QStringLiteral("columnGroup1"))->title(), QStringLiteral("R&&D"));
    QCOMPARE(first->focusWidget(), edit(first, 0));
    for (int c = 0; c < kColumnCount; ++c)
        QVERIFY(edit(first, c)->text().isEmpty());

    edit(second, 0)->setText(QStringLiteral("7"));
    edit(second, 7)->setText(QStringLiteral("last"));
    click(second, "confirmButton");
    QVERIFY(!second); // closed and deleted
    click(first, "confirmButton"); // every box empty
    QVERIFY(!first);
    QCOMPARE(column0(), QStringList({"1", "2", "3", "7", ""}));
    QCOMPARE(m_window->document().model().table().cell(3, 7), QStringLiteral("last"));
    QVERIFY(m_window->document().isModified());

    // "Отмена" changes nothing.
    m_window->document().setModified(false);
    m_window->action(Command::AddRecord)->trigger();
    QPointer<AddRecordDialog> cancelled = openedDialog<AddRecordDialog>();
    edit(cancelled, 0)->setText(QStringLiteral("x"));
    click(cancelled, "cancelButton");
    QVERIFY(!cancelled);
    QCOMPARE(m_window->document().model().recordCount(), 5);
    QVERIFY(!m_window->document().isModified());
}

void RecordDialogsTest::editDialogWritesIntoItsOwnRecord()
{
    m_window->recordList()->selectRow(0);
    m_window->action(Command::EditRecord)->trigger();
    QPointer<EditRecordDialog> dialog = openedDialog<EditRecordDialog>();
    QVERIFY(dialog && !dialog->isModal());
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Tablora 1.5 [Изменить запись]"));
    QCOMPARE(edit(dialog, 0)->text(), QStringLiteral("1"));
    QCOMPARE(edit(dialog, 1)->text(), QStringLiteral("cell"));
    QVERIFY(dialog->findChild<QPushButton *>(QStringLiteral("okButton"))->isHidden());

    // The user clicks another row, sorts, and presses Enter in the dialog.
    edit(dialog, 1)->setText(QStringLiteral("changed"));
    m_window->recordList()->selectRow(2);
    m_window->action(Command::SortDescending)->trigger();
    QCOMPARE(column0(), QStringList({"3", "2", "1"}));
    QTest::keyClick(edit(dialog, 1), Qt::Key_Return);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!dialog);
    const TableData &t = m_window->document().model().table();
    QCOMPARE(t.cell(2, 1), QStringLiteral("changed")); // record 1, where the sort put it
    QCOMPARE(t.cell(0, 1), QStringLiteral("cell")); // record 3, selected when "Изменить" was pressed
    QCOMPARE(t.cell(1, 1), QStringLiteral("cell"));
    QVERIFY(m_window->document().isModified());
    QCOMPARE(m_window->action(Command::Undo)->text(), QStringLiteral("Отменить изменение записи"));
}

void RecordDialogsTest::editOfADeletedRecordKeepsTheTypedTexts()
{
    m_window->recordList()->selectRow(1);
    m_window->action(Command::EditRecord)->trigger();
    QPointer<EditRecordDialog> dialog = openedDialog<EditRecordDialog>();
    edit(dialog, 2)->setText(QStringLiteral("typed"));
    m_desktop.expectQuestion(RecordCommands::deleteQuestion(), DesktopServices::Answer::Yes);
    m_window->action(Command::DeleteRecord)->trigger();
    m_window->recordList()->selectRow(0);

    m_desktop.expectMessage(RecordCommands::recordGoneMessage());
    click(dialog, "confirmButton");
    QVERIFY(dialog && dialog->isVisible());
    QCOMPARE(m_desktop.logged(QStringLiteral("beep")).size(), 2); // the delete's, and this one's
    QCOMPARE(edit(dialog, 2)->text(), QStringLiteral("typed"));
    QCOMPARE(column0(), QStringList({"1", "3"}));
    QCOMPARE(m_window->action(Command::Undo)->text(), QStringLiteral("Отменить удаление записи"));

    // Taking the delete back brings the dialog's record back too.
    m_window->action(Command::Undo)->trigger();
    click(dialog, "confirmButton");
    QVERIFY(!dialog);
    QCOMPARE(m_window->document().model().table().cell(1, 2), QStringLiteral("typed"));
    QCOMPARE(m_window->document().model().table().cell(0, 2), QString());
}

void RecordDialogsTest::removingARecordLeavesNoneSelected_data()
{
    QTest::addColumn<Command>("action");
    QTest::newRow("Удалить") << Command::DeleteRecord;
    QTest::newRow("Вырезать") << Command::CutRecord;
}

// Nor does an edit dialog open for the removed record write into the record
// that took its place.
void RecordDialogsTest::removingARecordLeavesNoneSelected()
{
    QFETCH(Command, action);
    m_window->recordList()->selectRow(1);
    m_window->action(Command::EditRecord)->trigger();
    QPointer<EditRecordDialog> dialog = openedDialog<EditRecordDialog>();
    if (action == Command::DeleteRecord)
        m_desktop.expectQuestion(RecordCommands::deleteQuestion(), DesktopServices::Answer::Yes);
    m_window->action(action)->trigger();
    QCoreApplication::processEvents();
    QCOMPARE(m_window->recordList()->selectedRow(), -1);
    QCOMPARE(m_window->recordList()->currentIndex().row(), 1); // the keyboard stays in place

    m_window->recordList()->selectRow(1);
    m_desktop.expectMessage(RecordCommands::recordGoneMessage());
    click(dialog, "confirmButton");
    QVERIFY(dialog);
    QCOMPARE(column0(), QStringList({"1", "3"}));
    QCOMPARE(m_window->document().model().table().cell(1, 1), QStringLiteral("cell"));
}

// A guest, who may change nothing, still views: "Просмотр записи" needs no
// right. The modal view keeps nothing typed into it.
void RecordDialogsTest::guestViewsARecord()
{
    m_window->document().setRole(QStringLiteral("guest"));
    m_window->recordList()->selectRow(1);
    QStringList seen;
    m_desktop.expectDialog([&](QDialog &d) {
        const auto button = [&](const char *name) { return d.findChild<QPushButton *>(QLatin1String(name)); };
        seen << d.windowTitle() << edit(&d, 0)->text();
        if (button("confirmButton")->isHidden() && button("cancelButton")->isHidden()
            && button("okButton")->isDefault())
            seen << QStringLiteral("only OK");
        edit(&d, 1)->setText(QStringLiteral("typed in view"));
        button("okButton")->click();
        return d.result();
    });
    m_window->action(Command::ViewRecord)->trigger();
    QCOMPARE(seen, QStringList({"Tablora 1.5 [Просмотр записи]", "2", "only OK"}));
    QCOMPARE(m_window->document().model().table().cell(1, 1), QStringLiteral("cell"));
    QVERIFY(!m_window->document().isModified());
    QVERIFY(!openedDialog<EditRecordDialog>()); // nothing of the modal dialog outlives it
}

void RecordDialogsTest::titlesDialog()
{
    m_window->action(Command::ColumnTitles)->trigger();
    QPointer<ColumnTitlesDialog> dialog = openedDialog<ColumnTitlesDialog>();
    QVERIFY(dialog && !dialog->isModal());
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Tablora 1.5 [Столбцы]"));
    QCOMPARE(edit(dialog, 0)->text(), QStringLiteral("№"));
    QCOMPARE(edit(dialog, 7)->text(), QStringLiteral("7 столбец"));

    // "Отмена" after typing changes nothing.
    edit(dialog, 1)->setText(QStringLiteral("Товар"));
    click(dialog, "cancelButton");
    QVERIFY(!dialog);
    QCOMPARE(m_window->document().model().table().title(1), QStringLiteral("1 столбец"));
    QVERIFY(!m_window->document().isModified());

    // "OK" unchanged still sets the flag.
    m_window->action(Command::ColumnTitles)->trigger();
    click(openedDialog<ColumnTitlesDialog>(), "okButton");
    QVERIFY(m_window->document().isModified());

    // An empty number title reaches the header and the add dialog opened later.
    m_window->action(Command::ColumnTitles)->trigger();
    dialog = openedDialog<ColumnTitlesDialog>();
    edit(dialog, 0)->clear();
    click(dialog, "okButton");
    QCOMPARE(m_window->document().model().headerData(0, Qt::Horizontal).toString(), QString());
    m_window->action(Command::AddRecord)->trigger();
    QCOMPARE(openedDialog<AddRecordDialog>()->findChild<QGroupBox *>(QStringLiteral("columnGroup0"))->title(),
             QString());
}

// A titles dialog open while another table replaces the one it was opened on
// refuses its OK and keeps what was typed; the new table keeps its titles.
void RecordDialogsTest::titlesDialogStaysWithItsTable_data()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<bool>("replaces");
    QTest::newRow("New") << Command::NewDatabase << true;
    QTest::newRow("Open") << Command::OpenDatabase << true;
    QTest::newRow("an example") << Command::ExampleProfile << true;
    QTest::newRow("the import") << Command::ImportVersion10 << true;
    QTest::newRow("a sort replaces nothing") << Command::SortAscending << false;
}

void RecordDialogsTest::titlesDialogStaysWithItsTable()
{
    QFETCH(Command, command);
    QFETCH(bool, replaces);
    m_folder->makeFolder(QStringLiteral("Примеры"));
    const QByteArray plain = DatabaseCodec::buildPlainList(TableData());
    m_folder->write(FileCommands::exampleFile(FileCommands::Example::Profile), DatabaseCodec::encodePlainList(plain));
    m_folder->write(QStringLiteral("other.db"), DatabaseCodec::encodePlainList(plain));
    m_folder->write(QStringLiteral("old.db"), plain);
    if (command == Command::OpenDatabase)
        m_desktop.expectOpenFile(m_folder->filePath(QStringLiteral("other.db")));
    if (command == Command::ImportVersion10)
        m_desktop.expectOpenFile(m_folder->filePath(QStringLiteral("old.db")));

    m_window->action(Command::ColumnTitles)->trigger();
    QPointer<ColumnTitlesDialog> dialog = openedDialog<ColumnTitlesDialog>();
    edit(dialog, 1)->setText(QStringLiteral("Товар"));
    m_window->action(command)->trigger();
    if (replaces)
        m_desktop.expectMessage(RecordCommands::tableReplacedMessage());
    click(dialog, "okButton");

    QCOMPARE(!dialog, !replaces);
    QCOMPARE(m_window->document().model().table().title(1),
             replaces ? QStringLiteral("1 столбец") : QStringLiteral("Товар"));
    QCOMPARE(m_window->document().isModified(), !replaces);
    if (replaces) {
        QCOMPARE(edit(dialog, 1)->text(), QStringLiteral("Товар"));
        QVERIFY(!m_window->action(Command::Undo)->isEnabled());
    }
}

// A dialog the administrator opened, confirmed after "Войти под другим" as a
// guest: the right is checked again, the refusal is logged and shown, and the
// dialog stays with what was typed until the right is there.
void RecordDialogsTest::commitAfterAUserSwitchChecksTheRight_data()
{
    QTest::addColumn<Command>("opener");
    QTest::addColumn<QString>("button");
    QTest::newRow("Добавить") << Command::AddRecord << "confirmButton";
    QTest::newRow("Изменить") << Command::EditRecord << "confirmButton";
    QTest::newRow("Столбцы") << Command::ColumnTitles << "okButton";
}

void RecordDialogsTest::commitAfterAUserSwitchChecksTheRight()
{
    QFETCH(Command, opener);
    QFETCH(QString, button);
    m_window->recordList()->selectRow(0);
    m_window->action(opener)->trigger();
    QPointer<QDialog> dialog = openedDialog<QDialog>();
    edit(dialog, 1)->setText(QStringLiteral("typed"));

    const QByteArray accounts = "[Users]\r\nAdmin=root\r\nPassword=r\r\nLogin1=guest\r\nPassword1=g\r\n"
                                "Prava1=guest\r\n[Prava]\r\nEditBase=";
    m_folder->write(QStringLiteral("data/other.dat"), accounts + "0\r\n");
    m_desktop.expectDialog([](QDialog &login) {
        login.findChild<QLineEdit *>(QStringLiteral("loginEdit"))->setText(QStringLiteral("guest"));
        login.findChild<QLineEdit *>(QStringLiteral("passwordEdit"))->setText(QStringLiteral("g"));
        login.findChild<QPushButton *>(QStringLiteral("logInButton"))->click();
        return login.result();
    });
    m_window->action(Command::SwitchUser)->trigger();
    QCOMPARE(m_window->document().role(), QStringLiteral("guest"));

    const TableData before = m_window->document().model().table();
    m_desktop.expectMessage(Accounts::refusalMessage());
    click(dialog, qPrintable(button));
    QVERIFY(dialog && dialog->isVisible());
    QCOMPARE(edit(dialog, 1)->text(), QStringLiteral("typed"));
    QVERIFY(m_window->document().model().table() == before);
    QVERIFY(!m_window->document().isModified());
    QVERIFY(m_folder->read(QStringLiteral("errors.log")).contains("|Error:"));

    m_folder->write(QStringLiteral("data/other.dat"), accounts + "1\r\n");
    click(dialog, qPrintable(button));
    QVERIFY(!dialog);
    QVERIFY(m_window->document().isModified());
}

void RecordDialogsTest::keysTypedInADialogEditItsBox_data()
{
    QTest::addColumn<Command>("opener");
    QTest::newRow("add") << Command::AddRecord;
    QTest::newRow("edit") << Command::EditRecord;
    QTest::newRow("titles") << Command::ColumnTitles;
}

void RecordDialogsTest::keysTypedInADialogEditItsBox()
{
    QFETCH(Command, opener);
    m_window->show();
    QTRY_VERIFY(m_window->isActiveWindow());
    m_window->recordList()->selectRow(0);
    m_window->action(opener)->trigger();
    QDialog *dialog = openedDialog<QDialog>();
    QTRY_VERIFY(dialog->isActiveWindow()); // the window system's word alone comes too early
    int commands = 0;
    for (const Command command :
         {Command::AddRecord, Command::DeleteRecord, Command::CopyRecord, Command::CutRecord, Command::PasteRecord})
        connect(m_window->action(command), &QAction::triggered, this, [&] { ++commands; });

    QLineEdit *box = edit(dialog, 1);
    box->setFocus();
    box->setText(QStringLiteral("abc"));
    box->setCursorPosition(0);
    QTest::keyClick(box, Qt::Key_Delete);
    QCOMPARE(box->text(), QStringLiteral("bc"));
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(box->selectedText(), QStringLiteral("bc"));
    QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(box->text(), QString());
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box->text(), QStringLiteral("bcbc"));
    auto *cancel = dialog->findChild<QPushButton *>(QStringLiteral("cancelButton"));
    cancel->setFocus();
    QTest::keyClick(cancel, Qt::Key_Delete); // not even with a button focused
    QCOMPARE(commands, 0);

    // Enter on the focused "Отмена" cancels.
    QPointer<QDialog> open = dialog;
    QTest::keyClick(cancel, Qt::Key_Return);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!open);
    QCOMPARE(m_window->document().model().recordCount(), 3);
    QVERIFY(!m_window->document().isModified());
}

void RecordDialogsTest::pastedLineBreakBecomesASpace()
{
    m_window->action(Command::AddRecord)->trigger();
    QPointer<AddRecordDialog> dialog = openedDialog<AddRecordDialog>();
    QLineEdit *box = edit(dialog, 1);
    box->setText(QStringLiteral("[]"));
    box->setCursorPosition(1);
    QGuiApplication::clipboard()->setText(QStringLiteral("ул. Ленина, 5\r\nкв. 7\nМосква"));
    box->paste();
    QCOMPARE(box->text(), QStringLiteral("[ул. Ленина, 5 кв. 7 Москва]"));
    QCOMPARE(box->cursorPosition(), 27); // after the pasted text
    click(dialog, "confirmButton");
    QCOMPARE(m_window->document().model().table().cell(3, 1), QStringLiteral("[ул. Ленина, 5 кв. 7 Москва]"));
}

void RecordDialogsTest::longCellSurvivesTheEditDialog()
{
    const QString longCell(100000, QLatin1Char('z'));
    Record::Cells cells;
    cells[4] = longCell;
    m_window->document().model().exchangeRecord(1, Record(cells));
    m_window->recordList()->selectRow(1);
    m_window->action(Command::EditRecord)->trigger();
    click(openedDialog<EditRecordDialog>(), "confirmButton");
    QCOMPARE(m_window->document().model().table().cell(1, 4), longCell);
}

TABLORA_TEST_MAIN(RecordDialogsTest)
#include "tst_recorddialogs.moc"
