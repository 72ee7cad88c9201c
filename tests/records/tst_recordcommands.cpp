#include "DocumentFixture.h"
#include "GuardedTest.h"
#include "ProgramFolder.h"
#include "Records.h"
#include "ScriptedDesktop.h"
#include "base/ProgramDir.h"
#include "base/SettingKeys.h"
#include "base/Settings.h"
#include "base/TabloraError.h"
#include "document/Document.h"
#include "document/DocumentView.h"
#include "records/ClipboardRecord.h"
#include "records/RecordAnchor.h"
#include "records/RecordCommands.h"
#include "records/RecordHistory.h"
#include "records/SortCommands.h"
#include "users/Accounts.h"

#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <QSignalSpy>
#include <QTest>

#include <functional>

namespace {

const QString kTitle = QStringLiteral("Tablora 1.5 [Склад.db]");

QStringList cellsOf(const Record &r)
{
    QStringList out;
    for (int c = 0; c < kColumnCount; ++c)
        out << r.cell(c).toString();
    return out;
}

Record::Cells cellsFrom(const QStringList &texts)
{
    Record::Cells cells;
    for (int c = 0; c < kColumnCount; ++c)
        cells[c] = texts.value(c);
    return cells;
}

} // namespace

class RecordCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void selectionAndRights_data();
    void selectionAndRights();
    void addWithEveryBoxEmpty();
    void editWritesIntoItsOwnRecord_data();
    void editWritesIntoItsOwnRecord();
    void titlesBelongToTheirTable();
    void commitChecksTheRightAgain_data();
    void commitChecksTheRightAgain();
    void deleteAnswers_data();
    void deleteAnswers();
    void clearAll_data();
    void clearAll();
    void cutThenPasteMovesTheRecordToTheEnd();
    void pasteRefusesTextWithoutTheMarker();
    void clipboardText();
    void parse_data();
    void parse();
    void titlesSetTheModifiedFlagEvenWhenUnchanged();
    void lineBreaksNeverReachACell();
    void commandsTouchOnlyTheirRows();
    void undoAndRedoRestoreExactly_data();
    void undoAndRedoRestoreExactly();
    void undoOfAnInsertKeepsAnotherSelection_data();
    void undoOfAnInsertKeepsAnotherSelection();
    void modifiedFlagFollowsTheSavedState();
    void refusedUndoChangesNothing();
    void historyKeepsTheLastHundred();

private:
    void fill(const QStringList &numbers);
    void select(int row);
    QStringList column0() const;
    // "Изменить" of an edit dialog opened on row, at once.
    bool edit(int row, const Record::Cells &cells);

    std::unique_ptr<ProgramFolder> m_folder;
    ScriptedDesktop m_desktop;
    std::unique_ptr<DocumentFixture> m_doc;
    std::unique_ptr<QItemSelectionModel> m_selection;
    std::unique_ptr<RecordHistory> m_history;
    std::unique_ptr<RecordCommands> m_commands;
};

void RecordCommandsTest::init()
{
    m_desktop.reset();
    m_folder = std::make_unique<ProgramFolder>();
    m_doc = std::make_unique<DocumentFixture>(m_desktop, m_folder->dir());
    m_doc->view.title = kTitle;
    m_selection = std::make_unique<QItemSelectionModel>(&m_doc->document.model());
    m_history = std::make_unique<RecordHistory>(m_doc->document, m_doc->settings, *m_selection);
    m_commands = std::make_unique<RecordCommands>(m_doc->document, m_doc->settings, m_desktop, m_doc->view,
                                                  *m_selection, *m_history);
}

void RecordCommandsTest::cleanup()
{
    m_commands.reset();
    m_history.reset();
    m_selection.reset();
    QVERIFY2(m_desktop.problems().isEmpty(), qPrintable(m_desktop.problems().join(QLatin1Char('\n'))));
}

void RecordCommandsTest::fill(const QStringList &numbers)
{
    for (const QString &n : numbers)
        appendTo(m_doc->document.model(), Record(cellsFrom({n, QStringLiteral("cell of ") + n})));
}

