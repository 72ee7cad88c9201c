#pragma once

#include "app/ui/MainWindow.h"

// The parts of the main window that only the tests and the bench reach: its
// timers, to run the start without its pause and to time the refresh, and its
// recovery copy, to write it and wait for it; its update, to trust a test's
// signing key. MainWindow names this class its
// friend; nothing of the program uses it.
class MainWindowAccess
{
public:
    static QTimer &startupTimer(MainWindow &window) { return window.m_startupTimer; }
    static QTimer &refreshTimer(MainWindow &window) { return window.m_refreshTimer; }
    static RecoveryCopy &recoveryCopy(MainWindow &window) { return window.m_recovery; }
    // The update, to trust a key made for the test instead of the project's.
    static UpdateCommand &updateCommand(MainWindow &window) { return window.m_update; }
};
