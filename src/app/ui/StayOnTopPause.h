#pragma once

#include <QList>
#include <QPointer>

class QWidget;

// While it lives, the program's windows that stay on top of others - the
// modeless record and column-title dialogs - stand among the ordinary
// windows, so that the modal window shown meanwhile opens above them and
// keeps the keyboard. They stay on top again when it ends. Only the native
// window's state changes: nothing is hidden or shown again, and a window
// closed meanwhile is simply passed over.
class StayOnTopPause
{
public:
    // modal is the window about to be shown; it keeps its own state.
    explicit StayOnTopPause(const QWidget &modal);
    ~StayOnTopPause();
    StayOnTopPause(const StayOnTopPause &) = delete;
    StayOnTopPause &operator=(const StayOnTopPause &) = delete;

private:
    QList<QPointer<QWidget>> m_lowered;
};
