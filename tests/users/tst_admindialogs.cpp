#include "GuardedTest.h"
#include "ProgramFolder.h"
#include "ScriptedDesktop.h"
#include "base/ErrorReporter.h"
#include "base/ProfileFile.h"
#include "base/ProgramDir.h"
#include "base/SettingKeys.h"
#include "base/Settings.h"
#include "base/Windows1251.h"
#include "users/Accounts.h"
#include "users/ui/AdminCommands.h"
#include "users/ui/UserManagerDialog.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

namespace {

class RecordingReporter : public ErrorReporter
{
public:
    void report(const QString &message) noexcept override { messages.append(message); }
    QStringList messages;
};

using Handler = std::function<void(QDialog &)>;

template<typename Widget>
Widget *child(QDialog &dialog, const char *name)
{
    auto *w = dialog.findChild<Widget *>(QString::fromLatin1(name));
    if (!w)
        qFatal("no widget %s", name);
    return w;
}

void click(QDialog &dialog, const char *button)
{
    child<QPushButton>(dialog, button)->click();
}

// Shows the dialog, as the modal loop would, and lets the manager's load
// timer tick at once.
void showLoaded(QDialog &dialog)
{
    dialog.show();
    if (auto *manager = qobject_cast<UserManagerDialog *>(&dialog)) {
        manager->loadTimer().setInterval(0);
        manager->loadTimer().start();
    }
    QCoreApplication::processEvents();
}

// "login|password|rights" of a row of the manager's list.
QString row(QDialog &dialog, int r)
{
    auto *table = child<QTableWidget>(dialog, "accountList");
    return table->item(r, 1)->text() + u'|' + table->item(r, 2)->text() + u'|' + table->item(r, 3)->text();
}

void selectRow(QDialog &dialog, int r)
{
    auto *table = child<QTableWidget>(dialog, "accountList");
    if (r < 0)
        table->clearSelection();
    else
        table->selectRow(r);
}

// The values of the settings dialog's controls, one "name=value" each.
QStringList optionsState(QDialog &dialog)
{
    QStringList state;
    for (const char *name :
         {"savePositionCheck", "saveSizeCheck", "askLoginCheck", "quickStartCheck", "moderatorEditBasesCheck",
          "moderatorEditUsersCheck", "moderatorEditSettingsCheck", "userEditBasesCheck", "userSaveBasesCheck",
          "userEditSettingsCheck", "userOpenManagerCheck", "userAddUsersCheck", "userUpdateProgramCheck",
          "alignLeftRadio", "alignCenterRadio", "alignRightRadio"})
        state << QString::fromLatin1(name) + u'=' + (child<QAbstractButton>(dialog, name)->isChecked() ? u'1' : u'0');
    for (int c = 0; c < 8; ++c) {
        const QString name = QStringLiteral("defaultTitleEdit%1").arg(c);
        state << name + u'=' + child<QLineEdit>(dialog, qPrintable(name))->text();
    }
    state << QStringLiteral("fontLabel=") + child<QLabel>(dialog, "fontLabel")->text();
    return state;
}

// The settings dialog's state with nothing stored (the login asked for), or
// after "По умолчанию" (which turns the login question off).
QStringList dialogDefaults(bool askLogin)
{
    return {QStringLiteral("savePositionCheck=1"),
            QStringLiteral("saveSizeCheck=1"),
            askLogin ? QStringLiteral("askLoginCheck=1") : QStringLiteral("askLoginCheck=0"),
            QStringLiteral("quickStartCheck=0"),
            QStringLiteral("moderatorEditBasesCheck=1"),
            QStringLiteral("moderatorEditUsersCheck=1"),
            QStringLiteral("moderatorEditSettingsCheck=0"),
            QStringLiteral("userEditBasesCheck=0"),
            QStringLiteral("userSaveBasesCheck=0"),
            QStringLiteral("userEditSettingsCheck=0"),
            QStringLiteral("userOpenManagerCheck=0"),
            QStringLiteral("userAddUsersCheck=0"),
            QStringLiteral("userUpdateProgramCheck=0"),
            QStringLiteral("alignLeftRadio=1"),
            QStringLiteral("alignCenterRadio=0"),
            QStringLiteral("alignRightRadio=0"),
            QStringLiteral("defaultTitleEdit0=№"),
            QStringLiteral("defaultTitleEdit1=1 столбец"),
            QStringLiteral("defaultTitleEdit2=2 столбец"),
            QStringLiteral("defaultTitleEdit3=3 столбец"),
            QStringLiteral("defaultTitleEdit4=4 столбец"),
            QStringLiteral("defaultTitleEdit5=5 столбец"),
            QStringLiteral("defaultTitleEdit6=6 столбец"),
            QStringLiteral("defaultTitleEdit7=7 столбец"),
            QStringLiteral("fontLabel=Verdana 8")};
}

const QByteArray kAllOptionsConfig = "[General]\r\nSavePosition=0\r\nSaveSize=0\r\nQuickStart=1\r\nAlign=Center\r\n"
                                     "[Font]\r\nName=Arial\r\nSize=12\r\n"
                                     "[Table]\r\n0 caption=N\r\n3 caption=Цена\r\n7 caption=\r\n";
const QByteArray kAllOptionsOther = "[Enter]\r\nQuestionOnStart=0\r\n[Moder]\r\nEditUsers=0\r\nEditOptions=1\r\n"
                                    "[Prava]\r\nEditBase=1\r\nSaveBase=1\r\nEditOptions=1\r\nManager=1\r\n"
                                    "AddNewUsers=1\r\nUpdateProgram=1\r\n";

} // namespace

class AdminDialogsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void commandRights_data();
    void commandRights();
    void helpOpensTheHelpFile_data();
    void helpOpensTheHelpFile();

    void managerLoadsOnItsTimer();
    void commandBeforeTheTickWorksOnStoredAccounts();
    void managerPanel_data();
    void managerPanel();
    void panelEditsTheRowItWasOpenedFor();
    void managerRefusals();
    void deleteThenCancelWritesNothing();
    void failedSaveKeepsFileAndWindow();
    void managerKeepsOnlyWhatReadsBack_data();
    void managerKeepsOnlyWhatReadsBack();

    void optionsLoad_data();
    void optionsLoad();
    void optionsSaveWritesEveryControl();
    void defaultsThenOkSwitchesTheLoginOff();
    void chosenFontKeepsOnlyNameAndSize();
    void failedOkKeepsTheDialogOpen_data();
    void failedOkKeepsTheDialogOpen();
    void optionsKeepOnlyWhatReadsBack_data();
    void optionsKeepOnlyWhatReadsBack();
    void tableLookFollowsWhicheverButton_data();
    void tableLookFollowsWhicheverButton();

private:
    void runManager(const Handler &handler, const QString &role = QStringLiteral("admin"));
    // The settings dialog; the number of times the table look was applied.
    int runOptions(const Handler &handler, const QString &role = QStringLiteral("admin"));

    std::unique_ptr<ProgramFolder> m_folder;
    std::unique_ptr<ProgramDir> m_programDir;
    std::unique_ptr<Settings> m_settings;
    ScriptedDesktop m_desktop;
    RecordingReporter m_errors;
};

void AdminDialogsTest::init()
{
    m_desktop.reset();
    m_errors.messages.clear();
    m_folder = std::make_unique<ProgramFolder>();
    m_programDir = std::make_unique<ProgramDir>(m_folder->dir());
    m_settings = std::make_unique<Settings>(*m_programDir);
}

void AdminDialogsTest::cleanup()
{
    QVERIFY2(m_desktop.problems().isEmpty(), qPrintable(m_desktop.problems().join(QLatin1Char('\n'))));
}

void AdminDialogsTest::runManager(const Handler &handler, const QString &role)
{
    m_desktop.expectDialog([handler](QDialog &dialog) {
        handler(dialog);
        return dialog.result();
    });
    AdminCommands::openUserManager(*m_settings, m_desktop, m_errors, *m_programDir, role, QStringLiteral("Tablora 1.5"),
                                   nullptr);
}

int AdminDialogsTest::runOptions(const Handler &handler, const QString &role)
{
    int applied = 0;
    m_desktop.expectDialog([handler](QDialog &dialog) {
        handler(dialog);
        return dialog.result();
    });
    AdminCommands::openProgramSettings(*m_settings, m_desktop, m_errors, *m_programDir, role, nullptr,
                                       [&] { ++applied; });
    return applied;
}

// ---- both commands -----------------------------------------------------------

enum class Command { Manager, Options };

void AdminDialogsTest::commandRights_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("role");
    QTest::addColumn<QByteArray>("otherDat");
    QTest::addColumn<bool>("opens");
    const int manager = int(Command::Manager);
    const int options = int(Command::Options);
    QTest::newRow("manager, admin") << manager << "admin" << QByteArray() << true;
    QTest::newRow("manager, moder refused") << manager << "moder" << QByteArray("[Prava]\r\nManager=1\r\n") << false;
    QTest::newRow("manager, moder with EditUsers")
        << manager << "moder" << QByteArray("[Moder]\r\nEditUsers=1\r\n") << true;
    QTest::newRow("manager, guest refused") << manager << "guest" << QByteArray("[Moder]\r\nEditUsers=1\r\n") << false;
    QTest::newRow("manager, guest with Manager")
        << manager << "guest" << QByteArray("[Prava]\r\nManager=1\r\n") << true;
    QTest::newRow("options, moder refused")
        << options << "moder" << QByteArray("[Prava]\r\nEditOptions=1\r\n") << false;
    QTest::newRow("options, moder with EditOptions")
        << options << "moder" << QByteArray("[Moder]\r\nEditOptions=1\r\n") << true;
    QTest::newRow("options, user refused") << options << "user" << QByteArray("[Moder]\r\nEditOptions=1\r\n") << false;
    QTest::newRow("options, user with EditOptions")
        << options << "user" << QByteArray("[Prava]\r\nEditOptions=1\r\n") << true;
}

