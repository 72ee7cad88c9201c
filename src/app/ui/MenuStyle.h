#pragma once

#include <QProxyStyle>

// The look of the window's menus: a separator stands in a band of its own
// with the line in the middle, so that one opening a menu reads as a line
// and not as part of the menu's frame.
class MenuStyle : public QProxyStyle
{
    Q_OBJECT

public:
    // The one instance, owned by the application so that it outlives every
    // menu that uses it.
    static MenuStyle *shared();

    QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                           const QWidget *widget) const override;
};
