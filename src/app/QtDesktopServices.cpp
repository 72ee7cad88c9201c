#include "QtDesktopServices.h"

#include "base/TabloraError.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDialog>
#include <QEventLoop>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPrintDialog>
#include <QSaveFile>
#include <QThread>

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

} // namespace

void QtDesktopServices::showMessage(const QString &caption, const QString &text, Icon icon)
{
    QMessageBox box(boxIcon(icon), caption, text, QMessageBox::Ok, m_parent);
    execDialog(box);
}

DesktopServices::Answer QtDesktopServices::ask(const QString &caption, const QString &text, Icon icon,
                                               Buttons buttons)
{
    const bool withCancel = buttons == Buttons::YesNoCancel;
    QMessageBox box(boxIcon(icon), caption, text,
                    withCancel ? QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel
                               : QMessageBox::Yes | QMessageBox::No,
                    m_parent);
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

bool QtDesktopServices::chooseFile(bool save, const FileDialog &spec, FileChoice &choice)
{
    QFileDialog dialog(m_parent, spec.title);
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
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
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
    QPrintDialog dialog(&printer, m_parent);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    return dialog.exec() == QDialog::Accepted;
}

std::optional<QFont> QtDesktopServices::chooseFont(const QFont &initial)
{
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, initial, m_parent);
    return ok ? std::optional<QFont>(font) : std::nullopt;
}

int QtDesktopServices::execDialog(QDialog &dialog)
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
    // The desktop gives no dependable answer here; treat the computer as online.
    return false;
}

void QtDesktopServices::download(const QUrl &url, const QString &localPath,
                                 const std::function<void(qint64, qint64)> &progress)
{
    QNetworkAccessManager manager;
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkReply *reply = manager.get(request);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::downloadProgress, &loop, [&](qint64 received, qint64 total) {
        if (progress)
            progress(received, total);
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    const QByteArray content = reply->readAll();
    const bool failed = reply->error() != QNetworkReply::NoError;
    const QString reason = reply->errorString();
    reply->deleteLater();
    if (failed)
        throw TabloraError(reason);
    QSaveFile file(localPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit())
        throw TabloraError(file.errorString());
}

void QtDesktopServices::setBusy(bool busy)
{
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

void QtDesktopServices::terminate()
{
    m_terminated = true;
    QCoreApplication::exit(0);
}
