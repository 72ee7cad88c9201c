#include "TMainForm.h"

#include "ActionTable.h"
#include "CommandMap.h"
#include "base/DesktopServices.h"
#include "RecordListView.h"
#include "StatusPanels.h"
#include "WindowFrame.h"
#include "document/DatabaseCodec.h"
#include "document/DocumentTexts.h"
#include "records/FindBar.h"
#include "records/RecordCommands.h"
#include "records/RecordDialogs.h"
#include "records/RecordFinder.h"
#include "records/RecordHistory.h"
#include "records/SortCommands.h"
#include "users/Accounts.h"
#include "users/AdminCommands.h"
#include "users/SettingKeys.h"
#include "users/SettingsBatch.h"
#include "users/TEnterForm.h"

#include <QAction>
#include <QCoreApplication>
#include <QStringList>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QWindow>

#include <functional>

TMainForm::TMainForm(DesktopServices &desktop, const ProgramDir &dir, QStringList arguments, QWidget *parent)
    : QMainWindow(parent)
    , m_desktop(desktop)
    , m_dir(dir)
    , m_arguments(std::move(arguments))
    , m_errors(desktop, dir.errorLog())
    , m_settings(dir)
    , m_files(m_document, m_settings, desktop, *this, dir)
    , m_help(desktop, dir, this)
    , m_print(m_document, desktop)
    , m_update(m_document, m_settings, m_files, desktop, m_errors, dir)
{
    setObjectName(QStringLiteral("MainForm"));
    buildLayout();
    m_history = std::make_unique<RecordHistory>(m_document, m_settings, *Table1->selectionModel());
    m_sort = std::make_unique<SortCommands>(m_document.model(), m_settings, desktop, *m_history);
    m_records = std::make_unique<RecordCommands>(m_document, m_settings, desktop, *this, *Table1->selectionModel(),
                                                 *m_history);
    m_recordDialogs = std::make_unique<RecordDialogs>(*m_records, desktop, m_errors, this);
    bindHandlers();

    Timer1.setSingleShot(true);
    Timer1.setInterval(200);
    connect(&Timer1, &QTimer::timeout, this, [this] { m_errors.run([this] { Timer1Timer(); }); });
    Timer2.setInterval(200);
    connect(&Timer2, &QTimer::timeout, this, [this] { m_errors.run([this] { Timer2Timer(); }); });
    Timer2.start();
    // The program ends with its main window; it does not wait for its last
    // window, since the login can close before the main window shows.
    connect(this, &TMainForm::closed, QCoreApplication::instance(), &QCoreApplication::quit);

    m_errors.run([this] { FormCreate(); });
}

TMainForm::~TMainForm() = default;

void TMainForm::buildLayout()
{
    setWindowTitle(AppInfo::kTitle);
    QFont windowFont(QStringLiteral("Verdana"));
    windowFont.setPointSize(10);
    setFont(windowFont);
    resize(kDesignSize);
    // The table's pop-up is the window's only one: no menu of Qt's own for
    // the menu bar and the toolbar, whose one entry would hide the toolbar.
    setContextMenuPolicy(Qt::NoContextMenu);

    m_commands = new CommandMap(this);

    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("ActionMainMenuBar1"));
    QFont menuFont(QStringLiteral("Tahoma"));
    menuFont.setPointSize(8);
    bar->setFont(menuFont);
    bar->setFixedHeight(24);
    m_commands->buildMenuBar(bar);

    QToolBar *tools = m_commands->buildToolBar();
    tools->setFixedHeight(72);
    addToolBar(Qt::TopToolBarArea, tools);

    Table1 = new RecordListView(&m_document.model(), this);
    QFont tableFont(QStringLiteral("Verdana"));
    tableFont.setPointSize(8);
    Table1->setTableFont(tableFont);
    setCentralWidget(Table1);
    PopupMenu1 = m_commands->buildPopupMenu(this);
    connect(Table1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { PopupMenu1->popup(Table1->viewport()->mapToGlobal(pos)); });

    FindBar1 = new FindBar(m_document.model(), this);
    addToolBar(Qt::BottomToolBarArea, FindBar1);
    FindBar1->hide();

    StatusBar1 = new StatusPanels(this);
    setStatusBar(StatusBar1);

    Panel1 = new QLabel(QStringLiteral("Загрузка..."), this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setAlignment(Qt::AlignCenter);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(2);
    Panel1->setAutoFillBackground(true);
    QPalette white = Panel1->palette();
    white.setColor(QPalette::Window, Qt::white);
    Panel1->setPalette(white);
    Panel1->resize(209, 81);
    Panel1->raise();
}

