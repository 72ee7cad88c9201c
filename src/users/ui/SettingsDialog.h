#pragma once

#include "base/Counts.h"
#include "base/ProgramDir.h"

#include <QDialog>
#include <QFont>

#include <array>

class DesktopServices;
class ErrorReporter;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class Settings;

// The program settings: the look of the table, start-up, the default column
// titles of new databases (config.ini), the login question and the rights of
// moderators and other Roles (other.dat). Every control is loaded from the
// files when the window is shown and written back on OK; nothing is kept
// between two openings. OK refuses, before anything is written, a default
// title or font name that config.ini would not give back exactly.
class SettingsDialog : public QDialog
{
    Q_OBJECT

public:
    SettingsDialog(Settings &settings, DesktopServices &desktop, ErrorReporter &errors, const ProgramDir &dir,
                   QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void loadFromFiles();
    // Whether a default title or the font name would not read back exactly
    // from config.ini; the user has been told which and why.
    bool refuseUnstorable();
    void onSaveClicked();
    void onRestoreDefaultsClicked();
    void onChangeFontClicked();
    void onHelpClicked();

    QWidget *buildGeneralTab();
    QWidget *buildColumnsTab();
    QWidget *buildRightsTab();
    // The font the table will take: only its name and size are stored;
    // m_fontLabel shows them, drawn in drawingFont.
    void showFont(const QFont &drawingFont);

    Settings &m_settings;
    DesktopServices &m_desktop;
    ErrorReporter &m_errors;
    ProgramDir m_dir;
    QString m_fontName;
    int m_fontSize = 8;
    QFont m_font; // what the font dialog starts from

    QTabWidget *m_tabs;
    QWidget *m_columnsTab;
    QCheckBox *m_savePositionCheck;
    QCheckBox *m_saveSizeCheck;
    QCheckBox *m_askLoginCheck;
    QCheckBox *m_quickStartCheck;
    QRadioButton *m_alignLeftRadio;
    QRadioButton *m_alignCenterRadio;
    QRadioButton *m_alignRightRadio;
    QCheckBox *m_moderatorEditBasesCheck;
    QCheckBox *m_moderatorEditUsersCheck;
    QCheckBox *m_moderatorEditSettingsCheck;
    std::array<QLineEdit *, kColumnCount> m_defaultTitleEdits; // the default titles of columns 0 to 7
    QLabel *m_fontLabel;
    // The rights of every Role other than "admin" and "moder" ([Prava]).
    QCheckBox *m_userEditBasesCheck;
    QCheckBox *m_userSaveBasesCheck;
    QCheckBox *m_userEditSettingsCheck;
    QCheckBox *m_userOpenManagerCheck;
    QCheckBox *m_userAddUsersCheck;
    QCheckBox *m_userUpdateProgramCheck;
    QPushButton *m_cancelButton;
    QPushButton *m_okButton;
    QPushButton *m_defaultsButton;
    QPushButton *m_changeFontButton;
    QPushButton *m_helpButton;
};
