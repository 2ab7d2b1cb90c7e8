#pragma once
// The menu bar: one flat text button per top-level menu. A press on a button opens its pop-up
// below it with the first item highlighted; while a pop-up is open, Left and Right move to the
// neighbouring menu (Left only from an item of the menu itself, Right only from an item that
// opens no submenu), moving the mouse onto another button switches to its menu, and a press on
// the open button closes it. Escape leaves the button hot, and the bar then takes the keys
// (Left, Right, Down, Return, Escape) until it loses the focus. Alt and a button's mnemonic
// open that menu. The bar hooks its frame to notice when the frame is deactivated.
//
// States: 0 idle, 1 a button shown hot after Escape, 2 a pop-up open. GUI thread only.
#include "menubar/FlatToolBar.h"
#include "menubar/SubclassWnd.h"

#include <QPointer>

class QMenu;

class CMenuBar : public CFlatToolBar {
    Q_OBJECT
public:
    enum TrackingState { Idle = 0, HotAfterEscape = 1, PopupOpen = 2 };

    // frame is the window whose keys and activation the bar follows.
    explicit CMenuBar(QWidget* frame, QWidget* parent = nullptr);
    ~CMenuBar() override;

    // Shows one button per top-level item of menu (items that open a pop-up); the bar does not
    // own the menu. Returns the menu shown before.
    QMenu* LoadMenu(QMenu* menu);
    QMenu* GetMenu() const { return m_hMenu; }

    // Opens the pop-up at index and runs it, then any pop-up the user moves to, until the user
    // leaves the menus. Returns when every pop-up is closed.
    void TrackPopup(int index);

    TrackingState GetTrackingState() const { return m_iTrackingState; }
    // The pop-up being tracked (state 2), else null.
    QMenu* GetTrackedPopup() const { return m_hMenuTracking; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool KeepsHotItemOnLeave() const override { return m_iTrackingState == HotAfterEscape; }
    void DrawPressedButton(QPainter& painter, const QRect& rect, const QString& text) const override;

private:
    class FrameHook : public CSubclassWnd {
    public:
        explicit FrameHook(CMenuBar& bar) : m_bar(bar) {}
        bool WindowProc(QEvent* event) override;

    private:
        CMenuBar& m_bar;
    };

    QMenu* PopupAt(int index) const;
    void SetTrackingState(TrackingState state, int index = -1);
    bool OnMenuKey(QKeyEvent* key);
    bool OnMenuMouse(QMouseEvent* mouse);
    void SwitchTo(int index);
    void CancelMenus();
    int Neighbour(int index, int step) const;
    void AddMnemonic(int index);

    QMenu* m_hMenu = nullptr;
    QMenu* m_hMenuTracking = nullptr;
    TrackingState m_iTrackingState = Idle;
    int m_iPopupTracking = -1;
    int m_iNewPopup = -1;
    bool m_bEscapeWasPressed = false;
    QPoint m_ptMouse;
    QPointer<QWidget> m_pFocusBefore;
    FrameHook m_frameHook;
};
