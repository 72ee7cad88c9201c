#include "TEnterForm.h"

#include "Accounts.h"
#include "base/DesktopServices.h"
#include "base/ErrorReporter.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

TEnterForm::TEnterForm(const Settings &settings, DesktopServices &desktop, ErrorReporter &errors, QString &role,
                       QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinMaxButtonsHint)
    , m_settings(settings)
    , m_desktop(desktop)
    , m_errors(errors)
    , m_role(role)
{
    setObjectName(QStringLiteral("EnterForm"));
    setWindowTitle(QStringLiteral("Tablora 1.5 [Вход]"));
    QFont font(QStringLiteral("Verdana"));
    font.setPixelSize(13);
    setFont(font);
    setFixedSize(265, 96);

    auto *label1 = new QLabel(QStringLiteral("Логин:"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->move(8, 16);
    auto *label2 = new QLabel(QStringLiteral("Пароль:"), this);
    label2->setObjectName(QStringLiteral("Label2"));
    label2->move(8, 40);

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(64, 8, 193, 24);
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setGeometry(64, 32, 193, 24);
    Edit2->setEchoMode(QLineEdit::Password);
    Edit2->setStyleSheet(QStringLiteral("lineedit-password-character: 42")); // "*"

    BitBtn1 = new QPushButton(QStringLiteral("Войти"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(96, 64, 75, 25);
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("Отмена"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setGeometry(176, 64, 83, 25);
    BitBtn2->setAutoDefault(false);
    BitBtn3 = new QPushButton(this);
    BitBtn3->setObjectName(QStringLiteral("BitBtn3"));
    BitBtn3->setGeometry(8, 64, 33, 25);
    BitBtn3->setAutoDefault(false);
    BitBtn3->setIcon(style()->standardIcon(QStyle::SP_MessageBoxQuestion));

    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, BitBtn1);
    setTabOrder(BitBtn1, BitBtn2);
    setTabOrder(BitBtn2, BitBtn3);

    connect(BitBtn1, &QPushButton::clicked, this, [this] { m_errors.run([this] { BitBtn1Click(); }); });
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    connect(BitBtn3, &QPushButton::clicked, this, [this] { m_errors.run([this] { BitBtn3Click(); }); });

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TEnterForm::BitBtn1Click()
{
    if (!Accounts::LoginCheck(m_settings, m_desktop, Edit1->text(), Edit2->text(), m_role))
        return; // the check has told the user; both boxes keep what was typed
    m_desktop.sleep(500);
    m_state = kLoggedIn;
    accept();
}

void TEnterForm::BitBtn3Click()
{
    m_desktop.beep();
    m_desktop.showMessage(QStringLiteral("Подсказка"),
                          QStringLiteral("Введите логин и пароль для входа в программу. Подробности у администратора"),
                          DesktopServices::Icon::Information);
}

void TEnterForm::done(int result)
{
    if (m_state == kNotLoggedIn)
        m_desktop.terminate();
    QDialog::done(result);
}
