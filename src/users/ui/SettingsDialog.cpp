#include "SettingsDialog.h"

#include "base/DesktopServices.h"
#include "base/ErrorReporter.h"
#include "base/SettingKeys.h"
#include "base/Settings.h"
#include "base/SettingsBatch.h"
#include "base/SingleLineValidator.h"
#include "base/ui/DialogParts.h"

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

// The caption of a default title's box, without its colon.
QString defaultTitleField(int column)
{
    return column == 0 ? QStringLiteral("Дополнит.") : QStringLiteral("%1 столбец").arg(column);
}

QFont drawingFont(const QString &name, int size)
{
    QFont font(name);
    font.setPointSize(std::max(1, size));
    return font;
}

} // namespace

SettingsDialog::SettingsDialog(Settings &settings, DesktopServices &desktop, ErrorReporter &errors,
                               const ProgramDir &dir, QWidget *parent)
    : QDialog(parent,
              Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                  | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , m_settings(settings)
    , m_desktop(desktop)
    , m_errors(errors)
    , m_dir(dir)
{
    DialogParts::setUpDialog(*this, QStringLiteral("SettingsDialog"),
                             QStringLiteral("Tablora 1.5 [Основные настройки]"), QSize(424, 398));

    m_tabs = named(new QTabWidget(this), QStringLiteral("tabs"));
    m_tabs->setGeometry(3, 3, 414, 358);
    // The three captions fit the page's width only a pixel smaller than the
    // dialog's font.
    QFont tabFont = font();
    tabFont.setPixelSize(12);
    m_tabs->tabBar()->setFont(tabFont);
    m_tabs->addTab(buildGeneralTab(), QStringLiteral("Общие"));
    m_tabs->addTab(buildColumnsTab(), QStringLiteral("Столбцы по умолчанию"));
    m_tabs->addTab(buildRightsTab(), QStringLiteral("Права пользователей"));

    m_defaultsButton = DialogParts::button(this, QStringLiteral("defaultsButton"), QStringLiteral("По умолчанию"),
                                           {8, 368, 105, 25});
    m_okButton = DialogParts::button(this, QStringLiteral("okButton"), QStringLiteral("OK"), {168, 368, 75, 25});
    m_okButton->setDefault(true);
    m_cancelButton = DialogParts::button(this, QStringLiteral("cancelButton"), QStringLiteral("Отмена"),
                                         {248, 368, 83, 25});
    m_helpButton = DialogParts::button(this, QStringLiteral("helpButton"), QStringLiteral("Помощь"),
                                       {336, 368, 83, 25});

    DialogParts::onClick(m_okButton, m_errors, [this] { onSaveClicked(); });
    DialogParts::onClick(m_defaultsButton, m_errors, [this] { onRestoreDefaultsClicked(); });
    DialogParts::onClick(m_changeFontButton, m_errors, [this] { onChangeFontClicked(); });
    DialogParts::onClick(m_helpButton, m_errors, [this] { onHelpClicked(); });
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    DialogParts::centreOnDesktop(*this);
}

QWidget *SettingsDialog::buildGeneralTab()
{
    auto *tab = named(new QWidget, QStringLiteral("generalTab"));
    m_savePositionCheck = checkBox(QStringLiteral("savePositionCheck"), QStringLiteral("Сохранять позицию окна"));
    m_saveSizeCheck = checkBox(QStringLiteral("saveSizeCheck"), QStringLiteral("Помнить размеры окна"));
    m_askLoginCheck = checkBox(QStringLiteral("askLoginCheck"), QStringLiteral("*Спрашивать логин/пароль при входе"));
    m_quickStartCheck = checkBox(QStringLiteral("quickStartCheck"), QStringLiteral("Быстрый запуск"));

    m_alignLeftRadio = named(new QRadioButton(QStringLiteral("По левому")), QStringLiteral("alignLeftRadio"));
    m_alignCenterRadio = named(new QRadioButton(QStringLiteral("По центру")), QStringLiteral("alignCenterRadio"));
    m_alignRightRadio = named(new QRadioButton(QStringLiteral("По правому")), QStringLiteral("alignRightRadio"));
    auto *sideBySide = new QHBoxLayout;
    for (QRadioButton *r : {m_alignLeftRadio, m_alignCenterRadio, m_alignRightRadio})
        sideBySide->addWidget(r);

    // A moderator always has the database rights.
    m_moderatorEditBasesCheck = checkBox(QStringLiteral("moderatorEditBasesCheck"),
                                         QStringLiteral("Редактирование баз данных"));
    m_moderatorEditBasesCheck->setChecked(true);
    m_moderatorEditBasesCheck->setEnabled(false);
    m_moderatorEditUsersCheck = checkBox(QStringLiteral("moderatorEditUsersCheck"),
                                         QStringLiteral("Изменение списка пользователей"));
    m_moderatorEditSettingsCheck = checkBox(QStringLiteral("moderatorEditSettingsCheck"),
                                            QStringLiteral("Полная настройка программы"));

    auto *note = named(
        new QLabel(QStringLiteral("* - Если снята галочка, то любой пользователь будет иметь права администратора")),
        QStringLiteral("askLoginNote"));
    note->setWordWrap(true);

    auto *layout = tabLayout(tab);
    layout->addWidget(group(QStringLiteral("interfaceGroup"), QStringLiteral("Интерфейс"),
                            column({m_savePositionCheck, m_saveSizeCheck, m_askLoginCheck, m_quickStartCheck})));
    layout->addWidget(group(QStringLiteral("alignmentGroup"), QStringLiteral("Выравнивание в таблице"), sideBySide));
    layout->addWidget(
        group(QStringLiteral("moderatorRightsGroup"), QStringLiteral("Права модератора"),
              column({m_moderatorEditBasesCheck, m_moderatorEditUsersCheck, m_moderatorEditSettingsCheck})));
    layout->addWidget(note);
    layout->addStretch();
    return tab;
}

QWidget *SettingsDialog::buildColumnsTab()
{
    auto *tab = named(new QWidget, QStringLiteral("columnsTab"));
    m_columnsTab = tab;

    // Two columns of four: "Дополнит.:" and "1 столбец:" to "3 столбец:",
    // then "4 столбец:" to "7 столбец:".
    auto *titles = new QGridLayout;
    auto *singleLine = new SingleLineValidator(tab); // a pasted line break becomes a space
    constexpr int kPerColumn = kColumnCount / 2;
    for (int c = 0; c < kColumnCount; ++c) {
        auto *label = named(new QLabel(defaultTitleField(c) + u':'), QStringLiteral("defaultTitleLabel%1").arg(c));
        m_defaultTitleEdits[c] = named(new QLineEdit, QStringLiteral("defaultTitleEdit%1").arg(c));
        m_defaultTitleEdits[c]->setValidator(singleLine);
        label->setBuddy(m_defaultTitleEdits[c]);
        const int row = c % kPerColumn;
        const int pair = 2 * (c / kPerColumn);
        titles->addWidget(label, row, pair);
        titles->addWidget(m_defaultTitleEdits[c], row, pair + 1);
    }

    m_changeFontButton = named(new QPushButton(QStringLiteral("Сменить")), QStringLiteral("changeFontButton"));
    m_changeFontButton->setAutoDefault(false);
    m_fontLabel = named(new QLabel, QStringLiteral("fontLabel"));
    m_fontLabel->setTextFormat(Qt::PlainText); // a font name read from config.ini
    auto *fontRow = new QHBoxLayout;
    fontRow->addWidget(m_changeFontButton);
    fontRow->addWidget(m_fontLabel, 1);

    auto *noteTitle = named(new QLabel(QStringLiteral("Примечание:")), QStringLiteral("columnsNoteTitle"));
    QFont bold = noteTitle->font();
    bold.setBold(true);
    noteTitle->setFont(bold);
    noteTitle->setStyleSheet(QStringLiteral("color: red"));
    auto *note = named(new QLabel(QStringLiteral("\"Настройки\" - \"Столбцы\" - настройка отдельн. базы")),
                       QStringLiteral("columnsNote"));
    note->setWordWrap(true);

    auto *layout = tabLayout(tab);
    layout->addWidget(group(QStringLiteral("defaultTitlesGroup"), QStringLiteral("Заголовки таблицы"), titles));
    layout->addWidget(group(QStringLiteral("tableFontGroup"), QStringLiteral("Шрифт таблицы"), fontRow));
    layout->addWidget(noteTitle);
    layout->addWidget(note);
    layout->addStretch();
    return tab;
}

QWidget *SettingsDialog::buildRightsTab()
{
    auto *tab = named(new QWidget, QStringLiteral("rightsTab"));
    m_userEditBasesCheck = checkBox(QStringLiteral("userEditBasesCheck"),
                                    QStringLiteral("Создание и редактирование баз данных"));
    m_userSaveBasesCheck = checkBox(QStringLiteral("userSaveBasesCheck"), QStringLiteral("Сохрание баз данных"));
    m_userEditSettingsCheck = checkBox(QStringLiteral("userEditSettingsCheck"), QStringLiteral("Настройка программы"));
    m_userOpenManagerCheck = checkBox(QStringLiteral("userOpenManagerCheck"),
                                      QStringLiteral("Вомзожность пользоваться менеджером пользов."));
    m_userAddUsersCheck = checkBox(QStringLiteral("userAddUsersCheck"),
                                   QStringLiteral("Возможность добавления новых пользователей"));
    m_userUpdateProgramCheck = checkBox(QStringLiteral("userUpdateProgramCheck"),
                                        QStringLiteral("Обновление программы через интернет"));
    auto *layout = tabLayout(tab);
    for (QCheckBox *right : {m_userEditBasesCheck, m_userSaveBasesCheck, m_userEditSettingsCheck,
                             m_userOpenManagerCheck, m_userAddUsersCheck, m_userUpdateProgramCheck})
        layout->addWidget(right);
    layout->addStretch();
    return tab;
}

void SettingsDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        m_errors.run([this] { loadFromFiles(); });
}

