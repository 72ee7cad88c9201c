#include "MenuStyle.h"

#include <QCoreApplication>
#include <QPointer>
#include <QStyleOptionMenuItem>

#include <algorithm>

namespace {
constexpr int kSeparatorBand = 7;
}

MenuStyle *MenuStyle::shared()
{
    static QPointer<MenuStyle> style;
    if (!style) {
        style = new MenuStyle;
        style->setParent(QCoreApplication::instance());
    }
    return style;
}

QSize MenuStyle::sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                                  const QWidget *widget) const
{
    QSize hint = QProxyStyle::sizeFromContents(type, option, size, widget);
    if (type == CT_MenuItem) {
        const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
        if (item && item->menuItemType == QStyleOptionMenuItem::Separator && item->text.isEmpty())
            hint.setHeight(std::max(hint.height(), kSeparatorBand));
    }
    return hint;
}
