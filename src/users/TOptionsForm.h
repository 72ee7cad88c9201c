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
// between two openings.
class TOptionsForm : public QDialog
{
    Q_OBJECT

public:
    TOptionsForm(Settings &settings, DesktopServices &desktop, ErrorReporter &errors, const ProgramDir &dir,
                 QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();
    void BitBtn5Click();

    QWidget *buildGeneralTab();
    QWidget *buildColumnsTab();
    QWidget *buildRightsTab();
    // The font the table will take: only its name and size are stored;
    // Label11 shows them, drawn in drawingFont.
    void showFont(const QFont &drawingFont);

    Settings &m_settings;
    DesktopServices &m_desktop;
    ErrorReporter &m_errors;
    ProgramDir m_dir;
    QString m_fontName;
    int m_fontSize = 8;
    QFont m_font; // what the font dialog starts from

    QTabWidget *PageControl1;
    QCheckBox *CheckBox1;
    QCheckBox *CheckBox2;
    QCheckBox *CheckBox3;
    QCheckBox *CheckBox4;
    QRadioButton *RadioButton1;
    QRadioButton *RadioButton2;
    QRadioButton *RadioButton3;
    QCheckBox *CheckBox5;
    QCheckBox *CheckBox6;
    QCheckBox *CheckBox7;
    std::array<QLineEdit *, kColumnCount> Edit; // Edit1 to Edit8: default titles of columns 0 to 7
    QLabel *Label11;
    QCheckBox *CheckBox9;
    QCheckBox *CheckBox10;
    QCheckBox *CheckBox11;
    QCheckBox *CheckBox13;
    QCheckBox *CheckBox14;
    QCheckBox *CheckBox15;
    QPushButton *BitBtn1;
    QPushButton *BitBtn2;
    QPushButton *BitBtn3;
    QPushButton *BitBtn4;
    QPushButton *BitBtn5;
};
