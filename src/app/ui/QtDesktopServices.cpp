#include "QtDesktopServices.h"

#include "FileTypeByName.h"
#include "InputBlocker.h"
#include "StayOnTopPause.h"
#include "WorkProgressDialog.h"
#include "base/SafeWrite.h"
#include "base/WorkPool.h"
#include "base/WorkProgress.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDialog>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QFutureWatcher>
#include <QGridLayout>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkInformation>
#include <QNetworkReply>
#include <QPrintDialog>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <exception>
#include <memory>
#include <optional>

namespace {

QMessageBox::Icon boxIcon(DesktopServices::Icon icon)
{
    switch (icon) {
    case DesktopServices::Icon::Information:
        return QMessageBox::Information;
    case DesktopServices::Icon::Question:
        return QMessageBox::Question;
    case DesktopServices::Icon::Warning:
        return QMessageBox::Warning;
    case DesktopServices::Icon::Error:
        return QMessageBox::Critical;
    case DesktopServices::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// Room the window manager's title bar takes beside the caption: the window's
// icon, its buttons and their spacing.
constexpr int kTitleBarChrome = 110;

// The window manager writes the caption in a bold font of its own, and Qt
// leaves room for little more than the text: a box with a short message
// showed a long caption cut ("Tablor… ff.db]"). A spacer across the box's
// grid makes it as wide as the whole caption, within the screen.
void fitCaption(QMessageBox &box)
{
    auto *grid = qobject_cast<QGridLayout *>(box.layout());
    if (!grid)
        return;
    QFont titleFont = box.font();
    titleFont.setBold(true);
    int width = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + kTitleBarChrome;
    if (const QScreen *screen = box.screen())
        width = std::min(width, screen->availableGeometry().width() - kTitleBarChrome);
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

// A message box whose text shows exactly as given: a file name, a line of a
// file or of the update server, or what the user typed may hold "<img ...>"
// or "<font ...>", which Qt would otherwise take for rich text and load or
// render.
void setUpBox(QMessageBox &box, const QString &text)
{
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    fitCaption(box);
}

} // namespace

QWidget *QtDesktopServices::dialogParent() const
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    return m_parent;
}

void QtDesktopServices::showMessage(const QString &caption, const QString &text, Icon icon)
{
    QMessageBox box(boxIcon(icon), caption, QString(), QMessageBox::Ok, dialogParent());
    setUpBox(box, text);
    execDialog(box);
}

DesktopServices::Answer QtDesktopServices::ask(const QString &caption, const QString &text, Icon icon, Buttons buttons)
{
    const bool withCancel = buttons == Buttons::YesNoCancel;
    QMessageBox box(boxIcon(icon), caption, QString(),
                    withCancel ? QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel
                               : QMessageBox::Yes | QMessageBox::No,
                    dialogParent());
    setUpBox(box, text);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(withCancel ? QMessageBox::Cancel : QMessageBox::No);
    switch (execDialog(box)) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return withCancel ? Answer::Cancel : Answer::No;
    }
}

int QtDesktopServices::choose(const QString &caption, const QString &text, Icon icon, const QStringList &buttons)
{
    QMessageBox box(boxIcon(icon), caption, QString(), QMessageBox::NoButton, dialogParent());
    setUpBox(box, text);
    QList<QAbstractButton *> added;
    for (qsizetype i = 0; i < buttons.size(); ++i) {
        added.append(
            box.addButton(buttons[i], i + 1 < buttons.size() ? QMessageBox::AcceptRole : QMessageBox::RejectRole));
    }
    if (!added.isEmpty()) {
        box.setDefaultButton(qobject_cast<QPushButton *>(added.last()));
        box.setEscapeButton(added.last());
    }
    execDialog(box);
    return int(added.indexOf(box.clickedButton()));
}

void QtDesktopServices::beep()
{
    QApplication::beep();
}

void QtDesktopServices::sleep(int milliseconds)
{
    QThread::msleep(milliseconds);
}

void QtDesktopServices::processEvents()
{
    QCoreApplication::processEvents();
}

void QtDesktopServices::shellOpen(const QString &target)
{
    const QUrl url = target.contains(QStringLiteral("://")) || target.startsWith(QStringLiteral("mailto:"))
        ? QUrl(target)
        : QUrl::fromLocalFile(target);
    QDesktopServices::openUrl(url);
}

bool QtDesktopServices::startProgram(const QString &path)
{
    return QProcess::startDetached(path, {}, QFileInfo(path).absolutePath());
}

bool QtDesktopServices::chooseFile(bool save, const FileDialog &spec, FileChoice &choice)
{
    // Types and icons by the names alone: listing a folder must never open a
    // file. The provider outlives the dialog, whose model's thread uses it.
    FileTypeByName types;
    QFileDialog dialog(dialogParent(), spec.title);
    dialog.setIconProvider(&types);
    QStringList filters;
    for (const auto &[label, pattern] : spec.filters) {
        Q_UNUSED(pattern) // the label carries the pattern in brackets, as Qt expects
        filters.append(label);
    }
    dialog.setNameFilters(filters);
    if (choice.filterIndex >= 0 && choice.filterIndex < filters.size())
        dialog.selectNameFilter(filters.at(choice.filterIndex));
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::AnyFile); // a typed name that does not exist is accepted
    }
    if (!choice.fileName.isEmpty())
        dialog.selectFile(choice.fileName);
    if (execDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    choice.fileName = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
    choice.filterIndex = std::max<int>(0, filters.indexOf(dialog.selectedNameFilter()));
    return true;
}

