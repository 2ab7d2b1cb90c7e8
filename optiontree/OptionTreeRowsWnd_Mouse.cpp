// The mouse over the rows: clicks that focus, select, expand and activate rows, the drag of
// the label/value boundary, double clicks and the cursor shape.
#include "optiontree/OptionTreeRowsWnd.h"

#include "optiontree/OptionTreeCtrl.h"
#include "optiontree/OptionTreeGdi.h"

#include <QMouseEvent>

namespace {

// A boundary dropped at or left of DropLeftLimit lands at LeftmostColumn.
constexpr int DropLeftLimit = 40;
constexpr int LeftmostColumn = 41;
constexpr int RightColumnGap = 25;

} // namespace

void COptionTreeRowsWnd::UpdateCursor(const QPoint& point)
{
    switch (m_dragging ? COptionTreeCtrl::HitColumn : m_tree->HitTest(point)) {
    case COptionTreeCtrl::HitColumn:
        viewport()->setCursor(Qt::SplitHCursor);
        break;
    case COptionTreeCtrl::HitExpandBox:
        viewport()->setCursor(Qt::PointingHandCursor);
        break;
    default:
        viewport()->unsetCursor();
        break;
    }
}

void COptionTreeRowsWnd::mousePressEvent(QMouseEvent* event)
{
    // Qt turns the second press of a double click into the double click itself, so every
    // press that arrives here is a click of its own.
    if (event->button() != Qt::LeftButton || !m_tree->isEnabled())
        return;
    setFocus(Qt::MouseFocusReason);
    const QPoint point = event->position().toPoint();
    const int hit = m_tree->HitTest(point);
    COptionTreeItemBase* item = m_tree->ItemAt(point);
    if (hit == COptionTreeCtrl::HitColumn) {
        StartColumnDrag(m_tree->GetColumn());
    } else if (hit == COptionTreeCtrl::HitExpandBox) {
        if (item->HasChildren() && ToggleItem(item, !item->IsExpanded()))
            DropHiddenFocus();
    } else {
        ClickRow(item, hit);
    }
}

void COptionTreeRowsWnd::ClickRow(COptionTreeItemBase* item, int hit)
{
    if (!item) {
        m_tree->SelectItems(nullptr, FALSE);
        m_tree->SetFocusedItem(nullptr);
        m_tree->SendNotify(NotifyFocusChanged, nullptr);
        viewport()->update();
        return;
    }
    MakeFocusedAndSelected(item);
    if (hit == COptionTreeCtrl::HitAttribute && !item->IsCategory()
        && !m_tree->SendNotify(NotifyItemActivating, item) && !item->IsReadOnly())
        item->Activate();
    viewport()->update();
}

void COptionTreeRowsWnd::MakeFocusedAndSelected(COptionTreeItemBase* item)
{
    COptionTreeItemBase* old = m_tree->GetFocusedItem();
    m_tree->SelectItems(nullptr, FALSE);
    item->Select(TRUE);
    if (item != old)
        m_tree->SendNotify(NotifyFocusChanged, item);
    m_tree->SetFocusedItem(item);
}

bool COptionTreeRowsWnd::ToggleItem(COptionTreeItemBase* item, bool expand)
{
    if (m_tree->SendNotify(NotifyItemExpanding, item))
        return false;
    item->Expand(expand);
    UpdateScrollbar();
    viewport()->update();
    return true;
}

void COptionTreeRowsWnd::DropHiddenFocus()
{
    COptionTreeItemBase* focused = m_tree->GetFocusedItem();
    if (!focused || m_tree->IsInVisibleList(focused))
        return;
    focused->Select(FALSE);
    m_tree->SetFocusedItem(nullptr);
    m_tree->SendNotify(NotifyFocusChanged, nullptr);
    viewport()->update();
}

void COptionTreeRowsWnd::StartColumnDrag(int x)
{
    if (m_tree->SendNotify(NotifyColumnDragStart, nullptr))
        return;
    m_dragging = true;
    m_dragPos = x;
    viewport()->update();
}

void COptionTreeRowsWnd::EndColumnDrag(int x)
{
    m_dragging = false;
    const int column = x <= DropLeftLimit ? LeftmostColumn : qMin(x, ClientRect().width() - RightColumnGap);
    m_tree->SetColumn(column);
    m_tree->MoveAllItems();
    viewport()->update();
}

void COptionTreeRowsWnd::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    UpdateCursor(point);
    if (!m_dragging || !m_tree->isEnabled())
        return;
    m_dragPos = point.x();
    viewport()->update();
}

void COptionTreeRowsWnd::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_dragging)
        return;
    EndColumnDrag(event->position().toPoint().x());
}

void COptionTreeRowsWnd::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_tree->isEnabled())
        return;
    const QPoint point = event->position().toPoint();
    const int hit = m_tree->HitTest(point);
    COptionTreeItemBase* item = m_tree->ItemAt(point);
    if (hit == COptionTreeCtrl::HitColumn) {
        FitColumn();
        return;
    }
    if (!item || !item->HasChildren())
        return;
    if (hit == COptionTreeCtrl::HitAttribute && !item->IsCategory())
        return;
    if (hit != COptionTreeCtrl::HitExpandBox)
        MakeFocusedAndSelected(item);
    if (ToggleItem(item, !item->IsExpanded()))
        DropHiddenFocus();
}

void COptionTreeRowsWnd::FitColumn()
{
    const int widest = GdiRight(m_tree->GetLargestLabelRect());
    m_tree->SetColumn(qMin(ClientRect().width() - RightColumnGap, widest + 5));
    m_tree->MoveAllItems();
    viewport()->update();
}
