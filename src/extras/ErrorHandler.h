#pragma once

#include "base/AppInfo.h"
#include "base/ErrorReporter.h"

#include <QString>

class DesktopServices;

// The application-wide error handler: an error that leaves a command is
// appended to errors.log and shown in the error box (see ErrorReporter).
class ErrorHandler : public ErrorReporter
{
public:
    ErrorHandler(DesktopServices &desktop, QString logPath);

    // The application title is the error box's caption: "Tablora 1.5" until
    // the window first shows a file name, then the window's caption.
    const QString &applicationTitle() const { return m_applicationTitle; }
    void setApplicationTitle(const QString &title) { m_applicationTitle = title; }

    // Appends the log line and shows the message. A log that cannot be
    // written does not keep the message from being shown.
    void logAndShow(const QString &message);

    void report(const QString &message) noexcept override;

private:
    DesktopServices &m_desktop;
    QString m_logPath;
    QString m_applicationTitle = AppInfo::kTitle;
};