void RecordCommandsTest::select(int row)
{
    if (row < 0)
        m_selection->clearSelection();
    else
        m_selection->select(m_doc->document.model().index(row, 0),
                            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

bool RecordCommandsTest::edit(int row, const Record::Cells &cells)
{
    const RecordAnchor anchor(m_doc->document.model(), *m_history, row);
    return m_commands->writeRecord(anchor, cells);
}

QStringList RecordCommandsTest::column0() const
{
    QStringList out;
    for (int r = 0; r < m_doc->document.model().recordCount(); ++r)
        out << m_doc->document.model().table().cell(r, 0).toString();
    return out;
}

// Which test speaks first - the selection test or the rights check - and what
// each says, for a user without the right and for one who has it.
void RecordCommandsTest::selectionAndRights_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<QString>("role");
    QTest::addColumn<QByteArray>("editBase");
    QTest::addColumn<QStringList>("expected"); // the desktop log, or "refused"

    const QString beep = QStringLiteral("beep");
    const QString select = QStringLiteral("message %1|Выберите запись|information").arg(kTitle);
    const QString selectFirst = QStringLiteral("message %1|Выберите прежде запись!|information").arg(kTitle);
    const QString notRecord =
        QStringLiteral("message %1|Содержимое буфер обмена не является записью Tablora|information").arg(kTitle);
    const QStringList refused{QStringLiteral("refused")};
    const QString guest = QStringLiteral("guest");

    QTest::newRow("edit, none selected: selection first")
        << "edit" << false << guest << QByteArray("0") << QStringList{beep, select};
    QTest::newRow("edit, selected: refused") << "edit" << true << guest << QByteArray("0") << refused;
    QTest::newRow("delete, none selected")
        << "delete" << false << guest << QByteArray("0") << QStringList{beep, select};
    QTest::newRow("delete, selected: refused") << "delete" << true << guest << QByteArray("0") << refused;
    QTest::newRow("cut, none selected") << "cut" << false << guest << QByteArray("0") << QStringList{beep, select};
    QTest::newRow("cut, selected: refused, clipboard kept") << "cut" << true << guest << QByteArray("0") << refused;
    QTest::newRow("view, none selected") << "view" << false << guest << QByteArray("0") << QStringList{beep, select};
    QTest::newRow("view needs no right") << "view" << true << guest << QByteArray("0") << QStringList{};
    QTest::newRow("copy, none selected: no beep")
        << "copy" << false << guest << QByteArray("0") << QStringList{selectFirst};
    QTest::newRow("copy needs no right") << "copy" << true << guest << QByteArray("0")
                                         << QStringList{QStringLiteral("clipboard set")};
    QTest::newRow("add refused") << "add" << false << guest << QByteArray("0") << refused;
    QTest::newRow("clear all refused before asking") << "clear" << true << guest << QByteArray("0") << refused;
    QTest::newRow("columns refused") << "columns" << false << guest << QByteArray("0") << refused;
    QTest::newRow("paste refused before the clipboard") << "paste" << false << guest << QByteArray("0") << refused;
    QTest::newRow("edit, right granted by the key") << "edit" << true << guest << QByteArray("1") << QStringList{};
    QTest::newRow("add, right granted by the key") << "add" << false << guest << QByteArray("1") << QStringList{};
    QTest::newRow("paste, moderator") << "paste" << false << "moder" << QByteArray("0")
                                      << QStringList{QStringLiteral("clipboard get"), notRecord};
    QTest::newRow("columns, user role and the key") << "columns" << false << "user" << QByteArray("1") << QStringList{};
}

void RecordCommandsTest::selectionAndRights()
{
    QFETCH(QString, command);
    QFETCH(bool, selected);
    QFETCH(QString, role);
    QFETCH(QByteArray, editBase);
    QFETCH(QStringList, expected);

    m_folder->write(QStringLiteral("data/other.dat"), "[Prava]\r\nEditBase=" + editBase + "\r\n");
    m_doc->document.setRole(role);
    fill({QStringLiteral("1"), QStringLiteral("2")});
    select(selected ? 1 : -1);
    const QString clipboardBefore = QStringLiteral("left by another program");
    m_desktop.clipboard = clipboardBefore;

    const bool refusal = expected == QStringList{QStringLiteral("refused")};
    for (const QString &entry : expected) {
        if (entry.startsWith(QStringLiteral("message ")))
            m_desktop.expectMessage(entry.section(QLatin1Char('|'), 1, 1));
    }
    const QHash<QString, std::function<void(RecordCommands &)>> commands{
        {"add", [](RecordCommands &c) { c.beginAdd(); }},
        {"edit", [](RecordCommands &c) { QVERIFY(c.beginEdit().has_value() == (c.selectedRow() >= 0)); }},
        {"view", [](RecordCommands &c) { QVERIFY(c.beginView().has_value() == (c.selectedRow() >= 0)); }},
        {"delete", [](RecordCommands &c) { c.deleteRecord(); }},
        {"clear", [](RecordCommands &c) { c.clearAll(); }},
        {"copy", [](RecordCommands &c) { c.copyRecord(); }},
        {"cut", [](RecordCommands &c) { c.cutRecord(); }},
        {"paste", [](RecordCommands &c) { c.pasteRecord(); }},
        {"columns", [](RecordCommands &c) { c.beginColumns(); }},
    };
    QString thrown;
    try {
        commands.value(command)(*m_commands);
    } catch (const TabloraError &e) {
        thrown = e.message();
    }

    QCOMPARE(thrown, refusal ? Accounts::refusalMessage() : QString());
    QCOMPARE(m_desktop.log(), refusal ? QStringList{} : expected);
    QCOMPARE(column0(), QStringList({"1", "2"}));
    QVERIFY(!m_doc->document.isModified());
    if (m_desktop.log() != QStringList{QStringLiteral("clipboard set")})
        QCOMPARE(m_desktop.clipboard, clipboardBefore);
}

void RecordCommandsTest::addWithEveryBoxEmpty()
{
    fill({QStringLiteral("3")});
    m_commands->appendRecord(Record::Cells{});
    QCOMPARE(m_doc->document.model().recordCount(), 2);
    QCOMPARE(cellsOf(m_doc->document.model().table().record(1)), QStringList(kColumnCount, QString()));
    QVERIFY(m_doc->document.isModified());

    // Numbers are stored as typed; nothing is proposed or checked.
    m_commands->appendRecord(cellsFrom({QStringLiteral("7")}));
    m_commands->appendRecord(cellsFrom({QStringLiteral("3")}));
    QCOMPARE(column0(), QStringList({"3", "", "7", "3"}));
}

// What happens to the table between opening the edit dialog on the second
// record and pressing "Изменить": the steps, run in order, and the number
// cells afterwards, the edited record showing as "E"; "gone" when it no
// longer exists.
void RecordCommandsTest::editWritesIntoItsOwnRecord_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("after");

    QTest::newRow("another row selected") << QStringList{"select 2"} << QStringList{"1", "E", "3"};
    QTest::newRow("no row selected") << QStringList{"select none"} << QStringList{"1", "E", "3"};
    QTest::newRow("sorted") << QStringList{"sort"} << QStringList{"3", "E", "1"};
    QTest::newRow("sorted, then taken back") << QStringList{"sort", "undo"} << QStringList{"1", "E", "3"};
    QTest::newRow("a record before it deleted") << QStringList{"delete 0"} << QStringList{"E", "3"};
    QTest::newRow("a record before it cut, pasted back") << QStringList{"cut 0", "paste"} << QStringList{"E", "3", "1"};
    QTest::newRow("a record added, taken back, made again")
        << QStringList{"add", "undo", "redo"} << QStringList{"1", "E", "3", "0"};
    QTest::newRow("a record before it deleted and put back")
        << QStringList{"delete 0", "undo"} << QStringList{"1", "E", "3"};
    QTest::newRow("its own edit taken back") << QStringList{"edit 1", "undo"} << QStringList{"1", "E", "3"};
    QTest::newRow("deleted") << QStringList{"delete 1"} << QStringList{"gone"};
    QTest::newRow("cut") << QStringList{"cut 1"} << QStringList{"gone"};
    QTest::newRow("cut and pasted: another record") << QStringList{"cut 1", "paste"} << QStringList{"gone"};
    QTest::newRow("cleared") << QStringList{"clear"} << QStringList{"gone"};
    QTest::newRow("table replaced") << QStringList{"replace"} << QStringList{"gone"};
    QTest::newRow("deleted, then put back") << QStringList{"delete 1", "undo"} << QStringList{"1", "E", "3"};
    QTest::newRow("deleted, put back, deleted again") << QStringList{"delete 1", "undo", "redo"} << QStringList{"gone"};
    QTest::newRow("sorted, deleted, both taken back")
        << QStringList{"sort", "delete 1", "undo", "undo"} << QStringList{"1", "E", "3"};
    QTest::newRow("cleared, then put back") << QStringList{"clear", "undo"} << QStringList{"1", "E", "3"};
    QTest::newRow("cleared, put back, added after")
        << QStringList{"clear", "undo", "add"} << QStringList{"1", "E", "3", "0"};
}

