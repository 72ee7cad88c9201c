#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

// The bar that long work shows once it has run a while: what is being done,
// how far it has come, and "Отмена". Closing the window, by its frame or by
// Escape, asks the same as "Отмена"; the window stays until the work ends.
class WorkProgressDialog : public QDialog
{
    Q_OBJECT

public:
    WorkProgressDialog(const QString &text, QWidget *parent);

    // From 0 to WorkProgress::kScale.
    void setValue(int value);

signals:
    void stopRequested();

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    void onCancelClicked();

    QLabel *m_textLabel;
    QProgressBar *m_progressBar;
    QPushButton *m_cancelButton;
};