void TMainForm::bindHandlers()
{
    using ActionTable::exampleActions;
    using ActionTable::reopenActions;
    using ActionTable::sortColumnActions;

    const auto bind = [this](const QString &name, std::function<void()> handler) {
        connect(action(name), &QAction::triggered, this,
                [this, handler = std::move(handler)] { m_errors.run(handler); });
    };
    const auto nothing = [] {};
    bind("Action1", nothing); // the favourite commands do nothing
    bind("Action35", nothing);
    bind("Action65", nothing);
    bind("Action3", [this] { Action3Execute(); });
    bind("Action5", [this] { Action5Execute(); });
    bind("Action8", [this] { m_files.New(); });
    bind("Action9", [this] { m_files.Open(); });
    bind("Action10", [this] { m_files.Save(); });
    bind("Action12", [this] { m_files.SaveAs(); });
    for (int k = 1; k <= kRecentFileCount; ++k)
        bind(reopenActions()[k - 1], [this, k] { m_files.Reopen(k); });
    bind(exampleActions()[0], [this] { m_files.OpenExample(FileCommands::Example::Programs); });
    bind(exampleActions()[1], [this] { m_files.OpenExample(FileCommands::Example::Profile); });
    bind(exampleActions()[2], [this] { m_files.OpenExample(FileCommands::Example::School); });
    for (int column = 0; column < kColumnCount; ++column) {
        action(sortColumnActions()[column])->setCheckable(true);
        bind(sortColumnActions()[column], [this, column] { sortColumnExecute(column); });
    }
    bind("Action63", [this] { sortDirectionExecute(1); });
    bind("Action64", [this] { sortDirectionExecute(-1); });
    // The user manager, the program settings and the import of old databases.
    bind("Action46", [this] {
        AdminCommands::Manager(m_settings, m_desktop, m_errors, m_dir, m_document.role(), applicationTitle(), this);
    });
    bind("Action48", [this] {
        AdminCommands::Options(m_settings, m_desktop, m_errors, m_dir, m_document.role(), this,
                               [this] { applyTableLook(); });
    });
    bind("Action69", [this] { m_files.Import(); });

    // The help menu, beside the update.
    bind("Action7", [this] { m_help.Action7Execute(); });
    bind("Action50", [this] { m_help.Action50Execute(); });
    bind("Action51", [this] { m_help.Action51Execute(); });
    bind("Action52", [this] { m_help.Action52Execute(); });
    bind("Action53", [this] { m_help.Action53Execute(); });
    bind("Action54", [this] { m_help.Action54Execute(); });
    bind("Action55", [this] { m_help.Action55Execute(); });
    bind("Action56", [this] { m_help.Action56Execute(); });
    bind("Action57", [this] { m_help.Action57Execute(); });
    bind("Action68", [this] { m_help.Action68Execute(); });

    // Records: add, edit, view, delete, clear all, the clipboard, column titles.
    bind("Action2", [this] { m_recordDialogs->openAdd(); });
    bind("Action19", [this] { m_recordDialogs->openEdit(); });
    bind("Action66", [this] { m_recordDialogs->openView(); });
    bind("Action20", [this] { m_records->Delete(); });
    bind("Action21", [this] { m_records->ClearAll(); });
    bind("Action22", [this] { m_records->Copy(); });
    bind("Action23", [this] { m_records->Cut(); });
    bind("Action24", [this] { m_records->Paste(); });
    bind("Action6", [this] { m_recordDialogs->openColumns(); });

    // Printing and the program update.
    bind("Action18", [this] {
        m_print.print(Table1->font(), [this](const QString &text) {
            StatusBar1->setText(2, text);
            StatusBar1->repaint(); // printing a large table keeps the loop busy for a while
        });
    });
    bind("Action49", [this] { m_update.Action49Execute(this); });

    // Undo and redo of the record commands; finding records.
    bind("ActionUndo", [this] { m_history->undo(); });
    bind("ActionRedo", [this] { m_history->redo(); });
    connect(m_history.get(), &RecordHistory::changed, this, &TMainForm::showHistory);
    showHistory();
    bind("ActionFind", [this] { FindBar1->open(); });
    bind("ActionFindNext", [this] { findExecute(RecordSearch::Direction::Forward); });
    bind("ActionFindPrevious", [this] { findExecute(RecordSearch::Direction::Backward); });
    connect(FindBar1, &FindBar::findRequested, this,
            [this](RecordSearch::Direction direction) { m_errors.run([=] { findExecute(direction); }); });
    connect(FindBar1, &FindBar::closed, Table1, [this] { Table1->setFocus(); });
}

