#include "UserManagerDialog.h"

#include "base/Counts.h"
#include "base/DesktopServices.h"
#include "base/ErrorReporter.h"
#include "base/SettingKeys.h"
#include "base/Settings.h"
#include "base/SettingsBatch.h"
#include "base/SingleLineValidator.h"
#include "base/ui/DialogParts.h"

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// Row 0 is the administrator; rows 1 to 10 are the account slots.
constexpr int kRowCount = kAccountSlotCount + 1;

const QString kAdmin = QStringLiteral("admin");
const QString kModer = QStringLiteral("moder");
const QString kGuest = QStringLiteral("guest");

// The choices of the Role box, in this order.
const QString kModerator = QStringLiteral("Модератор");
const QString kGuestChoice = QStringLiteral("Гость");

QString selectMessage()
{
    return QStringLiteral("Выберите пользователя!");
}

QGroupBox *groupWith(QWidget *parent, const QString &title, QWidget *content, const QRect &geometry)
{
    auto *group = new QGroupBox(title, parent);
    group->setGeometry(geometry);
    auto *layout = new QVBoxLayout(group);
    layout->setContentsMargins(8, 2, 8, 6);
    content->setParent(group);
    layout->addWidget(content);
    return group;
}

} // namespace

UserManagerDialog::UserManagerDialog(Settings &settings, DesktopServices &desktop, ErrorReporter &errors,
                                     const ProgramDir &dir, QString messageCaption, QWidget *parent)
    : QDialog(parent,
              Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                  | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_settings(settings)
    , m_desktop(desktop)
    , m_errors(errors)
    , m_dir(dir)
    , m_messageCaption(std::move(messageCaption))
{
    DialogParts::setUpDialog(*this, QStringLiteral("UserManagerDialog"),
                             QStringLiteral("Tablora 1.5 [Менеджер пользователей]"), QSize(606, 335));

    m_accountList = new QTableWidget(kRowCount, 4, this);
    m_accountList->setObjectName(QStringLiteral("accountList"));
    m_accountList->setGeometry(0, 40, 606, 259);
    m_accountList->setShowGrid(true);
    m_accountList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_accountList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_accountList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_accountList->setWordWrap(false);
    m_accountList->verticalHeader()->hide();
    // All eleven rows fit in the list, as in a report-style list.
    m_accountList->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_accountList->verticalHeader()->setDefaultSectionSize(m_accountList->fontMetrics().height() + 4);
    m_accountList->setHorizontalHeaderLabels(
        {QStringLiteral("№"), QStringLiteral("Логин"), QStringLiteral("Пароль"), QStringLiteral("Права")});
    QHeaderView *header = m_accountList->horizontalHeader();
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(5);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setSectionResizeMode(Number, QHeaderView::Fixed);
    const int widths[] = {30, 200, 200, 170};
    for (int c = Number; c <= Rights; ++c)
        header->resizeSection(c, widths[c]);
    for (int row = 0; row < kRowCount; ++row) {
        m_accountList->setItem(row, Number, new QTableWidgetItem(QString::number(row)));
        for (int c = Login; c <= Rights; ++c)
            m_accountList->setItem(row, c, new QTableWidgetItem);
    }

    m_editAccountButton = DialogParts::button(this, QStringLiteral("editAccountButton"), QStringLiteral("Править"),
                                              {8, 8, 89, 25});
    m_deleteAccountButton = DialogParts::button(this, QStringLiteral("deleteAccountButton"), QStringLiteral("Удалить"),
                                                {104, 8, 89, 25});
    m_helpButton = DialogParts::button(this, QStringLiteral("helpButton"), QStringLiteral("Помощь"), {8, 304, 89, 25});
    m_saveButton = DialogParts::button(this, QStringLiteral("saveButton"), QStringLiteral("Сохранить"),
                                       {400, 304, 107, 25});
    m_cancelButton = DialogParts::button(this, QStringLiteral("cancelButton"), QStringLiteral("Отмена"),
                                         {512, 304, 83, 25});
    buildAccountPanel();

    DialogParts::onClick(m_editAccountButton, m_errors, [this] { onEditAccountClicked(); });
    DialogParts::onClick(m_deleteAccountButton, m_errors, [this] { onDeleteAccountClicked(); });
    DialogParts::onClick(m_helpButton, m_errors, [this] { onHelpClicked(); });
    DialogParts::onClick(m_saveButton, m_errors, [this] { onSaveClicked(); });
    DialogParts::onClick(m_applyAccountButton, m_errors, [this] { onApplyAccountClicked(); });
    DialogParts::onClick(m_discardAccountButton, m_errors, [this] { onDiscardAccountClicked(); });
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    m_loadTimer.setSingleShot(true);
    m_loadTimer.setInterval(200);
    connect(&m_loadTimer, &QTimer::timeout, this, [this] { m_errors.run([this] { onLoadTimeout(); }); });

    DialogParts::centreOnDesktop(*this);
}

void UserManagerDialog::buildAccountPanel()
{
    m_accountPanel = new QFrame(this);
    m_accountPanel->setObjectName(QStringLiteral("accountPanel"));
    m_accountPanel->setGeometry(8, 32, 273, 201);
    m_accountPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_accountPanel->setAutoFillBackground(true);
    QPalette white = m_accountPanel->palette();
    white.setColor(QPalette::Window, Qt::white);
    m_accountPanel->setPalette(white);

    // A pasted line break becomes a space, as in the record boxes.
    auto *singleLine = new SingleLineValidator(this);
    m_loginEdit = new QLineEdit;
    m_loginEdit->setObjectName(QStringLiteral("loginEdit"));
    m_loginEdit->setValidator(singleLine);
    m_passwordEdit = new QLineEdit;
    m_passwordEdit->setObjectName(QStringLiteral("passwordEdit")); // the password is shown in clear
    m_passwordEdit->setValidator(singleLine);
    m_roleCombo = new QComboBox;
    m_roleCombo->setObjectName(QStringLiteral("roleCombo"));
    m_roleCombo->addItems({kModerator, kGuestChoice});
    m_roleCombo->setCurrentIndex(1);
    // What the box shows for the administrator, whose Role is not a choice.
    m_roleCombo->setPlaceholderText(QStringLiteral("Администратор"));
    groupWith(m_accountPanel, QStringLiteral("Логин"), m_loginEdit, {8, 4, 257, 52});
    groupWith(m_accountPanel, QStringLiteral("Пароль"), m_passwordEdit, {8, 58, 257, 52});
    groupWith(m_accountPanel, QStringLiteral("Права"), m_roleCombo, {8, 112, 257, 52});

    m_applyAccountButton = DialogParts::button(m_accountPanel, QStringLiteral("applyAccountButton"),
                                               QStringLiteral("OK"), {96, 168, 75, 25});
    m_discardAccountButton = DialogParts::button(m_accountPanel, QStringLiteral("discardAccountButton"),
                                                 QStringLiteral("Отмена"), {176, 168, 83, 25});
    m_accountPanel->hide();
}

void UserManagerDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        m_errors.run([this] { onShown(); });
}