void AdminDialogsTest::commandRights()
{
    QFETCH(int, command);
    QFETCH(QString, role);
    QFETCH(QByteArray, otherDat);
    QFETCH(bool, opens);
    m_folder->write(QStringLiteral("data/other.dat"), otherDat);
    const auto close = [](QDialog &dialog) { dialog.reject(); };
    try {
        if (Command(command) == Command::Manager)
            runManager(close, role);
        else
            QCOMPARE(runOptions(close, role), 1);
        QVERIFY(opens);
    } catch (const TabloraError &e) {
        QCOMPARE(e.message(), Accounts::refusalMessage());
        QVERIFY(!opens);
        QVERIFY(m_desktop.logged(QStringLiteral("dialog")).isEmpty());
        m_desktop.reset(); // forgets the dialog that was expected
    }
}

void AdminDialogsTest::helpOpensTheHelpFile_data()
{
    QTest::addColumn<int>("command");
    QTest::newRow("manager") << int(Command::Manager);
    QTest::newRow("options") << int(Command::Options);
}

void AdminDialogsTest::helpOpensTheHelpFile()
{
    QFETCH(int, command);
    const Handler help = [](QDialog &dialog) { click(dialog, "helpButton"); };
    if (Command(command) == Command::Manager)
        runManager(help);
    else
        runOptions(help);
    QCOMPARE(m_desktop.logged(QStringLiteral("open")), QStringList(QStringLiteral("open ") + m_programDir->helpFile()));
}

// ---- user manager ------------------------------------------------------------

void AdminDialogsTest::managerLoadsOnItsTimer()
{
    runManager([](QDialog &dialog) {
        auto &manager = static_cast<UserManagerDialog &>(dialog);
        QCOMPARE(child<QTableWidget>(dialog, "accountList")->rowCount(), 11);
        QCOMPARE(child<QTableWidget>(dialog, "accountList")->item(10, 0)->text(), QStringLiteral("10"));
        QVERIFY(!manager.loadTimer().isActive());
        dialog.show();
        QVERIFY(manager.loadTimer().isActive());
        QCOMPARE(manager.loadTimer().interval(), 200);
        QCOMPARE(row(dialog, 0), QStringLiteral("||")); // nothing before the tick
        manager.loadTimer().start(0);
        QCoreApplication::processEvents();
        QVERIFY(!manager.loadTimer().isActive());
        QCOMPARE(row(dialog, 0), QStringLiteral("Admin|9107|admin"));
        for (int r = 1; r <= 10; ++r)
            QCOMPARE(row(dialog, r), QStringLiteral("||guest"));
        click(dialog, "saveButton");
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    });

    // The 32 keys, in this order, as if written one after another.
    Settings oneByOne{ProgramDir(m_folder->filePath(QStringLiteral("single")))};
    m_folder->makeFolder(QStringLiteral("single/data"));
    oneByOne.write(Keys::adminLogin(), QStringLiteral("Admin"));
    oneByOne.write(Keys::adminPassword(), QStringLiteral("9107"));
    for (int n = 1; n <= 10; ++n) {
        oneByOne.write(Keys::login(n), QString());
        oneByOne.write(Keys::password(n), QString());
        oneByOne.write(Keys::prava(n), QStringLiteral("guest"));
    }
    QCOMPARE(m_folder->read(QStringLiteral("data/other.dat")), m_folder->read(QStringLiteral("single/data/other.dat")));
    QCOMPARE(m_folder->read(QStringLiteral("data/other.dat")).count('\n'), 33);

    QString role;
    QVERIFY(Accounts::checkLogin(*m_settings, m_desktop, QStringLiteral("Admin"), QStringLiteral("9107"), role));
    QCOMPARE(role, QStringLiteral("admin"));
}

void AdminDialogsTest::commandBeforeTheTickWorksOnStoredAccounts()
{
    m_folder->write(QStringLiteral("data/other.dat"),
                    "[Users]\r\nAdmin=root\r\nPassword=r\r\nLogin1=petrov\r\nLogin2=ivanov\r\n");
    runManager([this](QDialog &dialog) {
        dialog.show();
        QVERIFY(static_cast<UserManagerDialog &>(dialog).loadTimer().isActive());
        selectRow(dialog, 1);
        m_desktop.expectQuestion(QStringLiteral("Вы действительно хотите удалить выбранного пользователя?"),
                                 DesktopServices::Answer::Yes);
        click(dialog, "deleteAccountButton");
        QVERIFY(!static_cast<UserManagerDialog &>(dialog).loadTimer().isActive()); // it would undo the deletion
        click(dialog, "saveButton");
    });
    QCOMPARE(m_settings->read(Keys::adminLogin()), QStringLiteral("root"));
    QCOMPARE(m_settings->read(Keys::login(1)), QString());
    QCOMPARE(m_settings->read(Keys::login(2)), QStringLiteral("ivanov"));
}

void AdminDialogsTest::managerPanel_data()
{
    QTest::addColumn<int>("edited");
    QTest::addColumn<QString>("choice"); // empty: the box is left as it opened
    QTest::addColumn<QString>("opensWith"); // the box's text when the panel opens
    QTest::addColumn<QString>("after"); // the row after OK, with "Сохранить" writing it

    QTest::newRow("administrator keeps his Role") << 0 << ""
                                                  << "Администратор"
                                                  << "boss|pw|admin";
    QTest::newRow("moderator untouched stays moder") << 1 << ""
                                                     << "Модератор"
                                                     << "boss|pw|moder";
    QTest::newRow("user becomes guest") << 2 << ""
                                        << "Гость"
                                        << "boss|pw|guest";
    QTest::newRow("odd Role becomes guest") << 3 << ""
                                            << "Гость"
                                            << "boss|pw|guest";
    QTest::newRow("guest made moderator") << 4 << "Модератор"
                                          << "Гость"
                                          << "boss|pw|moder";
    QTest::newRow("free slot becomes an account") << 5 << "Гость"
                                                  << "Гость"
                                                  << "boss|pw|guest";
}

