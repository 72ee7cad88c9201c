#include "MainWindow.h"

#include "CommandMap.h"
#include "CommandTable.h"
#include "RecordListView.h"
#include "StatusPanels.h"
#include "base/DesktopServices.h"
#include "base/SettingKeys.h"
#include "base/SettingsBatch.h"
#include "base/ui/WindowFrame.h"
#include "document/DatabaseCodec.h"
#include "document/DocumentTexts.h"
#include "document/RecoveryRestore.h"
#include "document/ui/CsvCommands.h"
#include "records/RecordCommands.h"
#include "records/RecordFinder.h"
#include "records/RecordHistory.h"
#include "records/ReplacementChange.h"
#include "records/SortCommands.h"
#include "records/ui/FindBar.h"
#include "records/ui/RecordDialogCommands.h"
#include "users/Accounts.h"
#include "users/ui/LoginDialog.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStringList>
#include <QToolBar>
#include <QWindow>

MainWindow::MainWindow(DesktopServices &desktop, const ProgramDir &dir, QStringList arguments, QWidget *parent)
    : QMainWindow(parent)
    , m_desktop(desktop)
    , m_dir(dir)
    , m_arguments(std::move(arguments))
    , m_errors(desktop, dir.errorLog())
    , m_settings(dir)
    , m_files(m_document, m_settings, desktop, *this, dir)
    , m_recovery(m_document, dir, desktop)
    , m_help(desktop, dir, this)
    , m_print(m_document, desktop)
    , m_update(m_document, m_settings, m_files, m_recovery, desktop, m_errors, dir)
{
    setObjectName(QStringLiteral("MainWindow"));
    buildLayout();
    m_history = std::make_unique<RecordHistory>(m_document, m_settings, *m_recordList->selectionModel());
    m_sort = std::make_unique<SortCommands>(m_document.model(), m_settings, desktop, *m_history);
    m_records = std::make_unique<RecordCommands>(m_document, m_settings, desktop, *this,
                                                 *m_recordList->selectionModel(), *m_history);
    m_recordDialogs = std::make_unique<RecordDialogCommands>(*m_records, desktop, m_errors, this);
    m_csv = std::make_unique<CsvCommands>(m_document, m_files, m_settings, desktop, this);
    connectSignals();

    m_startupTimer.setSingleShot(true);
    m_startupTimer.setInterval(200);
    connect(&m_startupTimer, &QTimer::timeout, this, [this] { m_errors.run([this] { finishStartup(); }); });
    m_refreshTimer.setInterval(200);
    connect(&m_refreshTimer, &QTimer::timeout, this, [this] { m_errors.run([this] { refresh(); }); });
    m_refreshTimer.start();
    // The program ends with its main window; it does not wait for its last
    // window, since the login can close before the main window shows.
    connect(this, &MainWindow::closed, QCoreApplication::instance(), &QCoreApplication::quit);

    m_errors.run([this] { initialize(); });
}

MainWindow::~MainWindow() = default;

void MainWindow::buildLayout()
{
    setWindowTitle(AppInfo::kTitle);
    QFont windowFont(QStringLiteral("Verdana"));
    windowFont.setPointSize(10);
    setFont(windowFont);
    resize(kDesignSize);
    // The table's pop-up is the window's only one: no menu of Qt's own for
    // the menu bar and the toolbar, whose one entry would hide the toolbar.
    setContextMenuPolicy(Qt::NoContextMenu);

    m_commands = new CommandMap(this, [this](Command command) { runCommand(command); });

    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("menuBar"));
    QFont menuFont(QStringLiteral("Tahoma"));
    menuFont.setPointSize(8);
    bar->setFont(menuFont);
    bar->setFixedHeight(24);
    m_commands->buildMenuBar(bar);

    QToolBar *tools = m_commands->buildToolBar();
    tools->setFixedHeight(72);
    addToolBar(Qt::TopToolBarArea, tools);

    m_recordList = new RecordListView(&m_document.model(), this);
    QFont tableFont(QStringLiteral("Verdana"));
    tableFont.setPointSize(8);
    m_recordList->setTableFont(tableFont);
    setCentralWidget(m_recordList);
    m_popupMenu = m_commands->buildPopupMenu(this);
    connect(m_recordList, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { m_popupMenu->popup(m_recordList->viewport()->mapToGlobal(pos)); });

    m_findBar = new FindBar(m_document.model(), this);
    addToolBar(Qt::BottomToolBarArea, m_findBar);
    m_findBar->hide();

    m_statusPanels = new StatusPanels(this);
    setStatusBar(m_statusPanels);

    m_noticePanel = new QLabel(QStringLiteral("Загрузка..."), this);
    m_noticePanel->setObjectName(QStringLiteral("noticePanel"));
    m_noticePanel->setAlignment(Qt::AlignCenter);
    m_noticePanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_noticePanel->setLineWidth(2);
    m_noticePanel->setAutoFillBackground(true);
    QPalette white = m_noticePanel->palette();
    white.setColor(QPalette::Window, Qt::white);
    m_noticePanel->setPalette(white);
    m_noticePanel->resize(209, 81);
    m_noticePanel->raise();
}

