#include "optiontree/OptionTreeItemBase.h"

#include "optiontree/OptionTreeCtrl.h"
#include "platform/SysColors.h"

COptionTreeItemBase::COptionTreeItemBase()
    : m_attributeBackColor(GetSysColor(COLOR_WINDOW))
    , m_attributeTextColor(GetSysColor(COLOR_BTNTEXT))
    , m_labelBackColor(GetSysColor(COLOR_3DFACE))
    , m_labelTextColor(GetSysColor(COLOR_BTNTEXT))
    , m_labelAreaColor(GetSysColor(COLOR_WINDOW))
{
}

COptionTreeItemBase::~COptionTreeItemBase() = default;

void COptionTreeItemBase::DrawAttribute(QPainter&, const QRect&) {}
void COptionTreeItemBase::OnActivate() {}
void COptionTreeItemBase::OnMove() {}
void COptionTreeItemBase::OnRefresh() {}
void COptionTreeItemBase::OnCommit() {}
void COptionTreeItemBase::CleanUp() {}
void COptionTreeItemBase::OnDeSelect() {}
void COptionTreeItemBase::OnSelect() {}
void COptionTreeItemBase::OnExpand(BOOL) {}
void COptionTreeItemBase::OnLayout() {}

void COptionTreeItemBase::RequireLayout() const
{
    if (m_owner)
        m_owner->EnsureLayout();
}

void COptionTreeItemBase::InvalidateLayout() const
{
    if (m_owner)
        m_owner->InvalidateLayout();
}

void COptionTreeItemBase::SetLabelText(const QString& text)
{
    m_label = text;
    InvalidateLayout();
}

void COptionTreeItemBase::SetLabelAtTop(BOOL atTop)
{
    m_labelAtTop = atTop;
    InvalidateLayout();
}

void COptionTreeItemBase::SetHeight(int height)
{
    m_height = height;
    InvalidateLayout();
}

QRect COptionTreeItemBase::GetLabelRect() const
{
    RequireLayout();
    return m_labelRect;
}

QString COptionTreeItemBase::GetShownLabel() const
{
    RequireLayout();
    return m_shownLabel;
}

QPoint COptionTreeItemBase::GetLocation() const
{
    RequireLayout();
    return m_location;
}

QRect COptionTreeItemBase::GetAttributeRect() const
{
    RequireLayout();
    return m_attributeRect;
}

QRect COptionTreeItemBase::GetExpandBox() const
{
    RequireLayout();
    return m_expandBox;
}

COptionTreeItemBase* COptionTreeItemBase::GetNextVisible() const
{
    RequireLayout();
    return m_nextVisible;
}

BOOL COptionTreeItemBase::IsCategory() const
{
    return m_owner && m_parent == m_owner->GetRootItem();
}

void COptionTreeItemBase::Expand(BOOL expand)
{
    if (!m_owner)
        return;
    m_expanded = expand;
    InvalidateLayout();
    m_owner->Traverse(this, [expand](COptionTreeItemBase* item) {
        item->OnExpand(expand);
        return TRUE;
    });
}

void COptionTreeItemBase::Select(BOOL select)
{
    m_selected = select;
    if (select)
        OnSelect();
    else
        OnDeSelect();
}

void COptionTreeItemBase::Activate()
{
    m_committed = false;
    OnActivate();
}

void COptionTreeItemBase::CommitChanges()
{
    if (m_committed)
        return;
    m_committed = true;
    COptionTreeCtrl* owner = m_owner;
    if (!owner)
        return;
    OnCommit();
    // The owner's handler may delete rows, this one included; refresh only what still exists.
    const int deletions = owner->GetDeletionCount();
    owner->SendNotify(NotifyItemChanged, this);
    owner->RefreshItems(deletions == owner->GetDeletionCount() ? this : nullptr);
}
