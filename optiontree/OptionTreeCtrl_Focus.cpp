// Moving the focused row through the visible list and scrolling a row into view.
#include "optiontree/OptionTreeCtrl.h"

#include "optiontree/OptionTreeRowsWnd.h"

void COptionTreeCtrl::SetFocusedItem(COptionTreeItemBase* item)
{
    if (item && (item->m_owner != this || item == &m_root))
        return;
    m_focused = item;
    EnsureVisible(item);
    Repaint();
}

void COptionTreeCtrl::MoveFocusTo(COptionTreeItemBase* target, FocusTarget accepted)
{
    COptionTreeItemBase* old = m_focused;
    if (target || accepted == FocusTarget::AnyOrNone)
        SetFocusedItem(target);
    if (m_focused) {
        SelectItems(nullptr, FALSE);
        m_focused->Select(TRUE);
    }
    if (m_focused != old)
        SendNotify(NotifyFocusChanged, m_focused);
}

COptionTreeItemBase* COptionTreeCtrl::FocusFirst()
{
    COptionTreeItemBase* target = GetVisibleHead();
    MoveFocusTo(target, FocusTarget::AnyOrNone);
    return target;
}

COptionTreeItemBase* COptionTreeCtrl::FocusLast()
{
    COptionTreeItemBase* target = LastVisible();
    MoveFocusTo(target, FocusTarget::RowOnly);
    return target;
}

COptionTreeItemBase* COptionTreeCtrl::FocusNext()
{
    COptionTreeItemBase* target = GetVisibleHead();
    if (m_focused)
        target = IsInVisibleList(m_focused) ? m_focused->m_nextVisible : nullptr;
    MoveFocusTo(target, FocusTarget::RowOnly);
    return target;
}

COptionTreeItemBase* COptionTreeCtrl::FocusPrev()
{
    COptionTreeItemBase* target = LastVisible();
    if (m_focused)
        target = VisibleBefore(m_focused);
    MoveFocusTo(target, FocusTarget::RowOnly);
    return target;
}

void COptionTreeCtrl::EnsureVisible(COptionTreeItemBase* item)
{
    if (!item || !m_rows)
        return;
    if (!IsInVisibleList(item)) {
        for (COptionTreeItemBase* ancestor = item->m_parent; ancestor; ancestor = ancestor->m_parent)
            ancestor->Expand(TRUE);
        UpdateList();
    }
    if (IsInVisibleList(item))
        ScrollToShow(item);
}

void COptionTreeCtrl::ScrollToShow(const COptionTreeItemBase* item)
{
    // The row counts as shown when its top-left lies in the client area shortened by one row.
    const QRect client = m_rows->ClientRect();
    const QPoint location = item->m_location;
    const int top = m_yOffset;
    const int reducedBottom = m_yOffset + client.height() - item->m_height;
    const bool inside = location.x() >= 0 && location.x() < client.width()
        && location.y() >= top && location.y() < reducedBottom;
    if (inside)
        return;
    if (location.y() < top)
        m_rows->ScrollTo(location.y());
    else
        m_rows->ScrollTo(top + location.y() + item->m_height - reducedBottom);
}
