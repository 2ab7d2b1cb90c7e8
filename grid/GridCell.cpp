#include "grid/GridCell.h"

#include "grid/GridCellEdit.h"
#include "grid/GridCtrl.h"
#include "grid/GridDefaultCell.h"
#include "platform/DrawTextFlags.h"

#include <QApplication>

const GridCellClass CGridCell::Class = {"CGridCell", &CGridCellBase::Class,
                                        &CreateCellOf<CGridCell>};

namespace {
constexpr UINT kUnset = 0xFFFFFFFF;
constexpr UINT kFallbackFormat = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
} // namespace

CGridCell::~CGridCell()
{
    if (m_pEditWnd)
        m_pEditWnd->Cancel();
}

UINT CGridCell::GetFormat() const
{
    if (m_nFormat != kUnset)
        return m_nFormat;
    const CGridDefaultCell* def = GetDefaultCell();
    return def && def != this ? def->GetFormat() : kFallbackFormat;
}

UINT CGridCell::GetMargin() const
{
    if (m_nMargin != kUnset)
        return m_nMargin;
    const CGridDefaultCell* def = GetDefaultCell();
    return def && def != this ? def->GetMargin() : 0;
}

const QFont& CGridCell::GetFont() const
{
    if (m_Font)
        return *m_Font;
    const CGridDefaultCell* def = GetDefaultCell();
    if (def && def != this)
        return def->GetFont();
    static const QFont fallback;
    return fallback;
}

void CGridCell::Reset()
{
    EndEdit();
    m_strText.clear();
    m_lParam = 0;
    m_nImage = -1;
    m_nFormat = kUnset;
    m_crFgClr = DefaultColour;
    m_crBkClr = DefaultColour;
    m_Font.reset();
    m_nMargin = kUnset;
    SetState(0);
}

bool CGridCell::Edit(int row, int col, const QRect& rect, QPoint /*point*/, int id, UINT key)
{
    OpenEditBox(row, col, rect, id, key, false);
    return true;
}

void CGridCell::OpenEditBox(int row, int col, const QRect& rect, int id, UINT key, bool digitsOnly)
{
    if (m_bEditing) {
        if (m_pEditWnd)
            m_pEditWnd->SendKey(key);
        return;
    }
    if (!m_pGrid)
        return;
    m_bEditing = true;
    const UINT format = GetFormat();
    Qt::Alignment alignment = Qt::AlignLeft;
    if (!digitsOnly && (format & DT_RIGHT))
        alignment = Qt::AlignRight;
    else if (!digitsOnly && (format & DT_CENTER))
        alignment = Qt::AlignHCenter;
    m_pEditWnd = new CGridCellEdit(m_pGrid, rect, alignment, digitsOnly, id, row, col, GetText(), key);
    m_pEditWnd->setFont(GetFont());
    m_pEditWnd->Start();
}

void CGridCell::EndEdit()
{
    if (m_pEditWnd)
        m_pEditWnd->EndEdit();
}

void CGridCell::OnEndEdit()
{
    m_bEditing = false;
    m_pEditWnd = nullptr;
}
