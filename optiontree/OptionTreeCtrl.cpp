#include "optiontree/OptionTreeCtrl.h"

#include "optiontree/OptionTreeDescriptionWnd.h"
#include "optiontree/OptionTreeRowsWnd.h"

#include <QEvent>
#include <QResizeEvent>

namespace {

bool IsDeliveredCode(int code)
{
    switch (code) {
    case NotifyItemInserted:
    case NotifyItemDeleting:
    case NotifyItemChanged:
    case NotifyFocusChanged:
    case NotifyItemExpanding:
    case NotifyColumnDragStart:
    case NotifyItemActivating:
        return true;
    default:
        return false;
    }
}

} // namespace

COptionTreeCtrl::COptionTreeCtrl(QWidget* parent)
    : QWidget(parent)
{
    // The root is never drawn; owning it lets EnsureVisible expand "up to the root" uniformly.
    m_root.m_owner = this;
    m_root.m_expanded = true;
    setAttribute(Qt::WA_OpaquePaintEvent);
}

COptionTreeCtrl::~COptionTreeCtrl()
{
    // The owner may be half destroyed by now: it hears nothing of the final clean-up.
    m_options &= ~NotifyEnabled;
    DeleteAllItems();
}

BOOL COptionTreeCtrl::Create(const QRect& rect, QWidget* parent, int optionFlags, int id)
{
    if (m_rows)
        return FALSE;
    if (parent)
        setParent(parent);
    m_options = optionFlags;
    m_id = id;
    m_description = new COptionTreeDescriptionWnd(this);
    m_rows = new COptionTreeRowsWnd(this);
    m_description->setVisible(m_options & ShowDescription);
    setGeometry(rect);
    Layout(width(), height());
    show();
    return TRUE;
}

void COptionTreeCtrl::SetNotify(BOOL enable, QObject* window, NotifyHandler handler)
{
    if (enable)
        m_options |= NotifyEnabled;
    else
        m_options &= ~NotifyEnabled;
    m_notifyWindow = window;
    m_notifyHandler = std::move(handler);
    Layout(width(), height());
    Repaint();
}

LRESULT COptionTreeCtrl::SendNotify(int code, COptionTreeItemBase* item)
{
    if (!(m_options & NotifyEnabled) || !m_notifyWindow || !m_notifyHandler || !IsDeliveredCode(code))
        return 0;
    OptionTreeNotify record;
    record.hwndFrom = this;
    record.idFrom = m_id;
    record.code = code;
    record.item = item;
    return m_notifyHandler(m_id, record);
}

COptionTreeItemBase* COptionTreeCtrl::InsertItem(std::unique_ptr<COptionTreeItemBase> owned, COptionTreeItemBase* parent)
{
    if (!owned)
        return nullptr;
    // An item belongs to one tree once: one that is in a tree already is that tree's to delete.
    if (owned->m_owner) {
        owned.release();
        return nullptr;
    }
    if (!parent)
        parent = &m_root;
    if (parent->m_owner != this)
        return nullptr;

    COptionTreeItemBase* item = owned.release();

    COptionTreeItemBase** link = &parent->m_child;
    while (*link)
        link = &(*link)->m_sibling;
    *link = item;
    item->m_id = ++m_itemCounter;
    item->m_parent = parent;
    item->m_owner = this;
    InvalidateLayout();
    SendNotify(NotifyItemInserted, item);
    UpdateList();
    return item;
}

void COptionTreeCtrl::DeleteItem(COptionTreeItemBase* item)
{
    if (item == &m_root)
        item = nullptr;
    if (item && item->m_owner != this)
        return;
    InvalidateLayout();
    SendNotify(NotifyItemDeleting, item);

    COptionTreeItemBase* target = item ? item : &m_root;
    while (target->m_child) {
        DeleteItem(target->m_child);
        UpdateList();
    }
    if (target == &m_root)
        return;

    COptionTreeItemBase** link = &target->m_parent->m_child;
    while (*link != target)
        link = &(*link)->m_sibling;
    *link = target->m_sibling;
    InvalidateLayout();
    if (m_focused == target)
        m_focused = nullptr;
    target->CleanUp();
    delete target;
    ++m_deletions;
    // The row must leave the screen even when it had no children to trigger a repaint.
    UpdateList();
}

void COptionTreeCtrl::DeleteAllItems()
{
    DeleteItem(nullptr);
    UpdateList();
    m_itemCounter = 0;
}

BOOL COptionTreeCtrl::Traverse(COptionTreeItemBase* start, const Visitor& visitor)
{
    if (!start || !visitor)
        return FALSE;
    if (start != &m_root && !visitor(start))
        return FALSE;
    BOOL result = TRUE;
    for (COptionTreeItemBase* child = start->m_child; child; child = child->m_sibling) {
        if (!Traverse(child, visitor))
            result = FALSE;
    }
    return result;
}

COptionTreeItemBase* COptionTreeCtrl::FindItem(int id)
{
    COptionTreeItemBase* found = nullptr;
    Traverse(&m_root, [&](COptionTreeItemBase* item) {
        if (!found && item->m_id == id)
            found = item;
        return TRUE;
    });
    return found;
}

void COptionTreeCtrl::ExpandAllItems()
{
    Traverse(&m_root, [](COptionTreeItemBase* item) {
        item->Expand(TRUE);
        return TRUE;
    });
    UpdateList();
}

void COptionTreeCtrl::RefreshItems(COptionTreeItemBase* item)
{
    Traverse(item ? item : &m_root, [](COptionTreeItemBase* each) {
        each->OnRefresh();
        return TRUE;
    });
    UpdateList();
}

void COptionTreeCtrl::MoveAllItems()
{
    Traverse(&m_root, [](COptionTreeItemBase* item) {
        item->OnMove();
        return TRUE;
    });
}

void COptionTreeCtrl::SelectItems(COptionTreeItemBase* item, BOOL select)
{
    Traverse(item ? item : &m_root, [select](COptionTreeItemBase* each) {
        each->Select(select);
        return TRUE;
    });
}

void COptionTreeCtrl::UpdateList()
{
    if (!m_rows)
        return;
    m_rows->UpdateScrollbar();
    EnsureLayout();
    Repaint();
}

void COptionTreeCtrl::Repaint()
{
    if (m_rows)
        m_rows->viewport()->update();
    if (m_description)
        m_description->update();
}

void COptionTreeCtrl::Layout(int cx, int cy)
{
    if (!m_rows || cx <= 0 || cy <= 0)
        return;
    if (m_options & ShowDescription) {
        m_description->setGeometry(0, cy - DescriptionHeight, cx, DescriptionHeight);
        cy = qMax(0, cy - DescriptionHeight);
    }
    m_rows->setGeometry(0, 0, cx, cy);
}

void COptionTreeCtrl::resizeEvent(QResizeEvent* event)
{
    Layout(event->size().width(), event->size().height());
}

void COptionTreeCtrl::changeEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::ApplicationFontChange:
    case QEvent::ApplicationPaletteChange:
        ControlFonts::Recreate();
        InvalidateLayout();
        UpdateList();
        break;
    case QEvent::EnabledChange:
        Repaint();
        break;
    default:
        break;
    }
    QWidget::changeEvent(event);
}