void AdminDialogsTest::managerPanel()
{
    QFETCH(int, edited);
    QFETCH(QString, choice);
    QFETCH(QString, opensWith);
    QFETCH(QString, after);
    m_folder->write(QStringLiteral("data/other.dat"),
                    "[Users]\r\nAdmin=root\r\nPassword=r\r\nLogin1=petrov\r\nPassword1=p\r\nPrava1=moder\r\n"
                    "Login2=ivanov\r\nPassword2=i\r\nLogin3=odd\r\nPassword3=o\r\nPrava3=Moder\r\n"
                    "Login4=sid\r\nPassword4=s\r\nPrava4=guest\r\nKeep=this\r\n");
    QStringList before;
    runManager([&](QDialog &dialog) {
        showLoaded(dialog);
        for (int r = 0; r <= 10; ++r)
            before << row(dialog, r);
        selectRow(dialog, edited);
        click(dialog, "editAccountButton");
        QVERIFY(child<QWidget>(dialog, "accountPanel")->isVisible());
        // Nothing may drop the panel's edits before OK or "Отмена".
        for (const char *button : {"saveButton", "editAccountButton", "deleteAccountButton"})
            QVERIFY(!child<QPushButton>(dialog, button)->isEnabled());
        QCOMPARE(child<QLineEdit>(dialog, "loginEdit")->text(), before[edited].section(u'|', 0, 0));
        QCOMPARE(child<QLineEdit>(dialog, "passwordEdit")->text(), before[edited].section(u'|', 1, 1));
        auto *box = child<QComboBox>(dialog, "roleCombo");
        QCOMPARE(box->currentIndex() < 0 ? box->placeholderText() : box->currentText(), opensWith);
        QCOMPARE(box->isEnabled(), edited != 0);
        child<QLineEdit>(dialog, "loginEdit")->setText(QStringLiteral("boss"));
        child<QLineEdit>(dialog, "passwordEdit")->setText(QStringLiteral("pw"));
        if (!choice.isEmpty())
            box->setCurrentText(choice);
        click(dialog, "applyAccountButton");
        QVERIFY(!child<QWidget>(dialog, "accountPanel")->isVisible());
        for (int r = 0; r <= 10; ++r)
            QCOMPARE(row(dialog, r), r == edited ? after : before[r]);
        click(dialog, "saveButton");
    });
    const QStringList parts = after.split(u'|');
    const TextKey login = edited == 0 ? Keys::adminLogin() : Keys::login(edited);
    const TextKey password = edited == 0 ? Keys::adminPassword() : Keys::password(edited);
    QCOMPARE(m_settings->read(login), parts[0]);
    QCOMPARE(m_settings->read(password), parts[1]);
    if (edited != 0)
        QCOMPARE(m_settings->read(Keys::prava(edited)), parts[2]);
    QVERIFY(!m_folder->read(QStringLiteral("data/other.dat")).contains("admin")); // never stored for row 0
    QVERIFY(m_folder->read(QStringLiteral("data/other.dat")).contains("Keep=this\r\n")); // the section is not erased
}

void AdminDialogsTest::panelEditsTheRowItWasOpenedFor()
{
    runManager([](QDialog &dialog) {
        showLoaded(dialog);
        for (int other : {-1, 3}) {
            selectRow(dialog, 0);
            click(dialog, "editAccountButton");
            selectRow(dialog, other);
            child<QLineEdit>(dialog, "loginEdit")->setText(QStringLiteral("root"));
            click(dialog, "applyAccountButton");
            QCOMPARE(row(dialog, 0), QStringLiteral("root|9107|admin"));
            QCOMPARE(row(dialog, 3), QStringLiteral("||guest")); // the administrator's Role never reaches a slot
        }
        selectRow(dialog, 2);
        click(dialog, "editAccountButton");
        child<QComboBox>(dialog, "roleCombo")->setCurrentText(QStringLiteral("Модератор"));
        selectRow(dialog, 0);
        click(dialog, "applyAccountButton");
        QCOMPARE(row(dialog, 0), QStringLiteral("root|9107|admin"));
        QCOMPARE(row(dialog, 2), QStringLiteral("||moder"));

        // Esc closes the open panel, not the window with its edits.
        click(dialog, "editAccountButton");
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!child<QWidget>(dialog, "accountPanel")->isVisible());
        QVERIFY(dialog.isVisible());
        dialog.reject();
    });
    QVERIFY(!QFile::exists(m_programDir->otherDat()));
}

