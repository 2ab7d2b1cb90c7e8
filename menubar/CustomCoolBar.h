#pragma once
// The frame's cool bar: one band holding the menu bar, which shows the given menu. GUI thread
// only.
#include "menubar/CoolBar.h"

class CMenuBar;
class QMenu;

class CCustomCoolBar : public CCoolBar {
    Q_OBJECT
public:
    // frame is the window the menu bar follows; the menu must outlive the bar.
    CCustomCoolBar(QWidget* frame, QMenu* menu, QWidget* parent = nullptr);

    CMenuBar* GetMenuBar() const { return m_wndMenuBar; }

protected:
    bool OnCreateBands() override;

private:
    QWidget* const m_frame;
    QMenu* const m_menu;
    CMenuBar* m_wndMenuBar = nullptr;
};
