// The mouse: presses, drags, divider resizing, auto-scroll, double and right clicks, the wheel.
// The mouse mode says which of these is under way.
#include "grid/GridCtrl.h"

#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

QPoint CGridCtrl::PointInCell(const CellID& cell, QPoint point) const
{
    QRect rect;
    return GetCellRect(cell.row, cell.col, rect) ? point - rect.topLeft() : point;
}

bool CGridCtrl::PointInTextRect(const CellID& cell, QPoint point) const
{
    QRect rect;
    if (!GetCellRect(cell.row, cell.col, rect))
        return false;
    GetCell(cell.row, cell.col)->GetTextRect(rect);
    return rect.contains(point);
}

CGridCtrl::MouseMode CGridCtrl::DividerAt(QPoint point) const
{
    const CellID cell = GetCellFromPoint(point);
    QRect rect;
    if (!GetCellRect(cell.row, cell.col, rect))
        return Idle;
    if (m_bAllowColumnResize && point.y() < GetFixedRowHeight()) {
        if ((point.x() - rect.left() < ResizeCaptureRange && cell.col != 0)
            || rect.left() + rect.width() - point.x() < ResizeCaptureRange)
            return OverColumnDivider;
    }
    if (m_bAllowRowResize && point.x() < GetFixedColumnWidth()) {
        if ((point.y() - rect.top() < ResizeCaptureRange && cell.row != 0)
            || rect.top() + rect.height() - point.y() < ResizeCaptureRange)
            return OverRowDivider;
    }
    return Idle;
}

// The column (row) whose right (bottom) edge is under the point: near a left (top) edge that is
// the previous visible one.
int CGridCtrl::SizedIndexAt(QPoint point, bool columns) const
{
    const CellID cell = GetCellFromPoint(point);
    int index = columns ? cell.col : cell.row;
    QRect rect;
    if (!GetCellRect(cell.row, cell.col, rect))
        return -1;
    const int fromStart = columns ? point.x() - rect.left() : point.y() - rect.top();
    if (fromStart < ResizeCaptureRange) {
        do {
            --index;
        } while (index >= 0 && (columns ? GetColumnWidth(index) : GetRowHeight(index)) == 0);
    }
    return index;
}

bool CGridCtrl::StartSizing(QPoint point)
{
    const bool columns = m_MouseMode == OverColumnDivider;
    const int index = SizedIndexAt(point, columns);
    if (index < 0)
        return false;
    const QPoint origin = CellOrigin(columns ? 0 : index, columns ? index : 0);
    m_nSizingIndex = index;
    m_nSizingStart = columns ? origin.x() : origin.y();
    m_MouseMode = columns ? SizingColumn : SizingRow;
    m_nSizingLine = ClampSizingPoint(point);
    viewport()->update(SizingLineRect());
    return true;
}

// The cursor is held past the sized column's left (row's top) edge, as a clipped cursor would be.
int CGridCtrl::ClampSizingPoint(QPoint point) const
{
    return std::max(m_MouseMode == SizingColumn ? point.x() : point.y(), m_nSizingStart + 1);
}

void CGridCtrl::FinishSizing(QPoint point)
{
    viewport()->update(SizingLineRect());
    if (point == m_LeftClickDownPoint || point == QPoint(0, 0))
        return;
    const bool columns = m_MouseMode == SizingColumn;
    const int size = ClampSizingPoint(point) - m_nSizingStart;
    const bool hideAllowed = columns ? m_bAllowColumnHide : m_bAllowRowHide;
    const int smallest = hideAllowed ? 0 : 1;
    if (columns)
        SetColumnWidth(m_nSizingIndex, std::max(size, smallest));
    else
        SetRowHeight(m_nSizingIndex, std::max(size, smallest));
    viewport()->update();
}

void CGridCtrl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        OnLButtonDown(event->position().toPoint(), event->modifiers());
}

