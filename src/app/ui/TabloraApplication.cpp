#include "TabloraApplication.h"

#include "base/AppInfo.h"
#include "base/ErrorReporter.h"
#include "base/WorkPool.h"

#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

TabloraApplication::TabloraApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Tablora"));
    setApplicationVersion(QStringLiteral("1.5"));
    setQuitOnLastWindowClosed(false); // the program ends when its main window closes
    // Pictures come from the desktop's icon theme; where it lacks one, from
    // Adwaita, which the set-up installs.
    QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
}

TabloraApplication::~TabloraApplication()
{
    // The windows waited for their own work as they closed; the pool's
    // threads end now, while fonts and the rest of the application stand.
    WorkPool::finish();
}

bool TabloraApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        if (m_errors)
            m_errors->reportCurrentException();
    }
    return false;
}

void TabloraApplication::installRussianTranslation()
{
    // Qt's standard dialogs and buttons, and the web view's pop-up menu and
    // page messages.
    for (const QString &name : {QStringLiteral("qtbase_ru"), QStringLiteral("qtwebengine_ru")}) {
        auto *translator = new QTranslator(QCoreApplication::instance());
        if (translator->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            installTranslator(translator);
        else
            delete translator;
    }
}
