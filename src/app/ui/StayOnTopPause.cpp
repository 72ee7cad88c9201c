#include "StayOnTopPause.h"

#include <QApplication>
#include <QWidget>
#include <QWindow>

StayOnTopPause::StayOnTopPause(const QWidget &modal)
{
    // The native window's flags, not the widget's: a modal shown from within
    // another finds the windows already lowered and leaves them to the outer
    // one to restore.
    for (QWidget *window : QApplication::topLevelWidgets()) {
        QWindow *native = window->windowHandle();
        if (window == &modal || !window->isVisible() || !native || !(native->flags() & Qt::WindowStaysOnTopHint))
            continue;
        native->setFlag(Qt::WindowStaysOnTopHint, false);
        m_lowered.append(window);
    }
}

StayOnTopPause::~StayOnTopPause()
{
    for (const QPointer<QWidget> &window : m_lowered) {
        if (window && window->windowHandle())
            window->windowHandle()->setFlag(Qt::WindowStaysOnTopHint, true);
    }
}
