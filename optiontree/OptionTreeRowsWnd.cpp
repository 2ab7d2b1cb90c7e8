#include "optiontree/OptionTreeRowsWnd.h"

#include "optiontree/OptionTreeCtrl.h"

#include <QScrollBar>
#include <QWheelEvent>

COptionTreeRowsWnd::COptionTreeRowsWnd(COptionTreeCtrl* tree)
    : QAbstractScrollArea(tree)
    , m_tree(tree)
{
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(true);
    verticalScrollBar()->setSingleStep(LineHeight);
    // A click on the scroll bar takes the keyboard focus, as a scroll message would.
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, [this] { setFocus(); });
    // The wheel scrolls one row wherever the pointer is over the tree, the scroll bar included
    // (left alone, the bar would scroll three).
    verticalScrollBar()->installEventFilter(this);
}

int COptionTreeRowsWnd::TotalHeight() const
{
    int total = 0;
    m_tree->Traverse(m_tree->GetRootItem(), [&total](COptionTreeItemBase* item) {
        total += item->GetHeight();
        // Collapsed rows hide their subtree from the total.
        return item->IsExpanded();
    });
    return total;
}

void COptionTreeRowsWnd::UpdateScrollbar()
{
    const int total = TotalHeight();
    const int page = ClientRect().height() + 1;
    QScrollBar* bar = verticalScrollBar();
    bar->setPageStep(page);
    bar->setRange(0, qMax(0, total - page));
    // After rows collapse the bar keeps its value within the new range and the offset follows it
    // (scrollContentsBy): no blank band is left below the last row.
    if (total < page)
        m_tree->SetYOffset(0);
    bar->setValue(m_tree->GetYOffset());
    m_tree->SetColumn(m_tree->GetColumn());
}

void COptionTreeRowsWnd::ScrollTo(int y)
{
    // The range is 0 .. total - client height - 1; a short tree cannot scroll at all.
    const int position = qBound(0, y, verticalScrollBar()->maximum());
    m_tree->SetYOffset(position);
    verticalScrollBar()->setValue(position);
    viewport()->update();
    setFocus();
}

void COptionTreeRowsWnd::scrollContentsBy(int, int)
{
    m_tree->SetYOffset(verticalScrollBar()->value());
    viewport()->update();
}

void COptionTreeRowsWnd::resizeEvent(QResizeEvent*)
{
    m_tree->InvalidateLayout();
    UpdateScrollbar();
    m_tree->MoveAllItems();
    viewport()->update();
}

void COptionTreeRowsWnd::wheelEvent(QWheelEvent* event)
{
    event->accept();
    const int delta = event->angleDelta().y();
    if (delta == 0 || !isEnabled() || TotalHeight() < ClientRect().height())
        return;
    ScrollTo(m_tree->GetYOffset() + (delta > 0 ? -LineHeight : LineHeight));
}

bool COptionTreeRowsWnd::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == verticalScrollBar() && event->type() == QEvent::Wheel) {
        wheelEvent(static_cast<QWheelEvent*>(event));
        return true;
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

bool COptionTreeRowsWnd::focusNextPrevChild(bool)
{
    // Tab and Shift+Tab move between rows, never out of the tree.
    return false;
}
