// The layout pass and what reads it: the visible list, the rows' geometry, hit testing and the
// label/value column boundary.
#include "optiontree/OptionTreeCtrl.h"

#include "optiontree/OptionTreeGdi.h"
#include "optiontree/OptionTreeRowsWnd.h"

void COptionTreeCtrl::EnsureLayout()
{
    if (!m_layoutValid)
        LayoutRows();
}

void COptionTreeCtrl::LayoutRows()
{
    m_layoutValid = true;
    m_visibleHead = nullptr;
    m_visibleTail = nullptr;
    // Rows that are not laid out have no label to fit the column to.
    Traverse(&m_root, [](COptionTreeItemBase* item) {
        item->m_labelRect = QRect();
        return TRUE;
    });
    const QRect client = m_rows ? m_rows->ClientRect() : QRect();
    int y = 0;
    for (COptionTreeItemBase* item = m_root.m_child; item; item = item->m_sibling)
        y += LayoutSubtree(item, client, 0, y);
    for (COptionTreeItemBase* item = m_visibleHead; item; item = item->m_nextVisible)
        item->OnLayout();
}

int COptionTreeCtrl::LayoutSubtree(COptionTreeItemBase* item, const QRect& client, int x, int y)
{
    AppendVisible(item);
    item->Place(client, x, y);
    int height = item->m_height;
    if (!item->m_expanded)
        return height;
    // Children of a category start at its own x; every further level indents.
    const int childX = item->IsCategory() ? x : x + ExpandMargin;
    for (COptionTreeItemBase* child = item->m_child; child; child = child->m_sibling)
        height += LayoutSubtree(child, client, childX, y + height);
    return height;
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

void COptionTreeCtrl::SetYOffset(int offset)
{
    if (offset == m_yOffset)
        return;
    m_yOffset = offset;
    InvalidateLayout();
    EnsureLayout();
}

COptionTreeItemBase* COptionTreeCtrl::GetVisibleHead()
{
    EnsureLayout();
    return m_visibleHead;
}

COptionTreeItemBase* COptionTreeCtrl::LastVisible()
{
    EnsureLayout();
    return m_visibleTail;
}

BOOL COptionTreeCtrl::IsInVisibleList(const COptionTreeItemBase* item)
{
    for (const COptionTreeItemBase* each = GetVisibleHead(); each; each = each->m_nextVisible) {
        if (each == item)
            return TRUE;
    }
    return FALSE;
}

COptionTreeItemBase* COptionTreeCtrl::VisibleBefore(const COptionTreeItemBase* item)
{
    for (COptionTreeItemBase* each = GetVisibleHead(); each; each = each->m_nextVisible) {
        if (each->m_nextVisible == item)
            return each;
    }
    return nullptr;
}

COptionTreeItemBase* COptionTreeCtrl::ItemAt(const QPoint& point)
{
    const int y = point.y() + m_yOffset;
    for (COptionTreeItemBase* each = GetVisibleHead(); each; each = each->m_nextVisible) {
        if (each->m_location.y() <= y && y < each->m_location.y() + each->m_height)
            return each;
    }
    return nullptr;
}

COptionTreeCtrl::HitResult COptionTreeCtrl::HitTest(const QPoint& point)
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
    if (x != m_column) {
        m_column = x;
        InvalidateLayout();
    }
    EnsureLayout();
    Repaint();
}

QRect COptionTreeCtrl::GetLargestLabelRect()
{
    EnsureLayout();
    QRect largest;
    Traverse(&m_root, [&](COptionTreeItemBase* item) {
        if (!item->IsCategory() && item->m_parent->m_expanded
            && GdiRight(item->m_labelRect) > GdiRight(largest))
            largest = item->m_labelRect;
        return TRUE;
    });
    return GdiRight(largest) > 0 ? largest : QRect();
}
