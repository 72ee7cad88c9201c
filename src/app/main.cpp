#include "base/ProgramDir.h"
#include "QtDesktopServices.h"
#include "TMainForm.h"
#include "TSplashForm.h"
#include "TabloraApplication.h"

int main(int argc, char *argv[])
{
    TabloraApplication app(argc, argv);
    app.installRussianTranslation();
    QtDesktopServices desktop;

    // The splash steps through loading while the program starts.
    auto splash = std::make_unique<TSplashForm>();
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

    TMainForm window(desktop, ProgramDir::ofApplication(), app.arguments().mid(1));
    desktop.setDialogParent(&window);
    app.setErrorSink([&window](const QString &message) { window.errors().ApplicationEvents1Exception(message); });
    splash.reset();

    window.FormShow();
    if (desktop.terminateRequested())
        return 0; // the login was left without logging in
    window.show();
    return app.exec();
}
