#pragma once

#include "app/AppInfo.h"
#include "app/TabloraError.h"

#include <QString>

#include <exception>

class DesktopServices;

// The application-wide error handler: every action and dialog handler runs
// through run(), so an error that leaves a command is logged to errors.log and
// shown in the error box, and the program goes on with the next user action.
class ErrorHandler
{
public:
    ErrorHandler(DesktopServices &desktop, QString logPath);

    // The application title is the error box's caption: "Tablora 1.5" until
    // the window first shows a file name, then the window's caption.
    const QString &applicationTitle() const { return m_applicationTitle; }
    void setApplicationTitle(const QString &title) { m_applicationTitle = title; }

    // Appends the log line and shows the message. A log that cannot be
    // written does not keep the message from being shown.
    void ApplicationEvents1Exception(const QString &message);

    // Runs a handler; errors end it here. A silent abort ends it quietly.
    template<typename Handler>
    void run(Handler &&handler) noexcept
    {
        try {
            handler();
        } catch (const SilentAbort &) {
        } catch (const TabloraError &e) {
            report(e.message());
        } catch (const std::exception &e) {
            report(QString::fromLocal8Bit(e.what()));
        } catch (...) {
            report(QStringLiteral("Unknown error"));
        }
    }

private:
    void report(const QString &message) noexcept;

    DesktopServices &m_desktop;
    QString m_logPath;
    QString m_applicationTitle = AppInfo::kTitle;
};