void SettingsDialog::loadFromFiles()
{
    m_savePositionCheck->setChecked(m_settings.read(Keys::savePosition()));
    m_saveSizeCheck->setChecked(m_settings.read(Keys::saveSize()));
    m_askLoginCheck->setChecked(m_settings.read(Keys::questionOnStart()));
    m_quickStartCheck->setChecked(m_settings.read(Keys::quickStart()));

    const QString align = m_settings.read(Keys::align());
    (align == kLeft ? m_alignLeftRadio : align == kCenter ? m_alignCenterRadio : m_alignRightRadio)->setChecked(true);

    m_moderatorEditUsersCheck->setChecked(m_settings.read(Keys::moderEditUsersInOptions()));
    m_moderatorEditSettingsCheck->setChecked(m_settings.read(Keys::moderEditOptions()));

    for (int c = 0; c < kColumnCount; ++c)
        m_defaultTitleEdits[c]->setText(m_settings.read(Keys::caption(c)));

    m_fontName = m_settings.read(Keys::fontNameInOptions());
    m_fontSize = m_settings.read(Keys::fontSize());
    m_font = drawingFont(m_fontName, m_fontSize);
    showFont(m_font);

    m_userEditBasesCheck->setChecked(m_settings.read(Keys::pravaEditBase()));
    m_userSaveBasesCheck->setChecked(m_settings.read(Keys::pravaSaveBase()));
    m_userEditSettingsCheck->setChecked(m_settings.read(Keys::pravaEditOptions()));
    m_userOpenManagerCheck->setChecked(m_settings.read(Keys::pravaManager()));
    m_userAddUsersCheck->setChecked(m_settings.read(Keys::pravaAddNewUsers()));
    m_userUpdateProgramCheck->setChecked(m_settings.read(Keys::pravaUpdateProgram()));
}

