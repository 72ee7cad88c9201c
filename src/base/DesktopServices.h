#pragma once

#include <QDateTime>
#include <QFont>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

class QDialog;
class QPrinter;
class WorkProgress;

// Everything the program asks of the desktop goes through this one interface:
// message boxes and questions, the beep, blocking pauses, the shell's "open",
// the standard file, print and font dialogs, modal dialogs, the clipboard, the
// clock, downloads and ending the process. The program uses the Qt
// implementation; tests use a scripted fake that records every call.
class DesktopServices
{
public:
    enum class Icon { None, Information, Question, Warning, Error };
    enum class Buttons { YesNo, YesNoCancel };
    enum class Answer { Yes, No, Cancel };

    // A standard open or save dialog: its title and filter entries, each a
    // label and a pattern ("Базы данных (*.db)", "*.db").
    struct FileDialog
    {
        QString title;
        QList<std::pair<QString, QString>> filters;
    };

    // What a file dialog remembers between uses: the last file name and the
    // selected filter (0 for the first entry).
    struct FileChoice
    {
        QString fileName;
        int filterIndex = 0;
    };

    virtual ~DesktopServices() = default;

    // A message box with a single OK button.
    virtual void showMessage(const QString &caption, const QString &text, Icon icon) = 0;
    // A question; closing the box in any other way than a button gives
    // Cancel for YesNoCancel and No for YesNo.
    virtual Answer ask(const QString &caption, const QString &text, Icon icon, Buttons buttons) = 0;
    // A question with buttons of the captions given, in order; Enter and Esc
    // press the last, which should change nothing. The index of the button
    // pressed, or -1 when the box went without one.
    virtual int choose(const QString &caption, const QString &text, Icon icon, const QStringList &buttons) = 0;

    virtual void beep() = 0;
    // Blocks the UI thread for the given time, as the program's pauses do.
    virtual void sleep(int milliseconds) = 0;
    // Lets pending window messages run (repaints included).
    virtual void processEvents() = 0;

    // The shell's "open" of a file, a web address or a mail address. The
    // result is not reported: the program never checks it.
    virtual void shellOpen(const QString &target) = 0;
    // Starts the program file at path as a program of its own, without
    // arguments, and leaves it running when this one ends: never through the
    // shell's "open", which picks a handler by the file's type. False when
    // it could not be started.
    virtual bool startProgram(const QString &path) = 0;

    // Standard dialogs. The choice is both the starting state and, when the
    // user confirms, the result; a cancelled dialog returns false and leaves
    // it unchanged.
    virtual bool chooseOpenFile(const FileDialog &dialog, FileChoice &choice) = 0;
    virtual bool chooseSaveFile(const FileDialog &dialog, FileChoice &choice) = 0;
    virtual bool choosePrinter(QPrinter &printer) = 0;
    virtual std::optional<QFont> chooseFont(const QFont &initial) = 0;

    // Shows one of the program's own dialogs modally and returns its result
    // (QDialog::Accepted or QDialog::Rejected).
    virtual int execDialog(QDialog &dialog) = 0;

    virtual void setClipboardText(const QString &text) = 0;
    // Plain text on the clipboard; empty when it holds none.
    virtual QString clipboardText() = 0;

    virtual QDateTime now() = 0;

    // Whether the computer is known to be offline.
    virtual bool isOffline() = 0;

    // A transfer under way. Destroying it cancels the transfer: no callback
    // runs afterwards and the local file stays as it was.
    class Download
    {
    public:
        virtual ~Download() = default;
    };
    // Bytes received so far and the expected total (-1 while unknown).
    using DownloadProgress = std::function<void(qint64 received, qint64 total)>;
    // Nothing on success, otherwise the reason of the failure.
    using DownloadFinished = std::function<void(const std::optional<QString> &failure)>;
    // Starts fetching one URL into one local file and returns at once, so the
    // windows stay responsive. progress runs while data arrives and finished
    // once at the end; both run later from the event loop, never from inside
    // this call, and either may destroy the Download. The data goes to a
    // temporary file as it arrives, never held whole in memory, and only a
    // complete transfer replaces the local file, by a rename, so a broken one
    // leaves an earlier file as it was. More than maxBytes of data fails the
    // transfer, and so does a redirect away from the URL's own scheme, host
    // and port.
    virtual std::unique_ptr<Download> download(const QUrl &url, const QString &localPath, qint64 maxBytes,
                                               DownloadProgress progress, DownloadFinished finished) = 0;

    // Shows or clears the busy cursor around long work.
    virtual void setBusy(bool busy) = 0;

    // Runs work that may take long on the work pool (WorkPool) and returns
    // once it has ended, throwing here what it threw. Meanwhile the windows
    // repaint but take no input, the busy cursor shows and, once the work
    // has run for about half a second, a bar with text follows progress,
    // which the work reports to; its button "Отмена" asks the work to stop,
    // which it does at its next look (WorkProgress::stopRequested). The work
    // must touch nothing the windows change: they change nothing meanwhile.
    // The one way long work shows its progress: LongWork::run calls it.
    virtual void runLongWork(const QString &text, WorkProgress &progress, const std::function<void()> &work) = 0;

    // Ends the program at once, without the main window's closing steps.
    virtual void terminate() = 0;
    virtual bool terminateRequested() const = 0;
};

// Shows the busy cursor for the life of the object.
class BusyScope
{
public:
    explicit BusyScope(DesktopServices &desktop)
        : m_desktop(desktop)
    {
        m_desktop.setBusy(true);
    }
    ~BusyScope() { m_desktop.setBusy(false); }
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

private:
    DesktopServices &m_desktop;
};
