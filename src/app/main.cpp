#include "app/ui/ProgramStart.h"
#include "app/ui/QtDesktopServices.h"
#include "app/ui/TabloraApplication.h"

int main(int argc, char *argv[])
{
    TabloraApplication app(argc, argv);
    QtDesktopServices desktop;
    ProgramStart start(app, desktop);
    if (!start.prepare())
        return 1;
    start.makeWindow(app.arguments().mid(1));
    if (!start.login())
        return 0; // the login was left without logging in
    return start.run();
}
