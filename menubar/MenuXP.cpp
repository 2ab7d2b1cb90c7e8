#include "menubar/MenuXP.h"

#include "menubar/MenuColors.h"
#include "menubar/MenuXPHook.h"
#include "platform/SysColors.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMenu>
#include <QPainter>
#include <QStyle>

#include <algorithm>

namespace {

constexpr const char* kMenuXPProperty = "XPWndProp_MenuXP";
constexpr int kIconColumn = 22;
constexpr int kTextLeft = 30;
constexpr int kShortcutRight = 12;
constexpr int kTopLevelShadow = 4;

QColor Sys(int index)
{
    return ToQColor(GetSysColor(index));
}

QColor Adjusted(int index, int lightness, int saturation)
{
    return ToQColor(AdjustSysColor(index, lightness, saturation));
}

QString TextPart(const QString& text)
{
    return text.section(QLatin1Char('\t'), 0, 0);
}

QString ShortcutPart(const QString& text)
{
    return text.section(QLatin1Char('\t'), 1);
}

QString WithoutFirstAmpersand(QString text)
{
    const int ampersand = text.indexOf(QLatin1Char('&'));
    if (ampersand >= 0)
        text.remove(ampersand, 1);
    return text;
}

MenuItemData PackItemData(int widestText, int widestShortcut, int height)
{
    return (MenuItemData(std::clamp(widestText, 0, 0xFFFF)) << 16)
        | (MenuItemData(std::clamp(widestShortcut, 0, 0xFF)) << 8) | MenuItemData(std::clamp(height, 0, 0xFF));
}

int TextFlags()
{
    const bool cues = QApplication::style()->styleHint(QStyle::SH_UnderlineShortcut);
    return Qt::AlignVCenter | Qt::TextSingleLine | (cues ? Qt::TextShowMnemonic : Qt::TextHideMnemonic);
}

void DrawSeparator(QPainter& painter, const QRect& rect)
{
    DrawMenuBackground(painter, rect);
    const int middle = rect.top() + rect.height() / 2;
    painter.setPen(Adjusted(COLOR_BTNFACE, -18, 0));
    painter.drawLine(rect.left() + kTextLeft, middle, rect.right(), middle);
}

// The open menu-bar button: a frame 4 pixels narrower than the item, and a soft shadow in
// those 4 pixels that darkens what was painted there.
void DrawOpenTopLevel(QPainter& painter, const QRect& rect)
{
    const QRect box = rect.adjusted(0, 0, -kTopLevelShadow, 0);
    painter.setPen(Sys(COLOR_3DDKSHADOW));
    painter.setBrush(Adjusted(COLOR_BTNFACE, 20, 0));
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    painter.setBrush(Qt::NoBrush);
    for (int depth = 0; depth < kTopLevelShadow; ++depth) {
        const QRect band(box.right() + 1 + depth, box.top() + kTopLevelShadow, 1, box.height() - kTopLevelShadow);
        painter.fillRect(band, QColor(0, 0, 0, 22 + 15 * (kTopLevelShadow - 1 - depth)));
    }
}

void DrawCheckBox(QPainter& painter, const MenuItemDraw& item)
{
    const QRect box(QPoint(item.rect.left() + 1, item.rect.top() + 1), QPoint(item.rect.left() + 19, item.rect.bottom() - 1));
    QColor fill = item.highlighted ? Adjusted(COLOR_HIGHLIGHT, 50, -50) : Adjusted(COLOR_HIGHLIGHT, 70, -57);
    if (item.disabled)
        fill = Adjusted(COLOR_BTNFACE, 73, 0);
    painter.setPen(Sys(COLOR_HIGHLIGHT));
    painter.setBrush(fill);
    painter.drawRect(box);
    painter.setBrush(Qt::NoBrush);
    if (!item.icon.isNull())
        return;
    const QPoint centre = box.center();
    painter.setPen(QPen(Sys(COLOR_MENUTEXT), 2));
    painter.drawPolyline(QPolygon({centre + QPoint(-4, 0), centre + QPoint(-1, 3), centre + QPoint(4, -3)}));
}

void DrawTexts(QPainter& painter, const MenuItemDraw& item)
{
    painter.setPen(item.disabled ? Adjusted(COLOR_BTNFACE, -18, 0) : Sys(COLOR_MENUTEXT));
    if (item.topLevel) {
        const QRect box = item.rect.adjusted(0, 0, -kTopLevelShadow, 0);
        painter.drawText(box, TextFlags() | Qt::AlignHCenter, item.text);
        return;
    }
    painter.drawText(item.rect.adjusted(kTextLeft, 0, 0, 0), TextFlags() | Qt::AlignLeft, TextPart(item.text));
    const QString shortcut = ShortcutPart(item.text);
    if (!shortcut.isEmpty())
        painter.drawText(item.rect.adjusted(0, 0, -kShortcutRight, 0), TextFlags() | Qt::AlignRight, shortcut);
}

void DrawSubmenuArrow(QPainter& painter, const MenuItemDraw& item)
{
    const QPoint tip(item.rect.right() - kShortcutRight + 4, item.rect.center().y());
    painter.setPen(Qt::NoPen);
    painter.setBrush(item.disabled ? Adjusted(COLOR_BTNFACE, -18, 0) : Sys(COLOR_MENUTEXT));
    painter.drawPolygon(QPolygon({tip, tip + QPoint(-4, -4), tip + QPoint(-4, 4)}));
    painter.setBrush(Qt::NoBrush);
}

void DrawIcon(QPainter& painter, const MenuItemDraw& item)
{
    const int left = item.rect.left() + (item.highlighted ? 4 : 3);
    const QRect target(left, item.rect.top() + (item.rect.height() - 16) / 2, 16, 16);
    item.icon.paint(&painter, target, Qt::AlignCenter, item.disabled ? QIcon::Disabled : QIcon::Normal);
}

} // namespace

