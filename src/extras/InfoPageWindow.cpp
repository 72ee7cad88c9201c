#include "InfoPageWindow.h"

#include "base/AppInfo.h"
#include "users/DialogParts.h"

#include <QPushButton>
#include <QUrl>
#include <QWebEngineSettings>
#include <QWebEngineView>

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

    m_okButton = DialogParts::button(this, QStringLiteral("okButton"), QStringLiteral("OK"), {240, 336, 75, 25});
    m_okButton->setDefault(true);
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);

    DialogParts::centreOnDesktop(*this);
}

void InfoPageWindow::navigate(const QString &path)
{
    m_webView->load(QUrl::fromLocalFile(path));
}
