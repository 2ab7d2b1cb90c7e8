#pragma once
// A chain of hooks per window: each hook sees the window's events before the window does, the
// hook installed last first. WindowProc passes an event on to the next hook and, at the end of
// the chain, to the window itself. A hook can leave the chain from any place in it, and every
// hook of a window is released when the window is destroyed. A hook unhooks itself when it is
// destroyed. GUI thread only.
#include "platform/WinTypes.h"

class QEvent;
class QWidget;

class CSubclassWnd {
public:
    CSubclassWnd() = default;
    virtual ~CSubclassWnd();
    CSubclassWnd(const CSubclassWnd&) = delete;
    CSubclassWnd& operator=(const CSubclassWnd&) = delete;

    // With a window: puts this hook in front of that window's chain (leaving any chain it was
    // in first). With none: takes it out of its chain. Returns TRUE.
    BOOL HookWindow(QWidget* window);
    BOOL IsHooked() const { return m_pWndHooked != nullptr; }
    QWidget* GetHookedWindow() const { return m_pWndHooked; }

    // Sees one event of the hooked window; true means the event is used up and goes no further.
    // The default passes the event on along the chain.
    virtual bool WindowProc(QEvent* event);

private:
    friend class SubclassChain;

    QWidget* m_pWndHooked = nullptr;
    CSubclassWnd* m_pNext = nullptr;
};
