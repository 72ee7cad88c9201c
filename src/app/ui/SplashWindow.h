#pragma once

#include <QWidget>

class QLabel;

// The window shown while the program loads: a drawn picture, the version, the
// author line, the web address and a status text that steps through loading.
class SplashWindow : public QWidget
{
    Q_OBJECT

public:
    explicit SplashWindow(QWidget *parent = nullptr);

    // Shows a status text at once.
    void setStatus(const QString &text);
    QString status() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QLabel *m_statusLabel;
};