void UserManagerDialog::keyPressEvent(QKeyEvent *event)
{
    // While the panel is open, Esc closes the panel, not the window with the
    // list's edits.
    if (event->key() == Qt::Key_Escape && m_accountPanel->isVisible()) {
        onDiscardAccountClicked();
        return;
    }
    QDialog::keyPressEvent(event);
}

void UserManagerDialog::onShown()
{
    if (!m_loaded)
        m_loadTimer.start();
}

void UserManagerDialog::onLoadTimeout()
{
    m_loadTimer.stop();
    ensureLoaded();
}

void UserManagerDialog::ensureLoaded()
{
    if (m_loaded)
        return;
    m_loadTimer.stop();
    setRow(0, m_settings.read(Keys::adminLoginInManager()), m_settings.read(Keys::adminPasswordInManager()), kAdmin);
    for (int n = 1; n <= kAccountSlotCount; ++n)
        setRow(n, m_settings.read(Keys::login(n)), m_settings.read(Keys::password(n)),
               m_settings.read(Keys::pravaInManager(n)));
    m_loaded = true;
}

int UserManagerDialog::selectedRow() const
{
    const QModelIndexList rows = m_accountList->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.constFirst().row();
}

bool UserManagerDialog::refuseWithoutSelection(int row)
{
    if (row >= 0)
        return false;
    m_desktop.beep();
    m_desktop.showMessage(m_messageCaption, selectMessage(), DesktopServices::Icon::None);
    return true;
}

