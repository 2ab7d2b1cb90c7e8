// Painting the rows window: background and margin, the rows, the frame lines and, while the
// column boundary is dragged, the inverted drag bar.
#include "optiontree/OptionTreeRowsWnd.h"

#include "optiontree/OptionTreeCtrl.h"
#include "optiontree/OptionTreeGdi.h"

#include <QBitmap>
#include <QPainter>

namespace {

constexpr int Margin = COptionTreeCtrl::ExpandMargin;

// An 8x8 checkerboard, rows alternating 0xAA and 0x55; pattern bytes put the high bit leftmost.
QBrush CheckerBrush()
{
    static const uchar rows[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
    QBrush brush(Qt::white);
    brush.setTexture(QBitmap::fromData(QSize(8, 8), rows, QImage::Format_Mono));
    return brush;
}

} // namespace

void COptionTreeRowsWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    const QRect client = ClientRect();
    PaintBackground(painter, client);
    PaintItems(painter, client);
    PaintFrame(painter, client);
    PaintDragBar(painter, client);
}

void COptionTreeRowsWnd::PaintBackground(QPainter& painter, const QRect& client) const
{
    const bool enabled = m_tree->isEnabled();
    FillSysColor(painter, client, COLOR_3DFACE);
    FillSysColor(painter, client.adjusted(2, 2, -2, -2), enabled ? COLOR_WINDOW : COLOR_3DFACE);
    const bool shadeMargin = !enabled || (m_tree->GetOptions() & COptionTreeCtrl::ShadeMargin);
    FillSysColor(painter, QRect(0, 0, Margin, client.height()), shadeMargin ? COLOR_3DFACE : COLOR_WINDOW);
}

void COptionTreeRowsWnd::PaintItems(QPainter& painter, const QRect& client)
{
    painter.save();
    painter.setClipRect(client);
    for (COptionTreeItemBase* item = m_tree->GetVisibleHead(); item; item = item->GetNextVisible())
        item->DrawItem(painter, client);
    painter.restore();
}

void COptionTreeRowsWnd::PaintFrame(QPainter& painter, const QRect& client) const
{
    FillSysColor(painter, QRect(Margin, 0, 1, client.height()), COLOR_BTNSHADOW);
    DrawSunkenOuterEdge(painter, client);
}

void COptionTreeRowsWnd::PaintDragBar(QPainter& painter, const QRect& client) const
{
    if (!m_dragging)
        return;
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.fillRect(GdiRect(m_dragPos - 2, 0, m_dragPos + 2, client.height()), CheckerBrush());
    painter.restore();
}
