#include "menubar/SubclassWnd.h"

#include <QEvent>
#include <QWidget>

#include <map>

// The event filter that stands in for a window's replaced procedure: one per hooked window,
// holding the window's first hook.
class SubclassChain : public QObject {
public:
    explicit SubclassChain(QWidget* window)
        : m_window(window)
    {
        window->installEventFilter(this);
        connect(window, &QObject::destroyed, this, [this] { ReleaseAll(); });
    }

    static std::map<QWidget*, SubclassChain*>& Chains()
    {
        static std::map<QWidget*, SubclassChain*> chains;
        return chains;
    }

    static void Install(CSubclassWnd* hook, QWidget* window)
    {
        SubclassChain*& chain = Chains()[window];
        if (!chain)
            chain = new SubclassChain(window);
        hook->m_pWndHooked = window;
        hook->m_pNext = chain->m_first;
        chain->m_first = hook;
    }

    static void Remove(CSubclassWnd* hook)
    {
        const auto found = Chains().find(hook->m_pWndHooked);
        hook->m_pWndHooked = nullptr;
        if (found == Chains().end())
            return;
        SubclassChain* chain = found->second;
        CSubclassWnd** link = &chain->m_first;
        while (*link && *link != hook)
            link = &(*link)->m_pNext;
        if (*link)
            *link = hook->m_pNext;
        hook->m_pNext = nullptr;
        if (!chain->m_first)
            chain->Detach(found);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        return watched == m_window && m_first && m_first->WindowProc(event);
    }

private:
    void ReleaseAll()
    {
        for (CSubclassWnd* hook = m_first; hook;) {
            CSubclassWnd* next = hook->m_pNext;
            hook->m_pWndHooked = nullptr;
            hook->m_pNext = nullptr;
            hook = next;
        }
        m_first = nullptr;
        Chains().erase(m_window);
        // Not deleted at once: the window's destruction may be reporting from inside an event.
        deleteLater();
    }

    // Called from inside an event when a hook leaves the chain it is serving, hence deleteLater.
    void Detach(std::map<QWidget*, SubclassChain*>::iterator entry)
    {
        m_window->removeEventFilter(this);
        disconnect(m_window, nullptr, this, nullptr);
        Chains().erase(entry);
        deleteLater();
    }

    // Used only as a key once the window is being destroyed.
    QWidget* const m_window;
    CSubclassWnd* m_first = nullptr;
};

CSubclassWnd::~CSubclassWnd()
{
    HookWindow(nullptr);
}

BOOL CSubclassWnd::HookWindow(QWidget* window)
{
    if (m_pWndHooked)
        SubclassChain::Remove(this);
    if (window)
        SubclassChain::Install(this, window);
    return TRUE;
}

bool CSubclassWnd::WindowProc(QEvent* event)
{
    return m_pNext && m_pNext->WindowProc(event);
}