void MainWindow::runCommand(Command command)
{
    if (const CommandTable::Handler &handler = CommandTable::row(command).handler)
        m_errors.run([&] { handler(*this); });
}

void MainWindow::connectSignals()
{
    connect(m_recordList, &RecordListView::recordOpenRequested, this,
            [this] { m_errors.run([this] { openRecord(); }); });
    connect(m_history.get(), &RecordHistory::changed, this, &MainWindow::updateUndoActions);
    updateUndoActions();
    connect(m_findBar, &FindBar::findRequested, this,
            [this](RecordSearch::Direction direction) { m_errors.run([=] { findRecord(direction); }); });
    connect(m_findBar, &FindBar::closed, m_recordList, [this] { m_recordList->setFocus(); });
}

QAction *MainWindow::action(Command command) const
{
    return m_commands->action(command);
}

// --- life of the window ---

void MainWindow::initialize()
{
    if (!m_settings.read(Keys::quickStart()))
        m_desktop.sleep(1000);
    m_document.setModified(false);
    m_document.setFileName(Document::untitledName());
    updateRecentFiles();
    updateFavourites();
}

void MainWindow::prepareToShow()
{
    m_errors.run([this] {
        QString role = m_document.role();
        if (m_settings.read(Keys::questionOnStart())) {
            LoginDialog login(m_settings, m_desktop, m_errors, role, this);
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
        m_startupTimer.start();
        centreNoticePanel();
        markSortColumn(m_settings.read(Keys::sortColumn()));
    });
}

void MainWindow::finishStartup()
{
    m_startupTimer.stop();
    // A window manager whose frame turned out other than it said gets the
    // window placed again by the frame it really drew.
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    if (isVisible() && !frame.isNull() && frame != m_frameExpected)
        placeFrame(frame);
    for (int c = 0; c < kColumnCount; ++c)
        m_document.model().setTitle(c, m_settings.read(Keys::caption(c)));
    applyTableLook();
    m_noticePanel->hide();
    showState(DocumentTexts::loggedInAs(m_document.role()));
    m_files.newDatabase();

    const QString commandLineFile = m_arguments.value(0);
    if (!commandLineFile.isEmpty())
        loadCommandLineDatabase(commandLineFile);
    // Changes a crashed or killed run left unsaved.
    RecoveryRestore(m_files, m_recovery, m_desktop, m_dir).offer();

    if (m_settings.read(Keys::firstRun())) {
        m_desktop.shellOpen(m_dir.helpFile());
        m_settings.write(Keys::firstRun(), false);
    }
}

void MainWindow::loadCommandLineDatabase(const QString &path)
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

void MainWindow::applyTableLook()
{
    QFont font(m_settings.read(Keys::fontName()));
    font.setPointSize(std::max(1, m_settings.read(Keys::fontSize())));
    m_recordList->setTableFont(font);
    const QString align = m_settings.read(Keys::align());
    m_document.model().setAlignment(align == QLatin1String("Left")         ? Qt::AlignLeft
                                        : align == QLatin1String("Center") ? Qt::AlignHCenter
                                                                           : Qt::AlignRight);
}

void MainWindow::refresh()
{
    showRecordCount();
    for (int c = 0; c < kColumnCount; ++c) {
        QAction *sortColumn = action(Commands::sortColumn(c));
        const QString caption = CommandMap::menuText(m_document.model().table().title(c));
        if (sortColumn->text() != caption)
            sortColumn->setText(caption);
    }
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    bool close = false;
    m_errors.run([&] { close = queryClose(); });
    if (close) {
        event->accept();
        emit closed();
    } else
        event->ignore();
}

bool MainWindow::queryClose()
{
    // Cancel, or a save that did not happen, keeps the window open; so does
    // an error of the save, which the caller reports.
    if (!m_files.promptStep())
        return false;
    // The changes are saved or given up: the program ends normally.
    m_recovery.discard();
    m_files.release();
    centreNoticePanel();
    m_noticePanel->setText(QStringLiteral("Завершение работы..."));
    m_noticePanel->show();
    m_noticePanel->raise();
    // Painted by itself: a repaint of the window leaves the panel, which lies
    // over the table, for a later update that the pause would hold back.
    m_noticePanel->repaint();
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

void MainWindow::placeFrame(const QMargins &frame)
{
    const QSize inside = m_frameWanted.size().shrunkBy(frame);
    if (m_positionWanted)
        setGeometry(QRect(m_frameWanted.topLeft() + QPoint(frame.left(), frame.top()), inside));
    else
        resize(inside); // the system chooses the place
}

void MainWindow::centreNoticePanel()
{
    const QSize outer = frameGeometry().size();
    m_noticePanel->move(outer.width() / 2 - m_noticePanel->width() / 2,
                        outer.height() / 2 - m_noticePanel->height() / 2);
}

// --- texts of the document state ---

void MainWindow::updateTitle()
{
    const QString title = DocumentTexts::windowTitle(m_document.fileName());
    setWindowTitle(title);
    m_errors.setApplicationTitle(title);
    m_statusPanels->setText(StatusPanels::FileName, DocumentTexts::statusName(m_document.fileName()));
}

void MainWindow::keepReplacement(TextReplacement replacement)
{
    m_history->push(std::make_unique<ReplacementChange>(m_document.model(), std::move(replacement)));
}

QString MainWindow::applicationTitle() const
{
    return m_errors.applicationTitle();
}

void MainWindow::showRecordCount()
{
    m_statusPanels->setText(StatusPanels::RecordCount, DocumentTexts::recordCount(m_document.model().recordCount()));
}

void MainWindow::updateRecentFiles()
{
    bool anyInUse = false;
    for (int k = 1; k <= kRecentFileCount; ++k) {
        const bool inUse = m_settings.read(Keys::reopenEnabled(k));
        action(Commands::reopen(k))->setVisible(inUse);
        anyInUse = anyInUse || inUse;
    }
    // "Недавние" without entries is shown disabled rather than opening empty.
    m_commands->menuOf(Command::Reopen1)->menuAction()->setEnabled(anyInUse);
    for (int k = 1; k <= kRecentFileCount; ++k)
        action(Commands::reopen(k))->setText(CommandMap::menuText(m_settings.read(Keys::reopenFile(k, m_dir))));
}

bool MainWindow::reopenVisible(int k) const
{
    return action(Commands::reopen(k))->isVisible();
}

void MainWindow::updateFavourites()
{
    const auto open = [this](int n) { return action(Commands::favouriteOpen(n)); };
    const auto remove = [this](int n) { return action(Commands::favouriteDelete(n)); };
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

void MainWindow::showState(const QString &text)
{
    m_statusPanels->setText(StatusPanels::State, text);
}

void MainWindow::switchUser()
{
    // Leaving the login ends the program at once, so a modified table is
    // offered for saving first, while the current user is still logged in.
    if (!m_files.promptStep())
        return;
    QString role = m_document.role();
    LoginDialog login(m_settings, m_desktop, m_errors, role, this);
    m_desktop.execDialog(login);
    if (m_desktop.terminateRequested()) {
        m_recovery.discard(); // the changes were saved or given up
        return;
    }
    m_document.setRole(role);
    showState(QStringLiteral("Смена пользователя завершена"));
    m_desktop.processEvents();
    m_desktop.sleep(200);
    showState(DocumentTexts::loggedInAs(m_document.role()));
}

void MainWindow::openRecord()
{
    // A user who may not edit sees the record instead of a refusal.
    const bool mayEdit = Accounts::hasRight(m_settings, m_document.role(), Keys::pravaEditBase());
    action(mayEdit ? Command::EditRecord : Command::ViewRecord)->trigger();
}

void MainWindow::chooseSortColumn(int column)
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

void MainWindow::chooseSortDirection(int factor)
{
    m_sort->chooseDirection(factor);
    m_sort->resort();
}

void MainWindow::markSortColumn(int column)
{
    m_markedSortColumn = column;
    for (int c = 0; c < kColumnCount; ++c)
        action(Commands::sortColumn(c))->setChecked(c == column);
}

void MainWindow::findRecord(RecordSearch::Direction direction)
{
    const RecordSearch::Query query = m_findBar->query();
    if (query.text.isEmpty()) {
        m_findBar->open();
        return;
    }
    const QString note = RecordFinder(m_document.model(), *m_recordList->selectionModel()).find(query, direction);
    m_statusPanels->showNote(note, 5000);
}

void MainWindow::updateUndoActions()
{
    const auto show = [this](Command command, const QString &what, bool enabled) {
        const QString &caption = CommandTable::row(command).caption;
        action(command)->setText(what.isEmpty() ? caption : caption + QLatin1Char(' ') + what);
        action(command)->setEnabled(enabled);
    };
    show(Command::Undo, m_history->undoName(), m_history->canUndo());
    show(Command::Redo, m_history->redoName(), m_history->canRedo());
}
