#pragma once

#include "base/DesktopServices.h"

#include <QStringList>

#include <deque>
#include <functional>

// The desktop as a script. Calls that need an answer - message boxes,
// questions, file, font and print dialogs, modal dialogs, downloads - must
// have been expected in order; an unexpected call is recorded as a problem and
// answered with a neutral value. Every call, answered or not, is appended to
// log() in a short text form ("beep", "sleep 200", "message Caption|Text", "clipboard get").
// A test checks problems() in cleanup(), which also reports expectations that
// were never used.
class ScriptedDesktop : public DesktopServices
{
public:
    ScriptedDesktop();

    // --- script ---
    // A box with OK. An empty caption matches any caption.
    void expectMessage(const QString &text, const QString &caption = {});
    void expectQuestion(const QString &text, Answer answer, const QString &caption = {});
    // A question with buttons of its own, answered with the button at index
    // (-1: the box closed otherwise).
    void expectChoice(const QString &text, int index, const QString &caption = {});
    // A file dialog that the user confirms with this name and filter.
    void expectOpenFile(const QString &fileName, int filterIndex = 0);
    void expectSaveFile(const QString &fileName, int filterIndex = 0);
    void expectOpenFileCancelled();
    void expectSaveFileCancelled();
    void expectFont(std::optional<QFont> font);
    // The print dialog; a confirmed one with a file name prints to that PDF
    // file, with the copies the user asked for.
    void expectPrinter(bool confirmed, const QString &pdfFile = {}, int copies = 1, bool collate = true);
    // A modal dialog: the handler plays the user's part and returns the result.
    void expectDialog(std::function<int(QDialog &)> handler);
    // A download that delivers the given bytes (or fails when failure is
    // set, or when they are more than the download takes): from the event
    // loop, one progress report, then the end.
    void expectDownload(const QByteArray &content, bool failure = false);

    // --- state the fake keeps ---
    QDateTime clock;
    QString clipboard;
    bool offline = false;
    // Whether startProgram succeeds.
    bool programsStart = true;
    // Long work runs at once on the calling thread, logged as "work <text>";
    // the user presses "Отмена" once its progress reaches this value (0 to
    // WorkProgress::kScale; never when negative).
    int stopWorkAt = -1;
    // Runs as the work reports its progress (0 to WorkProgress::kScale): a
    // test looks at the program while the work is under way.
    std::function<void(int value)> duringWork;
    // Runs on every call, with its log entry, after it is logged: a test
    // looks at the program while it waits on the desktop.
    std::function<void(const QString &)> onCall;

    const QStringList &log() const { return m_log; }
    void clearLog() { m_log.clear(); }
    // The log entries that start with the given prefix, in order.
    QStringList logged(const QString &prefix) const;
    // Unexpected calls, mismatches and unused expectations.
    QStringList problems() const;
    // The dialog titles and filters the last file dialog was shown with, and
    // the choice it started from.
    FileDialog lastFileDialog;
    FileChoice lastOfferedChoice;
    // Forgets the script and the log, for a fresh test.
    void reset();

    // --- DesktopServices ---
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

private:
    enum class Kind { Message, Question, Choice, OpenFile, SaveFile, Font, Printer, Dialog, Download };
    struct Step
    {
        Step(Kind k, QString t = {}, QString c = {})
            : kind(k)
            , text(std::move(t))
            , caption(std::move(c))
        {
        }
        Kind kind;
        QString text;
        QString caption;
        Answer answer = Answer::Yes;
        int index = 0;
        bool confirmed = true;
        FileChoice choice;
        std::optional<QFont> font;
        std::function<int(QDialog &)> dialog;
        QByteArray content;
        int copies = 1;
        bool collate = true;
    };

    // The next step if it is of this kind; records a problem otherwise.
    std::optional<Step> take(Kind kind, const QString &what);
    bool chooseFile(Kind kind, const char *name, const FileDialog &dialog, FileChoice &choice);
    void note(const QString &call);

    std::deque<Step> m_script;
    QStringList m_log;
    QStringList m_problems;
    bool m_terminated = false;
};
