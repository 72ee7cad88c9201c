#pragma once

#include "TabloraError.h"

#include <QString>

// Where a failed command ends: every action and dialog handler runs through
// run(), and the application object hands an error that escapes any other
// event handler to reportCurrentException(), so the error is reported (logged
// and shown) and the program goes on with the next user action. The
// application-wide handler implements it; windows below it in the house only
// need this interface.
class ErrorReporter
{
public:
    virtual ~ErrorReporter() = default;

    // Logs and shows the message; never throws.
    virtual void report(const QString &message) noexcept = 0;

    // Reports the exception being handled; only for a catch block. The one
    // place where an error becomes the message the user sees: a TabloraError's
    // own message, outOfMemoryMessage() when memory ran out (wherever in the
    // command), otherwise what the exception says of itself. Work the user
    // stopped (WorkStopped) ends the command without a message.
    void reportCurrentException() noexcept;

    // Runs a handler; an error that leaves it is reported here.
    template<typename Handler>
    void run(Handler &&handler) noexcept
    {
        try {
            handler();
        } catch (...) {
            reportCurrentException();
        }
    }

    static QString outOfMemoryMessage() { return QStringLiteral("Недостаточно памяти для выполнения операции"); }
};
