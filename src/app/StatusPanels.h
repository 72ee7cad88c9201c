#pragma once

#include <QStatusBar>

class QLabel;

// The status bar's three panels: record count (200 pixels), file name (200
// pixels) and the state of the program, which takes the rest.
class StatusPanels : public QStatusBar
{
    Q_OBJECT

public:
    explicit StatusPanels(QWidget *parent = nullptr);

    QString text(int panel) const;
    void setText(int panel, const QString &text);

private:
    QLabel *m_panels[3];
};
