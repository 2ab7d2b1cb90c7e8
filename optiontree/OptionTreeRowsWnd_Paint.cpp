// Painting the rows window: background and margin, the rows, the frame lines and, while the
// column boundary is dragged, the inverted drag bar.
#include "optiontree/OptionTreeRowsWnd.h"

#include "optiontree/OptionTreeCtrl.h"
#include "optiontree/OptionTreeGdi.h"

#include <QBitmap>
#include <QPainter>

namespace {

constexpr int Margin = COptionTreeCtrl::ExpandMargin;

// An 8x8 checkerboard, rows alternating 0xAA and 0x55.
QBrush CheckerBrush()
{
    static const uchar rows[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
    QBrush brush(Qt::white);
    brush.setTexture(QBitmap::fromData(QSize(8, 8), rows, QImage::Format_MonoLSB));
    return brush;
}

} // namespace

void COptionTreeRowsWnd::paintEvent(QPaintEvent*)
{
    QPainter dc(viewport());
    const QRect client = ClientRect();
    PaintBackground(dc, client);
    PaintItems(dc, client);
    PaintFrame(dc, client);
    PaintDragBar(dc, client);
}

void COptionTreeRowsWnd::PaintBackground(QPainter& dc, const QRect& client) const
{
    const bool enabled = m_tree->isEnabled();
    FillSysColor(dc, client, COLOR_3DFACE);
    FillSysColor(dc, client.adjusted(2, 2, -2, -2), enabled ? COLOR_WINDOW : COLOR_3DFACE);
    const bool shadeMargin = !enabled || (m_tree->GetOptions() & COptionTreeCtrl::ShadeMargin);
    FillSysColor(dc, QRect(0, 0, Margin, client.height()), shadeMargin ? COLOR_3DFACE : COLOR_WINDOW);
}

void COptionTreeRowsWnd::PaintItems(QPainter& dc, const QRect& client)
{
    m_tree->ClearVisibleList();
    m_tree->Traverse(m_tree->GetRootItem(), [](COptionTreeItemBase* item) {
        item->SetLabelRect(QRect());
        return TRUE;
    });
    dc.save();
    dc.setClipRect(client);
    int y = 0;
    for (COptionTreeItemBase* item = m_tree->GetRootItem()->GetChild(); item; item = item->GetSibling())
        y += item->DrawItem(dc, client, 0, y);
    dc.restore();
}

void COptionTreeRowsWnd::PaintFrame(QPainter& dc, const QRect& client) const
{
    FillSysColor(dc, QRect(Margin, 0, 1, client.height()), COLOR_BTNSHADOW);
    DrawSunkenOuterEdge(dc, client);
}

void COptionTreeRowsWnd::PaintDragBar(QPainter& dc, const QRect& client) const
{
    if (!m_dragging)
        return;
    dc.save();
    dc.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    dc.fillRect(GdiRect(m_dragPos - 2, 0, m_dragPos + 2, client.height()), CheckerBrush());
    dc.restore();
}