void RecordCommandsTest::editWritesIntoItsOwnRecord()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, after);
    fill({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")});
    SortCommands sort(m_doc->document.model(), m_doc->settings, m_desktop, *m_history);
    m_doc->settings.write(Keys::sortDirection(), -1);
    m_desktop.clipboard = ClipboardRecord::text(Record(cellsFrom({QStringLiteral("0")})));
    select(1);
    const std::optional<int> opened = m_commands->beginEdit();
    QCOMPARE(opened.value_or(-1), 1);
    const RecordAnchor anchor(m_doc->document.model(), *m_history, *opened);

    for (const QString &step : steps) {
        const QString what = step.section(u' ', 0, 0);
        const QString where = step.section(u' ', 1);
        if (what == QLatin1String("select"))
            select(where == QLatin1String("none") ? -1 : where.toInt());
        else if (what == QLatin1String("sort"))
            sort.resort();
        else if (what == QLatin1String("undo"))
            m_history->undo();
        else if (what == QLatin1String("redo"))
            m_history->redo();
        else if (what == QLatin1String("add"))
            m_commands->appendRecord(cellsFrom({QStringLiteral("0")}));
        else if (what == QLatin1String("paste"))
            m_commands->pasteRecord();
        else if (what == QLatin1String("edit"))
            QVERIFY(edit(where.toInt(), cellsFrom({QStringLiteral("x")})));
        else if (what == QLatin1String("replace"))
            m_doc->document.model().replaceTable(TableData());
        else if (what == QLatin1String("clear")) {
            m_desktop.expectQuestion(RecordCommands::clearQuestion(), DesktopServices::Answer::Yes);
            m_commands->clearAll();
        } else {
            select(where.toInt());
            if (what == QLatin1String("delete"))
                m_desktop.expectQuestion(RecordCommands::deleteQuestion(), DesktopServices::Answer::Yes);
            what == QLatin1String("delete") ? m_commands->deleteRecord() : m_commands->cutRecord();
        }
    }
    const TableData before = m_doc->document.model().table();
    const bool modified = m_doc->document.isModified();
    const int undoSteps = m_history->count();
    const bool gone = after == QStringList{QStringLiteral("gone")};
    if (gone)
        m_desktop.expectMessage(RecordCommands::recordGoneMessage(), kTitle);

    QCOMPARE(m_commands->writeRecord(anchor, cellsFrom({QStringLiteral("E"), QStringLiteral("typed")})), !gone);
    if (gone) {
        QCOMPARE(m_desktop.log().at(m_desktop.log().size() - 2), QStringLiteral("beep"));
        QVERIFY(m_doc->document.model().table() == before);
        QCOMPARE(m_doc->document.isModified(), modified);
        QCOMPARE(m_history->count(), undoSteps);
        return;
    }
    QCOMPARE(column0(), after);
    const int row = int(after.indexOf(QStringLiteral("E")));
    QCOMPARE(m_doc->document.model().table().cell(row, 1), QStringLiteral("typed"));
    QVERIFY(m_doc->document.isModified());
    QCOMPARE(m_history->undoName(), QStringLiteral("изменение записи")); // one step
    m_history->undo();
    QVERIFY(m_doc->document.model().table() == before);
}

void RecordCommandsTest::titlesBelongToTheirTable()
{
    const quint64 opened = m_commands->tableNumber();
    Record::Cells titles = m_commands->titles();
    titles[1] = QStringLiteral("Товар");
    m_doc->document.model().replaceTable(TableData()); // New, Open, an example...
    m_desktop.expectMessage(RecordCommands::tableReplacedMessage(), kTitle);
    QVERIFY(!m_commands->setTitles(titles, opened));
    QCOMPARE(m_desktop.log().first(), QStringLiteral("beep"));
    QCOMPARE(m_doc->document.model().table().title(1), QStringLiteral("1 столбец"));
    QVERIFY(!m_doc->document.isModified());
    QVERIFY(!m_history->canUndo());

    QVERIFY(m_commands->setTitles(titles, m_commands->tableNumber()));
    QCOMPARE(m_doc->document.model().table().title(1), QStringLiteral("Товар"));
}

// A dialog opened while the right was there: its commit checks again, and a
// refusal changes nothing.
void RecordCommandsTest::commitChecksTheRightAgain_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("role");
    QTest::addColumn<QByteArray>("editBase");
    QTest::addColumn<bool>("granted");
    for (const char *dialog : {"add", "edit", "titles"}) {
        QTest::addRow("%s, guest without the right", dialog) << dialog << "guest" << QByteArray("0") << false;
        QTest::addRow("%s, guest with the right", dialog) << dialog << "guest" << QByteArray("1") << true;
        QTest::addRow("%s, moderator", dialog) << dialog << "moder" << QByteArray("0") << true;
    }
}

