#include "GuardedTest.h"
#include "ProgramFolder.h"
#include "ScriptedDesktop.h"
#include "base/ProgramDir.h"
#include "base/Settings.h"
#include "base/TabloraError.h"
#include "users/Accounts.h"

#include <QDir>
#include <QFile>
#include <QTest>

class AccountsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void rights_data();
    void rights();
    void login_data();
    void login();
    void failedLoginKeepsTheRole();
    void rightsAreReadAtEveryCheck();

private:
    ProgramFolder m_folder;
    ScriptedDesktop m_desktop;
};

void AccountsTest::init()
{
    m_desktop.reset();
    QFile::remove(m_folder.filePath(QStringLiteral("data/other.dat")));
}

void AccountsTest::cleanup()
{
    QVERIFY2(m_desktop.problems().isEmpty(), qPrintable(m_desktop.problems().join(QLatin1Char('\n'))));
}

enum class Form { Database, Options, Manager };

void AccountsTest::rights_data()
{
    QTest::addColumn<QString>("role");
    QTest::addColumn<QByteArray>("otherDat");
    QTest::addColumn<int>("form");
    QTest::addColumn<bool>("granted");

    const QByteArray none;
    const QByteArray allPrava =
        "[Prava]\r\nEditBase=1\r\nSaveBase=1\r\nEditOptions=1\r\nManager=1\r\nUpdateProgram=1\r\n";
    const QByteArray allModer = "[Moder]\r\nEditUsers=1\r\nEditOptions=1\r\n";

    QTest::newRow("admin, nothing stored, database") << "admin" << none << int(Form::Database) << true;
    QTest::newRow("admin, nothing stored, manager") << "admin" << none << int(Form::Manager) << true;
    QTest::newRow("moder, nothing stored, database") << "moder" << none << int(Form::Database) << true;
    QTest::newRow("moder, nothing stored, options") << "moder" << none << int(Form::Options) << false;
    QTest::newRow("moder, nothing stored, manager") << "moder" << none << int(Form::Manager) << false;
    QTest::newRow("moder with Moder keys, manager") << "moder" << allModer << int(Form::Manager) << true;
    QTest::newRow("moder with Moder keys, options") << "moder" << allModer << int(Form::Options) << true;
    QTest::newRow("moder ignores Prava keys") << "moder" << allPrava << int(Form::Manager) << false;
    QTest::newRow("guest, nothing stored") << "guest" << none << int(Form::Database) << false;
    QTest::newRow("user, nothing stored") << "user" << none << int(Form::Database) << false;
    QTest::newRow("guest with Prava keys") << "guest" << allPrava << int(Form::Database) << true;
    QTest::newRow("guest with Prava keys, manager") << "guest" << allPrava << int(Form::Manager) << true;
    QTest::newRow("guest ignores Moder keys") << "guest" << allModer << int(Form::Options) << false;
    QTest::newRow("user with EditBase") << "user" << QByteArray("[Prava]\r\nEditBase=1\r\n") << int(Form::Database)
                                        << true;
    QTest::newRow("AddNewUsers grants nothing")
        << "guest" << QByteArray("[Prava]\r\nAddNewUsers=1\r\n") << int(Form::Database) << false;
    QTest::newRow("roles compare exactly") << "Admin" << none << int(Form::Database) << false;
    QTest::newRow("MODER is not moder") << "MODER" << none << int(Form::Database) << false;
    QTest::newRow("empty role") << "" << none << int(Form::Database) << false;
}

void AccountsTest::rights()
{
    QFETCH(QString, role);
    QFETCH(QByteArray, otherDat);
    QFETCH(int, form);
    QFETCH(bool, granted);
    if (!otherDat.isEmpty())
        m_folder.write(QStringLiteral("data/other.dat"), otherDat);
    const Settings settings{m_folder.dir()};

    bool refused = false;
    try {
        switch (Form(form)) {
        case Form::Database:
            Accounts::checkRights(settings, role, Keys::pravaEditBase());
            break;
        case Form::Options:
            Accounts::checkRights(settings, role, Keys::moderEditOptions(), Keys::pravaEditOptions());
            break;
        case Form::Manager:
            Accounts::checkRights(settings, role, Keys::moderEditUsers(), Keys::pravaManager());
            break;
        }
    } catch (const TabloraError &e) {
        refused = true;
        QCOMPARE(e.message(), Accounts::refusalMessage());
    }
    QCOMPARE(!refused, granted);
}

