#include "LoginDialog.h"

#include "base/DesktopServices.h"
#include "base/ErrorReporter.h"
#include "base/ui/DialogParts.h"
#include "users/Accounts.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

LoginDialog::LoginDialog(const Settings &settings, DesktopServices &desktop, ErrorReporter &errors, QString &role,
                         QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinMaxButtonsHint)
    , m_settings(settings)
    , m_desktop(desktop)
    , m_errors(errors)
    , m_role(role)
{
    setObjectName(QStringLiteral("LoginDialog"));
    setWindowTitle(QStringLiteral("Tablora 1.5 [Вход]"));
    QFont font(QStringLiteral("Verdana"));
    font.setPixelSize(13);
    setFont(font);
    setFixedSize(265, 96);

    auto *loginLabel = new QLabel(QStringLiteral("Логин:"), this);
    loginLabel->setObjectName(QStringLiteral("loginLabel"));
    loginLabel->move(8, 16);
    auto *passwordLabel = new QLabel(QStringLiteral("Пароль:"), this);
    passwordLabel->setObjectName(QStringLiteral("passwordLabel"));
    passwordLabel->move(8, 40);

    m_loginEdit = new QLineEdit(this);
    m_loginEdit->setObjectName(QStringLiteral("loginEdit"));
    m_loginEdit->setGeometry(64, 8, 193, 24);
    m_passwordEdit = new QLineEdit(this);
    m_passwordEdit->setObjectName(QStringLiteral("passwordEdit"));
    m_passwordEdit->setGeometry(64, 32, 193, 24);
    m_passwordEdit->setEchoMode(QLineEdit::Password);
    m_passwordEdit->setStyleSheet(QStringLiteral("lineedit-password-character: 42")); // "*"

    m_logInButton = new QPushButton(QStringLiteral("Войти"), this);
    m_logInButton->setObjectName(QStringLiteral("logInButton"));
    m_logInButton->setGeometry(96, 64, 75, 25);
    m_logInButton->setDefault(true);
    m_cancelButton = new QPushButton(QStringLiteral("Отмена"), this);
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    m_cancelButton->setGeometry(176, 64, 83, 25);
    m_cancelButton->setAutoDefault(false);
    m_hintButton = new QPushButton(this);
    m_hintButton->setObjectName(QStringLiteral("hintButton"));
    m_hintButton->setGeometry(8, 64, 33, 25);
    m_hintButton->setAutoDefault(false);
    m_hintButton->setIcon(style()->standardIcon(QStyle::SP_MessageBoxQuestion));

    setTabOrder(m_loginEdit, m_passwordEdit);
    setTabOrder(m_passwordEdit, m_logInButton);
    setTabOrder(m_logInButton, m_cancelButton);
    setTabOrder(m_cancelButton, m_hintButton);

    connect(m_logInButton, &QPushButton::clicked, this, [this] { m_errors.run([this] { onLogInClicked(); }); });
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_hintButton, &QPushButton::clicked, this, [this] { m_errors.run([this] { onHintClicked(); }); });

    DialogParts::centreOnDesktop(*this);
}

void LoginDialog::onLogInClicked()
{
    if (!Accounts::checkLogin(m_settings, m_desktop, m_loginEdit->text(), m_passwordEdit->text(), m_role))
        return; // the check has told the user; both boxes keep what was typed
    m_desktop.sleep(500);
    m_state = kLoggedIn;
    accept();
}

void LoginDialog::onHintClicked()
{
    m_desktop.beep();
    m_desktop.showMessage(QStringLiteral("Подсказка"),
                          QStringLiteral("Введите логин и пароль для входа в программу. Подробности у администратора"),
                          DesktopServices::Icon::Information);
}

void LoginDialog::done(int result)
{
    if (m_state == kNotLoggedIn)
        m_desktop.terminate();
    QDialog::done(result);
}