bool QtDesktopServices::chooseOpenFile(const FileDialog &dialog, FileChoice &choice)
{
    return chooseFile(false, dialog, choice);
}

bool QtDesktopServices::chooseSaveFile(const FileDialog &dialog, FileChoice &choice)
{
    return chooseFile(true, dialog, choice);
}

bool QtDesktopServices::choosePrinter(QPrinter &printer)
{
    QPrintDialog dialog(&printer, dialogParent());
    limitPrintDialog(dialog);
    return execDialog(dialog) == QDialog::Accepted;
}

namespace {

// Hides the page range and the page set each time the print dialog shows:
// with CUPS, Qt's dialog offers them whatever its options say, for the print
// server to apply to the pages it receives. The reverse page order goes too:
// pages print as they are laid out, first to last.
class PageRangeHider : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            for (const char *name : {"gbPrintRange", "pageSetCombo", "pageSetLabel", "reverse"}) {
                if (auto *widget = watched->findChild<QWidget *>(QLatin1String(name)))
                    widget->hide();
            }
        }
        return false;
    }
};

} // namespace

void QtDesktopServices::limitPrintDialog(QPrintDialog &dialog)
{
    // Copies, but no page range and no selection: the whole table prints.
    // Printing to a file stays offered: on a desktop without a printer it is
    // the only way to print at all.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintCollateCopies
                      | QAbstractPrintDialog::PrintShowPageSize);
    dialog.installEventFilter(new PageRangeHider(&dialog));
}

