// The table's structure: counts, fixed counts, line sizes, row deletion. Rows and columns are
// handled by the same routines, which take the axis.
#include "grid/GridCtrl.h"

#include "grid/GridCellBase.h"

#include <climits>

CGridCtrl::AxisFields CGridCtrl::Fields(Axis axis)
{
    if (axis == Axis::Rows)
        return AxisFields{m_nRows, m_nFixedRows, m_RowHeights};
    return AxisFields{m_nCols, m_nFixedCols, m_ColWidths};
}

CGridCtrl::ConstAxisFields CGridCtrl::Fields(Axis axis) const
{
    const AxisFields fields = const_cast<CGridCtrl*>(this)->Fields(axis);
    return ConstAxisFields{fields.count, fields.fixedCount, fields.sizes};
}

// The grid's own construction goes through the grid's own cell creation: while the constructor
// runs, a subclass's CreateCell could not be the one called anyway.
void CGridCtrl::BuildInitialTable(int rows, int cols, int fixedRows, int fixedCols)
{
    const int rowCount = std::max({rows, fixedRows, 0});
    const int colCount = std::min(std::max({cols, fixedCols, 0}), MaxColumnCount);
    m_nFixedRows = std::clamp(fixedRows, 0, rowCount);
    m_nFixedCols = std::clamp(fixedCols, 0, colCount);
    AddLinesUpTo(Axis::Rows, rowCount, &CGridCtrl::NewCell);
    AddLinesUpTo(Axis::Columns, colCount, &CGridCtrl::NewCell);
    m_bModified = m_nRows > 0 || m_nCols > 0;
    ResetScrollBars();
}

BOOL CGridCtrl::SetLineCount(Axis axis, int count)
{
    const int limit = axis == Axis::Columns ? MaxColumnCount : INT_MAX;
    if (count < 0 || count > limit)
        return FALSE;
    if (count == Fields(axis).count)
        return TRUE;
    FinishEditing();
    RemoveLinesFrom(axis, count);
    const bool complete = AddLinesUpTo(axis, count, &CGridCtrl::CreateCell);
    m_bModified = true;
    ResetScrollBars();
    viewport()->update();
    return complete;
}

void CGridCtrl::RemoveLinesFrom(Axis axis, int count)
{
    const AxisFields fields = Fields(axis);
    if (count >= fields.count)
        return;
    fields.fixedCount = std::min(fields.fixedCount, count);
    if (LineOf(m_idCurrentCell, axis) >= count)
        m_idCurrentCell = CellID();
    for (int line = count; line < fields.count; ++line) {
        for (int across = 0; across < Fields(Across(axis)).count; ++across) {
            const CellID cell = CellAt(axis, line, across);
            DestroyCell(cell.row, cell.col);
        }
    }
    if (axis == Axis::Rows) {
        m_RowData.resize(std::size_t(count));
    } else {
        for (auto& rowCells : m_RowData)
            rowCells.resize(std::size_t(count));
    }
    fields.sizes.Truncate(count);
    fields.count = count;
}