void AdminDialogsTest::managerRefusals()
{
    runManager([this](QDialog &dialog) {
        showLoaded(dialog);
        m_desktop.expectMessage(QStringLiteral("Выберите пользователя!"), QStringLiteral("Tablora 1.5"));
        click(dialog, "editAccountButton");
        m_desktop.expectMessage(QStringLiteral("Выберите пользователя!"));
        click(dialog, "deleteAccountButton");
        selectRow(dialog, 0);
        m_desktop.expectMessage(QStringLiteral("Администратора удалить невозможно!"));
        click(dialog, "deleteAccountButton");
        QVERIFY(!child<QWidget>(dialog, "accountPanel")->isVisible());
        QCOMPARE(row(dialog, 0), QStringLiteral("Admin|9107|admin"));
        dialog.reject();
    });
    QCOMPARE(m_desktop.logged(QStringLiteral("beep")).size(), 3);
    QCOMPARE(m_desktop.log().at(m_desktop.log().indexOf(QStringLiteral("beep")) + 1).left(7),
             QStringLiteral("message"));
}

void AdminDialogsTest::deleteThenCancelWritesNothing()
{
    const QByteArray stored = "[Users]\r\nLogin3=petrov\r\nPassword3=p\r\nPrava3=moder\r\n";
    m_folder->write(QStringLiteral("data/other.dat"), stored);
    runManager([this](QDialog &dialog) {
        showLoaded(dialog);
        selectRow(dialog, 3);
        m_desktop.expectQuestion(QStringLiteral("Вы действительно хотите удалить выбранного пользователя?"),
                                 DesktopServices::Answer::No, QStringLiteral("Вопрос"));
        click(dialog, "deleteAccountButton");
        QCOMPARE(row(dialog, 3), QStringLiteral("petrov|p|moder"));
        m_desktop.expectQuestion(QStringLiteral("Вы действительно хотите удалить выбранного пользователя?"),
                                 DesktopServices::Answer::Yes);
        click(dialog, "deleteAccountButton");
        QCOMPARE(row(dialog, 3), QStringLiteral("||guest"));
        QCOMPARE(child<QTableWidget>(dialog, "accountList")->rowCount(), 11);
        click(dialog, "cancelButton");
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    });
    QCOMPARE(m_folder->read(QStringLiteral("data/other.dat")), stored);
}

void AdminDialogsTest::failedSaveKeepsFileAndWindow()
{
    m_folder->makeFolder(QStringLiteral("data/other.dat")); // a folder where the file should be
    runManager([&](QDialog &dialog) {
        showLoaded(dialog);
        selectRow(dialog, 0);
        click(dialog, "editAccountButton");
        child<QLineEdit>(dialog, "loginEdit")->setText(QStringLiteral("admin2"));
        click(dialog, "applyAccountButton");

        click(dialog, "saveButton");
        QCOMPARE(m_errors.messages,
                 QStringList(QStringLiteral("Unable to write to ") + QDir::toNativeSeparators(m_programDir->otherDat())
                             + QStringLiteral(". Is a directory")));
        QVERIFY(dialog.isVisible());
        QCOMPARE(row(dialog, 0), QStringLiteral("admin2|9107|admin"));

        QVERIFY(QDir(m_programDir->otherDat()).removeRecursively());
        click(dialog, "saveButton");
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    });
    QCOMPARE(m_settings->read(Keys::adminLogin()), QStringLiteral("admin2"));
    QCOMPARE(m_settings->read(Keys::adminPassword()), QStringLiteral("9107"));
}

// Texts the settings file would not give back exactly are refused by the
// panel's OK, with the field and the reason, before anything is written; all
// others are stored and read back as typed. Rows 0 (the administrator) and 2.
void AdminDialogsTest::managerKeepsOnlyWhatReadsBack_data()
{
    QTest::addColumn<int>("edited");
    QTest::addColumn<QString>("field"); // the box, "loginEdit" or "passwordEdit"
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("reason"); // empty: stored as typed

    const QString longest(ProfileFile::MaxTextLength, u'x');
    QTest::newRow("letter outside Windows-1251")
        << 0 << "passwordEdit" << QStringLiteral("pässword")
        << QStringLiteral("в нём есть знак «ä» (U+00E4), которого нет в кодировке Windows-1251");
    QTest::newRow("character outside the BMP")
        << 2 << "loginEdit" << QStringLiteral("кот😺")
        << QStringLiteral("в нём есть знак «😺» (U+1F63A), которого нет в кодировке Windows-1251");
    QTest::newRow("leading blank") << 0 << "loginEdit" << QStringLiteral(" root")
                                   << QStringLiteral("в начале или в конце стоит пробел");
    QTest::newRow("trailing blank") << 0 << "passwordEdit" << QStringLiteral("9107 ")
                                    << QStringLiteral("в начале или в конце стоит пробел");
    QTest::newRow("trailing tab") << 2 << "passwordEdit" << QStringLiteral("pw\t")
                                  << QStringLiteral("в начале или в конце стоит знак табуляции");
    QTest::newRow("double quotes") << 2 << "passwordEdit" << QStringLiteral("\"secret\"")
                                   << QStringLiteral("оно заключено в кавычки, которые при чтении отбрасываются");
    QTest::newRow("single quotes") << 0 << "loginEdit" << QStringLiteral("'root'")
                                   << QStringLiteral("оно заключено в кавычки, которые при чтении отбрасываются");
    QTest::newRow("line breaks become spaces in the box")
        << 0 << "passwordEdit" << QStringLiteral("a\nb\r\nc") << QString();
    QTest::newRow("one character too long")
        << 0 << "passwordEdit" << longest + u'x' << QStringLiteral("оно длиннее 2047 знаков");
    QTest::newRow("the longest value") << 0 << "passwordEdit" << longest << QString();
    QTest::newRow("quotes inside") << 2 << "passwordEdit" << QStringLiteral("\"a\" and 'b'") << QString();
    QTest::newRow("unmatched quotes") << 2 << "loginEdit" << QStringLiteral("\"root'") << QString();
    QTest::newRow("inner blanks, Russian and €") << 0 << "passwordEdit" << QStringLiteral("пароль  № 5 €") << QString();
    QTest::newRow("empty") << 2 << "passwordEdit" << QString() << QString();
}

