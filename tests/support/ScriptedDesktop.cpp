#include "ScriptedDesktop.h"

#include "base/SafeWrite.h"
#include "base/WorkProgress.h"

#include <QPrinter>
#include <QTimer>

namespace {

QString iconName(DesktopServices::Icon icon)
{
    switch (icon) {
    case DesktopServices::Icon::None:
        return QStringLiteral("none");
    case DesktopServices::Icon::Information:
        return QStringLiteral("information");
    case DesktopServices::Icon::Question:
        return QStringLiteral("question");
    case DesktopServices::Icon::Warning:
        return QStringLiteral("warning");
    case DesktopServices::Icon::Error:
        return QStringLiteral("error");
    }
    return {};
}

} // namespace

ScriptedDesktop::ScriptedDesktop()
    : clock(QDate(2026, 3, 14), QTime(15, 9, 26))
{
}

void ScriptedDesktop::reset()
{
    m_script.clear();
    m_log.clear();
    m_problems.clear();
    m_terminated = false;
    onCall = nullptr;
    clipboard.clear();
    offline = false;
    programsStart = true;
    stopWorkAt = -1;
    duringWork = nullptr;
}

void ScriptedDesktop::expectMessage(const QString &text, const QString &caption)
{
    Step s(Kind::Message, text, caption);
    m_script.push_back(s);
}

void ScriptedDesktop::expectQuestion(const QString &text, Answer answer, const QString &caption)
{
    Step s(Kind::Question, text, caption);
    s.answer = answer;
    m_script.push_back(s);
}

void ScriptedDesktop::expectChoice(const QString &text, int index, const QString &caption)
{
    Step s(Kind::Choice, text, caption);
    s.index = index;
    m_script.push_back(s);
}

void ScriptedDesktop::expectOpenFile(const QString &fileName, int filterIndex)
{
    Step s(Kind::OpenFile);
    s.choice = {fileName, filterIndex};
    m_script.push_back(s);
}

void ScriptedDesktop::expectSaveFile(const QString &fileName, int filterIndex)
{
    Step s(Kind::SaveFile);
    s.choice = {fileName, filterIndex};
    m_script.push_back(s);
}

void ScriptedDesktop::expectOpenFileCancelled()
{
    Step s(Kind::OpenFile);
    s.confirmed = false;
    m_script.push_back(s);
}

void ScriptedDesktop::expectSaveFileCancelled()
{
    Step s(Kind::SaveFile);
    s.confirmed = false;
    m_script.push_back(s);
}

void ScriptedDesktop::expectFont(std::optional<QFont> font)
{
    Step s(Kind::Font);
    s.font = std::move(font);
    m_script.push_back(s);
}

void ScriptedDesktop::expectPrinter(bool confirmed, const QString &pdfFile, int copies, bool collate)
{
    Step s(Kind::Printer);
    s.confirmed = confirmed;
    s.choice.fileName = pdfFile;
    s.copies = copies;
    s.collate = collate;
    m_script.push_back(s);
}

void ScriptedDesktop::expectDialog(std::function<int(QDialog &)> handler)
{
    Step s(Kind::Dialog);
    s.dialog = std::move(handler);
    m_script.push_back(s);
}

void ScriptedDesktop::expectDownload(const QByteArray &content, bool failure)
{
    Step s(Kind::Download);
    s.content = content;
    s.confirmed = !failure;
    m_script.push_back(s);
}

QStringList ScriptedDesktop::logged(const QString &prefix) const
{
    QStringList out;
    for (const QString &entry : m_log) {
        if (entry.startsWith(prefix))
            out.append(entry);
    }
    return out;
}

QStringList ScriptedDesktop::problems() const
{
    QStringList out = m_problems;
    for (const Step &s : m_script)
        out.append(QStringLiteral("expected but never asked: kind %1 %2").arg(int(s.kind)).arg(s.text));
    return out;
}

std::optional<ScriptedDesktop::Step> ScriptedDesktop::take(Kind kind, const QString &what)
{
    if (m_script.empty() || m_script.front().kind != kind) {
        m_problems.append(QStringLiteral("unexpected: ") + what);
        return std::nullopt;
    }
    Step s = m_script.front();
    m_script.pop_front();
    return s;
}

void ScriptedDesktop::showMessage(const QString &caption, const QString &text, Icon icon)
{
    const QString what = QStringLiteral("message %1|%2|%3").arg(caption, text, iconName(icon));
    note(what);
    if (auto s = take(Kind::Message, what)) {
        if (s->text != text || (!s->caption.isEmpty() && s->caption != caption))
            m_problems.append(QStringLiteral("expected message %1|%2 but got %3").arg(s->caption, s->text, what));
    }
}

DesktopServices::Answer ScriptedDesktop::ask(const QString &caption, const QString &text, Icon icon, Buttons buttons)
{
    const QString what = QStringLiteral("question %1|%2|%3|%4")
                             .arg(caption, text, iconName(icon),
                                  buttons == Buttons::YesNo ? QStringLiteral("yes-no")
                                                            : QStringLiteral("yes-no-cancel"));
    note(what);
    const Answer neutral = buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
    auto s = take(Kind::Question, what);
    if (!s)
        return neutral;
    if (s->text != text || (!s->caption.isEmpty() && s->caption != caption))
        m_problems.append(QStringLiteral("expected question %1|%2 but got %3").arg(s->caption, s->text, what));
    return s->answer;
}

