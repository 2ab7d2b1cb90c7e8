// Geometry, painting and scroll bars. Hit testing and painting both start from CellOrigin, so
// the two can never disagree.
#include "grid/GridCtrl.h"

#include "platform/SysColors.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

QPoint CGridCtrl::CellOrigin(int row, int col) const
{
    int x = int(m_ColWidths.Offset(col));
    int y = int(m_RowHeights.Offset(row));
    if (col >= m_nFixedCols)
        x -= horizontalScrollBar()->value();
    if (row >= m_nFixedRows)
        y -= verticalScrollBar()->value();
    return QPoint(x, y);
}

BOOL CGridCtrl::GetCellRect(int row, int col, QRect& rect) const
{
    if (!IsValid(row, col))
        return FALSE;
    rect = QRect(CellOrigin(row, col), QSize(m_ColWidths.Size(col), m_RowHeights.Size(row)));
    return TRUE;
}

bool CGridCtrl::IsCellVisible(int row, int col) const
{
    QRect rect;
    if (!GetCellRect(row, col, rect))
        return false;
    const QRect client = viewport()->rect();
    const int left = col < m_nFixedCols ? 0 : GetFixedColumnWidth();
    const int top = row < m_nFixedRows ? 0 : GetFixedRowHeight();
    return rect.intersects(QRect(left, top, client.width() - left, client.height() - top));
}

CellID CGridCtrl::GetCellFromPoint(QPoint point, bool allowFixed) const
{
    if (point.x() < 0 || point.y() < 0)
        return CellID();
    const auto locate = [allowFixed](const CGridSizeIndex& sizes, int fixedCount, int pos, int scroll) {
        const int fixedExtent = int(sizes.Offset(fixedCount));
        int index = pos < fixedExtent ? (allowFixed ? sizes.IndexAt(pos) : -1)
                                      : std::max(fixedCount, sizes.IndexAt(std::int64_t(pos) + scroll));
        return index >= sizes.Count() ? -1 : index;
    };
    return CellID{locate(m_RowHeights, m_nFixedRows, point.y(), verticalScrollBar()->value()),
                  locate(m_ColWidths, m_nFixedCols, point.x(), horizontalScrollBar()->value())};
}

CellID CGridCtrl::GetTopleftNonFixedCell() const
{
    const int row = m_RowHeights.IndexAt(GetFixedRowHeight() + std::int64_t(verticalScrollBar()->value()));
    const int col = m_ColWidths.IndexAt(GetFixedColumnWidth() + std::int64_t(horizontalScrollBar()->value()));
    return CellID{std::max(row, m_nFixedRows), std::max(col, m_nFixedCols)};
}

CellRange CGridCtrl::GetVisibleNonFixedCellRange() const
{
    const CellID topLeft = GetTopleftNonFixedCell();
    const QRect client = viewport()->rect();
    const int lastRow = m_RowHeights.IndexAt(std::int64_t(client.bottom()) + verticalScrollBar()->value());
    const int lastCol = m_ColWidths.IndexAt(std::int64_t(client.right()) + horizontalScrollBar()->value());
    return CellRange{topLeft.row, topLeft.col, std::min(lastRow, m_nRows - 1), std::min(lastCol, m_nCols - 1)};
}

void CGridCtrl::EnsureVisible(int row, int col)
{
    QRect rect;
    if (!GetCellRect(row, col, rect))
        return;
    const QRect client = viewport()->rect();
    if (row >= m_nFixedRows) {
        QScrollBar* bar = verticalScrollBar();
        const int top = GetFixedRowHeight();
        if (rect.top() < top)
            bar->setValue(bar->value() - (top - rect.top()));
        else if (rect.bottom() > client.bottom())
            bar->setValue(bar->value() + std::min(rect.bottom() - client.bottom(), rect.top() - top));
    }
    if (col >= m_nFixedCols) {
        QScrollBar* bar = horizontalScrollBar();
        const int left = GetFixedColumnWidth();
        if (rect.left() < left)
            bar->setValue(bar->value() - (left - rect.left()));
        else if (rect.right() > client.right())
            bar->setValue(bar->value() + std::min(rect.right() - client.right(), rect.left() - left));
    }
}

void CGridCtrl::ResetScrollBars()
{
    const QSize client = viewport()->size();
    const int pageHeight = std::max(0, client.height() - GetFixedRowHeight());
    const int pageWidth = std::max(0, client.width() - GetFixedColumnWidth());
    const std::int64_t height = m_RowHeights.Total() - GetFixedRowHeight();
    const std::int64_t width = m_ColWidths.Total() - GetFixedColumnWidth();
    const auto limit = [](std::int64_t total, int page) { return int(std::clamp<std::int64_t>(total - page, 0, INT_MAX)); };
    verticalScrollBar()->setRange(0, limit(height, pageHeight));
    verticalScrollBar()->setPageStep(pageHeight);
    verticalScrollBar()->setSingleStep(m_cellDefault->GetHeight());
    horizontalScrollBar()->setRange(0, limit(width, pageWidth));
    horizontalScrollBar()->setPageStep(pageWidth);
    horizontalScrollBar()->setSingleStep(m_cellDefault->GetWidth());
}