QAction *TMainForm::action(const QString &name) const
{
    return m_commands->action(name);
}

// --- life of the window ---

void TMainForm::FormCreate()
{
    if (!m_settings.read(Keys::quickStart()))
        m_desktop.sleep(1000);
    m_document.setModified(false);
    m_document.setFileName(Document::untitledName());
    ChangeReopen();
    ChangFavourite();
}

void TMainForm::FormShow()
{
    m_errors.run([this] {
        QString role = m_document.role();
        if (m_settings.read(Keys::questionOnStart())) {
            TEnterForm login(m_settings, m_desktop, m_errors, role, this);
            m_desktop.execDialog(login);
            if (m_desktop.terminateRequested())
                return; // leaving the login ends the program; nothing more happens
        } else {
            role = QStringLiteral("admin");
        }
        m_document.setRole(role);

        // The stored placement and the design size are the frame's. The
        // frame is known before the window is first shown, so it appears
        // once, at its place and size.
        m_frameWanted.setSize(m_settings.read(Keys::saveSize())
                                  ? QSize(m_settings.read(Keys::windowWidth()), m_settings.read(Keys::windowHeight()))
                                  : kDesignSize);
        m_positionWanted = m_settings.read(Keys::savePosition());
        if (m_positionWanted)
            m_frameWanted.moveTopLeft(QPoint(m_settings.read(Keys::windowLeft()), m_settings.read(Keys::windowTop())));
        m_frameExpected = WindowFrame::expectedMargins(*this);
        placeFrame(m_frameExpected);
        Timer1.start();
        centrePanel1();
        markSortColumn(m_settings.read(Keys::sortColumn()));
    });
}

void TMainForm::Timer1Timer()
{
    Timer1.stop();
    // A window manager whose frame turned out other than it said gets the
    // window placed again by the frame it really drew.
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    if (isVisible() && !frame.isNull() && frame != m_frameExpected)
        placeFrame(frame);
    for (int c = 0; c < kColumnCount; ++c)
        m_document.model().setTitle(c, m_settings.read(Keys::caption(c)));
    applyTableLook();
    Panel1->hide();
    StatusBar1->setText(2, DocumentTexts::loggedInAs(m_document.role()));
    m_files.New();

    const QString commandLineFile = m_arguments.value(0);
    if (!commandLineFile.isEmpty())
        loadCommandLineDatabase(commandLineFile);

    if (m_settings.read(Keys::firstRun())) {
        m_desktop.shellOpen(m_dir.helpFile());
        m_settings.write(Keys::firstRun(), false);
    }
}

