#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

// While it lives, the user's input reaches no window but the one it leaves
// open: keys, shortcuts, clicks, the wheel, pop-up menus, drops and the
// window manager's requests to close go nowhere. For work the windows must
// not disturb: a modal window blocks the others only once it is shown, and
// the program's is shown only after the work has run a while.
class InputBlocker : public QObject
{
public:
    explicit InputBlocker(QWidget *open);
    ~InputBlocker() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool isOpen(QObject *watched) const;

    QPointer<QWidget> m_open;
};
