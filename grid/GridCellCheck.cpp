#include "grid/GridCellCheck.h"

#include "grid/GridCtrl.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

const GridCellClass CGridCellCheck::Class = {"CGridCellCheck", &CGridCell::Class,
                                             &CreateCellOf<CGridCellCheck>};

bool CGridCellCheck::SetCheck(bool checked)
{
    const bool previous = m_bChecked;
    m_bChecked = checked;
    if (!m_Rect.isEmpty() && GetGrid())
        GetGrid()->viewport()->update(m_Rect);
    return previous;
}

int CGridCellCheck::BoxSide() const
{
    const CGridCtrl* grid = GetGrid();
    return grid ? grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, grid) : 16;
}

QRect CGridCellCheck::CheckBoxRect(const QRect& cellRect) const
{
    const int side = BoxSide();
    const int margin = int(GetMargin());
    int top = cellRect.top() + margin;
    if (cellRect.height() < side + 2 * margin)
        top = cellRect.top() + (cellRect.height() - side) / 2;
    return QRect(cellRect.left() + margin, top, side, side);
}

bool CGridCellCheck::Draw(QPainter& painter, int row, int col, QRect rect)
{
    if (!CGridCell::Draw(painter, row, col, rect))
        return false;
    m_Rect = rect;
    QStyleOptionButton option;
    option.initFrom(GetGrid());
    option.rect = CheckBoxRect(rect);
    option.state = QStyle::State_Enabled | (m_bChecked ? QStyle::State_On : QStyle::State_Off);
    GetGrid()->style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, &painter, GetGrid());
    return true;
}

bool CGridCellCheck::GetTextRect(QRect& rect) const
{
    CGridCell::GetTextRect(rect);
    const int indent = BoxSide() + 2 * int(GetMargin());
    rect.setLeft(std::min(rect.left() + indent, rect.right() + 1));
    return true;
}

QSize CGridCellCheck::GetCellExtent() const
{
    const int box = BoxSide() + 2 * int(GetMargin());
    const QSize text = CGridCell::GetCellExtent();
    return QSize(text.width() + box, std::max(text.height(), box));
}

void CGridCellCheck::OnClick(QPoint point)
{
    if (!CheckBoxRect(m_Rect).contains(point + m_Rect.topLeft()))
        return;
    m_bChecked = !m_bChecked;
    if (GetGrid())
        GetGrid()->viewport()->update(m_Rect);
}
