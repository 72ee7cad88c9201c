#pragma once

#include "base/ProgramDir.h"

#include <QDialog>
#include <QTimer>

class DesktopServices;
class ErrorReporter;
class QComboBox;
class QFrame;
class QLineEdit;
class QPushButton;
class QTableWidget;
class Settings;

// The user manager: the administrator and the ten account slots as a list of
// eleven rows, edited in a panel over the list and written back to
// data/other.dat only by "Сохранить". The list is the only copy of the
// accounts while the window is open. The panel's "OK" refuses a login or
// password that the file would not give back exactly.
class UserManagerDialog : public QDialog
{
    Q_OBJECT

public:
    // messageCaption is the caption of the window's plain message boxes.
    UserManagerDialog(Settings &settings, DesktopServices &desktop, ErrorReporter &errors, const ProgramDir &dir,
                      QString messageCaption, QWidget *parent = nullptr);

    // One tick, 200 ms after the window is first shown, loads the list.
    QTimer &loadTimer() { return m_loadTimer; }

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    enum Column { Number, Login, Password, Rights };

    void onShown();
    void onLoadTimeout();
    void onEditAccountClicked();
    void onApplyAccountClicked();
    void onDiscardAccountClicked();
    void onDeleteAccountClicked();
    void onSaveClicked();
    void onHelpClicked();

    void buildAccountPanel();
    void showAccountPanel(bool visible);
    // The list as the file holds it, unless it was loaded already: a command
    // given before the timer's tick works on the stored accounts, and the
    // tick never overwrites edits.
    void ensureLoaded();
    int selectedRow() const;
    bool refuseWithoutSelection(int row);
    QString cell(int row, Column column) const;
    void setRow(int row, const QString &login, const QString &password, const QString &rights);

    Settings &m_settings;
    DesktopServices &m_desktop;
    ErrorReporter &m_errors;
    ProgramDir m_dir;
    QString m_messageCaption;
    bool m_loaded = false;
    int m_accountPanelRow = -1; // the row the panel was opened for

    QTableWidget *m_accountList;
    QPushButton *m_saveButton;
    QPushButton *m_cancelButton;
    QPushButton *m_helpButton;
    QPushButton *m_editAccountButton;
    QPushButton *m_deleteAccountButton;
    QFrame *m_accountPanel;
    QLineEdit *m_loginEdit;
    QLineEdit *m_passwordEdit;
    QComboBox *m_roleCombo;
    QPushButton *m_applyAccountButton;
    QPushButton *m_discardAccountButton;
    QTimer m_loadTimer;
};