void TMainForm::loadCommandLineDatabase(const QString &path)
{
    try {
        m_files.loadFile(path);
    } catch (const TabloraError &) {
        m_desktop.showMessage(applicationTitle(),
                              QStringLiteral("Не возможно открыть файл ") + path
                                  + QStringLiteral("! Файл повреждён или имеет формат, не поддерживающийся программой"),
                              DesktopServices::Icon::None);
    }
}

void TMainForm::applyTableLook()
{
    QFont font(m_settings.read(Keys::fontName()));
    font.setPointSize(std::max(1, m_settings.read(Keys::fontSize())));
    Table1->setTableFont(font);
    const QString align = m_settings.read(Keys::align());
    m_document.model().setAlignment(align == QLatin1String("Left")     ? Qt::AlignLeft
                                    : align == QLatin1String("Center") ? Qt::AlignHCenter
                                                                        : Qt::AlignRight);
}

void TMainForm::Timer2Timer()
{
    ItogoItems();
    for (int c = 0; c < kColumnCount; ++c) {
        QAction *sortColumn = action(ActionTable::sortColumnActions()[c]);
        const QString caption = CommandMap::menuText(m_document.model().table().title(c));
        if (sortColumn->text() != caption)
            sortColumn->setText(caption);
    }
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    bool close = false;
    m_errors.run([&] { close = FormCloseQuery(); });
    if (close) {
        event->accept();
        emit closed();
    } else
        event->ignore();
}

bool TMainForm::FormCloseQuery()
{
    // Cancel, or a save that did not happen, keeps the window open; so does
    // an error of the save, which the caller reports.
    if (!m_files.promptStep())
        return false;
    centrePanel1();
    Panel1->setText(QStringLiteral("Завершение работы..."));
    Panel1->show();
    Panel1->raise();
    // Painted by itself: a repaint of the window leaves the panel, which lies
    // over the table, for a later update that the pause would hold back.
    Panel1->repaint();
    m_desktop.processEvents();
    m_desktop.sleep(200);

    // A settings folder that cannot be written must not keep the program
    // from closing: the error is reported and the window closes all the same.
    // One write, synced to the disk once, however busy the disk.
    m_errors.run([this] {
        SettingsBatch batch;
        batch.set(Keys::recordCount(), m_document.model().recordCount());
        const QRect outer = frameGeometry();
        batch.set(Keys::windowTop(), outer.top());
        batch.set(Keys::windowLeft(), outer.left());
        batch.set(Keys::windowHeight(), outer.height());
        batch.set(Keys::windowWidth(), outer.width());
        m_settings.write(batch);
    });
    return true;
}

void TMainForm::placeFrame(const QMargins &frame)
{
    const QSize inside = m_frameWanted.size().shrunkBy(frame);
    if (m_positionWanted)
        setGeometry(QRect(m_frameWanted.topLeft() + QPoint(frame.left(), frame.top()), inside));
    else
        resize(inside); // the system chooses the place
}

void TMainForm::centrePanel1()
{
    const QSize outer = frameGeometry().size();
    Panel1->move(outer.width() / 2 - Panel1->width() / 2, outer.height() / 2 - Panel1->height() / 2);
}

// --- texts of the document state ---

void TMainForm::ChangeTitle()
{
    const QString title = DocumentTexts::windowTitle(m_document.fileName());
    setWindowTitle(title);
    m_errors.setApplicationTitle(title);
    StatusBar1->setText(1, DocumentTexts::statusName(m_document.fileName()));
}

QString TMainForm::applicationTitle() const
{
    return m_errors.applicationTitle();
}

void TMainForm::ItogoItems()
{
    StatusBar1->setText(0, DocumentTexts::recordCount(m_document.model().recordCount()));
}

