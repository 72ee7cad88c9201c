#include "StatusPanels.h"

#include <QLabel>

StatusPanels::StatusPanels(QWidget *parent)
    : QStatusBar(parent)
{
    setObjectName(QStringLiteral("StatusBar1"));
    setSizeGripEnabled(true);
    setFixedHeight(19);
    QFont panelFont(QStringLiteral("Tahoma"));
    panelFont.setPointSize(8);
    setFont(panelFont);
    const QString initial[3] = {QStringLiteral("Всего записей:"), QStringLiteral("Имя:"), QStringLiteral("Состояние")};
    for (int i = 0; i < 3; ++i) {
        m_panels[i] = new QLabel(initial[i], this);
        m_panels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i)); // Panel1 is the notice panel
        m_panels[i]->setFrameShape(QFrame::StyledPanel);
        m_panels[i]->setFrameShadow(QFrame::Sunken);
        if (i < 2)
            m_panels[i]->setFixedWidth(200);
        addWidget(m_panels[i], i == 2 ? 1 : 0);
    }
}

QString StatusPanels::text(int panel) const
{
    return m_panels[panel]->text();
}

void StatusPanels::setText(int panel, const QString &text)
{
    m_panels[panel]->setText(text);
}
