// The visible list and what is built on it: focus movement, scrolling a row into view, hit
// testing and the label/value column boundary.
#include "optiontree/OptionTreeCtrl.h"

#include "optiontree/OptionTreeGdi.h"
#include "optiontree/OptionTreeRowsWnd.h"

void COptionTreeCtrl::ClearVisibleList()
{
    m_visibleHead = nullptr;
    m_visibleTail = nullptr;
}

void COptionTreeCtrl::AppendVisible(COptionTreeItemBase* item)
{
    item->m_nextVisible = nullptr;
    if (m_visibleTail)
        m_visibleTail->m_nextVisible = item;
    else
        m_visibleHead = item;
    m_visibleTail = item;
}

BOOL COptionTreeCtrl::IsInVisibleList(const COptionTreeItemBase* item) const
{
    for (const COptionTreeItemBase* each = m_visibleHead; each; each = each->m_nextVisible) {
        if (each == item)
            return TRUE;
    }
    return FALSE;
}

COptionTreeItemBase* COptionTreeCtrl::LastVisible() const
{
    return m_visibleTail;
}

COptionTreeItemBase* COptionTreeCtrl::VisibleBefore(const COptionTreeItemBase* item) const
{
    for (COptionTreeItemBase* each = m_visibleHead; each; each = each->m_nextVisible) {
        if (each->m_nextVisible == item)
            return each;
    }
    return nullptr;
}

void COptionTreeCtrl::SetFocusedItem(COptionTreeItemBase* item)
{
    if (item && (item->m_owner != this || item == &m_root))
        return;
    m_focused = item;
    EnsureVisible(item);
    Repaint();
}

void COptionTreeCtrl::MoveFocusTo(COptionTreeItemBase* target, BOOL always)
{
    COptionTreeItemBase* old = m_focused;
    if (always || target)
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
    COptionTreeItemBase* target = m_visibleHead;
    MoveFocusTo(target, TRUE);
    return target;
}

COptionTreeItemBase* COptionTreeCtrl::FocusLast()
{
    COptionTreeItemBase* target = LastVisible();
    MoveFocusTo(target, FALSE);
    return target;
}

COptionTreeItemBase* COptionTreeCtrl::FocusNext()
{
    COptionTreeItemBase* target = m_visibleHead;
    if (m_focused)
        target = IsInVisibleList(m_focused) ? m_focused->m_nextVisible : nullptr;
    MoveFocusTo(target, FALSE);
    return target;
}

COptionTreeItemBase* COptionTreeCtrl::FocusPrev()
{
    COptionTreeItemBase* target = LastVisible();
    if (m_focused)
        target = VisibleBefore(m_focused);
    MoveFocusTo(target, FALSE);
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
        m_rows->RepaintNow();
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

COptionTreeItemBase* COptionTreeCtrl::ItemAt(const QPoint& point) const
{
    const int y = point.y() + m_yOffset;
    for (COptionTreeItemBase* each = m_visibleHead; each; each = each->m_nextVisible) {
        if (each->m_location.y() <= y && y < each->m_location.y() + each->m_height)
            return each;
    }
    return nullptr;
}

COptionTreeCtrl::HitResult COptionTreeCtrl::HitTest(const QPoint& point) const
{
    const COptionTreeItemBase* item = ItemAt(point);
    if (!item)
        return HitNowhere;
    if (!item->IsCategory() && qAbs(point.x() - m_column) <= 5)
        return HitColumn;
    if (point.x() > m_column + 5)
        return HitAttribute;
    if (item->m_expandBox.contains(point + QPoint(0, m_yOffset)))
        return HitExpandBox;
    return HitLabel;
}

void COptionTreeCtrl::SetColumn(int x)
{
    const QRect client = m_rows ? m_rows->ClientRect() : QRect();
    x = qMax(x, ExpandMargin);
    if (!client.isEmpty())
        x = qMin(x, client.width() - ExpandMargin);
    m_column = x;
    Repaint();
}

QRect COptionTreeCtrl::GetLargestLabelRect()
{
    QRect largest;
    Traverse(&m_root, [&](COptionTreeItemBase* item) {
        if (!item->IsCategory() && item->m_parent->m_expanded
            && GdiRight(item->m_labelRect) > GdiRight(largest))
            largest = item->m_labelRect;
        return TRUE;
    });
    return GdiRight(largest) > 0 ? largest : QRect();
}
