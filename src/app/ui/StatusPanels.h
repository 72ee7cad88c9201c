#pragma once

#include <QStatusBar>
#include <QTimer>

class QLabel;

// The status bar's three panels: record count (200 pixels), file name (200
// pixels) and the state of the program, which takes the rest. A command's
// short note (the find's "Поиск продолжен с начала") shows beside them for a
// while without hiding any. Every text shows as plain text: a file name or a
// text to find may look like markup.
class StatusPanels : public QStatusBar
{
    Q_OBJECT

public:
    enum Panel { RecordCount, FileName, State };

    explicit StatusPanels(QWidget *parent = nullptr);

    QString text(Panel panel) const;
    void setText(Panel panel, const QString &text);

    // Shows the note for the given time; an empty one clears it at once.
    void showNote(const QString &text, int milliseconds);
    QString note() const;

private:
    QLabel *m_panels[3];
    QLabel *m_note;
    QTimer m_noteTimer;
};
