#include "TOptionsForm.h"

#include "FormParts.h"
#include "SettingKeys.h"
#include "Settings.h"
#include "SettingsBatch.h"
#include "base/DesktopServices.h"
#include "base/ErrorReporter.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const QString kLeft = QStringLiteral("Left");
const QString kCenter = QStringLiteral("Center");
const QString kRight = QStringLiteral("Right");

template<typename Widget>
Widget *named(Widget *widget, const QString &objectName)
{
    widget->setObjectName(objectName);
    return widget;
}

QCheckBox *checkBox(const QString &objectName, const QString &caption)
{
    return named(new QCheckBox(caption), objectName);
}

QGroupBox *group(const QString &objectName, const QString &title, QLayout *content)
{
    auto *box = named(new QGroupBox(title), objectName);
    box->setLayout(content);
    return box;
}

QVBoxLayout *column(std::initializer_list<QWidget *> widgets)
{
    auto *layout = new QVBoxLayout;
    layout->setContentsMargins(8, 2, 8, 4);
    layout->setSpacing(0);
    for (QWidget *w : widgets)
        layout->addWidget(w);
    return layout;
}

// A tab's own layout: the page is small, so its margins are narrow.
QVBoxLayout *tabLayout(QWidget *tab)
{
    auto *layout = new QVBoxLayout(tab);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->setSpacing(4);
    return layout;
}

QFont drawingFont(const QString &name, int size)
{
    QFont font(name);
    font.setPointSize(std::max(1, size));
    return font;
}

} // namespace

TOptionsForm::TOptionsForm(Settings &settings, DesktopServices &desktop, ErrorReporter &errors,
                           const ProgramDir &dir, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , m_settings(settings)
    , m_desktop(desktop)
    , m_errors(errors)
    , m_dir(dir)
{
    FormParts::setUpDialog(*this, QStringLiteral("OptionsForm"), QStringLiteral("Tablora 1.5 [Основные настройки]"),
                           QSize(424, 398));

    PageControl1 = named(new QTabWidget(this), QStringLiteral("PageControl1"));
    PageControl1->setGeometry(3, 3, 414, 358);
    // The three captions fit the page's width only a pixel smaller than the
    // dialog's font.
    QFont tabFont = font();
    tabFont.setPixelSize(12);
    PageControl1->tabBar()->setFont(tabFont);
    PageControl1->addTab(buildGeneralTab(), QStringLiteral("Общие"));
    PageControl1->addTab(buildColumnsTab(), QStringLiteral("Столбцы по умолчанию"));
    PageControl1->addTab(buildRightsTab(), QStringLiteral("Права пользователей"));

    BitBtn3 = FormParts::button(this, QStringLiteral("BitBtn3"), QStringLiteral("По умолчанию"), {8, 368, 105, 25});
    BitBtn2 = FormParts::button(this, QStringLiteral("BitBtn2"), QStringLiteral("OK"), {168, 368, 75, 25});
    BitBtn2->setDefault(true);
    BitBtn1 = FormParts::button(this, QStringLiteral("BitBtn1"), QStringLiteral("Отмена"), {248, 368, 83, 25});
    BitBtn5 = FormParts::button(this, QStringLiteral("BitBtn5"), QStringLiteral("Помощь"), {336, 368, 83, 25});

    FormParts::onClick(BitBtn2, m_errors, [this] { BitBtn2Click(); });
    FormParts::onClick(BitBtn3, m_errors, [this] { BitBtn3Click(); });
    FormParts::onClick(BitBtn4, m_errors, [this] { BitBtn4Click(); });
    FormParts::onClick(BitBtn5, m_errors, [this] { BitBtn5Click(); });
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);

    FormParts::centreOnDesktop(*this);
}

