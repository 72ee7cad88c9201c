#pragma once

#include "base/DesktopServices.h"

#include <QNetworkAccessManager>
#include <QPointer>
#include <QWidget>

class QPrintDialog;

// The desktop services of the running program, on Qt. Message boxes,
// questions and the standard dialogs are shown through execDialog, as the
// program's own dialogs are: every modal window opens above the dialogs that
// stay on top of others, and a box shows its text as plain text.
class QtDesktopServices : public DesktopServices
{
public:
    // Dialogs and boxes are shown over this window (the main window once it
    // exists), or over the modal dialog that is active when they come: a box
    // of the login at start must not centre on the main window, which is not
    // shown yet.
    void setDialogParent(QWidget *parent) { m_parent = parent; }

    // The print dialog as the print command shows it: copies, no page range,
    // no page set, no selection.
    static void limitPrintDialog(QPrintDialog &dialog);

    void showMessage(const QString &caption, const QString &text, Icon icon) override;
    Answer ask(const QString &caption, const QString &text, Icon icon, Buttons buttons) override;
    int choose(const QString &caption, const QString &text, Icon icon, const QStringList &buttons) override;
    void beep() override;
    void sleep(int milliseconds) override;
    void processEvents() override;
    void shellOpen(const QString &target) override;
    bool startProgram(const QString &path) override;
    bool chooseOpenFile(const FileDialog &dialog, FileChoice &choice) override;
    bool chooseSaveFile(const FileDialog &dialog, FileChoice &choice) override;
    bool choosePrinter(QPrinter &printer) override;
    std::optional<QFont> chooseFont(const QFont &initial) override;
    int execDialog(QDialog &dialog) override;
    void setClipboardText(const QString &text) override;
    QString clipboardText() override;
    QDateTime now() override;
    bool isOffline() override;
    std::unique_ptr<Download> download(const QUrl &url, const QString &localPath, qint64 maxBytes,
                                       DownloadProgress progress, DownloadFinished finished) override;
    void setBusy(bool busy) override;
    void runLongWork(const QString &text, WorkProgress &progress, const std::function<void()> &work) override;
    void terminate() override;
    bool terminateRequested() const override { return m_terminated; }

protected:
    // Shows the dialog, prepared by execDialog, and waits for its result.
    // Tests replace it to look at the dialog instead.
    virtual int runModal(QDialog &dialog);

private:
    QWidget *dialogParent() const;
    bool chooseFile(bool save, const FileDialog &dialog, FileChoice &choice);

    QPointer<QWidget> m_parent;
    std::unique_ptr<QNetworkAccessManager> m_network; // made at the first download
    bool m_terminated = false;
};
