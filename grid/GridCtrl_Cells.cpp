// The cells: their creation and class, their attributes and states. SetItemState keeps the
// selected-cell map in step with the cells' CellSelected flags.
#include "grid/GridCtrl.h"

CGridCellBase* CGridCtrl::GetCell(int row, int col) const
{
    if (!IsValid(row, col))
        return nullptr;
    return m_RowData[std::size_t(row)][std::size_t(col)].get();
}

std::unique_ptr<CGridCellBase> CGridCtrl::CreateCell(int row, int col)
{
    return NewCell(row, col);
}

std::unique_ptr<CGridCellBase> CGridCtrl::NewCell(int row, int col)
{
    std::unique_ptr<CGridCellBase> cell = m_pCellClass->createObject();
    cell->SetGrid(this);
    cell->SetCoords(row, col);
    UINT state = 0;
    if (col < m_nFixedCols)
        state |= CellFixed | CellFixedColumn;
    if (row < m_nFixedRows)
        state |= CellFixed | CellFixedRow;
    cell->SetState(state);
    cell->SetFormat(cell->GetDefaultCell()->GetFormat());
    return cell;
}

void CGridCtrl::DestroyCell(int row, int col)
{
    SetItemState(row, col, 0);
    m_RowData[std::size_t(row)][std::size_t(col)].reset();
}

BOOL CGridCtrl::SetCellType(int row, int col, const GridCellClass* cellClass)
{
    CGridCellBase* old = GetCell(row, col);
    if (!old || !cellClass || !cellClass->createObject || !cellClass->IsDerivedFrom(CGridCellBase::Class))
        return FALSE;
    if (old->IsEditing())
        FinishEditing();
    std::unique_ptr<CGridCellBase> cell = cellClass->createObject();
    cell->Assign(*old);
    cell->SetCoords(row, col);
    m_RowData[std::size_t(row)][std::size_t(col)] = std::move(cell);
    return TRUE;
}

BOOL CGridCtrl::SetDefaultCellType(const GridCellClass* cellClass)
{
    if (!cellClass || !cellClass->createObject || !cellClass->IsDerivedFrom(CGridCellBase::Class))
        return FALSE;
    m_pCellClass = cellClass;
    return TRUE;
}

CGridDefaultCell* CGridCtrl::GetDefaultCell(UINT fixedFlags) const
{
    const bool fixedRow = fixedFlags & CellFixedRow;
    const bool fixedCol = fixedFlags & CellFixedColumn;
    if (fixedRow && fixedCol)
        return m_cellFixedRowColDef.get();
    if (fixedRow)
        return m_cellFixedRowDef.get();
    return fixedCol ? m_cellFixedColDef.get() : m_cellDefault.get();
}

BOOL CGridCtrl::SetItem(const GridItem& item)
{
    CGridCellBase* cell = GetCell(item.row, item.col);
    if (!cell)
        return FALSE;
    SetModified(TRUE, item.row, item.col);
    if (item.mask & GridItem::ItemText)
        cell->SetText(item.text);
    if (item.mask & GridItem::ItemData)
        cell->SetData(item.data);
    if (item.mask & GridItem::ItemImage)
        cell->SetImage(item.image);
    if (item.mask & GridItem::ItemState)
        SetItemState(item.row, item.col, item.state);
    if (item.mask & GridItem::ItemFormat)
        cell->SetFormat(item.format);
    if (item.mask & GridItem::ItemBackColour)
        cell->SetBackClr(item.backColour);
    if (item.mask & GridItem::ItemTextColour)
        cell->SetTextClr(item.textColour);
    if (item.mask & GridItem::ItemFont)
        cell->SetFont(item.font);
    if (item.mask & GridItem::ItemMargin)
        cell->SetMargin(item.margin);
    return TRUE;
}

BOOL CGridCtrl::SetItemText(int row, int col, const QString& text)
{
    CGridCellBase* cell = GetCell(row, col);
    if (!cell)
        return FALSE;
    cell->SetText(text);
    SetModified(TRUE, row, col);
    return TRUE;
}

QString CGridCtrl::GetItemText(int row, int col) const
{
    const CGridCellBase* cell = GetCell(row, col);
    return cell ? cell->GetText() : QString();
}

BOOL CGridCtrl::SetItemState(int row, int col, UINT state)
{
    CGridCellBase* cell = GetCell(row, col);
    if (!cell)
        return FALSE;
    const bool wasSelected = cell->GetState() & CellSelected;
    const bool selected = state & CellSelected;
    if (wasSelected && !selected)
        m_SelectedCellMap.remove(SelectionKey(row, col));
    else if (!wasSelected && selected)
        m_SelectedCellMap.insert(SelectionKey(row, col), CellID{row, col});
    cell->SetState(state);
    return TRUE;
}

UINT CGridCtrl::GetItemState(int row, int col) const
{
    const CGridCellBase* cell = GetCell(row, col);
    return cell ? cell->GetState() : 0;
}

BOOL CGridCtrl::SetItemFormat(int row, int col, UINT format)
{
    CGridCellBase* cell = GetCell(row, col);
    if (cell)
        cell->SetFormat(format);
    return cell != nullptr;
}

BOOL CGridCtrl::SetItemFont(int row, int col, const QFont& font)
{
    CGridCellBase* cell = GetCell(row, col);
    if (cell)
        cell->SetFont(font);
    return cell != nullptr;
}

BOOL CGridCtrl::SetItemBkColour(int row, int col, COLORREF colour)
{
    CGridCellBase* cell = GetCell(row, col);
    if (cell)
        cell->SetBackClr(colour);
    return cell != nullptr;
}

BOOL CGridCtrl::SetItemFgColour(int row, int col, COLORREF colour)
{
    CGridCellBase* cell = GetCell(row, col);
    if (cell)
        cell->SetTextClr(colour);
    return cell != nullptr;
}

void CGridCtrl::SetModified(BOOL modified, int row, int col)
{
    if (row >= 0 && col >= 0) {
        CGridCellBase* cell = GetCell(row, col);
        if (!cell)
            return;
        if (modified) {
            cell->SetState(cell->GetState() | CellModified);
            m_bModified = true;
        } else {
            cell->SetState(cell->GetState() & ~UINT(CellModified));
        }
    } else {
        m_bModified = modified;
    }
    if (m_bModified)
        return;
    for (auto& rowCells : m_RowData) {
        for (auto& cell : rowCells)
            cell->SetState(cell->GetState() & ~UINT(CellModified));
    }
}

BOOL CGridCtrl::GetModified(int row, int col) const
{
    if (row < 0 || col < 0)
        return m_bModified;
    const CGridCellBase* cell = GetCell(row, col);
    return cell && cell->IsModified();
}