void AdminDialogsTest::managerKeepsOnlyWhatReadsBack()
{
    QFETCH(int, edited);
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, reason);
    runManager([&](QDialog &dialog) {
        showLoaded(dialog);
        selectRow(dialog, edited);
        click(dialog, "editAccountButton");
        child<QLineEdit>(dialog, "loginEdit")->setText(QStringLiteral("someone"));
        auto *box = child<QLineEdit>(dialog, qPrintable(field));
        box->setText(typed);
        const QString before = row(dialog, edited);
        if (!reason.isEmpty()) {
            const QString name = field == u"loginEdit" ? QStringLiteral("Логин") : QStringLiteral("Пароль");
            m_desktop.expectMessage(
                QStringLiteral("Значение поля «%1» нельзя сохранить в файле настроек: %2.").arg(name, reason),
                QStringLiteral("Tablora 1.5"));
        }
        click(dialog, "applyAccountButton");
        if (!reason.isEmpty()) {
            QVERIFY(child<QWidget>(dialog, "accountPanel")->isVisible());
            QCOMPARE(box->text(), typed);
            QCOMPARE(row(dialog, edited), before);
            QCOMPARE(m_desktop.logged(QStringLiteral("beep")).size(), 1);
            dialog.reject();
            return;
        }
        click(dialog, "saveButton");
    });
    if (!reason.isEmpty()) {
        QVERIFY(!QFile::exists(m_programDir->otherDat()));
        return;
    }
    const bool login = field == u"loginEdit";
    QCOMPARE(m_settings->read(edited == 0 ? (login ? Keys::adminLogin() : Keys::adminPassword())
                                          : (login ? Keys::login(edited) : Keys::password(edited))),
             QString(typed).replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(u'\n', u' '));
}

// ---- program settings --------------------------------------------------------

void AdminDialogsTest::optionsLoad_data()
{
    QTest::addColumn<QByteArray>("config");
    QTest::addColumn<QByteArray>("other");
    QTest::addColumn<QStringList>("state");

    QTest::newRow("no files: the dialog's own defaults") << QByteArray() << QByteArray() << dialogDefaults(true);
    QTest::newRow("every key stored") << kAllOptionsConfig << kAllOptionsOther
                                      << QStringList({"savePositionCheck=0",
                                                      "saveSizeCheck=0",
                                                      "askLoginCheck=0",
                                                      "quickStartCheck=1",
                                                      "moderatorEditBasesCheck=1",
                                                      "moderatorEditUsersCheck=0",
                                                      "moderatorEditSettingsCheck=1",
                                                      "userEditBasesCheck=1",
                                                      "userSaveBasesCheck=1",
                                                      "userEditSettingsCheck=1",
                                                      "userOpenManagerCheck=1",
                                                      "userAddUsersCheck=1",
                                                      "userUpdateProgramCheck=1",
                                                      "alignLeftRadio=0",
                                                      "alignCenterRadio=1",
                                                      "alignRightRadio=0",
                                                      "defaultTitleEdit0=N",
                                                      "defaultTitleEdit1=1 столбец",
                                                      "defaultTitleEdit2=2 столбец",
                                                      "defaultTitleEdit3=Цена",
                                                      "defaultTitleEdit4=4 столбец",
                                                      "defaultTitleEdit5=5 столбец",
                                                      "defaultTitleEdit6=6 столбец",
                                                      "defaultTitleEdit7=",
                                                      "fontLabel=Arial 12"});
}

void AdminDialogsTest::optionsLoad()
{
    QFETCH(QByteArray, config);
    QFETCH(QByteArray, other);
    QFETCH(QStringList, state);
    if (!config.isEmpty())
        m_folder->write(QStringLiteral("data/config.ini"), Windows1251::encode(QString::fromUtf8(config)));
    if (!other.isEmpty())
        m_folder->write(QStringLiteral("data/other.dat"), other);
    runOptions([&](QDialog &dialog) {
        showLoaded(dialog);
        QCOMPARE(optionsState(dialog), state);
        QVERIFY(!child<QCheckBox>(dialog, "moderatorEditBasesCheck")->isEnabled());
        QCOMPARE(child<QLabel>(dialog, "fontLabel")->font().family(),
                 state.last().section(u'=', 1).section(u' ', 0, 0));
        QCOMPARE(child<QLabel>(dialog, "fontLabel")->textFormat(), Qt::PlainText); // a name from a file
        dialog.reject();
    });
}