void CGridCtrl::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    ResetScrollBars();
}

void CGridCtrl::scrollContentsBy(int /*dx*/, int /*dy*/)
{
    // An open edit box would stay put while its cell moves away, and what the user then typed
    // over another row would still be stored in the edited one. The edit ends as it does when
    // the box loses the focus, so the text goes into the cell it was typed for.
    FinishEditing();
    viewport()->update();
}

void CGridCtrl::RedrawCell(int row, int col, Repaint repaint)
{
    QRect rect;
    if (!GetCellRect(row, col, rect))
        return;
    if (repaint == Repaint::Now)
        viewport()->repaint(rect);
    else
        viewport()->update(rect);
}

BOOL CGridCtrl::AutoSizeLine(Axis axis, int index)
{
    if (index < 0 || index >= Fields(axis).count)
        return FALSE;
    int size = 0;
    for (int across = 0; across < Fields(Across(axis)).count; ++across) {
        const CellID id = CellAt(axis, index, across);
        const QSize extent = GetCell(id.row, id.col)->GetCellExtent();
        size = std::max(size, axis == Axis::Rows ? extent.height() : extent.width());
    }
    SetLineSize(axis, index, size);
    viewport()->update();
    return TRUE;
}

// ---- Painting -------------------------------------------------------------------------------

void CGridCtrl::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    const QRect clip = event->rect();
    painter.fillRect(clip, ToQColor(m_crGridBkColour));
    const CellRange visible = GetVisibleNonFixedCellRange();
    const QRect client = viewport()->rect();
    const int fixedWidth = GetFixedColumnWidth();
    const int fixedHeight = GetFixedRowHeight();
    const QRect fixedRows(fixedWidth, 0, client.width() - fixedWidth, fixedHeight);
    const QRect fixedCols(0, fixedHeight, fixedWidth, client.height() - fixedHeight);

    DrawCells(painter, 0, m_nFixedRows - 1, 0, m_nFixedCols - 1, clip & QRect(0, 0, fixedWidth, fixedHeight));
    DrawCells(painter, 0, m_nFixedRows - 1, visible.minCol, visible.maxCol, clip & fixedRows);
    DrawCells(painter, visible.minRow, visible.maxRow, 0, m_nFixedCols - 1, clip & fixedCols);
    DrawCells(painter, visible.minRow, visible.maxRow, visible.minCol, visible.maxCol,
              clip & QRect(fixedWidth, fixedHeight, client.width() - fixedWidth, client.height() - fixedHeight));
    DrawGridLines(painter, visible);
    DrawSizingLine(painter);
}

void CGridCtrl::DrawCells(QPainter& painter, int firstRow, int lastRow, int firstCol, int lastCol, const QRect& clip)
{
    if (clip.isEmpty())
        return;
    painter.save();
    painter.setClipRect(clip);
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int col = firstCol; col <= lastCol; ++col) {
            QRect rect;
            if (GetCellRect(row, col, rect) && !rect.isEmpty() && rect.intersects(clip))
                GetCell(row, col)->Draw(painter, row, col, rect);
        }
    }
    painter.restore();
}

void CGridCtrl::DrawGridLines(QPainter& painter, const CellRange& visible)
{
    if (!IsValid(visible))
        return;
    QRect last;
    GetCellRect(visible.maxRow, visible.maxCol, last);
    const int left = GetFixedColumnWidth();
    const int top = GetFixedRowHeight();
    painter.setPen(ToQColor(m_crGridLineColour));
    if (m_nGridLines & GridLinesVert) {
        for (int col = visible.minCol; col <= visible.maxCol; ++col) {
            QRect rect;
            if (GetCellRect(visible.minRow, col, rect) && rect.width() > 0)
                painter.drawLine(rect.right(), top, rect.right(), last.bottom());
        }
    }
    if (m_nGridLines & GridLinesHorz) {
        for (int row = visible.minRow; row <= visible.maxRow; ++row) {
            QRect rect;
            if (GetCellRect(row, visible.minCol, rect) && rect.height() > 0)
                painter.drawLine(left, rect.bottom(), last.right(), rect.bottom());
        }
    }
}

QRect CGridCtrl::SizingLineRect() const
{
    if (m_MouseMode == SizingColumn)
        return QRect(m_nSizingLine, 0, 2, viewport()->height());
    if (m_MouseMode == SizingRow)
        return QRect(0, m_nSizingLine, viewport()->width(), 2);
    return QRect();
}

void CGridCtrl::DrawSizingLine(QPainter& painter)
{
    const QRect line = SizingLineRect();
    if (line.isEmpty())
        return;
    // White XOR the pixels under the line inverts them, so it shows over any colour.
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.fillRect(line, Qt::white);
    painter.restore();
}
