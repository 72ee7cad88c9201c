#include "ErrorReporter.h"

#include "TabloraError.h"
#include "WorkProgress.h"

#include <exception>
#include <new>

void ErrorReporter::reportCurrentException() noexcept
{
    QString message;
    try {
        try {
            throw;
        } catch (const WorkStopped &) {
            return; // the user stopped the work: nothing to tell
        } catch (const TabloraError &e) {
            message = e.message();
        } catch (const std::bad_alloc &) {
            message = outOfMemoryMessage();
        } catch (const std::exception &e) {
            message = QString::fromLocal8Bit(e.what());
        } catch (...) {
            message = QStringLiteral("Unknown error");
        }
    } catch (const std::bad_alloc &) {
        // Making the message ran out of memory too. This one is static text:
        // telling that no memory is left needs none.
        message = outOfMemoryMessage();
    }
    report(message);
}
