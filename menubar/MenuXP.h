#pragma once
// The flat look of the program's menus: every pop-up of a marked window is measured and drawn
// here instead of by the style (a light icon column, blended highlight colours, a flat border
// joined to the open menu-bar button, and a soft shadow). InstallMenuHook, called once at
// start-up, applies the look to every QMenu that opens for a marked window, so that menus made
// anywhere (the file list's context menu, an editor's context menu) need nothing of their own.
// GUI thread only.
#include <QIcon>
#include <QRect>
#include <QString>

#include <cstdint>
#include <vector>

class QChar;
class QFontMetrics;
class QMenu;
class QPainter;
class QWidget;

// Marks (or unmarks) a top-level window whose menus take the flat look.
void SetMenuXPWindow(QWidget* window, bool on);
bool IsMenuXPWindow(const QWidget* window);

// The window a pop-up belongs to: that of the widget that opened it, through any parent menus;
// for a menu without a parent, the active window.
QWidget* MenuOwnerWindow(const QMenu* menu);

// The measure of one item, packed as (widest text << 16) | (widest shortcut << 8) | item height
// for items, and the height alone for separators. Widths and heights are pixels.
using MenuItemData = std::uint32_t;

// One entry per action of the pop-up: the widest text (before the tab, first "&" removed), the
// widest shortcut (after the tab) and the item height, all measured in the menu's font.
std::vector<MenuItemData> ConvertMenu(const QMenu& menu);

// The item height: text height + 6 once text height + 2 exceeds 16, else 20; a separator is
// half a text height + 2.
int MenuItemHeight(const QFontMetrics& metrics);
int MenuSeparatorHeight(const QFontMetrics& metrics);

// Width and height of a pop-up item from its data: widest text + widest shortcut + 42, as the
// system lays out owner-drawn items before it adds the check-mark column of kSystemCheckWidth.
// A separator's data is its height; its width is 0.
QSize MeasureMenuItem(MenuItemData data);
inline constexpr int kSystemCheckWidth = 12;

struct MenuItemDraw {
    QRect rect;     // the item, in the painter's coordinates
    QString text;   // "&" marks the mnemonic, "\t" starts the right-aligned shortcut
    QIcon icon;
    bool separator = false;
    bool highlighted = false;
    bool disabled = false;
    bool checked = false;
    bool hasSubmenu = false;
    bool topLevel = false; // an open menu-bar button rather than a pop-up item
};

// Paints one item: background, highlight, check box, icon and texts (text at 30 pixels from
// the left, shortcut right-aligned 12 pixels from the right). The painter's font is used.
void DrawMenuItem(QPainter& painter, const MenuItemDraw& item);

// The background of pop-up items: the icon column and, right of it, the paler item area.
void DrawMenuBackground(QPainter& painter, const QRect& rect);

// The highlight box of a hot item: a highlight-coloured frame over a pale blend of it.
void DrawHighlightBox(QPainter& painter, const QRect& rect, bool disabled);

// Position of the first item whose mnemonic ("&x", not "&&") is the typed character, compared
// upper-cased; -1 when none.
int FindMenuMnemonic(const QMenu& menu, QChar typed);

// The menu-bar button whose pop-up is open, in screen coordinates, so that the pop-up hanging
// below it can join its border to it. An empty rectangle forgets it.
void RememberMenuBarItem(const QRect& screenRect);
QRect RememberedMenuBarItem();

// Installs the process-wide hook once; later calls only count. The hook stays.
void InstallMenuHook();