void TMainForm::ChangeReopen()
{
    const QStringList &reopen = ActionTable::reopenActions();
    bool anyInUse = false;
    for (int k = 1; k <= kRecentFileCount; ++k) {
        const bool inUse = m_settings.read(Keys::reopenEnabled(k));
        action(reopen[k - 1])->setVisible(inUse);
        anyInUse = anyInUse || inUse;
    }
    // "Недавние" without entries is shown disabled rather than opening empty.
    m_commands->menuOf(reopen[0])->menuAction()->setEnabled(anyInUse);
    for (int k = 1; k <= kRecentFileCount; ++k)
        action(reopen[k - 1])->setText(CommandMap::menuText(m_settings.read(Keys::reopenFile(k, m_dir))));
}

bool TMainForm::reopenVisible(int k) const
{
    return action(ActionTable::reopenActions()[k - 1])->isVisible();
}

void TMainForm::ChangFavourite()
{
    const auto open = [this](int n) { return action(ActionTable::favouriteOpenActions()[n - 1]); };
    const auto remove = [this](int n) { return action(ActionTable::favouriteDeleteActions()[n - 1]); };
    for (int n = 1; n <= kFavouriteCount; ++n)
        open(n)->setVisible(m_settings.read(Keys::favouriteEnabled(n)));
    for (int n = 1; n <= kFavouriteCount; ++n)
        remove(n)->setVisible(open(n)->isVisible());
    for (int n = 1; n <= kFavouriteCount; ++n)
        remove(n)->setText(CommandMap::menuText(m_settings.read(Keys::favouriteName(n))));
    for (int n = 1; n <= kFavouriteCount; ++n)
        open(n)->setText(remove(n)->text());
}

// --- commands ---

void TMainForm::Action3Execute()
{
    close();
}

void TMainForm::Action5Execute()
{
    // Leaving the login ends the program at once, so a modified table is
    // offered for saving first, while the current user is still logged in.
    if (!m_files.promptStep())
        return;
    QString role = m_document.role();
    TEnterForm login(m_settings, m_desktop, m_errors, role, this);
    m_desktop.execDialog(login);
    if (m_desktop.terminateRequested())
        return;
    m_document.setRole(role);
    StatusBar1->setText(2, QStringLiteral("Смена пользователя завершена"));
    m_desktop.processEvents();
    m_desktop.sleep(200);
    StatusBar1->setText(2, DocumentTexts::loggedInAs(m_document.role()));
}

void TMainForm::sortColumnExecute(int column)
{
    try {
        m_sort->chooseColumn(column);
    } catch (...) {
        markSortColumn(m_markedSortColumn); // the menu has already toggled the item
        throw;
    }
    markSortColumn(column);
    m_sort->resort();
}

void TMainForm::sortDirectionExecute(int factor)
{
    m_sort->chooseDirection(factor);
    m_sort->resort();
}

void TMainForm::markSortColumn(int column)
{
    m_markedSortColumn = column;
    for (int c = 0; c < kColumnCount; ++c)
        action(ActionTable::sortColumnActions()[c])->setChecked(c == column);
}

void TMainForm::findExecute(RecordSearch::Direction direction)
{
    const RecordSearch::Query query = FindBar1->query();
    if (query.text.isEmpty()) {
        FindBar1->open();
        return;
    }
    const QString note = RecordFinder(m_document.model(), *Table1->selectionModel()).find(query, direction);
    if (note.isEmpty())
        StatusBar1->clearMessage();
    else
        StatusBar1->showMessage(note, 5000);
}

void TMainForm::showHistory()
{
    const auto show = [this](const QString &name, const QString &what, bool enabled) {
        const QString caption = ActionTable::action(name).caption;
        action(name)->setText(what.isEmpty() ? caption : caption + QLatin1Char(' ') + what);
        action(name)->setEnabled(enabled);
    };
    show(QStringLiteral("ActionUndo"), m_history->undoName(), m_history->canUndo());
    show(QStringLiteral("ActionRedo"), m_history->redoName(), m_history->canRedo());
}