void RecordCommandsTest::commitChecksTheRightAgain()
{
    QFETCH(QString, dialog);
    QFETCH(QString, role);
    QFETCH(QByteArray, editBase);
    QFETCH(bool, granted);
    fill({QStringLiteral("1"), QStringLiteral("2")});
    select(0);
    QVERIFY(m_commands->beginEdit()); // opened by the administrator
    m_commands->beginAdd();
    m_commands->beginColumns();
    const RecordAnchor anchor(m_doc->document.model(), *m_history, 0);
    const quint64 table = m_commands->tableNumber();

    m_folder->write(QStringLiteral("data/other.dat"), "[Prava]\r\nEditBase=" + editBase + "\r\n");
    m_doc->document.setRole(role); // "Войти под другим"
    const TableData before = m_doc->document.model().table();
    const Record::Cells typed = cellsFrom({QStringLiteral("7"), QStringLiteral("Товар")});
    QString thrown;
    try {
        if (dialog == QLatin1String("add"))
            m_commands->appendRecord(typed);
        else if (dialog == QLatin1String("edit"))
            QVERIFY(m_commands->writeRecord(anchor, typed));
        else
            QVERIFY(m_commands->setTitles(typed, table));
    } catch (const TabloraError &e) {
        thrown = e.message();
    }
    QCOMPARE(thrown, granted ? QString() : Accounts::refusalMessage());
    QCOMPARE(m_doc->document.model().table() == before, !granted);
    QCOMPARE(m_doc->document.isModified(), granted);
    QCOMPARE(m_history->canUndo(), granted);
}

void RecordCommandsTest::deleteAnswers_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes") << true;
    QTest::newRow("no") << false;
}