void SettingsDialog::showFont(const QFont &drawingFont)
{
    m_fontLabel->setText(m_fontName + QLatin1Char(' ') + QString::number(m_fontSize));
    m_fontLabel->setFont(drawingFont);
}

bool SettingsDialog::refuseUnstorable()
{
    const QString caption = windowTitle();
    for (int c = 0; c < kColumnCount; ++c) {
        if (DialogParts::refuseUnstorable(m_desktop, caption, defaultTitleField(c), m_defaultTitleEdits[c]->text())) {
            m_tabs->setCurrentWidget(m_columnsTab);
            m_defaultTitleEdits[c]->setFocus();
            return true;
        }
    }
    return DialogParts::refuseUnstorable(m_desktop, caption, QStringLiteral("Шрифт таблицы"), m_fontName);
}

void SettingsDialog::onSaveClicked()
{
    if (refuseUnstorable())
        return;
    SettingsBatch batch;
    batch.set(Keys::savePosition(), m_savePositionCheck->isChecked());
    batch.set(Keys::saveSize(), m_saveSizeCheck->isChecked());
    batch.set(Keys::questionOnStart(), m_askLoginCheck->isChecked());
    batch.set(Keys::quickStart(), m_quickStartCheck->isChecked());
    batch.set(Keys::moderEditUsers(), m_moderatorEditUsersCheck->isChecked());
    batch.set(Keys::moderEditOptions(), m_moderatorEditSettingsCheck->isChecked());
    batch.set(Keys::align(),
              m_alignLeftRadio->isChecked()         ? kLeft
                  : m_alignCenterRadio->isChecked() ? kCenter
                                                    : kRight);
    for (int c = 0; c < kColumnCount; ++c)
        batch.set(Keys::caption(c), m_defaultTitleEdits[c]->text());
    batch.set(Keys::fontName(), m_fontName);
    batch.set(Keys::fontSize(), m_fontSize);
    batch.set(Keys::pravaEditBase(), m_userEditBasesCheck->isChecked());
    batch.set(Keys::pravaSaveBase(), m_userSaveBasesCheck->isChecked());
    batch.set(Keys::pravaEditOptions(), m_userEditSettingsCheck->isChecked());
    batch.set(Keys::pravaManager(), m_userOpenManagerCheck->isChecked());
    batch.set(Keys::pravaAddNewUsers(), m_userAddUsersCheck->isChecked());
    batch.set(Keys::pravaUpdateProgram(), m_userUpdateProgramCheck->isChecked());
    // config.ini, then other.dat, each as one change; when a write fails the
    // window stays open with the edits, so the user can try again.
    m_settings.write(batch);
    accept();
}

