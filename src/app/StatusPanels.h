#pragma once

#include <QStatusBar>

class QLabel;

// The status bar's three panels: record count (200 pixels), file name (200
// pixels) and the state of the program, which takes the rest.
class StatusPanels : public QStatusBar
{
    Q_OBJECT

public:
    enum Panel { RecordCount, FileName, State };

    explicit StatusPanels(QWidget *parent = nullptr);

    QString text(Panel panel) const;
    void setText(Panel panel, const QString &text);

private:
    QLabel *m_panels[3];
};