void RecordCommandsTest::deleteAnswers()
{
    QFETCH(bool, yes);
    fill({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")});
    select(1);
    m_desktop.expectQuestion(RecordCommands::deleteQuestion(),
                             yes ? DesktopServices::Answer::Yes : DesktopServices::Answer::No,
                             QStringLiteral("Вопрос"));
    m_commands->deleteRecord();
    QCOMPARE(m_desktop.log(),
             QStringList({"beep", "question Вопрос|" + RecordCommands::deleteQuestion() + "|question|yes-no"}));
    QCOMPARE(column0(), yes ? QStringList({"1", "3"}) : QStringList({"1", "2", "3"}));
    QCOMPARE(m_doc->document.model().table().cell(yes ? 1 : 2, 1), QStringLiteral("cell of 3"));
    QCOMPARE(m_doc->document.isModified(), yes);
}

void RecordCommandsTest::clearAll_data()
{
    QTest::addColumn<int>("records");
    QTest::addColumn<bool>("yes");
    QTest::newRow("empty table, yes") << 0 << true;
    QTest::newRow("three records, yes") << 3 << true;
    QTest::newRow("three records, no") << 3 << false;
}

void RecordCommandsTest::clearAll()
{
    QFETCH(int, records);
    QFETCH(bool, yes);
    for (int i = 0; i < records; ++i)
        fill({QString::number(i)});
    m_doc->document.model().setTitle(2, QStringLiteral("Товар"));
    m_doc->document.model().setWidth(2, 140);
    m_desktop.expectQuestion(RecordCommands::clearQuestion(),
                             yes ? DesktopServices::Answer::Yes : DesktopServices::Answer::No,
                             QStringLiteral("Вопрос"));
    m_commands->clearAll();
    QVERIFY(m_desktop.logged(QStringLiteral("beep")).isEmpty());
    QCOMPARE(m_doc->document.model().recordCount(), yes ? 0 : records);
    QCOMPARE(m_doc->document.isModified(), yes);
    QCOMPARE(m_doc->document.model().table().title(2), QStringLiteral("Товар"));
    QCOMPARE(m_doc->document.model().table().width(2), 140);
}

void RecordCommandsTest::cutThenPasteMovesTheRecordToTheEnd()
{
    fill({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")});
    select(0);
    m_commands->cutRecord();
    QCOMPARE(m_desktop.log(), QStringList{"clipboard set"}); // no question, no beep
    QCOMPARE(m_desktop.clipboard, ClipboardRecord::text(Record(cellsFrom({"1", "cell of 1"}))));
    QCOMPARE(column0(), QStringList({"2", "3"}));
    QVERIFY(m_doc->document.isModified());

    m_doc->document.setModified(false);
    select(0); // the selection does not decide where a paste goes
    m_commands->pasteRecord();
    m_commands->pasteRecord();
    QCOMPARE(column0(), QStringList({"2", "3", "1", "1"}));
    QCOMPARE(m_doc->document.model().table().cell(3, 1), QStringLiteral("cell of 1"));
    QVERIFY(m_doc->document.isModified());

    // Copy leaves the table and the flag alone.
    m_doc->document.setModified(false);
    select(1);
    m_commands->copyRecord();
    QCOMPARE(m_desktop.clipboard, ClipboardRecord::text(m_doc->document.model().table().record(1)));
    QCOMPARE(m_doc->document.model().recordCount(), 4);
    QVERIFY(!m_doc->document.isModified());
}

void RecordCommandsTest::pasteRefusesTextWithoutTheMarker()
{
    fill({QStringLiteral("1")});
    m_desktop.clipboard = QStringLiteral("tablora. list record\r\n2\r\n");
    m_desktop.expectMessage(RecordCommands::notARecordMessage(), kTitle);
    m_commands->pasteRecord();
    QVERIFY(m_desktop.logged(QStringLiteral("beep")).isEmpty());
    QCOMPARE(column0(), QStringList{"1"});
    QVERIFY(!m_doc->document.isModified());
}

void RecordCommandsTest::clipboardText()
{
    Record::Cells cells;
    cells[0] = QStringLiteral("5");
    cells[1] = QStringLiteral("Иванов");
    cells[7] = QString(5000, QLatin1Char('x')); // beyond one cell of a file line, kept whole
    const QString text = ClipboardRecord::text(Record(cells));
    QCOMPARE(text,
             QStringLiteral("Tablora. List record\r\n5\r\nИванов\r\n\r\n\r\n\r\n\r\n\r\n") + cells[7]
                 + QStringLiteral("\r\n"));
    QCOMPARE(ClipboardRecord::parse(text), Record(cells));
}

void RecordCommandsTest::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QStringList>("cells");

    const QStringList full{"1", "a", "b", "c", "d", "e", "f", "g"};
    const QStringList empty(kColumnCount, QString());
    QTest::newRow("CR LF") << "Tablora. List record\r\n1\r\na\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\n" << true << full;
    QTest::newRow("LF only") << "Tablora. List record\n1\na\nb\nc\nd\ne\nf\ng\n" << true << full;
    QTest::newRow("CR only") << "Tablora. List record\r1\ra\rb\rc\rd\re\rf\rg\r" << true << full;
    QTest::newRow("lines after the ninth ignored")
        << "Tablora. List record\r\n1\r\na\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\nh\r\ni\r\n"
        << true << full;
    QTest::newRow("marker only") << "Tablora. List record\r\n" << true << empty;
    QTest::newRow("marker without line break") << "Tablora. List record" << true << empty;
    QTest::newRow("missing lines are empty")
        << "Tablora. List record\r\n1\r\n\r\nb" << true << QStringList{"1", "", "b", "", "", "", "", ""};
    QTest::newRow("other letter case") << "tablora. List record\r\n1\r\n" << false << QStringList{};
    QTest::newRow("trailing space") << "Tablora. List record \r\n1\r\n" << false << QStringList{};
    QTest::newRow("leading space") << " Tablora. List record\r\n1\r\n" << false << QStringList{};
    QTest::newRow("empty clipboard") << "" << false << QStringList{};
    QTest::newRow("marker on the second line") << "\r\nTablora. List record\r\n" << false << QStringList{};
}

void RecordCommandsTest::parse()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(QStringList, cells);
    const std::optional<Record> record = ClipboardRecord::parse(text);
    QCOMPARE(record.has_value(), accepted);
    if (record)
        QCOMPARE(cellsOf(*record), cells);
}

void RecordCommandsTest::titlesSetTheModifiedFlagEvenWhenUnchanged()
{
    QVERIFY(m_commands->setTitles(m_commands->titles(), m_commands->tableNumber()));
    QVERIFY(m_doc->document.isModified());

    Record::Cells titles = m_commands->titles();
    titles[0].clear();
    titles[3] = QStringLiteral("Цена");
    QVERIFY(m_commands->setTitles(titles, m_commands->tableNumber()));
    QCOMPARE(m_doc->document.model().headerData(0, Qt::Horizontal).toString(), QString());
    QCOMPARE(m_doc->document.model().headerData(3, Qt::Horizontal).toString(), QStringLiteral("Цена"));
    QCOMPARE(m_commands->titles(), titles);
}

void RecordCommandsTest::lineBreaksNeverReachACell()
{
    fill({QStringLiteral("1")});
    m_commands->appendRecord(cellsFrom({"a\r\nb", "c\nd", "e\rf", "\r\n\r\n"}));
    QCOMPARE(cellsOf(m_doc->document.model().table().record(1)).mid(0, 4), QStringList({"a b", "c d", "e f", "  "}));

    QVERIFY(edit(0, cellsFrom({"x\ny"})));
    QCOMPARE(m_doc->document.model().table().cell(0, 0), QStringLiteral("x y"));

    Record::Cells titles = m_commands->titles();
    titles[1] = QStringLiteral("Имя\r\nФамилия");
    QVERIFY(m_commands->setTitles(titles, m_commands->tableNumber()));
    QCOMPARE(m_doc->document.model().table().title(1), QStringLiteral("Имя Фамилия"));
}

// A million records stay smooth only when each command tells the list about
// its own rows: no reset, and the selection stays where it was.
void RecordCommandsTest::commandsTouchOnlyTheirRows()
{
    fill({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")});
    TableModel &model = m_doc->document.model();
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy layouts(&model, &QAbstractItemModel::layoutChanged);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    const auto rows = [](const QSignalSpy &spy) {
        return std::make_pair(spy.last().at(1).toInt(), spy.last().at(2).toInt());
    };

    m_commands->appendRecord(Record::Cells{});
    QCOMPARE(rows(inserted), std::make_pair(4, 4));
    select(2);
    QVERIFY(edit(2, cellsFrom({QStringLiteral("x")})));
    QCOMPARE(changed.last().at(0).toModelIndex(), model.index(2, 0));
    QCOMPARE(changed.last().at(1).toModelIndex(), model.index(2, kColumnCount - 1));
    QCOMPARE(m_commands->selectedRow(), 2);

    m_desktop.expectQuestion(RecordCommands::deleteQuestion(), DesktopServices::Answer::Yes);
    select(1);
    m_commands->deleteRecord();
    QCOMPARE(rows(removed), std::make_pair(1, 1));
    select(0);
    m_commands->cutRecord();
    QCOMPARE(rows(removed), std::make_pair(0, 0));
    m_commands->pasteRecord();
    QCOMPARE(rows(inserted), std::make_pair(3, 3));
    QVERIFY(m_commands->setTitles(m_commands->titles(), m_commands->tableNumber()));
    m_desktop.expectQuestion(RecordCommands::clearQuestion(), DesktopServices::Answer::Yes);
    m_commands->clearAll();
    QCOMPARE(rows(removed), std::make_pair(0, 3));
    QCOMPARE(resets.count() + layouts.count(), 0);
}

// Each command taken back and made again: the exact records, order and
// titles, the modified flag, the caption's name and the selection.
void RecordCommandsTest::undoAndRedoRestoreExactly_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("selected"); // the row selected when the command runs
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("afterCommand"); // the row selected then, -1 none
    QTest::addColumn<int>("afterUndo");
    QTest::addColumn<int>("afterRedo");

    // A record put in is selected (and shown); it leaves with the undo.
    QTest::newRow("add") << "add" << 0 << "добавление записи" << 4 << -1 << 4;
    QTest::newRow("paste") << "paste" << 0 << "вставку записи" << 4 << -1 << 4;
    QTest::newRow("edit") << "edit" << 1 << "изменение записи" << 1 << 1 << 1;
    QTest::newRow("delete") << "delete" << 1 << "удаление записи" << -1 << 1 << -1;
    QTest::newRow("cut") << "cut" << 2 << "вырезание записи" << -1 << 2 << -1;
    QTest::newRow("clear all") << "clear" << 0 << "очистку базы" << -1 << -1 << -1;
    QTest::newRow("titles") << "titles" << 0 << "изменение заголовков столбцов" << 0 << 0 << 0;
    QTest::newRow("sort keeps the selected record") << "sort" << 0 << "сортировку" << 1 << 0 << 1;
}

void RecordCommandsTest::undoAndRedoRestoreExactly()
{
    QFETCH(QString, command);
    QFETCH(int, selected);
    QFETCH(QString, name);
    QFETCH(int, afterCommand);
    QFETCH(int, afterUndo);
    QFETCH(int, afterRedo);

    TableModel &model = m_doc->document.model();
    const QStringList rows[] = {{"3", "Петров", "x"}, {"1", "Иванов", "x"}, {"4", "сидоров", "x"}, {"2", "Анна", "x"}};
    for (const QStringList &cells : rows)
        appendTo(model, Record(cellsFrom(cells)));
    model.setTitle(1, QStringLiteral("Фамилия"));
    select(selected);
    SortCommands sort(model, m_doc->settings, m_desktop, *m_history);
    const Record::Cells pasted = cellsFrom({"7", "Новикова"});
    m_desktop.clipboard = ClipboardRecord::text(Record(pasted));
    const Record *firstRecord = &model.table().record(0);

    const TableData before = model.table();
    if (command == QLatin1String("add")) {
        m_commands->appendRecord(pasted);
    } else if (command == QLatin1String("paste")) {
        m_commands->pasteRecord();
    } else if (command == QLatin1String("edit")) {
        QVERIFY(edit(selected, pasted));
    } else if (command == QLatin1String("delete")) {
        m_desktop.expectQuestion(RecordCommands::deleteQuestion(), DesktopServices::Answer::Yes);
        m_commands->deleteRecord();
    } else if (command == QLatin1String("cut")) {
        m_commands->cutRecord();
    } else if (command == QLatin1String("clear")) {
        m_desktop.expectQuestion(RecordCommands::clearQuestion(), DesktopServices::Answer::Yes);
        m_commands->clearAll();
    } else if (command == QLatin1String("titles")) {
        QVERIFY(m_commands->setTitles(pasted, m_commands->tableNumber()));
    } else {
        sort.chooseColumn(1);
        sort.chooseDirection(-1);
        sort.resort();
    }
    const TableData after = model.table();
    QVERIFY(!(after == before));
    QCOMPARE(m_commands->selectedRow(), afterCommand);
    const bool changesData = command != QLatin1String("sort");
    QCOMPARE(m_doc->document.isModified(), changesData);
    QCOMPARE(m_history->undoName(), name);
    QVERIFY(!m_history->canRedo());

    m_history->undo();
    QVERIFY(model.table() == before);
    QVERIFY(!m_doc->document.isModified()); // back at the state the table was opened in
    QCOMPARE(m_commands->selectedRow(), afterUndo);
    QCOMPARE(m_history->redoName(), name);
    QVERIFY(!m_history->canUndo());
    if (command == QLatin1String("clear"))
        QCOMPARE(&model.table().record(0), firstRecord); // moved back, not copied

    m_history->redo();
    QVERIFY(model.table() == after);
    QCOMPARE(m_doc->document.isModified(), changesData);
    QCOMPARE(m_commands->selectedRow(), afterRedo);
    QCOMPARE(m_history->undoName(), name);

    m_history->undo(); // and back once more, from the redone state
    QVERIFY(model.table() == before);
}

// Taking back an add or a paste takes the new record out of the list, and
// with it only its own selection: a record the user chose since stays chosen.
void RecordCommandsTest::undoOfAnInsertKeepsAnotherSelection_data()
{
    QTest::addColumn<bool>("paste");
    QTest::addColumn<int>("selectedBeforeUndo"); // -1 none
    QTest::addColumn<int>("selectedAfterUndo");
    for (const bool paste : {false, true}) {
        const QByteArray command = paste ? "paste" : "add";
        QTest::newRow(command + ", another record chosen") << paste << 1 << 1;
        QTest::newRow(command + ", the new record chosen") << paste << 3 << -1;
        QTest::newRow(command + ", none chosen") << paste << -1 << -1;
    }
}

void RecordCommandsTest::undoOfAnInsertKeepsAnotherSelection()
{
    QFETCH(bool, paste);
    QFETCH(int, selectedBeforeUndo);
    QFETCH(int, selectedAfterUndo);
    fill({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")});
    m_desktop.clipboard = ClipboardRecord::text(Record(cellsFrom({QStringLiteral("4")})));
    if (paste)
        m_commands->pasteRecord();
    else
        m_commands->appendRecord(cellsFrom({QStringLiteral("4")}));
    QCOMPARE(m_commands->selectedRow(), 3);
    select(selectedBeforeUndo);
    m_history->undo();
    QCOMPARE(column0(), QStringList({"1", "2", "3"}));
    QCOMPARE(m_commands->selectedRow(), selectedAfterUndo);
}

// The flag is set exactly while a change of the data lies between the state
// last saved and the current one; sorting alone never sets it.
void RecordCommandsTest::modifiedFlagFollowsTheSavedState()
{
    fill({QStringLiteral("1"), QStringLiteral("2")});
    SortCommands sort(m_doc->document.model(), m_doc->settings, m_desktop, *m_history);
    const auto step = [&](const std::function<void()> &run, bool modified) {
        run();
        return m_doc->document.isModified() == modified;
    };
    const auto add = [&] { m_commands->appendRecord(cellsFrom({QStringLiteral("0")})); };
    const auto undo = [&] { m_history->undo(); };
    const auto redo = [&] { m_history->redo(); };
    const auto resort = [&] { sort.resort(); };

    for (int i = 0; i <= RecordHistory::kLimit; ++i) // more sorts than the history keeps
        QVERIFY(step(resort, false));
    QVERIFY(step(add, true));
    QVERIFY(step(undo, false)); // the opened state
    QVERIFY(step(redo, true));
    m_doc->document.setModified(false); // saved here
    QVERIFY(step(undo, true));
    QVERIFY(step(redo, false));
    QVERIFY(step(resort, false));
    QVERIFY(step(undo, false));
    QVERIFY(step(redo, false));
    QVERIFY(step(add, true));
    QVERIFY(step(undo, false));
    QVERIFY(step(undo, false)); // the sort
    QVERIFY(step(undo, true)); // before the saved add
    QVERIFY(step(resort, true)); // the saved state is out of reach now
    QVERIFY(step(undo, true));
}

void RecordCommandsTest::refusedUndoChangesNothing()
{
    fill({QStringLiteral("2"), QStringLiteral("1")});
    m_commands->appendRecord(cellsFrom({QStringLiteral("3")}));
    m_folder->write(QStringLiteral("data/other.dat"), "[Prava]\r\nEditBase=0\r\n");
    m_doc->document.setRole(QStringLiteral("guest"));

    const auto refused = [this](const std::function<void()> &step) {
        const TableData before = m_doc->document.model().table();
        const QString undoName = m_history->undoName();
        const QString redoName = m_history->redoName();
        const bool modified = m_doc->document.isModified();
        QString thrown;
        try {
            step();
        } catch (const TabloraError &e) {
            thrown = e.message();
        }
        return thrown == Accounts::refusalMessage() && m_doc->document.model().table() == before
            && m_history->undoName() == undoName && m_history->redoName() == redoName
            && m_doc->document.isModified() == modified;
    };
    QVERIFY(refused([this] { m_history->undo(); }));
    m_doc->document.setRole(QStringLiteral("admin"));
    m_history->undo();
    m_doc->document.setRole(QStringLiteral("guest"));
    QVERIFY(refused([this] { m_history->redo(); }));

    // Sorting needs no right, and neither does taking a sort back.
    SortCommands sort(m_doc->document.model(), m_doc->settings, m_desktop, *m_history);
    sort.resort();
    QCOMPARE(column0(), QStringList({"1", "2"}));
    m_history->undo();
    QCOMPARE(column0(), QStringList({"2", "1"}));
}

void RecordCommandsTest::historyKeepsTheLastHundred()
{
    for (int i = 0; i <= RecordHistory::kLimit; ++i)
        m_commands->appendRecord(cellsFrom({QString::number(i)}));
    QCOMPARE(m_history->count(), RecordHistory::kLimit);
    while (m_history->canUndo())
        m_history->undo();
    QCOMPARE(column0(), QStringList{"0"}); // the first add is out of reach
    QVERIFY(m_doc->document.isModified()); // and so is the state before it
    m_history->redo();
    QCOMPARE(column0(), QStringList({"0", "1"}));
}

TABLORA_GUILESS_TEST_MAIN(RecordCommandsTest)
#include "tst_recordcommands.moc"
