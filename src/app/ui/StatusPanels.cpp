#include "StatusPanels.h"

#include <QLabel>

StatusPanels::StatusPanels(QWidget *parent)
    : QStatusBar(parent)
{
    setObjectName(QStringLiteral("statusBar"));
    setSizeGripEnabled(true);
    setFixedHeight(19);
    QFont panelFont(QStringLiteral("Tahoma"));
    panelFont.setPointSize(8);
    setFont(panelFont);
    const QString initial[3] = {QStringLiteral("Всего записей:"), QStringLiteral("Имя:"), QStringLiteral("Состояние")};
    const QString names[3] = {QStringLiteral("recordCountPanel"), QStringLiteral("fileNamePanel"),
                              QStringLiteral("statePanel")};
    for (int i = RecordCount; i <= State; ++i) {
        m_panels[i] = new QLabel(initial[i], this);
        m_panels[i]->setObjectName(names[i]);
        m_panels[i]->setTextFormat(Qt::PlainText);
        m_panels[i]->setFrameShape(QFrame::StyledPanel);
        m_panels[i]->setFrameShadow(QFrame::Sunken);
        if (i != State)
            m_panels[i]->setFixedWidth(200);
        addWidget(m_panels[i], i == State ? 1 : 0);
    }

    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("notePanel"));
    m_note->setTextFormat(Qt::PlainText);
    m_note->setFrameShape(QFrame::StyledPanel);
    m_note->setFrameShadow(QFrame::Sunken);
    m_note->hide();
    addPermanentWidget(m_note);
    m_noteTimer.setSingleShot(true);
    connect(&m_noteTimer, &QTimer::timeout, this, [this] { showNote({}, 0); });
}

QString StatusPanels::text(Panel panel) const
{
    return m_panels[panel]->text();
}

void StatusPanels::setText(Panel panel, const QString &text)
{
    m_panels[panel]->setText(text);
}

void StatusPanels::showNote(const QString &text, int milliseconds)
{
    m_note->setText(text);
    m_note->setVisible(!text.isEmpty());
    if (text.isEmpty())
        m_noteTimer.stop();
    else
        m_noteTimer.start(milliseconds);
}

QString StatusPanels::note() const
{
    return m_note->text();
}