// Out of memory, growth stops: the lines added before the failure stay, each one complete, and
// the result is false.
bool CGridCtrl::AddLinesUpTo(Axis axis, int count, CellMaker make)
{
    try {
        while (Fields(axis).count < count)
            AppendLine(axis, make);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

// Adds one line with its size and its cells, or nothing when memory runs out.
void CGridCtrl::AppendLine(Axis axis, CellMaker make)
{
    const AxisFields fields = Fields(axis);
    const int line = fields.count;
    std::vector<std::unique_ptr<CGridCellBase>> cells(std::size_t(Fields(Across(axis)).count));
    for (std::size_t across = 0; across < cells.size(); ++across) {
        const CellID cell = CellAt(axis, line, int(across));
        cells[across] = (this->*make)(cell.row, cell.col);
    }
    fields.sizes.Append(axis == Axis::Rows ? m_cellDefault->GetHeight() : m_cellDefault->GetWidth());
    try {
        StoreLine(axis, std::move(cells));
    } catch (const std::bad_alloc&) {
        fields.sizes.Truncate(line);
        throw;
    }
    ++fields.count;
}

// Puts the cells of a new last line into the table: all of them, or none.
void CGridCtrl::StoreLine(Axis axis, std::vector<std::unique_ptr<CGridCellBase>> cells)
{
    if (axis == Axis::Rows) {
        m_RowData.push_back(std::move(cells));
        return;
    }
    std::size_t stored = 0;
    try {
        for (; stored < cells.size(); ++stored)
            m_RowData[stored].push_back(std::move(cells[stored]));
    } catch (const std::bad_alloc&) {
        while (stored > 0)
            m_RowData[--stored].pop_back();
        throw;
    }
}

BOOL CGridCtrl::SetFixedLineCount(Axis axis, int count)
{
    if (count < 0)
        return FALSE;
    const int oldCount = Fields(axis).fixedCount;
    if (count == oldCount)
        return TRUE;
    if (count > Fields(axis).count && !SetLineCount(axis, count))
        return FALSE;
    ClearSelection(); // also drops the focus cell
    Fields(axis).fixedCount = count;
    UpdateFixedStates(axis, oldCount, count);
    ResetScrollBars();
    viewport()->update();
    return TRUE;
}

// Lines that become fixed take the fixed flags and the default colours; lines that stop being
// fixed lose them, except where they cross a fixed line of the other axis.
void CGridCtrl::UpdateFixedStates(Axis axis, int oldCount, int newCount)
{
    const UINT lineFlag = axis == Axis::Rows ? CellFixedRow : CellFixedColumn;
    const int acrossFixed = Fields(Across(axis)).fixedCount;
    for (int line = std::min(oldCount, newCount); line < std::max(oldCount, newCount); ++line) {
        for (int across = 0; across < Fields(Across(axis)).count; ++across) {
            const CellID id = CellAt(axis, line, across);
            CGridCellBase* cell = GetCell(id.row, id.col);
            const UINT state = cell->GetState();
            if (line < newCount) {
                cell->SetState(state | CellFixed | lineFlag);
            } else if (across < acrossFixed) {
                cell->SetState(state & ~lineFlag);
                continue;
            } else {
                cell->SetState(state & ~UINT(CellFixed | lineFlag));
            }
            cell->SetTextClr(DefaultColour);
            cell->SetBackClr(DefaultColour);
        }
    }
}

BOOL CGridCtrl::DeleteRow(int row)
{
    if (row < 0 || row >= m_nRows)
        return FALSE;
    FinishEditing();
    // Clearing the selection also drops the focus cell; it comes back on its row afterwards.
    const CellID focus = m_idCurrentCell;
    ClearSelection();
    for (int col = 0; col < m_nCols; ++col)
        DestroyCell(row, col);
    m_RowData.erase(m_RowData.begin() + row);
    m_RowHeights.Remove(row);
    --m_nRows;
    if (row < m_nFixedRows)
        --m_nFixedRows;
    if (focus.row != row)
        SetFocusCell(focus.row > row ? focus.row - 1 : focus.row, focus.col);
    ResetScrollBars();
    m_bModified = true;
    return TRUE;
}

BOOL CGridCtrl::DeleteAllItems()
{
    FinishEditing();
    ClearSelection();
    m_ColWidths.Clear();
    m_RowHeights.Clear();
    for (int row = 0; row < m_nRows; ++row) {
        for (int col = 0; col < m_nCols; ++col)
            DestroyCell(row, col);
    }
    m_RowData.clear();
    m_idCurrentCell = CellID();
    m_nRows = m_nCols = m_nFixedRows = m_nFixedCols = 0;
    ResetScrollBars();
    m_bModified = true;
    return TRUE;
}

BOOL CGridCtrl::SetLineSize(Axis axis, int index, int size)
{
    const AxisFields fields = Fields(axis);
    if (index < 0 || index >= fields.count || size < 0)
        return FALSE;
    fields.sizes.SetSize(index, size);
    ResetScrollBars();
    return TRUE;
}

int CGridCtrl::LineSize(Axis axis, int index) const
{
    const ConstAxisFields fields = Fields(axis);
    return index >= 0 && index < fields.count ? fields.sizes.Size(index) : -1;
}

int CGridCtrl::FixedExtent(Axis axis) const
{
    const ConstAxisFields fields = Fields(axis);
    return int(fields.sizes.Offset(fields.fixedCount));
}

int CGridCtrl::NextVisibleLine(Axis axis, int index, int step) const
{
    const ConstAxisFields fields = Fields(axis);
    for (int next = index + step; next >= fields.fixedCount && next < fields.count; next += step) {
        if (fields.sizes.Size(next) > 0)
            return next;
    }
    return -1;
}

