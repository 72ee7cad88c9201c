#include "TBrowserForm.h"

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

TBrowserForm::TBrowserForm(QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    const QString caption = AppInfo::kTitle + QStringLiteral(" [Информация]");
    DialogParts::setUpDialog(*this, QStringLiteral("BrowserForm"), caption, {566, 366});
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    WebBrowser1 = createWebView(this);
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    WebBrowser1->setGeometry(8, 8, 545, 321);
    // The pages carry no character-set declaration: they are read in the
    // code page they are written in.
    WebBrowser1->settings()->setDefaultTextEncoding(QStringLiteral("windows-1251"));

    BitBtn1 = DialogParts::button(this, QStringLiteral("BitBtn1"), QStringLiteral("OK"), {240, 336, 75, 25});
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });

    DialogParts::centreOnDesktop(*this);
}

void TBrowserForm::navigate(const QString &path)
{
    WebBrowser1->load(QUrl::fromLocalFile(path));
}

void TBrowserForm::BitBtn1Click()
{
    accept();
}
