#pragma once

#include "TabloraError.h"

#include <QString>

#include <exception>

// Where a failed command ends: every action and dialog handler runs through
// run(), so an error that leaves it is reported (logged and shown) and the
// program goes on with the next user action. The application-wide handler
// implements it; windows below it in the house only need this interface.
class ErrorReporter
{
public:
    virtual ~ErrorReporter() = default;

    // Logs and shows the message; never throws.
    virtual void report(const QString &message) noexcept = 0;

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
};
