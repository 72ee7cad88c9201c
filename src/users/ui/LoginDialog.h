#pragma once

#include <QDialog>

class DesktopServices;
class ErrorReporter;
class QLineEdit;
class QPushButton;
class Settings;

// The login dialog. Its only outcome is a successful login, which sets the
// Role; leaving it in any other way ends the program at once.
class LoginDialog : public QDialog
{
    Q_OBJECT

public:
    LoginDialog(const Settings &settings, DesktopServices &desktop, ErrorReporter &errors, QString &role,
                QWidget *parent = nullptr);

    void done(int result) override; // every way of closing passes here

private:
    static constexpr int kNotLoggedIn = 111;
    static constexpr int kLoggedIn = 222;

    void onLogInClicked();
    void onHintClicked();

    const Settings &m_settings;
    DesktopServices &m_desktop;
    ErrorReporter &m_errors;
    QString &m_role;
    int m_state = kNotLoggedIn;

    QLineEdit *m_loginEdit;
    QLineEdit *m_passwordEdit;
    QPushButton *m_logInButton;
    QPushButton *m_cancelButton;
    QPushButton *m_hintButton;
};
