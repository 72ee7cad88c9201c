#include "MainWindow.h"
#include "PhaseTimes.h"
#include "QtDesktopServices.h"
#include "SplashWindow.h"
#include "TabloraApplication.h"
#include "base/AppInfo.h"
#include "base/ProgramDir.h"
#include "base/TabloraError.h"

#include <QIcon>

#include <optional>

int main(int argc, char *argv[])
{
    std::optional<PhaseTimes> timings;
    if (qEnvironmentVariableIsSet(PhaseTimes::kVariable))
        timings.emplace();
    TabloraApplication app(argc, argv);
    app.installRussianTranslation();
    QtDesktopServices desktop;
    // The desktop entry and the icon theme know the program by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral(TABLORA_APP_ID));
    QGuiApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(TABLORA_APP_ID)));

    std::optional<ProgramDir> dir;
    try {
        dir = ProgramDir::prepareForApplication();
    } catch (const TabloraError &e) {
        // Without a folder of its own the program could keep no settings.
        desktop.showMessage(QString(AppInfo::kTitle), e.message(), DesktopServices::Icon::Error);
        return 1;
    }

    // The splash steps through loading while the program starts.
    auto splash = std::make_unique<SplashWindow>();
    splash->show();
    splash->repaint();
    QCoreApplication::processEvents();
    const std::pair<const char *, int> steps[] = {
        {"Загрузка...", 0}, {"Params...", 50}, {"Users...", 100}, {"Table...", 50}, {"Cash...", 30}, {"DataBase...", 0},
    };
    for (const auto &[text, pause] : steps) {
        splash->setStatus(QString::fromUtf8(text));
        QCoreApplication::processEvents();
        if (pause > 0)
            desktop.sleep(pause);
    }

    MainWindow window(desktop, *dir, app.arguments().mid(1));
    if (timings)
        timings->attach(window);
    desktop.setDialogParent(&window);
    app.setErrorReporter(&window.errors());
    splash.reset();

    window.prepareToShow();
    if (desktop.terminateRequested())
        return 0; // the login was left without logging in
    if (timings)
        timings->loginDone();
    window.show();
    return app.exec();
}
