#include "InputBlocker.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace {

bool isInput(const QEvent &event)
{
    switch (event.type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    case QEvent::Close:
        return event.spontaneous(); // the window manager's, not the program's own
    default:
        return false;
    }
}

} // namespace

InputBlocker::InputBlocker(QWidget *open)
    : m_open(open)
{
    qApp->installEventFilter(this);
}

InputBlocker::~InputBlocker()
{
    qApp->removeEventFilter(this);
}

bool InputBlocker::isOpen(QObject *watched) const
{
    if (!m_open)
        return false;
    if (auto *widget = qobject_cast<QWidget *>(watched))
        return widget == m_open || m_open->isAncestorOf(widget);
    if (auto *window = qobject_cast<QWindow *>(watched))
        return window == m_open->windowHandle();
    return false;
}

bool InputBlocker::eventFilter(QObject *watched, QEvent *event)
{
    if (!isInput(*event) || isOpen(watched))
        return false;
    event->ignore();
    return true;
}