QString UserManagerDialog::cell(int row, Column column) const
{
    return m_accountList->item(row, column)->text();
}

void UserManagerDialog::setRow(int row, const QString &login, const QString &password, const QString &rights)
{
    m_accountList->item(row, Login)->setText(login);
    m_accountList->item(row, Password)->setText(password);
    m_accountList->item(row, Rights)->setText(rights);
}

void UserManagerDialog::onEditAccountClicked()
{
    ensureLoaded();
    const int row = selectedRow();
    if (refuseWithoutSelection(row))
        return;
    m_accountPanelRow = row;
    m_loginEdit->setText(cell(row, Login));
    m_passwordEdit->setText(cell(row, Password));
    if (row == 0) {
        m_roleCombo->setCurrentIndex(-1);
        m_roleCombo->setEnabled(false);
    } else {
        m_roleCombo->setCurrentIndex(cell(row, Rights) == kModer ? 0 : 1);
        m_roleCombo->setEnabled(true);
    }
    showAccountPanel(true);
    m_loginEdit->setFocus();
}

void UserManagerDialog::onApplyAccountClicked()
{
    // The panel edits the row it was opened for, whatever the list shows as
    // selected now: the administrator's fixed Role never reaches a slot, and
    // a slot's choice never reaches the administrator's row.
    const int row = m_accountPanelRow;
    Q_ASSERT(row >= 0); // the panel shows only after a row was chosen
    // A login or password the file would give back otherwise could lock its
    // owner out: it never reaches the list.
    const std::pair<QLineEdit *, QString> fields[] = {{m_loginEdit, QStringLiteral("Логин")},
                                                      {m_passwordEdit, QStringLiteral("Пароль")}};
    for (const auto &[edit, field] : fields) {
        if (DialogParts::refuseUnstorable(m_desktop, m_messageCaption, field, edit->text())) {
            edit->setFocus();
            return;
        }
    }
    const QString rights = !m_roleCombo->isEnabled() ? kAdmin : m_roleCombo->currentIndex() == 0 ? kModer : kGuest;
    setRow(row, m_loginEdit->text(), m_passwordEdit->text(), rights);
    showAccountPanel(false);
    m_accountList->selectRow(row);
}

void UserManagerDialog::onDiscardAccountClicked()
{
    showAccountPanel(false);
}

void UserManagerDialog::showAccountPanel(bool visible)
{
    m_accountPanel->setVisible(visible);
    if (visible)
        m_accountPanel->raise();
    // While the panel is open its edits are not yet in the list: saving, or
    // opening the panel on another row, would drop them without a word.
    for (QPushButton *b : {m_editAccountButton, m_deleteAccountButton, m_saveButton})
        b->setEnabled(!visible);
}

void UserManagerDialog::onDeleteAccountClicked()
{
    ensureLoaded();
    const int row = selectedRow();
    if (refuseWithoutSelection(row))
        return;
    if (row == 0) {
        m_desktop.beep();
        m_desktop.showMessage(m_messageCaption, QStringLiteral("Администратора удалить невозможно!"),
                              DesktopServices::Icon::None);
        return;
    }
    if (m_desktop.ask(QStringLiteral("Вопрос"),
                      QStringLiteral("Вы действительно хотите удалить выбранного пользователя?"),
                      DesktopServices::Icon::Question, DesktopServices::Buttons::YesNo)
        != DesktopServices::Answer::Yes)
        return;
    setRow(row, QString(), QString(), kGuest);
}

void UserManagerDialog::onSaveClicked()
{
    ensureLoaded();
    SettingsBatch batch;
    batch.set(Keys::adminLogin(), cell(0, Login));
    batch.set(Keys::adminPassword(), cell(0, Password));
    for (int n = 1; n <= kAccountSlotCount; ++n) {
        batch.set(Keys::login(n), cell(n, Login));
        batch.set(Keys::password(n), cell(n, Password));
        batch.set(Keys::prava(n), cell(n, Rights));
    }
    // One change of the file: when it fails, the file is as it was and the
    // window stays open with the list as edited.
    m_settings.write(batch);
    accept();
}

void UserManagerDialog::onHelpClicked()
{
    m_desktop.shellOpen(m_dir.helpFile());
}
