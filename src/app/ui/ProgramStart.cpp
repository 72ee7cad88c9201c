#include "ProgramStart.h"

#include "MainWindow.h"
#include "QtDesktopServices.h"
#include "SplashWindow.h"
#include "TabloraApplication.h"
#include "base/AppInfo.h"
#include "base/ProgramDir.h"
#include "base/TabloraError.h"

#include <QIcon>

ProgramStart::ProgramStart(TabloraApplication &app, QtDesktopServices &desktop)
    : m_app(app)
    , m_desktop(desktop)
{
}

ProgramStart::~ProgramStart() = default;

bool ProgramStart::prepare()
{
    m_app.installRussianTranslation();
    // The desktop entry and the icon theme know the program by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral(TABLORA_APP_ID));
    QGuiApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(TABLORA_APP_ID)));
    try {
        m_dir = ProgramDir::prepareForApplication();
    } catch (const TabloraError &e) {
        m_desktop.showMessage(QString(AppInfo::kTitle), e.message(), DesktopServices::Icon::Error);
        return false;
    }

    // The splash steps through loading while the program starts.
    m_splash = std::make_unique<SplashWindow>();
    m_splash->show();
    m_splash->repaint();
    QCoreApplication::processEvents();
    const std::pair<const char *, int> steps[] = {
        {"Загрузка...", 0}, {"Params...", 50}, {"Users...", 100}, {"Table...", 50}, {"Cash...", 30}, {"DataBase...", 0},
    };
    for (const auto &[text, pause] : steps) {
        m_splash->setStatus(QString::fromUtf8(text));
        QCoreApplication::processEvents();
        if (pause > 0)
            m_desktop.sleep(pause);
    }
    return true;
}

MainWindow &ProgramStart::makeWindow(const QStringList &arguments)
{
    m_window = std::make_unique<MainWindow>(m_desktop, *m_dir, arguments);
    m_desktop.setDialogParent(m_window.get());
    m_app.setErrorReporter(&m_window->errors());
    m_splash.reset();
    return *m_window;
}

bool ProgramStart::login()
{
    m_window->prepareToShow();
    return !m_desktop.terminateRequested();
}

int ProgramStart::run()
{
    m_window->show();
    return m_app.exec();
}
