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
// whether a newer release exists; "Загрузить" then fetches the updater and
// its signature and, once the signature verifies with the trusted key,
// starts it as a program and ends this one. An updater whose signature is
// missing or wrong is removed and never started. An installed copy fetches
// no updater: a newer release is to come from the package manager. A failed
// transfer or an unreadable version file shows "Ошибка обновления" with the
// link to the update page; it is the dialog's own business and goes to no
// error handler.
//
// Transfers run while the dialog stays responsive. While one runs, neither
// button starts another; closing the dialog cancels it, and nothing of the
// cancelled steps follows - above all, no updater is started.
class UpdateDialog : public QDialog
{
    Q_OBJECT

public:
    // trustedKey is the Ed25519 public key the updater must be signed with
    // (UpdateSignature::projectKey()). mayStartUpdater runs before the
    // updater starts, since that ends the program at once; when it returns
    // false the program keeps running and the downloaded updater stays where
    // it was saved.
    UpdateDialog(DesktopServices &desktop, ErrorReporter &errors, const ProgramDir &dir, QByteArray trustedKey,
                 std::function<bool()> mayStartUpdater, QWidget *parent = nullptr);

    static QString badSignatureStatus()
    {
        return QStringLiteral("Ошибка обновления: подпись файла обновления неверна");
    }
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
    // when it succeeded, failed when it did not.
    void download(const QUrl &url, const QString &path, qint64 maxBytes, std::function<void()> then);
    // A transfer that follows another one's success, busy still.
    void transfer(const QUrl &url, const QString &path, qint64 maxBytes, std::function<void()> then,
                  std::function<void()> failed);
    // While busy, neither button starts another transfer.
    void setBusy(bool busy);
    void compareVersions();
    // The updater and its signature are in: starts it when they agree.
    void verifyUpdater();
    void startUpdater();
    void refuseUpdater();
    void showStatus(const QString &text);
    void showFailure(const QString &status = QStringLiteral("Ошибка обновления"));

    DesktopServices &m_desktop;
    ErrorReporter &m_errors;
    ProgramDir m_dir;
    QByteArray m_trustedKey;
    std::function<bool()> m_mayStartUpdater;
    std::unique_ptr<DesktopServices::Download> m_transfer;
    bool m_busy = false; // a transfer or the steps after it are running
    bool m_closed = false;

    QGroupBox *m_downloadGroup;
    QGroupBox *m_statusGroup;
    QProgressBar *m_progressBar;
    QLabel *m_statusLabel;
    QLabel *m_updatePageLink;
    QLabel *m_packageNote; // an installed copy's way to a newer release
    QPushButton *m_checkButton;
    QPushButton *m_cancelButton;
    QPushButton *m_helpButton;
    QPushButton *m_downloadButton;
};
