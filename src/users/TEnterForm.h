#pragma once

#include <QDialog>

class DesktopServices;
class ErrorReporter;
class QLineEdit;
class QPushButton;
class Settings;

// The login dialog. Its only outcome is a successful login, which sets the
// Role; leaving it in any other way ends the program at once.
class TEnterForm : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kNotLoggedIn = 111;
    static constexpr int kLoggedIn = 222;

    TEnterForm(const Settings &settings, DesktopServices &desktop, ErrorReporter &errors, QString &role,
               QWidget *parent = nullptr);

    int loginState() const { return m_state; }

    void done(int result) override; // every way of closing passes here

private:
    void BitBtn1Click();
    void BitBtn3Click();

    const Settings &m_settings;
    DesktopServices &m_desktop;
    ErrorReporter &m_errors;
    QString &m_role;
    int m_state = kNotLoggedIn;

    QLineEdit *Edit1;
    QLineEdit *Edit2;
    QPushButton *BitBtn1;
    QPushButton *BitBtn2;
    QPushButton *BitBtn3;
};