int ScriptedDesktop::choose(const QString &caption, const QString &text, Icon icon, const QStringList &buttons)
{
    const QString what =
        QStringLiteral("choice %1|%2|%3|%4").arg(caption, text, iconName(icon), buttons.join(QLatin1Char('/')));
    note(what);
    auto s = take(Kind::Choice, what);
    if (!s)
        return -1;
    if (s->text != text || (!s->caption.isEmpty() && s->caption != caption))
        m_problems.append(QStringLiteral("expected choice %1|%2 but got %3").arg(s->caption, s->text, what));
    return s->index;
}

void ScriptedDesktop::note(const QString &call)
{
    m_log.append(call);
    if (onCall)
        onCall(call);
}

void ScriptedDesktop::beep()
{
    note(QStringLiteral("beep"));
}

void ScriptedDesktop::sleep(int milliseconds)
{
    note(QStringLiteral("sleep %1").arg(milliseconds));
}

void ScriptedDesktop::processEvents()
{
    note(QStringLiteral("process events"));
}

void ScriptedDesktop::shellOpen(const QString &target)
{
    note(QStringLiteral("open ") + target);
}

bool ScriptedDesktop::startProgram(const QString &path)
{
    note(QStringLiteral("start ") + path);
    return programsStart;
}

bool ScriptedDesktop::chooseFile(Kind kind, const char *name, const FileDialog &dialog, FileChoice &choice)
{
    lastFileDialog = dialog;
    lastOfferedChoice = choice;
    const QString what = QString::fromLatin1(name) + QLatin1Char(' ') + dialog.title;
    note(what);
    auto s = take(kind, what);
    if (!s || !s->confirmed)
        return false;
    choice = s->choice;
    return true;
}

bool ScriptedDesktop::chooseOpenFile(const FileDialog &dialog, FileChoice &choice)
{
    return chooseFile(Kind::OpenFile, "open dialog", dialog, choice);
}

bool ScriptedDesktop::chooseSaveFile(const FileDialog &dialog, FileChoice &choice)
{
    return chooseFile(Kind::SaveFile, "save dialog", dialog, choice);
}

bool ScriptedDesktop::choosePrinter(QPrinter &printer)
{
    const QString what = QStringLiteral("print dialog ") + printer.docName();
    note(what);
    auto s = take(Kind::Printer, what);
    if (!s || !s->confirmed)
        return false;
    if (!s->choice.fileName.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(s->choice.fileName);
    }
    printer.setCopyCount(s->copies);
    printer.setCollateCopies(s->collate);
    return true;
}

std::optional<QFont> ScriptedDesktop::chooseFont(const QFont &initial)
{
    note(QStringLiteral("font dialog ") + initial.family());
    auto s = take(Kind::Font, QStringLiteral("font dialog"));
    return s ? s->font : std::nullopt;
}

int ScriptedDesktop::execDialog(QDialog &dialog)
{
    note(QStringLiteral("dialog"));
    auto s = take(Kind::Dialog, QStringLiteral("dialog"));
    return s ? s->dialog(dialog) : 0;
}

void ScriptedDesktop::setClipboardText(const QString &text)
{
    note(QStringLiteral("clipboard set"));
    clipboard = text;
}

QString ScriptedDesktop::clipboardText()
{
    note(QStringLiteral("clipboard get"));
    return clipboard;
}

QDateTime ScriptedDesktop::now()
{
    return clock;
}

bool ScriptedDesktop::isOffline()
{
    return offline;
}

namespace {

// Its callbacks are queued on this object, so destroying it cancels them.
class ScriptedDownload : public DesktopServices::Download
{
public:
    QObject context;
};

} // namespace

std::unique_ptr<DesktopServices::Download> ScriptedDesktop::download(const QUrl &url, const QString &localPath,
                                                                     qint64 maxBytes, DownloadProgress progress,
                                                                     DownloadFinished finished)
{
    const QString what = QStringLiteral("download ") + url.toString();
    note(what);
    auto s = take(Kind::Download, what);
    auto transfer = std::make_unique<ScriptedDownload>();
    const QByteArray content = s ? s->content : QByteArray();
    const bool delivered = s && s->confirmed && content.size() <= maxBytes;
    if (delivered && progress)
        QTimer::singleShot(0, &transfer->context, [progress, size = content.size()] { progress(size, size); });
    QTimer::singleShot(0, &transfer->context, [=] {
        std::optional<QString> failure = QStringLiteral("scripted failure");
        if (delivered)
            failure = SafeWrite::replaceFile(localPath, content, SafeWrite::InPlace::Never);
        finished(failure);
    });
    return transfer;
}

void ScriptedDesktop::setBusy(bool busy)
{
    note(busy ? QStringLiteral("busy on") : QStringLiteral("busy off"));
}

void ScriptedDesktop::runLongWork(const QString &text, WorkProgress &progress, const std::function<void()> &work)
{
    note(QStringLiteral("work ") + text);
    if (stopWorkAt == 0)
        progress.requestStop();
    if (stopWorkAt > 0 || duringWork)
        progress.setObserver([this, &progress](int value) {
            if (duringWork)
                duringWork(value);
            if (stopWorkAt > 0 && value >= stopWorkAt)
                progress.requestStop();
        });
    work();
}

void ScriptedDesktop::terminate()
{
    note(QStringLiteral("terminate"));
    m_terminated = true;
}
