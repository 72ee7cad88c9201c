#include "UpdateDialog.h"

#include "base/AppInfo.h"
#include "base/ErrorReporter.h"
#include "base/SafeRead.h"
#include "base/SafeWrite.h"
#include "base/ui/DialogParts.h"
#include "extras/UpdateServer.h"
#include "extras/UpdateSignature.h"
#include "extras/UpdateVersionFile.h"

#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>
#include <climits>

namespace {

int clamped(qint64 value)
{
    return int(std::clamp<qint64>(value, 0, INT_MAX));
}

} // namespace

UpdateDialog::UpdateDialog(DesktopServices &desktop, ErrorReporter &errors, const ProgramDir &dir,
                           QByteArray trustedKey, std::function<bool()> mayStartUpdater, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_desktop(desktop)
    , m_errors(errors)
    , m_dir(dir)
    , m_trustedKey(std::move(trustedKey))
    , m_mayStartUpdater(std::move(mayStartUpdater))
{
    DialogParts::setUpDialog(*this, QStringLiteral("UpdateDialog"), AppInfo::kTitle + QStringLiteral(" [Обновление]"),
                             {488, 177});
    QFont small(QStringLiteral("Verdana"));
    small.setPointSize(8);

    m_downloadGroup = new QGroupBox(QStringLiteral("Загрузка файлов"), this);
    m_downloadGroup->setObjectName(QStringLiteral("downloadGroup"));
    m_downloadGroup->setGeometry(8, 8, 473, 73);
    m_progressBar = new QProgressBar(m_downloadGroup);
    m_progressBar->setObjectName(QStringLiteral("progressBar"));
    m_progressBar->setGeometry(16, 24, 441, 17);
    m_progressBar->setTextVisible(false);
    m_progressBar->setValue(0);
    m_updatePageLink = new QLabel(
        QStringLiteral("<a href=\"#\" style=\"color: blue\">Посетить страницу обновлений</a>"), m_downloadGroup);
    m_updatePageLink->setObjectName(QStringLiteral("updatePageLink"));
    m_updatePageLink->setFont(small);
    m_updatePageLink->setTextFormat(Qt::RichText);
    m_updatePageLink->setCursor(Qt::PointingHandCursor);
    m_updatePageLink->adjustSize();
    m_updatePageLink->move(457 - m_updatePageLink->width(), 48);
    m_updatePageLink->hide();

    m_statusGroup = new QGroupBox(QStringLiteral("Статус обновления"), this);
    m_statusGroup->setObjectName(QStringLiteral("statusGroup"));
    m_statusGroup->setGeometry(8, 88, 473, 49);
    m_statusLabel = new QLabel(QStringLiteral("Жду старта..."), m_statusGroup);
    m_statusLabel->setObjectName(QStringLiteral("statusLabel"));
    m_statusLabel->setTextFormat(Qt::PlainText); // the server's version text, never markup
    m_statusLabel->setFont(small);
    m_statusLabel->setGeometry(16, 22, 441, 17);

    m_checkButton = DialogParts::button(this, QStringLiteral("checkButton"), QStringLiteral("Проверить"),
                                        {8, 144, 105, 25});
    m_downloadButton = DialogParts::button(this, QStringLiteral("downloadButton"), QStringLiteral("Загрузить"),
                                           {120, 144, 99, 25});
    m_downloadButton->hide();
    // An installed copy's way to a newer release, in the place of "Загрузить".
    m_packageNote = new QLabel(QStringLiteral("Обновите Tablora менеджером пакетов системы"), this);
    m_packageNote->setObjectName(QStringLiteral("packageNote"));
    m_packageNote->setFont(small);
    m_packageNote->setWordWrap(true);
    m_packageNote->setGeometry(120, 144, 188, 25);
    m_packageNote->hide();
    m_cancelButton = DialogParts::button(this, QStringLiteral("cancelButton"), QStringLiteral("Отмена"),
                                         {312, 144, 83, 25});
    m_helpButton = DialogParts::button(this, QStringLiteral("helpButton"), QStringLiteral("Помощь"),
                                       {400, 144, 83, 25});
    DialogParts::onClick(m_checkButton, m_errors, [this] { onCheckClicked(); });
    DialogParts::onClick(m_downloadButton, m_errors, [this] { onDownloadClicked(); });
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject); // Esc as well
    DialogParts::onClick(m_helpButton, m_errors, [this] { onHelpClicked(); });
    connect(m_updatePageLink, &QLabel::linkActivated, this,
            [this] { m_errors.run([this] { onUpdatePageClicked(); }); });

    DialogParts::centreOnDesktop(*this);
    m_errors.run([this] { showWhetherOffline(); });
}

UpdateDialog::~UpdateDialog() = default;

void UpdateDialog::showWhetherOffline()
{
    if (m_desktop.isOffline())
        m_statusLabel->setText(QStringLiteral("Вы не подключены к сети. Проверьте подключение перед обновлением!"));
}

void UpdateDialog::done(int result)
{
    m_closed = true;
    m_transfer.reset();
    QDialog::done(result);
}

void UpdateDialog::onCheckClicked()
{
    download(UpdateServer::versionFileAddress(), UpdateServer::versionFilePath(m_dir),
             UpdateServer::kVersionFileMaxBytes, [this] { compareVersions(); });
}

