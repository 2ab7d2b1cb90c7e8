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

BOOL COptionTreeItemBase::IsCategory() const
{
    return m_owner && m_parent == m_owner->GetRootItem();
}

void COptionTreeItemBase::Expand(BOOL expand)
{
    if (!m_owner)
        return;
    m_expanded = expand;
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
    m_committed = FALSE;
    OnActivate();
}

void COptionTreeItemBase::CommitChanges()
{
    if (m_committed)
        return;
    m_committed = TRUE;
    COptionTreeCtrl* owner = m_owner;
    if (!owner)
        return;
    OnCommit();
    // The owner's handler may delete rows, this one included; refresh only what still exists.
    const int deletions = owner->GetDeletionCount();
    owner->SendNotify(NotifyItemChanged, this);
    owner->RefreshItems(deletions == owner->GetDeletionCount() ? this : nullptr);
}
