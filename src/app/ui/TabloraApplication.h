#pragma once

#include <QApplication>

class ErrorReporter;

// The application object. Every handler of the program already runs through
// the error handler; notify() is the last line behind it, so that an error
// escaping any other event handler is reported instead of ending the process.
class TabloraApplication : public QApplication
{
public:
    TabloraApplication(int &argc, char **argv);
    ~TabloraApplication() override;

    // Where errors go once the main window's handler exists; before, they end
    // in notify() unreported.
    void setErrorReporter(ErrorReporter *errors) { m_errors = errors; }

    bool notify(QObject *receiver, QEvent *event) override;

    // Loads Qt's own Russian texts, where they are installed: the standard
    // dialogs and buttons, and the web view's pop-up menu.
    static void installRussianTranslation();

private:
    ErrorReporter *m_errors = nullptr;
};