void CGridCtrl::OnLButtonDown(QPoint point, Qt::KeyboardModifiers modifiers)
{
    setFocus(Qt::MouseFocusReason);
    m_LeftClickDownPoint = point;
    m_LastMousePoint = point;
    m_LeftClickDownCell = GetCellFromPoint(point);
    if (!IsValid(m_LeftClickDownCell))
        return;
    const CellID down = m_LeftClickDownCell;
    const bool shift = modifiers & Qt::ShiftModifier;
    const bool ctrl = modifiers & Qt::ControlModifier;
    if (!shift)
        m_SelectionStartCell = down;
    else if (!IsValid(m_SelectionStartCell))
        m_SelectionStartCell = m_idCurrentCell;

    FinishEditing();
    if (CGridCellBase* cell = GetCell(down.row, down.col))
        cell->OnClickDown(PointInCell(down, point));

    if (down == m_idCurrentCell && !ctrl && PointInTextRect(down, point) && IsCellEditable(down.row, down.col)) {
        m_MouseMode = PrepareEdit;
        return;
    }
    const MouseMode divider = DividerAt(point);
    if (IsCellSelected(down.row, down.col)) {
        SetFocusCell(down.row, down.col);
        if (ctrl) {
            if (m_bListMode)
                SetSelectedRange(down.row, m_nFixedCols, down.row, m_nCols - 1, Repaint::Now, SelectAction::Unselect);
            else
                SetSelectedRange(down.row, down.col, down.row, down.col, Repaint::Now, SelectAction::Unselect);
            return;
        }
    } else if (divider == Idle) {
        if (IsFixedCell(down))
            SetFocusCell(-1, -1);
        else
            SetFocusCell(down.row, down.col);
    }

    if (divider != Idle) {
        viewport()->setCursor(divider == OverColumnDivider ? Qt::SplitHCursor : Qt::SplitVCursor);
        m_MouseMode = divider;
        if (StartSizing(point))
            return;
        m_MouseMode = Idle;
    }

    NotifyOwner(down.row, down.col, GridNotify::SelectionChanging);
    m_PrevSelectedCellMap.clear();
    if (ctrl)
        m_PrevSelectedCellMap = m_SelectedCellMap;
    if (down.row < m_nFixedRows) {
        OnFixedRowClick(down);
    } else if (down.col < m_nFixedCols) {
        OnFixedColumnClick(down);
    } else {
        m_MouseMode = m_bListMode ? SelectRow : SelectCells;
        OnSelecting(down);
        m_AutoScrollTimer.start();
    }
}

void CGridCtrl::OnFixedRowClick(const CellID& cell)
{
    if (!m_bFixedRowSelection)
        return;
    m_MouseMode = cell.col < m_nFixedCols ? SelectAll : SelectColumn;
    OnSelecting(cell);
}

void CGridCtrl::OnFixedColumnClick(const CellID& cell)
{
    if (!m_bFixedColumnSelection)
        return;
    m_MouseMode = cell.row < m_nFixedRows ? SelectAll : SelectRow;
    OnSelecting(cell);
}

void CGridCtrl::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (!(event->buttons() & Qt::LeftButton)) {
        OnHover(point);
        return;
    }
    m_LastMousePoint = point;
    switch (m_MouseMode) {
    case SelectColumn:
    case SelectRow:
    case SelectCells: {
        const CellID cell = GetCellFromPoint(point);
        if (!IsValid(cell) || cell == m_idCurrentCell)
            break;
        OnSelecting(cell);
        if (m_MouseMode != SelectCells || !IsFixedCell(cell))
            SetFocusCell(cell.row, cell.col);
        break;
    }
    case SizingColumn:
    case SizingRow:
        viewport()->update(SizingLineRect());
        m_nSizingLine = ClampSizingPoint(point);
        viewport()->update(SizingLineRect());
        break;
    default:
        break;
    }
}

void CGridCtrl::OnHover(QPoint point)
{
    const MouseMode divider = DividerAt(point);
    if (divider != Idle) {
        if (m_MouseMode != divider)
            viewport()->setCursor(divider == OverColumnDivider ? Qt::SplitHCursor : Qt::SplitVCursor);
        m_MouseMode = divider;
    } else if (m_MouseMode == OverColumnDivider || m_MouseMode == OverRowDivider) {
        viewport()->setCursor(Qt::ArrowCursor);
        m_MouseMode = Idle;
    }
    if (m_MouseMode != Idle)
        return;
    const CellID cell = GetCellFromPoint(point);
    if (CGridCellBase* hovered = GetCell(cell.row, cell.col)) {
        hovered->OnSetCursor();
        hovered->OnMouseOver();
    }
}

bool CGridCtrl::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::Leave)
        OnMouseLeave();
    return QAbstractScrollArea::viewportEvent(event);
}

void CGridCtrl::OnMouseLeave()
{
    if (m_MouseMode != OverColumnDivider && m_MouseMode != OverRowDivider)
        return;
    viewport()->setCursor(Qt::ArrowCursor);
    m_MouseMode = Idle;
}