void UpdateDialog::onDownloadClicked()
{
    download(UpdateServer::updaterAddress(), UpdateServer::updaterPath(m_dir), UpdateServer::kUpdaterMaxBytes, [this] {
        transfer(
            UpdateServer::signatureAddress(), UpdateServer::signaturePath(m_dir), UpdateServer::kSignatureMaxBytes,
            [this] { verifyUpdater(); }, [this] { refuseUpdater(); });
    });
}

void UpdateDialog::onHelpClicked()
{
    m_desktop.shellOpen(m_dir.helpFile());
}

void UpdateDialog::onUpdatePageClicked()
{
    m_desktop.shellOpen(UpdateServer::updatePageAddress().toString());
}

void UpdateDialog::onDownloadProgress(qint64 received, qint64 total)
{
    if (m_progressBar->value() == 0)
        m_statusLabel->setText(QStringLiteral("Загрузка..."));
    if (total > 0) {
        m_progressBar->setMaximum(clamped(total));
        m_progressBar->setValue(clamped(received));
    } else if (total < 0) {
        m_progressBar->setRange(0, 0); // size unknown: the bar shows that something moves
    }
}

void UpdateDialog::download(const QUrl &url, const QString &path, qint64 maxBytes, std::function<void()> then)
{
    if (m_busy)
        return;
    setBusy(true);
    showStatus(QStringLiteral("Попытка соединения с сервером ") + UpdateServer::host() + QStringLiteral("..."));
    if (m_closed)
        return setBusy(false);
    transfer(url, path, maxBytes, std::move(then), [this] { showFailure(); });
}

void UpdateDialog::transfer(const QUrl &url, const QString &path, qint64 maxBytes, std::function<void()> then,
                            std::function<void()> failed)
{
    m_transfer = m_desktop.download(
        url, path, maxBytes, [this](qint64 received, qint64 total) { onDownloadProgress(received, total); },
        [this, then = std::move(then), failed = std::move(failed)](const std::optional<QString> &failure) {
            m_transfer.reset();
            if (m_progressBar->maximum() == 0) { // the transfer's size was unknown
                m_progressBar->setMaximum(1);
                m_progressBar->setValue(failure ? 0 : 1);
            }
            m_errors.run([&] { failure ? failed() : then(); });
            if (!m_transfer) // no other transfer follows
                setBusy(false);
        });
}

void UpdateDialog::setBusy(bool busy)
{
    m_busy = busy;
    m_checkButton->setEnabled(!busy);
    m_downloadButton->setEnabled(!busy);
}

void UpdateDialog::compareVersions()
{
    showStatus(QStringLiteral("Информация о новой версии загружена"));
    m_desktop.sleep(200);
    showStatus(QStringLiteral("Сравнивание версий"));
    const SafeRead::Content file = SafeRead::wholeFile(UpdateServer::versionFilePath(m_dir),
                                                       UpdateServer::kVersionFileMaxBytes);
    const std::optional<UpdateVersionFile::Newest> newest = file.ok() ? UpdateVersionFile::read(file.bytes)
                                                                      : std::nullopt;
    if (!newest)
        return showFailure();
    if (UpdateVersionFile::isNewer(*newest)) {
        showStatus(QStringLiteral("Доступна новая версия: ") + newest->version);
        if (m_dir.isInstalled()) {
            m_packageNote->show();
            m_updatePageLink->show();
        } else {
            m_downloadButton->show();
        }
    } else {
        showStatus(QStringLiteral("У Вас самая свежая версия программы"));
    }
    m_progressBar->setValue(0);
}

void UpdateDialog::verifyUpdater()
{
    const QString updater = UpdateServer::updaterPath(m_dir);
    const SafeRead::Content signature = SafeRead::wholeFile(UpdateServer::signaturePath(m_dir),
                                                            UpdateServer::kSignatureMaxBytes);
    // Whatever the server sent, only the bytes the project signed are run:
    // a file cut short, swapped on the way or of another kind fails here.
    if (!signature.ok()
        || !UpdateSignature::verifiesFile(updater, signature.bytes, m_trustedKey, UpdateServer::kUpdaterMaxBytes))
        return refuseUpdater();
    startUpdater();
}

void UpdateDialog::refuseUpdater()
{
    SafeWrite::removeFile(UpdateServer::updaterPath(m_dir));
    SafeWrite::removeFile(UpdateServer::signaturePath(m_dir));
    showFailure(badSignatureStatus());
}

void UpdateDialog::startUpdater()
{
    showStatus(QStringLiteral("Загрузка завершена"));
    m_desktop.sleep(500);
    // Starting the updater ends the program: a modified table is offered
    // for saving first, and the user may still decide to stay.
    if (m_closed || !m_mayStartUpdater())
        return;
    showStatus(QStringLiteral("Обновление программы..."));
    m_desktop.sleep(200);
    if (m_closed)
        return;
    // The user's own program, run by no one else.
    const QString updater = UpdateServer::updaterPath(m_dir);
    if (!QFile::setPermissions(updater, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)
        || !m_desktop.startProgram(updater))
        return showFailure();
    m_desktop.terminate();
    accept();
}

void UpdateDialog::showStatus(const QString &text)
{
    m_statusLabel->setText(text);
    m_desktop.processEvents();
}

void UpdateDialog::showFailure(const QString &status)
{
    // What arrived - a server's error page, half a file, a version file that
    // makes no sense - is no progress: the bar must not stand full beside
    // the failure.
    m_progressBar->setRange(0, 1);
    m_progressBar->setValue(0);
    showStatus(status);
    m_updatePageLink->show();
}
