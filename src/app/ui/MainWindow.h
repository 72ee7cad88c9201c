#pragma once

#include "app/Command.h"
#include "base/ProgramDir.h"
#include "base/Settings.h"
#include "document/Document.h"
#include "document/DocumentView.h"
#include "document/FileCommands.h"
#include "document/RecoveryCopy.h"
#include "extras/ErrorHandler.h"
#include "extras/ui/HelpCommands.h"
#include "extras/ui/UpdateCommand.h"
#include "records/RecordSearch.h"
#include "records/ui/PrintCommand.h"

#include <QMainWindow>
#include <QMargins>
#include <QRect>
#include <QStringList>
#include <QTimer>

#include <memory>

class CommandMap;
class CsvCommands;
class DesktopServices;
class FindBar;
class QAction;
class QLabel;
class QMenu;
class RecordCommands;
class RecordDialogCommands;
class RecordHistory;
class RecordListView;
class SortCommands;
class StatusPanels;

// The main window: the one database as a list, every command as an action,
// and the life of the program from creation to close. Command logic lives in
// the command classes; the window wires them to its actions and shows their
// results.
class MainWindow : public QMainWindow, public DocumentView
{
    Q_OBJECT

public:
    // The window's outer size when no stored size is applied.
    static constexpr QSize kDesignSize{770, 565};

    // Runs the creation steps (initialize) before it returns. arguments are
    // the command-line arguments after the program's name.
    MainWindow(DesktopServices &desktop, const ProgramDir &dir, QStringList arguments, QWidget *parent = nullptr);
    ~MainWindow() override;

    // The steps before the window is first displayed: the login when it is
    // demanded, the saved placement, the start timer.
    void prepareToShow();

    // DocumentView
    void keepReplacement(TextReplacement replacement) override;
    void updateTitle() override;
    void updateRecentFiles() override;
    bool reopenVisible(int k) const override;
    QString applicationTitle() const override;

    void showRecordCount();
    void updateFavourites();
    // Applies the table font and column alignment from the settings.
    void applyTableLook();

    Document &document() { return m_document; }
    ErrorHandler &errors() { return m_errors; }
    QAction *action(Command command) const;
    RecordListView *recordList() const { return m_recordList; }
    QLabel *noticePanel() const { return m_noticePanel; }
    QMenu *popupMenu() const { return m_popupMenu; }
    FindBar *findBar() const { return m_findBar; }

signals:
    // The window has closed: the program ends.
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // The handlers in the command table call the window's command objects.
    friend class CommandTable;
    // The tests' and the bench's way to the timers and the recovery copy
    // (tests/support/MainWindowAccess.h).
    friend class MainWindowAccess;

    void initialize();
    void finishStartup();
    void refresh();
    bool queryClose();

    void buildLayout();
    // Runs the command's handler; an error leaving it goes to the error handler.
    void runCommand(Command command);
    void connectSignals();
    // The window placed so that, with this frame, the frame is m_frameWanted.
    void placeFrame(const QMargins &frame);
    void centreNoticePanel();
    void loadCommandLineDatabase(const QString &path);
    void markSortColumn(int column);

    void showState(const QString &text);
    void switchUser();
    // Enter or a double-click on a record: "Изменить", or "Просмотр записи"
    // for a user without the right to edit.
    void openRecord();
    void chooseSortColumn(int column);
    void chooseSortDirection(int factor);
    void findRecord(RecordSearch::Direction direction);
    void updateUndoActions();

    DesktopServices &m_desktop;
    ProgramDir m_dir;
    QStringList m_arguments;
    Document m_document;
    ErrorHandler m_errors;
    Settings m_settings;
    FileCommands m_files;
    RecoveryCopy m_recovery;
    HelpCommands m_help;
    PrintCommand m_print;
    UpdateCommand m_update;
    // Made once the list exists: they read its selection.
    std::unique_ptr<RecordHistory> m_history;
    std::unique_ptr<SortCommands> m_sort;
    std::unique_ptr<RecordCommands> m_records;
    std::unique_ptr<RecordDialogCommands> m_recordDialogs;
    std::unique_ptr<CsvCommands> m_csv;

    CommandMap *m_commands = nullptr;
    RecordListView *m_recordList = nullptr;
    StatusPanels *m_statusPanels = nullptr;
    QLabel *m_noticePanel = nullptr;
    QMenu *m_popupMenu = nullptr;
    FindBar *m_findBar = nullptr;
    QTimer m_startupTimer;
    QTimer m_refreshTimer;
    // Where the frame goes: the stored size or the design size, and the stored
    // position when one is applied; the frame margins the window manager said
    // the window would get.
    QRect m_frameWanted;
    bool m_positionWanted = false;
    QMargins m_frameExpected;
    int m_markedSortColumn = -1;
};