void SetMenuXPWindow(QWidget* window, bool on)
{
    window->setProperty(kMenuXPProperty, on ? QVariant(1) : QVariant());
}

bool IsMenuXPWindow(const QWidget* window)
{
    return window && window->property(kMenuXPProperty).isValid();
}

QWidget* MenuOwnerWindow(const QMenu* menu)
{
    QWidget* owner = menu->parentWidget();
    while (qobject_cast<QMenu*>(owner) && owner->parentWidget())
        owner = owner->parentWidget();
    return owner ? owner->window() : QApplication::activeWindow();
}

int MenuItemHeight(const QFontMetrics& metrics)
{
    return metrics.height() + 2 > 16 ? metrics.height() + 6 : 20;
}

int MenuSeparatorHeight(const QFontMetrics& metrics)
{
    return metrics.height() / 2 + 2;
}

std::vector<MenuItemData> ConvertMenu(const QMenu& menu)
{
    const QFontMetrics metrics = menu.fontMetrics();
    int widestText = 0;
    int widestShortcut = 0;
    for (const QAction* action : menu.actions()) {
        if (action->isSeparator())
            continue;
        widestText = std::max(widestText, metrics.horizontalAdvance(WithoutFirstAmpersand(TextPart(action->text()))));
        widestShortcut = std::max(widestShortcut, metrics.horizontalAdvance(ShortcutPart(action->text())));
    }
    const MenuItemData itemData = PackItemData(widestText, widestShortcut, MenuItemHeight(metrics));
    std::vector<MenuItemData> data;
    for (const QAction* action : menu.actions())
        data.push_back(action->isSeparator() ? MenuItemData(MenuSeparatorHeight(metrics)) : itemData);
    return data;
}

QSize MeasureMenuItem(MenuItemData data)
{
    if (data <= 0xFF)
        return QSize(0, int(data));
    return QSize(int(data >> 16) + int((data >> 8) & 0xFF) + 42, int(data & 0xFF));
}

void DrawMenuBackground(QPainter& painter, const QRect& rect)
{
    painter.fillRect(QRect(rect.left(), rect.top(), kIconColumn, rect.height()), Adjusted(COLOR_BTNFACE, 20, 0));
    painter.fillRect(rect.adjusted(kIconColumn, 0, 0, 0), Adjusted(COLOR_BTNFACE, 75, 0));
}

void DrawHighlightBox(QPainter& painter, const QRect& rect, bool disabled)
{
    painter.setPen(Sys(COLOR_HIGHLIGHT));
    painter.setBrush(disabled ? Adjusted(COLOR_BTNFACE, 73, 0) : Adjusted(COLOR_HIGHLIGHT, 70, -57));
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    painter.setBrush(Qt::NoBrush);
}

void DrawMenuItem(QPainter& painter, const MenuItemDraw& item)
{
    painter.save();
    if (item.topLevel)
        DrawOpenTopLevel(painter, item.rect);
    else if (item.separator)
        DrawSeparator(painter, item.rect);
    else if (item.highlighted)
        DrawHighlightBox(painter, item.rect, item.disabled);
    else
        DrawMenuBackground(painter, item.rect);
    if (!item.separator && !item.topLevel) {
        if (item.checked)
            DrawCheckBox(painter, item);
        if (!item.icon.isNull())
            DrawIcon(painter, item);
        if (item.hasSubmenu)
            DrawSubmenuArrow(painter, item);
    }
    if (!item.separator)
        DrawTexts(painter, item);
    painter.restore();
}

int FindMenuMnemonic(const QMenu& menu, QChar typed)
{
    const QChar wanted = typed.toUpper();
    const QList<QAction*> actions = menu.actions();
    for (int position = 0; position < actions.size(); ++position) {
        const QString text = actions[position]->text();
        for (int i = text.indexOf(QLatin1Char('&')); i >= 0 && i + 1 < text.size(); i = text.indexOf(QLatin1Char('&'), i + 2)) {
            if (text[i + 1] != QLatin1Char('&') && text[i + 1].toUpper() == wanted)
                return position;
        }
    }
    return -1;
}

namespace {

QRect& MenuBarItem()
{
    static QRect item;
    return item;
}

} // namespace

void RememberMenuBarItem(const QRect& screenRect)
{
    MenuBarItem() = screenRect;
}

QRect RememberedMenuBarItem()
{
    return MenuBarItem();
}

void InstallMenuHook()
{
    CMenuXPHook::Install();
}