bool CGridCtrl::IsMouseOperationUnderway() const
{
    return m_MouseMode != Idle && m_MouseMode != OverColumnDivider && m_MouseMode != OverRowDivider;
}

void CGridCtrl::OnAutoScroll()
{
    const QRect client = viewport()->rect();
    const int fixedHeight = GetFixedRowHeight();
    const int fixedWidth = GetFixedColumnWidth();
    QPoint point = m_LastMousePoint;
    if (point.y() > client.bottom()) {
        OnKeyDown(Qt::Key_Down, Qt::NoModifier);
        point = QPoint(std::clamp(point.x(), client.left(), client.right()), client.bottom());
    } else if (point.y() < fixedHeight) {
        OnKeyDown(Qt::Key_Up, Qt::NoModifier);
        point = QPoint(std::clamp(point.x(), client.left(), client.right()), fixedHeight + 1);
    } else if (point.x() > client.right()) {
        OnKeyDown(Qt::Key_Right, Qt::NoModifier);
        point = QPoint(client.right(), std::clamp(point.y(), client.top(), client.bottom()));
    } else if (point.x() < fixedWidth) {
        OnKeyDown(Qt::Key_Left, Qt::NoModifier);
        point = QPoint(fixedWidth + 1, std::clamp(point.y(), client.top(), client.bottom()));
    } else {
        return;
    }
    OnSelecting(GetCellFromPoint(point));
}

void CGridCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        OnLButtonUp(point);
    else if (event->button() == Qt::RightButton)
        OnRButtonUp(point);
}

void CGridCtrl::OnLButtonUp(QPoint point)
{
    m_AutoScrollTimer.stop();
    const CellID down = m_LeftClickDownCell;
    switch (m_MouseMode) {
    case PrepareEdit:
        m_MouseMode = Idle;
        BeginCellEdit(m_idCurrentCell.row, m_idCurrentCell.col, point, VK_LBUTTON);
        break;
    case SizingColumn:
    case SizingRow:
        FinishSizing(point);
        break;
    default:
        // Also after a press on no cell: the owner then hears of a click with a row or column -1.
        NotifyOwner(down.row, down.col, GridNotify::SelectionChanged);
        if (CGridCellBase* focus = GetCell(m_idCurrentCell.row, m_idCurrentCell.col))
            focus->OnClick(PointInCell(m_idCurrentCell, point));
        NotifyOwner(down.row, down.col, NM_CLICK);
        break;
    }
    m_MouseMode = Idle;
    viewport()->setCursor(Qt::ArrowCursor);
    if (IsValid(down)) {
        const int id = m_nID;
        QMetaObject::invokeMethod(this, [this, id] { emit Command(id); }, Qt::QueuedConnection);
    }
}

void CGridCtrl::OnRButtonUp(QPoint point)
{
    FinishEditing();
    const CellID cell = GetCellFromPoint(point);
    if (!IsValid(cell)) {
        NotifyOwner(-1, -1, NM_RCLICK);
        return;
    }
    // A header with no ordinary row or column to move the focus to is reported itself.
    CellID target = OutOfFixed(cell);
    if (IsValid(target))
        SetFocusCell(target.row, target.col);
    else
        target = cell;
    GetCell(target.row, target.col)->OnRClick(PointInCell(target, point));
    NotifyOwner(target.row, target.col, NM_RCLICK);
}

void CGridCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint point = event->position().toPoint();
    const MouseMode divider = DividerAt(point);
    if (divider != Idle) {
        const bool columns = divider == OverColumnDivider;
        const int index = SizedIndexAt(point, columns);
        if (columns)
            AutoSizeColumn(index);
        else
            AutoSizeRow(index);
        return;
    }
    const CellID cell = GetCellFromPoint(point);
    CGridCellBase* clicked = GetCell(cell.row, cell.col);
    if (!clicked)
        return;
    if (!IsFixedCell(cell) && PointInTextRect(cell, point))
        BeginCellEdit(cell.row, cell.col, point, VK_LBUTTON);
    clicked->OnDblClick(PointInCell(cell, point));
    NotifyOwner(cell.row, cell.col, NM_DBLCLK);
}

void CGridCtrl::wheelEvent(QWheelEvent* event)
{
    const int notches = event->angleDelta().y() / 120;
    if (notches == 0)
        return;
    if (m_nRowsPerWheelNotch == -1)
        verticalScrollBar()->setValue(verticalScrollBar()->value() - notches * verticalScrollBar()->pageStep());
    else
        ScrollRows(-notches * m_nRowsPerWheelNotch);
    event->accept();
}
