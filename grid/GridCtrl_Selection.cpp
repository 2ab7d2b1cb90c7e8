// Selection and focus: every change of the selection goes through SetSelectedRange.
#include "grid/GridCtrl.h"

#include <QGuiApplication>

namespace {

// Shows the wait cursor for as long as a selection change runs.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

bool CGridCtrl::IsValid(int row, int col) const
{
    return row >= 0 && row < m_nRows && col >= 0 && col < m_nCols;
}

bool CGridCtrl::IsValid(const CellRange& range) const
{
    return range.minRow >= 0 && range.minCol >= 0 && range.maxRow >= 0 && range.maxCol >= 0
           && range.maxRow < m_nRows && range.maxCol < m_nCols && range.minRow <= range.maxRow
           && range.minCol <= range.maxCol;
}

bool CGridCtrl::IsFixedCell(const CellID& cell) const
{
    return cell.row < m_nFixedRows || cell.col < m_nFixedCols;
}

CellID CGridCtrl::OutOfFixed(const CellID& cell) const
{
    const auto raise = [](int value, int fixed) { return value >= 0 && value < fixed ? fixed : value; };
    return CellID{raise(cell.row, m_nFixedRows), raise(cell.col, m_nFixedCols)};
}

BOOL CGridCtrl::IsCellSelected(int row, int col) const
{
    return m_bEnableSelection && (GetItemState(row, col) & CellSelected);
}

CellRange CGridCtrl::GetSelectionBounds() const
{
    CellRange bounds{m_nRows, m_nCols, -1, -1};
    for (const CellID& cell : m_SelectedCellMap) {
        bounds.minRow = std::min(bounds.minRow, cell.row);
        bounds.minCol = std::min(bounds.minCol, cell.col);
        bounds.maxRow = std::max(bounds.maxRow, cell.row);
        bounds.maxCol = std::max(bounds.maxCol, cell.col);
    }
    return bounds;
}

void CGridCtrl::ClearSelection()
{
    m_PrevSelectedCellMap.clear();
    SetSelectedRange(-1, -1, -1, -1);
    SetFocusCell(-1, -1);
}

void CGridCtrl::SetCellSelected(int row, int col, SelectAction action, Repaint repaint)
{
    const UINT state = GetItemState(row, col);
    SetItemState(row, col, action == SelectAction::Select ? state | CellSelected : state & ~UINT(CellSelected));
    if (IsCellVisible(row, col))
        RedrawCell(row, col, repaint);
}

void CGridCtrl::SetSelectedRange(int minRow, int minCol, int maxRow, int maxCol, Repaint repaint,
                                 SelectAction action)
{
    if (!m_bEnableSelection)
        return;
    const WaitCursor wait;
    const CellID min = OutOfFixed(CellID{minRow, minCol});
    const CellID max = OutOfFixed(CellID{maxRow, maxCol});
    const CellRange range{min.row, min.col, max.row, max.col};

    const bool select = action == SelectAction::Select;
    if (select) {
        const QHash<qint64, CellID> selected = m_SelectedCellMap;
        for (auto it = selected.begin(); it != selected.end(); ++it) {
            const CellID cell = it.value();
            if (!IsValid(cell)) {
                m_SelectedCellMap.remove(it.key());
                continue;
            }
            SetItemState(cell.row, cell.col, GetItemState(cell.row, cell.col) & ~UINT(CellSelected));
            if (!range.Contains(cell) && IsCellVisible(cell.row, cell.col))
                RedrawCell(cell.row, cell.col, repaint);
        }
    }

    if (!(m_bListMode && m_bSingleRowSelection)) {
        if (range.minRow < 0)
            return;
        for (const CellID& cell : std::as_const(m_PrevSelectedCellMap)) {
            if (IsValid(cell) && !IsCellSelected(cell.row, cell.col))
                SetCellSelected(cell.row, cell.col, SelectAction::Select, repaint);
        }
    }

    if (!IsValid(range))
        return;
    for (int row = range.minRow; row <= range.maxRow; ++row) {
        for (int col = range.minCol; col <= range.maxCol; ++col) {
            if (bool(IsCellSelected(row, col)) != select)
                SetCellSelected(row, col, action, repaint);
        }
    }
}

void CGridCtrl::SelectAllCells()
{
    SetSelectedRange(m_nFixedRows, m_nFixedCols, m_nRows - 1, m_nCols - 1);
}

void CGridCtrl::SelectColumnRange(const CellID& current)
{
    if (current.col < m_nFixedCols)
        return;
    const int start = m_bSingleColSelection ? current.col : m_SelectionStartCell.col;
    SetSelectedRange(m_nFixedRows, std::min(start, current.col), m_nRows - 1, std::max(start, current.col));
}

void CGridCtrl::SelectRowRange(const CellID& current)
{
    if (current.row < m_nFixedRows)
        return;
    const int start = m_bListMode && m_bSingleRowSelection ? current.row : m_SelectionStartCell.row;
    SetSelectedRange(std::min(start, current.row), m_nFixedCols, std::max(start, current.row), m_nCols - 1);
}

void CGridCtrl::SelectCellRange(const CellID& current)
{
    if (IsFixedCell(current))
        return;
    const CellID start = IsValid(m_SelectionStartCell) ? m_SelectionStartCell : current;
    SetSelectedRange(std::min(start.row, current.row), std::min(start.col, current.col),
                     std::max(start.row, current.row), std::max(start.col, current.col));
}

void CGridCtrl::OnSelecting(const CellID& current)
{
    if (!IsValid(current))
        return;
    switch (m_MouseMode) {
    case SelectAll: SelectAllCells(); break;
    case SelectColumn: SelectColumnRange(current); break;
    case SelectRow: SelectRowRange(current); break;
    case SelectCells: SelectCellRange(current); break;
    default: break;
    }
}

void CGridCtrl::SetFocusCell(int row, int col)
{
    const CellID focus = OutOfFixed(CellID{row, col});
    if (focus == m_idCurrentCell || (focus != CellID() && !IsValid(focus)))
        return;
    const CellID old = m_idCurrentCell;
    m_idCurrentCell = focus;
    if (IsValid(old)) {
        SetItemState(old.row, old.col, GetItemState(old.row, old.col) & ~UINT(CellFocused));
        RedrawCell(old.row, old.col);
    }
    if (IsValid(focus)) {
        SetItemState(focus.row, focus.col, GetItemState(focus.row, focus.col) | CellFocused);
        RedrawCell(focus.row, focus.col);
    }
    if (m_bTrackFocusCell)
        RedrawFocusHeaders(old, focus);
}

void CGridCtrl::RedrawFocusHeaders(const CellID& oldFocus, const CellID& newFocus)
{
    if (oldFocus.col != newFocus.col) {
        for (int row = 0; row < m_nFixedRows; ++row) {
            RedrawCell(row, oldFocus.col);
            RedrawCell(row, newFocus.col);
        }
    }
    if (oldFocus.row != newFocus.row) {
        for (int col = 0; col < m_nFixedCols; ++col) {
            RedrawCell(oldFocus.row, col);
            RedrawCell(newFocus.row, col);
        }
    }
}
