#include "TManagerForm.h"

#include "FormParts.h"
#include "SettingKeys.h"
#include "Settings.h"
#include "SettingsBatch.h"
#include "base/Counts.h"
#include "base/DesktopServices.h"
#include "base/ErrorReporter.h"

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

TManagerForm::TManagerForm(Settings &settings, DesktopServices &desktop, ErrorReporter &errors,
                           const ProgramDir &dir, QString messageCaption, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_settings(settings)
    , m_desktop(desktop)
    , m_errors(errors)
    , m_dir(dir)
    , m_messageCaption(std::move(messageCaption))
{
    FormParts::setUpDialog(*this, QStringLiteral("ManagerForm"), QStringLiteral("Tablora 1.5 [Менеджер пользователей]"),
                           QSize(606, 335));

    Table1 = new QTableWidget(kRowCount, 4, this);
    Table1->setObjectName(QStringLiteral("Table1"));
    Table1->setGeometry(0, 40, 606, 259);
    Table1->setShowGrid(true);
    Table1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table1->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table1->setSelectionMode(QAbstractItemView::SingleSelection);
    Table1->setWordWrap(false);
    Table1->verticalHeader()->hide();
    // All eleven rows fit in the list, as in a report-style list.
    Table1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Table1->verticalHeader()->setDefaultSectionSize(Table1->fontMetrics().height() + 4);
    Table1->setHorizontalHeaderLabels(
        {QStringLiteral("№"), QStringLiteral("Логин"), QStringLiteral("Пароль"), QStringLiteral("Права")});
    QHeaderView *header = Table1->horizontalHeader();
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
        Table1->setItem(row, Number, new QTableWidgetItem(QString::number(row)));
        for (int c = Login; c <= Rights; ++c)
            Table1->setItem(row, c, new QTableWidgetItem);
    }

    BitBtn5 = FormParts::button(this, QStringLiteral("BitBtn5"), QStringLiteral("Править"), {8, 8, 89, 25});
    BitBtn6 = FormParts::button(this, QStringLiteral("BitBtn6"), QStringLiteral("Удалить"), {104, 8, 89, 25});
    BitBtn3 = FormParts::button(this, QStringLiteral("BitBtn3"), QStringLiteral("Помощь"), {8, 304, 89, 25});
    BitBtn1 = FormParts::button(this, QStringLiteral("BitBtn1"), QStringLiteral("Сохранить"), {400, 304, 107, 25});
    BitBtn2 = FormParts::button(this, QStringLiteral("BitBtn2"), QStringLiteral("Отмена"), {512, 304, 83, 25});
    buildPanel();

    FormParts::onClick(BitBtn5, m_errors, [this] { BitBtn5Click(); });
    FormParts::onClick(BitBtn6, m_errors, [this] { BitBtn6Click(); });
    FormParts::onClick(BitBtn3, m_errors, [this] { BitBtn3Click(); });
    FormParts::onClick(BitBtn1, m_errors, [this] { BitBtn1Click(); });
    FormParts::onClick(BitBtn7, m_errors, [this] { BitBtn7Click(); });
    FormParts::onClick(BitBtn4, m_errors, [this] { BitBtn4Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

    Timer1.setSingleShot(true);
    Timer1.setInterval(200);
    connect(&Timer1, &QTimer::timeout, this, [this] { m_errors.run([this] { Timer1Timer(); }); });

    FormParts::centreOnDesktop(*this);
}

void TManagerForm::buildPanel()
{
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(8, 32, 273, 201);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setAutoFillBackground(true);
    QPalette white = Panel1->palette();
    white.setColor(QPalette::Window, Qt::white);
    Panel1->setPalette(white);

    Edit1 = new QLineEdit;
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit2 = new QLineEdit;
    Edit2->setObjectName(QStringLiteral("Edit2")); // the password is shown in clear
    ComboBox1 = new QComboBox;
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->addItems({kModerator, kGuestChoice});
    ComboBox1->setCurrentIndex(1);
    // What the box shows for the administrator, whose Role is not a choice.
    ComboBox1->setPlaceholderText(QStringLiteral("Администратор"));
    groupWith(Panel1, QStringLiteral("Логин"), Edit1, {8, 4, 257, 52});
    groupWith(Panel1, QStringLiteral("Пароль"), Edit2, {8, 58, 257, 52});
    groupWith(Panel1, QStringLiteral("Права"), ComboBox1, {8, 112, 257, 52});

    BitBtn7 = FormParts::button(Panel1, QStringLiteral("BitBtn7"), QStringLiteral("OK"), {96, 168, 75, 25});
    BitBtn4 = FormParts::button(Panel1, QStringLiteral("BitBtn4"), QStringLiteral("Отмена"), {176, 168, 83, 25});
    Panel1->hide();
}

void TManagerForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        m_errors.run([this] { FormShow(); });
}

void TManagerForm::keyPressEvent(QKeyEvent *event)
{
    // While the panel is open, Esc closes the panel, not the window with the
    // list's edits.
    if (event->key() == Qt::Key_Escape && Panel1->isVisible()) {
        BitBtn4Click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TManagerForm::FormShow()
{
    if (!m_loaded)
        Timer1.start();
}

void TManagerForm::Timer1Timer()
{
    Timer1.stop();
    ensureLoaded();
}

void TManagerForm::ensureLoaded()
{
    if (m_loaded)
        return;
    Timer1.stop();
    setRow(0, m_settings.read(Keys::adminLoginInManager()), m_settings.read(Keys::adminPasswordInManager()), kAdmin);
    for (int n = 1; n <= kAccountSlotCount; ++n)
        setRow(n, m_settings.read(Keys::login(n)), m_settings.read(Keys::password(n)),
               m_settings.read(Keys::pravaInManager(n)));
    m_loaded = true;
}

int TManagerForm::selectedRow() const
{
    const QModelIndexList rows = Table1->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.constFirst().row();
}

bool TManagerForm::refuseWithoutSelection(int row)
{
    if (row >= 0)
        return false;
    m_desktop.beep();
    m_desktop.showMessage(m_messageCaption, selectMessage(), DesktopServices::Icon::None);
    return true;
}

QString TManagerForm::cell(int row, Column column) const
{
    return Table1->item(row, column)->text();
}

void TManagerForm::setRow(int row, const QString &login, const QString &password, const QString &rights)
{
    Table1->item(row, Login)->setText(login);
    Table1->item(row, Password)->setText(password);
    Table1->item(row, Rights)->setText(rights);
}

void TManagerForm::BitBtn5Click()
{
    ensureLoaded();
    const int row = selectedRow();
    if (refuseWithoutSelection(row))
        return;
    m_panelRow = row;
    Edit1->setText(cell(row, Login));
    Edit2->setText(cell(row, Password));
    if (row == 0) {
        ComboBox1->setCurrentIndex(-1);
        ComboBox1->setEnabled(false);
    } else {
        ComboBox1->setCurrentIndex(cell(row, Rights) == kModer ? 0 : 1);
        ComboBox1->setEnabled(true);
    }
    showPanel(true);
    Edit1->setFocus();
}

void TManagerForm::BitBtn7Click()
{
    // The panel edits the row it was opened for, whatever the list shows as
    // selected now: the administrator's fixed Role never reaches a slot, and
    // a slot's choice never reaches the administrator's row.
    const int row = m_panelRow;
    Q_ASSERT(row >= 0); // the panel shows only after a row was chosen
    const QString rights = !ComboBox1->isEnabled()      ? kAdmin
                           : ComboBox1->currentIndex() == 0 ? kModer
                                                            : kGuest;
    setRow(row, Edit1->text(), Edit2->text(), rights);
    showPanel(false);
    Table1->selectRow(row);
}

void TManagerForm::BitBtn4Click()
{
    showPanel(false);
}

void TManagerForm::showPanel(bool visible)
{
    Panel1->setVisible(visible);
    if (visible)
        Panel1->raise();
    // While the panel is open its edits are not yet in the list: saving, or
    // opening the panel on another row, would drop them without a word.
    for (QPushButton *b : {BitBtn5, BitBtn6, BitBtn1})
        b->setEnabled(!visible);
}

void TManagerForm::BitBtn6Click()
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
    if (m_desktop.ask(QStringLiteral("Вопрос"), QStringLiteral("Вы действительно хотите удалить выбранного пользователя?"),
                      DesktopServices::Icon::Question, DesktopServices::Buttons::YesNo)
        != DesktopServices::Answer::Yes)
        return;
    setRow(row, QString(), QString(), kGuest);
}

void TManagerForm::BitBtn1Click()
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

void TManagerForm::BitBtn3Click()
{
    m_desktop.shellOpen(m_dir.helpFile());
}