void SettingsDialog::onRestoreDefaultsClicked()
{
    m_savePositionCheck->setChecked(true);
    m_saveSizeCheck->setChecked(true);
    m_askLoginCheck->setChecked(false);
    m_quickStartCheck->setChecked(false);
    m_alignLeftRadio->setChecked(true);
    m_moderatorEditUsersCheck->setChecked(true);
    m_moderatorEditSettingsCheck->setChecked(false);
    for (int c = 0; c < kColumnCount; ++c)
        m_defaultTitleEdits[c]->setText(Keys::caption(c).defaultValue);
    m_fontName = Keys::fontNameInOptions().defaultValue;
    m_fontSize = Keys::fontSize().defaultValue;
    m_font.setFamily(m_fontName);
    m_font.setPointSize(m_fontSize);
    showFont(m_fontLabel->font()); // the label keeps the font it is drawn in
    for (QCheckBox *right : {m_userEditBasesCheck, m_userSaveBasesCheck, m_userEditSettingsCheck,
                             m_userOpenManagerCheck, m_userAddUsersCheck, m_userUpdateProgramCheck})
        right->setChecked(false);
}

void SettingsDialog::onChangeFontClicked()
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

void SettingsDialog::onHelpClicked()
{
    m_desktop.shellOpen(m_dir.helpFile());
}
