#include "InfoPageWindow.h"

#include "base/AppInfo.h"
#include "base/ui/DialogParts.h"

#include <QMenu>
#include <QPushButton>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <algorithm>
#include <optional>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

// Chromium refuses to run as root with its sandbox on. The engine reads this
// switch once, when the first web view starts it, and hands it on to its own
// processes; so it is set only for a program running as root, only while a
// view is created, and the variable is restored at once: nothing the program
// starts later through the shell inherits it.
QWebEngineView *createWebView(QWidget *parent)
{
    static const char kSwitch[] = "QTWEBENGINE_DISABLE_SANDBOX";
    bool asRoot = false;
#ifdef Q_OS_UNIX
    asRoot = geteuid() == 0;
#endif
    std::optional<QByteArray> previous;
    if (asRoot) {
        if (qEnvironmentVariableIsSet(kSwitch))
            previous = qgetenv(kSwitch);
        qputenv(kSwitch, "1");
    }
    auto *view = new QWebEngineView(parent);
    view->page(); // starts the engine
    if (asRoot) {
        if (previous)
            qputenv(kSwitch, *previous);
        else
            qunsetenv(kSwitch);
    }
    return view;
}

// The entries of the page's pop-up menu that do something in this window.
// The rest would open or save what this window cannot show (the page's
// source, a link in a new window, a download), or go back and forward on a
// page that has no history.
constexpr QWebEnginePage::WebAction kWorkingEntries[] = {
    QWebEnginePage::Copy,
    QWebEnginePage::SelectAll,
    QWebEnginePage::Unselect,
    QWebEnginePage::CopyLinkToClipboard,
    QWebEnginePage::CopyImageToClipboard,
    QWebEnginePage::CopyImageUrlToClipboard,
    QWebEnginePage::CopyMediaUrlToClipboard,
    QWebEnginePage::Reload,
};

} // namespace

InfoPageWindow::InfoPageWindow(QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    const QString caption = AppInfo::kTitle + QStringLiteral(" [Информация]");
    DialogParts::setUpDialog(*this, QStringLiteral("InfoPageWindow"), caption, {566, 366});
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    m_webView = createWebView(this);
    m_webView->setObjectName(QStringLiteral("webView"));
    m_webView->setGeometry(8, 8, 545, 321);
    // The pages carry no character-set declaration: they are read in the
    // code page they are written in.
    m_webView->settings()->setDefaultTextEncoding(QStringLiteral("windows-1251"));
    m_webView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_webView, &QWidget::customContextMenuRequested, this, &InfoPageWindow::showPageMenu);

    m_okButton = DialogParts::button(this, QStringLiteral("okButton"), QStringLiteral("OK"), {240, 336, 75, 25});
    m_okButton->setDefault(true);
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);

    DialogParts::centreOnDesktop(*this);
}

void InfoPageWindow::navigate(const QString &path)
{
    m_webView->load(QUrl::fromLocalFile(path));
}

void InfoPageWindow::showPageMenu(const QPoint &at)
{
    QMenu *menu = m_webView->createStandardContextMenu();
    menu->setObjectName(QStringLiteral("pageMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    bool anyLeft = false;
    for (QAction *entry : menu->actions()) {
        if (entry->isSeparator())
            continue;
        const bool works = std::any_of(std::begin(kWorkingEntries), std::end(kWorkingEntries),
                                       [&](QWebEnginePage::WebAction a) { return m_webView->pageAction(a) == entry; });
        if (works)
            anyLeft = true;
        else
            menu->removeAction(entry);
    }
    if (!anyLeft) {
        delete menu;
        return;
    }
    menu->popup(m_webView->mapToGlobal(at));
}
