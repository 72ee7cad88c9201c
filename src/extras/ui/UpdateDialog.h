#pragma once

#include "base/DesktopServices.h"
#include "base/ProgramDir.h"

#include <QDialog>

#include <functional>
#include <memory>

class ErrorReporter;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;

// The update dialog. "Проверить" fetches the server's version file and tells
// whether a newer release exists; "Загрузить" then fetches the updater,
// starts it and ends the program. A failed transfer or an unreadable version
// file shows "Ошибка обновления" with the link to the update page; it is the
// dialog's own business and goes to no error handler.
//
// Transfers run while the dialog stays responsive. While one runs, neither
// button starts another; closing the dialog cancels it, and nothing of the
// cancelled steps follows - above all, no updater is started.
class UpdateDialog : public QDialog
{
    Q_OBJECT

public:
    // mayStartUpdater runs before the updater starts, since that ends the
    // program at once; when it returns false the program keeps running and
    // the downloaded updater stays where it was saved.
    UpdateDialog(DesktopServices &desktop, ErrorReporter &errors, const ProgramDir &dir,
                 std::function<bool()> mayStartUpdater, QWidget *parent = nullptr);
    ~UpdateDialog() override;

    void done(int result) override; // every way of closing passes here

private:
    void showWhetherOffline();
    void onCheckClicked();
    void onHelpClicked();
    void onDownloadClicked();
    void onUpdatePageClicked();
    void onDownloadProgress(qint64 received, qint64 total);

    // Starts a transfer of at most maxBytes unless one is running; then runs
    // when it succeeded.
    void download(const QUrl &url, const QString &path, qint64 maxBytes, std::function<void()> then);
    // While busy, neither button starts another transfer.
    void setBusy(bool busy);
    void compareVersions();
    void startUpdater();
    void showStatus(const QString &text);
    void showFailure();

    DesktopServices &m_desktop;
    ErrorReporter &m_errors;
    ProgramDir m_dir;
    std::function<bool()> m_mayStartUpdater;
    std::unique_ptr<DesktopServices::Download> m_transfer;
    bool m_busy = false; // a transfer or the steps after it are running
    bool m_closed = false;

    QGroupBox *m_downloadGroup;
    QGroupBox *m_statusGroup;
    QProgressBar *m_progressBar;
    QLabel *m_statusLabel;
    QLabel *m_updatePageLink;
    QPushButton *m_checkButton;
    QPushButton *m_cancelButton;
    QPushButton *m_helpButton;
    QPushButton *m_downloadButton;
};
