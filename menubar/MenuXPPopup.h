#pragma once
// One shown pop-up of the flat look: it hangs one pixel higher (so that its top border lies on
// the bottom edge of the menu-bar button that opened it), paints its border, its items and a
// soft shadow made of the screen pixels that lay under it, and executes the item whose
// mnemonic is typed. Made by the menu hook when the pop-up shows, as a child of the menu, and
// deleted when it hides. GUI thread only.
#include "menubar/SubclassWnd.h"

#include <QImage>
#include <QObject>

class QKeyEvent;
class QMenu;
class QPainter;

class CMenuXPPopup : public QObject, public CSubclassWnd {
    Q_OBJECT
public:
    // Width of the shadow band right of and below the border.
    static constexpr int kShadow = 4;

    explicit CMenuXPPopup(QMenu* menu);

    bool WindowProc(QEvent* event) override;

    // The share (per cent) of the screen pixel's brightness kept at a distance from the border
    // (0 = next to it): 78, 83, 88, 93.
    static int ShadowPercent(int distance);

private:
    void CaptureUnder();
    void PaintOwnerUnder(const QRect& area);
    void DarkenShadowBand();
    void Paint();
    QRect Body() const;
    void DrawShadow(QPainter& painter) const;
    void DrawBorder(QPainter& painter) const;
    void JoinToMenuBarItem(QPainter& painter) const;
    void DrawItems(QPainter& painter) const;
    bool ExecuteMnemonic(const QKeyEvent& key);

    QMenu* const m_menu;
    QImage m_under; // what the screen showed under the window, the shadow band darkened
};
