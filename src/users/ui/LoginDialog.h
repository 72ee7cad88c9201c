#pragma once

#include <QDialog>

#include <optional>

class DesktopServices;
class ErrorReporter;
class QLineEdit;
class QPushButton;
class Settings;

// The login dialog. Its only outcome is a successful login, which gives the
// Role; leaving it in any other way ends the program at once.
class LoginDialog : public QDialog
{
    Q_OBJECT

public:
    LoginDialog(const Settings &settings, DesktopServices &desktop, ErrorReporter &errors, QWidget *parent = nullptr);

    // Shows a login dialog modally: the Role of the login, or nothing when
    // the user left the dialog, which has asked the program to end.
    static std::optional<QString> logIn(const Settings &settings, DesktopServices &desktop, ErrorReporter &errors,
                                        QWidget *parent);

    // The Role of the successful login; nothing before one.
    const std::optional<QString> &role() const { return m_role; }

    void done(int result) override; // every way of closing passes here

private:
    void onLogInClicked();
    void onHintClicked();

    const Settings &m_settings;
    DesktopServices &m_desktop;
    ErrorReporter &m_errors;
    std::optional<QString> m_role;

    QLineEdit *m_loginEdit;
    QLineEdit *m_passwordEdit;
    QPushButton *m_logInButton;
    QPushButton *m_cancelButton;
    QPushButton *m_hintButton;
};