void AccountsTest::login_data()
{
    QTest::addColumn<QByteArray>("otherDat");
    QTest::addColumn<QString>("login");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("role");

    const QByteArray users = "[Users]\r\nAdmin=Admin\r\nPassword=9107\r\n"
                             "Login1=petrov\r\nPassword1=p1\r\nPrava1=moder\r\n"
                             "Login2=ivanova\r\nPassword2=i2\r\nPrava2=guest\r\n"
                             "Login3=nobody\r\nPassword3=n3\r\n"
                             "Login4=petrov\r\nPassword4=other\r\nPrava4=guest\r\n"
                             "Login5=Admin\r\nPassword5=slot\r\nPrava5=moder\r\n"
                             "Login6=boss\r\nPassword6=b\r\nPrava6=admin\r\n";

    QTest::newRow("administrator") << users << "Admin"
                                   << "9107" << true << "admin";
    QTest::newRow("administrator, wrong password") << users << "Admin"
                                                   << "0000" << false << "";
    QTest::newRow("login case matters") << users << "admin"
                                        << "9107" << false << "";
    QTest::newRow("moderator slot") << users << "petrov"
                                    << "p1" << true << "moder";
    QTest::newRow("guest slot") << users << "ivanova"
                                << "i2" << true << "guest";
    QTest::newRow("slot without a role is user") << users << "nobody"
                                                 << "n3" << true << "user";
    QTest::newRow("first slot with a login decides") << users << "petrov"
                                                     << "other" << false << "";
    QTest::newRow("administrator shadows a slot") << users << "Admin"
                                                  << "slot" << false << "";
    QTest::newRow("slot edited to admin") << users << "boss"
                                          << "b" << true << "admin";
    QTest::newRow("unknown login") << users << "sidorov"
                                   << "x" << false << "";
    QTest::newRow("no Users section: empty logs in as admin") << QByteArray() << ""
                                                              << "" << true << "admin";
    QTest::newRow("no Users section: Admin fails") << QByteArray() << "Admin"
                                                   << "9107" << false << "";
    QTest::newRow("question off accepts anything") << QByteArray("[Enter]\r\nQuestionOnStart=0\r\n") + users << "who"
                                                   << "ever" << true << "admin";
    QTest::newRow("question off, empty input") << QByteArray("[Enter]\r\nQuestionOnStart=0\r\n") << ""
                                               << "" << true << "admin";
    // After the user manager has saved, free slots hold empty logins with the
    // guest Role: they are no accounts, whatever their password.
    const QByteArray freed = "[Users]\r\nAdmin=Admin\r\nPassword=9107\r\nLogin1=\r\nPassword1=\r\nPrava1=moder\r\n"
                             "Login2=\r\nPassword2=x\r\nPrava2=guest\r\nLogin3=ivanova\r\nPassword3=\r\n";
    QTest::newRow("empty input never reaches a freed slot") << freed << ""
                                                            << "" << false << "";
    QTest::newRow("nor does a freed slot's password") << freed << ""
                                                      << "x" << false << "";
    QTest::newRow("an account with an empty password") << freed << "ivanova"
                                                       << "" << true << "user";
}

void AccountsTest::login()
{
    QFETCH(QByteArray, otherDat);
    QFETCH(QString, login);
    QFETCH(QString, password);
    QFETCH(bool, accepted);
    QFETCH(QString, role);
    if (!otherDat.isEmpty())
        m_folder.write(QStringLiteral("data/other.dat"), otherDat);
    const Settings settings{m_folder.dir()};
    if (!accepted)
        m_desktop.expectMessage(Accounts::loginFailureMessage(), QStringLiteral("Ошибка"));
    QString current;
    QCOMPARE(Accounts::checkLogin(settings, m_desktop, login, password, current), accepted);
    QCOMPARE(current, role);
    if (!accepted)
        QVERIFY(m_desktop.log().last().endsWith(QStringLiteral("|information")));
}

void AccountsTest::failedLoginKeepsTheRole()
{
    m_folder.write(QStringLiteral("data/other.dat"), "[Users]\r\nAdmin=Admin\r\nPassword=9107\r\n");
    const Settings settings{m_folder.dir()};
    QString role = QStringLiteral("moder");
    m_desktop.expectMessage(Accounts::loginFailureMessage());
    QVERIFY(!Accounts::checkLogin(settings, m_desktop, QStringLiteral("Admin"), QStringLiteral("x"), role));
    QCOMPARE(role, QStringLiteral("moder"));
}

void AccountsTest::rightsAreReadAtEveryCheck()
{
    Settings settings{m_folder.dir()};
    QVERIFY_THROWS_EXCEPTION(TabloraError,
                             Accounts::checkRights(settings, QStringLiteral("guest"), Keys::pravaEditBase()));
    Settings other{m_folder.dir()}; // the settings dialog's own handle
    other.write(Keys::pravaEditBase(), true);
    Accounts::checkRights(settings, QStringLiteral("guest"), Keys::pravaEditBase());
}

TABLORA_GUILESS_TEST_MAIN(AccountsTest)
#include "tst_accounts.moc"
