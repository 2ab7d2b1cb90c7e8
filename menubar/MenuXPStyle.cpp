#include "menubar/MenuXPStyle.h"

#include "menubar/MenuXP.h"

#include <QMenu>
#include <QStyleOptionMenuItem>

CMenuXPStyle::CMenuXPStyle() = default;

int CMenuXPStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const
{
    switch (metric) {
    case PM_MenuPanelWidth: return kBorderWidth;
    case PM_MenuHMargin:
    case PM_MenuVMargin:
    case PM_MenuDesktopFrameWidth: return 0;
    default: return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

QSize CMenuXPStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                     const QWidget* widget) const
{
    const auto* menu = qobject_cast<const QMenu*>(widget);
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (type != CT_MenuItem || !menu || !item)
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    // A separator of no width would count as empty and take no room.
    if (item->menuItemType == QStyleOptionMenuItem::Separator)
        return QSize(1, MenuSeparatorHeight(menu->fontMetrics()));
    for (const MenuItemData data : ConvertMenu(*menu)) {
        if (data <= 0xFF)
            continue;
        // The menu adds the widest shortcut to every item itself.
        const int shortcut = int((data >> 8) & 0xFF);
        const QSize measured = MeasureMenuItem(data);
        return QSize(measured.width() + kSystemCheckWidth - shortcut, measured.height());
    }
    return QProxyStyle::sizeFromContents(type, option, size, widget);
}

int CMenuXPStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                            QStyleHintReturn* returnData) const
{
    if (hint == SH_Menu_AllowActiveAndDisabled)
        return 1;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}