std::optional<QFont> QtDesktopServices::chooseFont(const QFont &initial)
{
    QFontDialog dialog(initial, dialogParent());
    if (execDialog(dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedFont();
}

int QtDesktopServices::execDialog(QDialog &dialog)
{
    const StayOnTopPause pause(dialog);
    return runModal(dialog);
}

int QtDesktopServices::runModal(QDialog &dialog)
{
    return dialog.exec();
}

void QtDesktopServices::setClipboardText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}

QString QtDesktopServices::clipboardText()
{
    return QGuiApplication::clipboard()->text();
}

QDateTime QtDesktopServices::now()
{
    return QDateTime::currentDateTime();
}

bool QtDesktopServices::isOffline()
{
    // A platform without a reachability backend cannot tell: the computer
    // counts as online.
    if (!QNetworkInformation::instance() && !QNetworkInformation::loadDefaultBackend())
        return false;
    return QNetworkInformation::instance()->reachability() == QNetworkInformation::Reachability::Disconnected;
}

namespace {

// A transfer of the network access manager. The reply is the handle's until
// it finishes; destroying the handle earlier cancels it.
class NetworkDownload : public DesktopServices::Download
{
public:
    explicit NetworkDownload(QNetworkReply *reply)
        : m_reply(reply)
    {
    }

    ~NetworkDownload() override
    {
        for (const QMetaObject::Connection &connection : m_connections)
            QObject::disconnect(connection);
        if (m_reply) {
            m_reply->abort();
            m_reply->deleteLater();
        }
    }

    QList<QMetaObject::Connection> m_connections;
    QPointer<QNetworkReply> m_reply;
};

// Where a transfer's data goes as it arrives: the new local file, made at
// the first bytes, up to the transfer's limit. The first failure stays.
class DownloadSink
{
public:
    DownloadSink(QString localPath, qint64 maxBytes)
        : m_localPath(std::move(localPath))
        , m_maxBytes(maxBytes)
    {
    }

    const std::optional<QString> &failure() const { return m_failure; }

    // Refuses a transfer that announces more than the limit before it sends it.
    bool announce(qint64 size)
    {
        if (size > m_maxBytes)
            refuseAsTooLarge();
        return !m_failure;
    }

    bool take(QByteArrayView bytes)
    {
        if (m_failure)
            return false;
        if (replacement().size() + bytes.size() > m_maxBytes)
            refuseAsTooLarge();
        else if (!replacement().append(bytes))
            m_failure = replacement().failure();
        return !m_failure;
    }

    // Puts the complete file in the local file's place.
    std::optional<QString> finish()
    {
        if (!m_failure)
            m_failure = replacement().commit();
        return m_failure;
    }

private:
    SafeWrite::Replacement &replacement()
    {
        if (!m_replacement)
            m_replacement.emplace(m_localPath);
        return *m_replacement;
    }

    void refuseAsTooLarge()
    {
        m_failure = QStringLiteral("The file is larger than %1 bytes.").arg(m_maxBytes);
        m_replacement.reset();
    }

    QString m_localPath;
    qint64 m_maxBytes;
    std::optional<SafeWrite::Replacement> m_replacement;
    std::optional<QString> m_failure;
};

// A server that stops sending ends the transfer as a failure instead of
// leaving it open for ever.
constexpr int kTransferTimeoutMs = 30000;
// What the reply holds of the data before it goes to the file; the server
// waits while it is full.
constexpr qint64 kReplyBuffer = qint64(1) << 20;

} // namespace

std::unique_ptr<DesktopServices::Download> QtDesktopServices::download(const QUrl &url, const QString &localPath,
                                                                       qint64 maxBytes, DownloadProgress progress,
                                                                       DownloadFinished finished)
{
    if (!m_network)
        m_network = std::make_unique<QNetworkAccessManager>();
    QNetworkRequest request(url);
    // Only the server asked may answer: a redirect to another scheme, host
    // or port fails the transfer.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::SameOriginRedirectPolicy);
    request.setTransferTimeout(kTransferTimeoutMs);
    QNetworkReply *reply = m_network->get(request);
    reply->setReadBufferSize(kReplyBuffer);
    auto transfer = std::make_unique<NetworkDownload>(reply);
    NetworkDownload *handle = transfer.get(); // alive while these connections are
    // Shared by the reply's handlers, as the handle may go in any of them.
    const auto sink = std::make_shared<DownloadSink>(localPath, maxBytes);
    handle->m_connections << QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [reply, sink] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && !sink->announce(length.toLongLong()))
            reply->abort();
    });
    handle->m_connections << QObject::connect(reply, &QNetworkReply::readyRead, reply, [reply, sink] {
        if (!sink->take(reply->readAll()))
            reply->abort();
    });
    handle->m_connections << QObject::connect(reply, &QNetworkReply::downloadProgress, reply,
                                              [progress = std::move(progress)](qint64 received, qint64 total) {
                                                  if (progress)
                                                      progress(received, total);
                                              });
    handle->m_connections << QObject::connect(
        reply, &QNetworkReply::finished, reply, [reply, handle, sink, finished = std::move(finished)] {
            handle->m_reply = nullptr;
            reply->deleteLater();
            std::optional<QString> failure = sink->failure();
            if (!failure && reply->error() != QNetworkReply::NoError)
                failure = reply->errorString();
            else if (!failure)
                failure = sink->take(reply->readAll()) ? sink->finish() : sink->failure();
            if (finished)
                finished(failure); // may destroy the handle; nothing of it is used after
        });
    return transfer;
}

void QtDesktopServices::setBusy(bool busy)
{
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

namespace {

// How long work runs before its bar shows.
constexpr int kBarDelayMs = 500;

} // namespace

void QtDesktopServices::runLongWork(const QString &text, WorkProgress &progress, const std::function<void()> &work)
{
    const BusyScope busy(*this);
    WorkProgressDialog bar(text, dialogParent());
    // The one guard of the rule that long work reads data nothing changes
    // while it runs (WorkPool): until it ends, the windows take no input.
    const InputBlocker blocker(&bar);
    // Modal as it is, the bar opens above the dialogs that stay on top.
    const StayOnTopPause aboveDialogs(bar);
    QTimer::singleShot(kBarDelayMs, &bar, &QWidget::show);

    QFutureWatcher<void> task;
    QObject::connect(&task, &QFutureWatcherBase::progressValueChanged, &bar, &WorkProgressDialog::setValue);
    QObject::connect(&bar, &WorkProgressDialog::stopRequested, &task, &QFutureWatcherBase::cancel);
    QEventLoop untilEnded;
    QObject::connect(&task, &QFutureWatcherBase::finished, &untilEnded, &QEventLoop::quit);
    bool ran = false;
    std::exception_ptr failure;
    task.setFuture(WorkPool::start([&](QPromise<void> &promise) {
        ran = true;
        progress.reportTo(&promise);
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        progress.reportTo(nullptr);
    }));
    untilEnded.exec();
    // An application told to quit ends every loop; the work still uses what
    // stands here.
    task.waitForFinished();
    if (failure)
        std::rethrow_exception(failure);
    if (!ran) // stopped before the pool gave it a thread
        throw WorkStopped();
}

void QtDesktopServices::terminate()
{
    m_terminated = true;
    QCoreApplication::exit(0);
}
