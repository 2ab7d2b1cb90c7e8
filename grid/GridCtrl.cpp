#include "grid/GridCtrl.h"

#include "grid/GridCell.h"
#include "platform/SysColors.h"

#include <QApplication>
#include <QScrollBar>

CGridCtrl::CGridCtrl(int rows, int cols, int fixedRows, int fixedCols, QWidget* parent)
    : QAbstractScrollArea(parent), m_pCellClass(&CGridCell::Class),
      m_cellDefault(std::make_unique<CGridDefaultCell>()),
      m_cellFixedColDef(std::make_unique<CGridDefaultCell>()),
      m_cellFixedRowDef(std::make_unique<CGridDefaultCell>()),
      m_cellFixedRowColDef(std::make_unique<CGridDefaultCell>()),
      m_crGridBkColour(GetSysColor(COLOR_BTNSHADOW))
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    // Right clicks reach the grid as plain button events; the owner opens its menu on NM_RCLICK.
    viewport()->setContextMenuPolicy(Qt::PreventContextMenu);
    viewport()->setAutoFillBackground(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    for (CGridDefaultCell* def : {m_cellDefault.get(), m_cellFixedColDef.get(), m_cellFixedRowDef.get(),
                                  m_cellFixedRowColDef.get()}) {
        def->SetGrid(this);
        def->SetTextClr(GetSysColor(COLOR_WINDOWTEXT));
        def->SetBackClr(GetSysColor(COLOR_BTNFACE));
    }
    m_cellDefault->SetBackClr(GetSysColor(COLOR_WINDOW));

    SetRowCount(rows);
    SetColumnCount(cols);
    SetFixedRowCount(fixedRows);
    SetFixedColumnCount(fixedCols);
    m_nRowsPerWheelNotch = QApplication::wheelScrollLines();

    m_AutoScrollTimer.setInterval(AutoScrollPeriod);
    connect(&m_AutoScrollTimer, &QTimer::timeout, this, &CGridCtrl::OnAutoScroll);
}

CGridCtrl::~CGridCtrl()
{
    m_AutoScrollTimer.stop();
    m_RowData.clear();
}

BOOL CGridCtrl::Create(const QRect& rect, QWidget* parent, int id)
{
    if (!parent)
        return FALSE;
    setParent(parent);
    setGeometry(rect);
    m_nID = id;
    show();
    return TRUE;
}

// ---- Structure ------------------------------------------------------------------------------

BOOL CGridCtrl::SetRowCount(int rows)
{
    if (rows < 0)
        return FALSE;
    if (rows == m_nRows)
        return TRUE;
    FinishEditing();
    if (rows < m_nRows) {
        if (m_nFixedRows > rows)
            m_nFixedRows = rows;
        if (m_idCurrentCell.row >= rows)
            m_idCurrentCell = CellID();
        for (int row = rows; row < m_nRows; ++row) {
            for (int col = 0; col < m_nCols; ++col)
                DestroyCell(row, col);
        }
        m_RowData.resize(std::size_t(rows));
        m_RowHeights.Truncate(rows);
        m_nRows = rows;
    }
    BOOL result = TRUE;
    try {
        while (m_nRows < rows) {
            // The row joins the table only once all its storage exists, so a failure leaves
            // the rows added so far complete.
            std::vector<std::unique_ptr<CGridCellBase>> cells(static_cast<std::size_t>(m_nCols));
            for (int col = 0; col < m_nCols; ++col)
                cells[std::size_t(col)] = CreateCell(m_nRows, col);
            m_RowData.push_back(std::move(cells));
            m_RowHeights.Append(m_cellDefault->GetHeight());
            ++m_nRows;
        }
    } catch (const std::bad_alloc&) {
        m_RowData.resize(std::size_t(m_nRows));
        result = FALSE;
    }
    m_bModified = true;
    ResetScrollBars();
    viewport()->update();
    return result;
}

BOOL CGridCtrl::SetColumnCount(int cols)
{
    if (cols < 0 || cols > MaxColumnCount)
        return FALSE;
    if (cols == m_nCols)
        return TRUE;
    FinishEditing();
    if (cols < m_nCols) {
        if (m_nFixedCols > cols)
            m_nFixedCols = cols;
        if (m_idCurrentCell.col >= cols)
            m_idCurrentCell = CellID();
        for (int row = 0; row < m_nRows; ++row) {
            for (int col = cols; col < m_nCols; ++col)
                DestroyCell(row, col);
            m_RowData[std::size_t(row)].resize(std::size_t(cols));
        }
        m_ColWidths.Truncate(cols);
    }
    const int oldCount = m_nCols;
    m_nCols = cols;
    for (int col = oldCount; col < cols; ++col)
        m_ColWidths.Append(m_cellDefault->GetWidth());
    for (int row = 0; row < m_nRows && oldCount < cols; ++row) {
        auto& rowCells = m_RowData[std::size_t(row)];
        rowCells.resize(std::size_t(cols));
        for (int col = oldCount; col < cols; ++col)
            rowCells[std::size_t(col)] = CreateCell(row, col);
    }
    m_bModified = true;
    ResetScrollBars();
    viewport()->update();
    return TRUE;
}