QWidget *TOptionsForm::buildGeneralTab()
{
    auto *tab = named(new QWidget, QStringLiteral("TabSheet1"));
    CheckBox1 = checkBox(QStringLiteral("CheckBox1"), QStringLiteral("Сохранять позицию окна"));
    CheckBox2 = checkBox(QStringLiteral("CheckBox2"), QStringLiteral("Помнить размеры окна"));
    CheckBox3 = checkBox(QStringLiteral("CheckBox3"), QStringLiteral("*Спрашивать логин/пароль при входе"));
    CheckBox4 = checkBox(QStringLiteral("CheckBox4"), QStringLiteral("Быстрый запуск"));

    RadioButton1 = named(new QRadioButton(QStringLiteral("По левому")), QStringLiteral("RadioButton1"));
    RadioButton2 = named(new QRadioButton(QStringLiteral("По центру")), QStringLiteral("RadioButton2"));
    RadioButton3 = named(new QRadioButton(QStringLiteral("По правому")), QStringLiteral("RadioButton3"));
    auto *sideBySide = new QHBoxLayout;
    for (QRadioButton *r : {RadioButton1, RadioButton2, RadioButton3})
        sideBySide->addWidget(r);

    // A moderator always has the database rights.
    CheckBox5 = checkBox(QStringLiteral("CheckBox5"), QStringLiteral("Редактирование баз данных"));
    CheckBox5->setChecked(true);
    CheckBox5->setEnabled(false);
    CheckBox6 = checkBox(QStringLiteral("CheckBox6"), QStringLiteral("Изменение списка пользователей"));
    CheckBox7 = checkBox(QStringLiteral("CheckBox7"), QStringLiteral("Полная настройка программы"));

    auto *note = named(new QLabel(QStringLiteral(
                           "* - Если снята галочка, то любой пользователь будет иметь права администратора")),
                       QStringLiteral("Label12"));
    note->setWordWrap(true);

    auto *layout = tabLayout(tab);
    layout->addWidget(group(QStringLiteral("GroupBox1"), QStringLiteral("Интерфейс"),
                            column({CheckBox1, CheckBox2, CheckBox3, CheckBox4})));
    layout->addWidget(group(QStringLiteral("GroupBox5"), QStringLiteral("Выравнивание в таблице"), sideBySide));
    layout->addWidget(group(QStringLiteral("GroupBox2"), QStringLiteral("Права модератора"),
                            column({CheckBox5, CheckBox6, CheckBox7})));
    layout->addWidget(note);
    layout->addStretch();
    return tab;
}

QWidget *TOptionsForm::buildColumnsTab()
{
    auto *tab = named(new QWidget, QStringLiteral("TabSheet2"));

    // Two columns of four: "Дополнит.:" and "1 столбец:" to "3 столбец:",
    // then "4 столбец:" to "7 столбец:".
    auto *titles = new QGridLayout;
    constexpr int kPerColumn = kColumnCount / 2;
    for (int c = 0; c < kColumnCount; ++c) {
        const QString caption = c == 0 ? QStringLiteral("Дополнит.:") : QStringLiteral("%1 столбец:").arg(c);
        auto *label = named(new QLabel(caption), QStringLiteral("Label%1").arg(c + 3));
        Edit[c] = named(new QLineEdit, QStringLiteral("Edit%1").arg(c + 1));
        label->setBuddy(Edit[c]);
        const int row = c % kPerColumn;
        const int pair = 2 * (c / kPerColumn);
        titles->addWidget(label, row, pair);
        titles->addWidget(Edit[c], row, pair + 1);
    }

    BitBtn4 = named(new QPushButton(QStringLiteral("Сменить")), QStringLiteral("BitBtn4"));
    BitBtn4->setAutoDefault(false);
    Label11 = named(new QLabel, QStringLiteral("Label11"));
    auto *fontRow = new QHBoxLayout;
    fontRow->addWidget(BitBtn4);
    fontRow->addWidget(Label11, 1);

    auto *noteTitle = named(new QLabel(QStringLiteral("Примечание:")), QStringLiteral("Label1"));
    QFont bold = noteTitle->font();
    bold.setBold(true);
    noteTitle->setFont(bold);
    noteTitle->setStyleSheet(QStringLiteral("color: red"));
    auto *note = named(new QLabel(QStringLiteral("\"Настройки\" - \"Столбцы\" - настройка отдельн. базы")),
                       QStringLiteral("Label2"));
    note->setWordWrap(true);

    auto *layout = tabLayout(tab);
    layout->addWidget(group(QStringLiteral("GroupBox3"), QStringLiteral("Заголовки таблицы"), titles));
    layout->addWidget(group(QStringLiteral("GroupBox4"), QStringLiteral("Шрифт таблицы"), fontRow));
    layout->addWidget(noteTitle);
    layout->addWidget(note);
    layout->addStretch();
    return tab;
}

QWidget *TOptionsForm::buildRightsTab()
{
    auto *tab = named(new QWidget, QStringLiteral("TabSheet3"));
    CheckBox9 = checkBox(QStringLiteral("CheckBox9"), QStringLiteral("Создание и редактирование баз данных"));
    CheckBox10 = checkBox(QStringLiteral("CheckBox10"), QStringLiteral("Сохрание баз данных"));
    CheckBox11 = checkBox(QStringLiteral("CheckBox11"), QStringLiteral("Настройка программы"));
    CheckBox13 = checkBox(QStringLiteral("CheckBox13"), QStringLiteral("Вомзожность пользоваться менеджером пользов."));
    CheckBox14 = checkBox(QStringLiteral("CheckBox14"), QStringLiteral("Возможность добавления новых пользователей"));
    CheckBox15 = checkBox(QStringLiteral("CheckBox15"), QStringLiteral("Обновление программы через интернет"));
    auto *layout = tabLayout(tab);
    for (QCheckBox *right : {CheckBox9, CheckBox10, CheckBox11, CheckBox13, CheckBox14, CheckBox15})
        layout->addWidget(right);
    layout->addStretch();
    return tab;
}

void TOptionsForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        m_errors.run([this] { FormShow(); });
}

void TOptionsForm::FormShow()
{
    CheckBox1->setChecked(m_settings.read(Keys::savePosition()));
    CheckBox2->setChecked(m_settings.read(Keys::saveSize()));
    CheckBox3->setChecked(m_settings.read(Keys::questionOnStart()));
    CheckBox4->setChecked(m_settings.read(Keys::quickStart()));

    const QString align = m_settings.read(Keys::align());
    (align == kLeft ? RadioButton1 : align == kCenter ? RadioButton2 : RadioButton3)->setChecked(true);

    CheckBox6->setChecked(m_settings.read(Keys::moderEditUsersInOptions()));
    CheckBox7->setChecked(m_settings.read(Keys::moderEditOptions()));

    for (int c = 0; c < kColumnCount; ++c)
        Edit[c]->setText(m_settings.read(Keys::caption(c)));

    m_fontName = m_settings.read(Keys::fontNameInOptions());
    m_fontSize = m_settings.read(Keys::fontSize());
    m_font = drawingFont(m_fontName, m_fontSize);
    showFont(m_font);

    CheckBox9->setChecked(m_settings.read(Keys::pravaEditBase()));
    CheckBox10->setChecked(m_settings.read(Keys::pravaSaveBase()));
    CheckBox11->setChecked(m_settings.read(Keys::pravaEditOptions()));
    CheckBox13->setChecked(m_settings.read(Keys::pravaManager()));
    CheckBox14->setChecked(m_settings.read(Keys::pravaAddNewUsers()));
    CheckBox15->setChecked(m_settings.read(Keys::pravaUpdateProgram()));
}

void TOptionsForm::showFont(const QFont &drawingFont)
{
    Label11->setText(m_fontName + QLatin1Char(' ') + QString::number(m_fontSize));
    Label11->setFont(drawingFont);
}

void TOptionsForm::BitBtn2Click()
{
    SettingsBatch batch;
    batch.set(Keys::savePosition(), CheckBox1->isChecked());
    batch.set(Keys::saveSize(), CheckBox2->isChecked());
    batch.set(Keys::questionOnStart(), CheckBox3->isChecked());
    batch.set(Keys::quickStart(), CheckBox4->isChecked());
    batch.set(Keys::moderEditUsers(), CheckBox6->isChecked());
    batch.set(Keys::moderEditOptions(), CheckBox7->isChecked());
    batch.set(Keys::align(), RadioButton1->isChecked() ? kLeft : RadioButton2->isChecked() ? kCenter : kRight);
    for (int c = 0; c < kColumnCount; ++c)
        batch.set(Keys::caption(c), Edit[c]->text());
    batch.set(Keys::fontName(), m_fontName);
    batch.set(Keys::fontSize(), m_fontSize);
    batch.set(Keys::pravaEditBase(), CheckBox9->isChecked());
    batch.set(Keys::pravaSaveBase(), CheckBox10->isChecked());
    batch.set(Keys::pravaEditOptions(), CheckBox11->isChecked());
    batch.set(Keys::pravaManager(), CheckBox13->isChecked());
    batch.set(Keys::pravaAddNewUsers(), CheckBox14->isChecked());
    batch.set(Keys::pravaUpdateProgram(), CheckBox15->isChecked());
    // config.ini, then other.dat, each as one change; when a write fails the
    // window stays open with the edits, so the user can try again.
    m_settings.write(batch);
    accept();
}

void TOptionsForm::BitBtn3Click()
{
    CheckBox1->setChecked(true);
    CheckBox2->setChecked(true);
    CheckBox3->setChecked(false);
    CheckBox4->setChecked(false);
    RadioButton1->setChecked(true);
    CheckBox6->setChecked(true);
    CheckBox7->setChecked(false);
    for (int c = 0; c < kColumnCount; ++c)
        Edit[c]->setText(Keys::caption(c).defaultValue);
    m_fontName = Keys::fontNameInOptions().defaultValue;
    m_fontSize = Keys::fontSize().defaultValue;
    m_font.setFamily(m_fontName);
    m_font.setPointSize(m_fontSize);
    showFont(Label11->font()); // the label keeps the font it is drawn in
    for (QCheckBox *right : {CheckBox9, CheckBox10, CheckBox11, CheckBox13, CheckBox14, CheckBox15})
        right->setChecked(false);
}

void TOptionsForm::BitBtn4Click()
{
    const std::optional<QFont> chosen = m_desktop.chooseFont(m_font);
    if (!chosen)
        return;
    m_font = *chosen;
    m_fontName = chosen->family();
    if (chosen->pointSize() > 0)
        m_fontSize = chosen->pointSize();
    showFont(m_font);
}

void TOptionsForm::BitBtn5Click()
{
    m_desktop.shellOpen(m_dir.helpFile());
}