void AdminDialogsTest::optionsSaveWritesEveryControl()
{
    m_folder->write(QStringLiteral("data/config.ini"), "[General]\r\nAlign=Justify\r\n");
    runOptions([&](QDialog &dialog) {
        showLoaded(dialog);
        QVERIFY(child<QRadioButton>(dialog, "alignRightRadio")->isChecked()); // any other text is right
        for (const char *name : {"savePositionCheck", "askLoginCheck", "moderatorEditUsersCheck", "userEditBasesCheck",
                                 "userEditSettingsCheck", "userAddUsersCheck"})
            child<QCheckBox>(dialog, name)->setChecked(!child<QCheckBox>(dialog, name)->isChecked());
        child<QLineEdit>(dialog, "defaultTitleEdit0")->setText(QStringLiteral("Код"));
        child<QLineEdit>(dialog, "defaultTitleEdit7")->clear();
        click(dialog, "okButton");
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    });
    QCOMPARE(Windows1251::decode(m_folder->read(QStringLiteral("data/config.ini"))),
             QStringLiteral("[General]\r\nAlign=Right\r\nSavePosition=0\r\nSaveSize=1\r\nQuickStart=0\r\n"
                            "[Table]\r\n0 caption=Код\r\n1 caption=1 столбец\r\n2 caption=2 столбец\r\n"
                            "3 caption=3 столбец\r\n4 caption=4 столбец\r\n5 caption=5 столбец\r\n"
                            "6 caption=6 столбец\r\n7 caption=\r\n[Font]\r\nName=Verdana\r\nSize=8\r\n"));
    QCOMPARE(m_folder->read(QStringLiteral("data/other.dat")),
             QByteArray("[Enter]\r\nQuestionOnStart=0\r\n[Moder]\r\nEditUsers=0\r\nEditOptions=0\r\n"
                        "[Prava]\r\nEditBase=1\r\nSaveBase=0\r\nEditOptions=1\r\nManager=0\r\nAddNewUsers=1\r\n"
                        "UpdateProgram=0\r\n"));
}

void AdminDialogsTest::defaultsThenOkSwitchesTheLoginOff()
{
    m_folder->write(QStringLiteral("data/config.ini"), kAllOptionsConfig);
    m_folder->write(QStringLiteral("data/other.dat"), "[Enter]\r\nQuestionOnStart=1\r\n");
    runOptions([&](QDialog &dialog) {
        showLoaded(dialog);
        const QFont drawn = child<QLabel>(dialog, "fontLabel")->font();
        click(dialog, "defaultsButton");
        QCOMPARE(optionsState(dialog), dialogDefaults(false));
        QCOMPARE(child<QLabel>(dialog, "fontLabel")->font(), drawn);
        QCOMPARE(m_folder->read(QStringLiteral("data/other.dat")), QByteArray("[Enter]\r\nQuestionOnStart=1\r\n"));
        click(dialog, "okButton");
    });
    QVERIFY(!m_settings->read(Keys::questionOnStart()));
    QCOMPARE(m_settings->read(Keys::fontName()), QStringLiteral("Verdana"));
    QCOMPARE(m_settings->read(Keys::fontSize()), 8);
    QString role;
    QVERIFY(Accounts::checkLogin(*m_settings, m_desktop, QStringLiteral("anyone"), QString(), role));
    QCOMPARE(role, QStringLiteral("admin"));
}

void AdminDialogsTest::chosenFontKeepsOnlyNameAndSize()
{
    runOptions([this](QDialog &dialog) {
        showLoaded(dialog);
        QFont chosen(QStringLiteral("DejaVu Serif"));
        chosen.setPointSize(14);
        chosen.setBold(true);
        chosen.setItalic(true);
        m_desktop.expectFont(chosen);
        click(dialog, "changeFontButton");
        m_desktop.expectFont(std::nullopt);
        click(dialog, "changeFontButton");
        auto *label = child<QLabel>(dialog, "fontLabel");
        QCOMPARE(label->text(), QStringLiteral("DejaVu Serif 14"));
        QVERIFY(label->font().bold());
        QCOMPARE(label->font().pointSize(), 14);
        click(dialog, "okButton");
    });
    QCOMPARE(m_desktop.logged(QStringLiteral("font dialog")),
             QStringList({QStringLiteral("font dialog Verdana"), QStringLiteral("font dialog DejaVu Serif")}));
    QVERIFY(m_folder->read(QStringLiteral("data/config.ini")).endsWith("[Font]\r\nName=DejaVu Serif\r\nSize=14\r\n"));
}

void AdminDialogsTest::failedOkKeepsTheDialogOpen_data()
{
    QTest::addColumn<QString>("blocked");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("configWritten");
    QTest::newRow("config.ini fails: nothing is written") << "data/config.ini"
                                                          << "Unable to write to %1. Is a directory" << false;
    QTest::newRow("other.dat fails: config.ini stays written")
        << "data/other.dat"
        << "Unable to write to %2. Is a directory\nИзменения записаны только в %1." << true;
}