BOOL CGridCtrl::SetFixedRowCount(int fixedRows)
{
    if (fixedRows < 0)
        return FALSE;
    if (fixedRows == m_nFixedRows)
        return TRUE;
    if (fixedRows > m_nRows && !SetRowCount(fixedRows))
        return FALSE;
    if (m_idCurrentCell.row >= 0 && m_idCurrentCell.row < fixedRows)
        SetFocusCell(-1, -1);
    ClearSelection();
    const int oldCount = m_nFixedRows;
    m_nFixedRows = fixedRows;
    UpdateFixedRowStates(oldCount, fixedRows);
    ResetScrollBars();
    viewport()->update();
    return TRUE;
}

BOOL CGridCtrl::SetFixedColumnCount(int fixedCols)
{
    if (fixedCols < 0)
        return FALSE;
    if (fixedCols == m_nFixedCols)
        return TRUE;
    if (fixedCols > m_nCols && !SetColumnCount(fixedCols))
        return FALSE;
    if (m_idCurrentCell.col >= 0 && m_idCurrentCell.col < fixedCols)
        SetFocusCell(-1, -1);
    ClearSelection();
    const int oldCount = m_nFixedCols;
    m_nFixedCols = fixedCols;
    UpdateFixedColumnStates(oldCount, fixedCols);
    ResetScrollBars();
    viewport()->update();
    return TRUE;
}

void CGridCtrl::UpdateFixedRowStates(int oldCount, int newCount)
{
    for (int row = std::min(oldCount, newCount); row < std::max(oldCount, newCount); ++row) {
        for (int col = 0; col < m_nCols; ++col) {
            CGridCellBase* cell = GetCell(row, col);
            const UINT state = cell->GetState();
            if (row < newCount) {
                cell->SetState(state | CellFixed | CellFixedRow);
                cell->SetTextClr(DefaultColour);
                cell->SetBackClr(DefaultColour);
            } else if (col < m_nFixedCols) {
                cell->SetState(state & ~UINT(CellFixedRow));
            } else {
                cell->SetState(state & ~UINT(CellFixed | CellFixedRow));
                cell->SetTextClr(DefaultColour);
                cell->SetBackClr(DefaultColour);
            }
        }
    }
}

void CGridCtrl::UpdateFixedColumnStates(int oldCount, int newCount)
{
    for (int row = 0; row < m_nRows; ++row) {
        for (int col = std::min(oldCount, newCount); col < std::max(oldCount, newCount); ++col) {
            CGridCellBase* cell = GetCell(row, col);
            const UINT state = cell->GetState();
            if (col < newCount) {
                cell->SetState(state | CellFixed | CellFixedColumn);
                cell->SetTextClr(DefaultColour);
                cell->SetBackClr(DefaultColour);
            } else if (row < m_nFixedRows) {
                cell->SetState(state & ~UINT(CellFixedColumn));
            } else {
                cell->SetState(state & ~UINT(CellFixed | CellFixedColumn));
                cell->SetTextClr(DefaultColour);
                cell->SetBackClr(DefaultColour);
            }
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

BOOL CGridCtrl::SetColumnWidth(int col, int width)
{
    if (col < 0 || col >= m_nCols || width < 0)
        return FALSE;
    m_ColWidths.SetSize(col, width);
    ResetScrollBars();
    return TRUE;
}

BOOL CGridCtrl::SetRowHeight(int row, int height)
{
    if (row < 0 || row >= m_nRows || height < 0)
        return FALSE;
    m_RowHeights.SetSize(row, height);
    ResetScrollBars();
    return TRUE;
}

int CGridCtrl::GetColumnWidth(int col) const
{
    return col >= 0 && col < m_nCols ? m_ColWidths.Size(col) : -1;
}

int CGridCtrl::GetRowHeight(int row) const
{
    return row >= 0 && row < m_nRows ? m_RowHeights.Size(row) : -1;
}

int CGridCtrl::GetFixedRowHeight() const
{
    return int(m_RowHeights.Offset(m_nFixedRows));
}

int CGridCtrl::GetFixedColumnWidth() const
{
    return int(m_ColWidths.Offset(m_nFixedCols));
}

// ---- Appearance and modes -------------------------------------------------------------------

void CGridCtrl::SetGridLines(int which)
{
    if (which < GridLinesNone || which > GridLinesBoth || which == m_nGridLines)
        return;
    m_nGridLines = which;
    viewport()->update();
}

void CGridCtrl::SetGridBkColor(COLORREF colour)
{
    if (colour == m_crGridBkColour)
        return;
    m_crGridBkColour = colour;
    viewport()->update();
}

void CGridCtrl::SetListMode(bool on)
{
    ClearSelection();
    m_bListMode = on;
    m_bFixedColumnSelection = false;
    viewport()->update();
}

void CGridCtrl::EnableSelection(bool on)
{
    ClearSelection();
    m_bEnableSelection = on;
}

void CGridCtrl::SetImageList(const std::vector<QPixmap>& images)
{
    m_ImageList = images;
    viewport()->update();
}

const QPixmap* CGridCtrl::GetImage(int index) const
{
    if (index < 0 || index >= int(m_ImageList.size()))
        return nullptr;
    return &m_ImageList[std::size_t(index)];
}

LRESULT CGridCtrl::NotifyOwner(int row, int col, int code)
{
    if (!m_NotifyHandler)
        return 0;
    GridNotify record;
    record.hwndFrom = this;
    record.idFrom = m_nID;
    record.code = code;
    record.iRow = row;
    record.iColumn = col;
    return m_NotifyHandler(m_nID, record);
}
