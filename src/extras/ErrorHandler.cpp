#include "ErrorHandler.h"

#include "ErrorLog.h"
#include "base/DesktopServices.h"

#include <QLocale>

ErrorHandler::ErrorHandler(DesktopServices &desktop, QString logPath)
    : m_desktop(desktop)
    , m_logPath(std::move(logPath))
{
}

void ErrorHandler::logAndShow(const QString &message)
{
    ErrorLog::append(m_logPath, ErrorLog::line(m_desktop.now(), QLocale(), message));
    m_desktop.showMessage(m_applicationTitle, ErrorLog::withFullStop(message), DesktopServices::Icon::Error);
}

void ErrorHandler::report(const QString &message) noexcept
{
    try {
        logAndShow(message);
    } catch (...) {
        // Nothing is left to report a failure of the report itself to.
    }
}