void AdminDialogsTest::failedOkKeepsTheDialogOpen()
{
    QFETCH(QString, blocked);
    QFETCH(QString, message);
    QFETCH(bool, configWritten);
    m_folder->makeFolder(blocked); // a folder where the file should be
    const QString other = blocked.endsWith(u"config.ini") ? QStringLiteral("data/other.dat")
                                                          : QStringLiteral("data/config.ini");
    const QByteArray before = "[General]\r\nQuickStart=1\r\n";
    m_folder->write(other, before);
    runOptions([&](QDialog &dialog) {
        showLoaded(dialog);
        child<QLineEdit>(dialog, "defaultTitleEdit2")->setText(QStringLiteral("Товар"));
        click(dialog, "okButton");
        QVERIFY(dialog.isVisible());
        QCOMPARE(child<QLineEdit>(dialog, "defaultTitleEdit2")->text(), QStringLiteral("Товар"));
        dialog.reject();
    });
    message.replace(QStringLiteral("%1"), QDir::toNativeSeparators(m_programDir->configIni()))
        .replace(QStringLiteral("%2"), QDir::toNativeSeparators(m_programDir->otherDat()));
    QCOMPARE(m_errors.messages, QStringList(message));
    if (configWritten)
        QCOMPARE(m_settings->read(Keys::caption(2)), QStringLiteral("Товар"));
    else
        QCOMPARE(m_folder->read(other), before);
}

// The default titles and the font name: what config.ini would not give back
// exactly is refused by OK before anything is written, on the titles' tab; a
// pasted line break becomes a space.
void AdminDialogsTest::optionsKeepOnlyWhatReadsBack_data()
{
    QTest::addColumn<QString>("box"); // a default title's box, or "font"
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message"); // empty: stored as typed
    const QString refusal = QStringLiteral("Значение поля «%1» нельзя сохранить в файле настроек: %2.");
    QTest::newRow("title with a blank at the end")
        << "defaultTitleEdit3" << QStringLiteral("Цена ")
        << refusal.arg(QStringLiteral("3 столбец"), QStringLiteral("в начале или в конце стоит пробел"));
    QTest::newRow("number title in quotes")
        << "defaultTitleEdit0" << QStringLiteral("'№'")
        << refusal.arg(QStringLiteral("Дополнит."),
                       QStringLiteral("оно заключено в кавычки, которые при чтении отбрасываются"));
    QTest::newRow("title outside Windows-1251")
        << "defaultTitleEdit7" << QStringLiteral("✓ Готово")
        << refusal.arg(QStringLiteral("7 столбец"),
                       QStringLiteral("в нём есть знак «✓» (U+2713), которого нет в кодировке Windows-1251"));
    QTest::newRow("font name outside Windows-1251")
        << "font" << QStringLiteral("Schrift ü")
        << refusal.arg(QStringLiteral("Шрифт таблицы"),
                       QStringLiteral("в нём есть знак «ü» (U+00FC), которого нет в кодировке Windows-1251"));
    QTest::newRow("pasted line breaks") << "defaultTitleEdit2" << QStringLiteral("Имя\r\nФамилия") << QString();
}

void AdminDialogsTest::optionsKeepOnlyWhatReadsBack()
{
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    runOptions([&](QDialog &dialog) {
        showLoaded(dialog);
        if (box == u"font") {
            m_desktop.expectFont(QFont(typed));
            click(dialog, "changeFontButton");
        } else {
            QGuiApplication::clipboard()->setText(typed);
            child<QLineEdit>(dialog, qPrintable(box))->clear();
            child<QLineEdit>(dialog, qPrintable(box))->paste();
        }
        if (!message.isEmpty())
            m_desktop.expectMessage(message, QStringLiteral("Tablora 1.5 [Основные настройки]"));
        click(dialog, "okButton");
        if (message.isEmpty())
            return;
        QVERIFY(dialog.isVisible());
        QCOMPARE(m_desktop.logged(QStringLiteral("beep")).size(), 1);
        if (box != u"font") {
            QCOMPARE(child<QTabWidget>(dialog, "tabs")->currentWidget()->objectName(), QStringLiteral("columnsTab"));
            QCOMPARE(child<QLineEdit>(dialog, qPrintable(box))->text(), typed);
        }
        dialog.reject();
    });
    if (!message.isEmpty()) {
        QVERIFY(!QFile::exists(m_programDir->configIni()));
        QVERIFY(!QFile::exists(m_programDir->otherDat()));
        return;
    }
    QCOMPARE(m_settings->read(Keys::caption(2)), QStringLiteral("Имя Фамилия"));
}

void AdminDialogsTest::tableLookFollowsWhicheverButton_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("OK") << "okButton";
    QTest::newRow("Отмена") << "cancelButton";
    QTest::newRow("window closed") << "";
}

void AdminDialogsTest::tableLookFollowsWhicheverButton()
{
    QFETCH(QString, button);
    const int applied = runOptions([&](QDialog &dialog) {
        showLoaded(dialog);
        if (button.isEmpty())
            dialog.close();
        else
            click(dialog, qPrintable(button));
        QVERIFY(!dialog.isVisible());
    });
    QCOMPARE(applied, 1);
    QCOMPARE(QFile::exists(m_programDir->configIni()), button == u"okButton");
}

TABLORA_TEST_MAIN(AdminDialogsTest)
#include "tst_admindialogs.moc"
