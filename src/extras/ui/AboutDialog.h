#pragma once

#include <QDialog>

class DesktopServices;
class QLabel;

// The about box: a borderless card with the program's picture, version,
// author, site and e-mail address. The two links open the site and a mail to
// the author and leave the box open; a click anywhere else closes it.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AboutDialog(DesktopServices &desktop, QWidget *parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    enum class Style { Plain, Bold, Link };
    QLabel *addLabel(const char *name, const QString &text, QPoint at, int pixelSize, Style style);
    void onSiteClicked();
    void onMailClicked();

    DesktopServices &m_desktop;
    QLabel *m_picture = nullptr;
    QLabel *m_siteLink = nullptr;
    QLabel *m_mailLink = nullptr;
};
