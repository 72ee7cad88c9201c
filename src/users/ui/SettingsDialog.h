#pragma once

#include "SettingControls.h"
#include "base/Counts.h"
#include "base/ProgramDir.h"

#include <QDialog>
#include <QFont>

#include <array>

class DesktopServices;
class ErrorReporter;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class Settings;

// The program settings: the look of the table, start-up, the default column
// titles of new databases (config.ini), the login question and the rights of
// moderators and other Roles (other.dat). Each control is declared once with
// its key and its default (SettingControls): it is loaded from the files when
// the window is shown, written back on OK and reset by "По умолчанию";
// nothing is kept between two openings. OK refuses, before anything is
// written, a default title or font name that config.ini would not give back
// exactly.
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

    SettingControls m_controls; // every control that shows a setting
    QTabWidget *m_tabs;
    QWidget *m_columnsTab;
    std::array<QLineEdit *, kColumnCount> m_defaultTitleEdits; // the default titles of columns 0 to 7
    QLabel *m_fontLabel;
    QPushButton *m_cancelButton;
    QPushButton *m_okButton;
    QPushButton *m_defaultsButton;
    QPushButton *m_changeFontButton;
    QPushButton *m_helpButton;
};
