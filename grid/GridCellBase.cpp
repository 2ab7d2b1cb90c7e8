#include "grid/GridCellBase.h"

#include "grid/GridCtrl.h"
#include "grid/GridDefaultCell.h"
#include "platform/DrawTextFlags.h"
#include "platform/SysColors.h"

#include <QFontMetrics>
#include <QPainter>

const GridCellClass CGridCellBase::Class = {"CGridCellBase", nullptr, nullptr};

const CGridDefaultCell* CGridCellBase::GetDefaultCell() const
{
    const CGridCtrl* grid = GetGrid();
    return grid ? grid->GetDefaultCell(GetState()) : nullptr;
}

void CGridCellBase::Assign(const CGridCellBase& other)
{
    if (this == &other)
        return;
    SetGrid(other.GetGrid());
    SetText(other.GetText());
    SetImage(other.GetImage());
    SetData(other.GetData());
    SetState(other.GetState());
    SetFormat(other.GetFormat());
    SetTextClr(other.GetTextClr());
    SetBackClr(other.GetBackClr());
    SetFont(other.IsDefaultFont() ? std::nullopt : std::optional<QFont>(other.GetFont()));
    SetMargin(other.GetMargin());
}

COLORREF CGridCellBase::DrawingTextColour() const
{
    const CGridDefaultCell* def = GetDefaultCell();
    if (GetTextClr() != DefaultColour || !def || def == this)
        return GetTextClr() == DefaultColour ? GetSysColor(COLOR_WINDOWTEXT) : GetTextClr();
    return def->DrawingTextColour();
}

COLORREF CGridCellBase::DrawingBackColour() const
{
    const CGridDefaultCell* def = GetDefaultCell();
    if (GetBackClr() != DefaultColour || !def || def == this)
        return GetBackClr() == DefaultColour ? GetSysColor(COLOR_WINDOW) : GetBackClr();
    return def->DrawingBackColour();
}

bool CGridCellBase::Draw(QPainter& painter, int row, int col, QRect rect)
{
    const CGridCtrl* grid = GetGrid();
    if (!grid)
        return false;

    COLORREF text = DrawingTextColour();
    painter.fillRect(rect, ToQColor(DrawingBackColour()));
    if (IsFixed()) {
        DrawFixedFrame(painter, row, col, rect);
    } else if (IsSelected() || IsDropHighlighted()) {
        painter.fillRect(rect, ToQColor(GetSysColor(COLOR_HIGHLIGHT)));
        text = GetSysColor(COLOR_HIGHLIGHTTEXT);
    }
    if (IsFocused() && !IsFixed() && grid->GetFrameFocusCell()) {
        painter.setPen(ToQColor(GetSysColor(COLOR_WINDOWTEXT)));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect.adjusted(0, 0, -2, -2)); // inside the grid lines
    }

    QRect textRect = rect;
    GetTextRect(textRect);
    DrawImage(painter, textRect);
    painter.setFont(GetFont());
    painter.setPen(ToQColor(text));
    DrawText(painter, GetText(), textRect, GetFormat() | DT_NOPREFIX);
    return true;
}

void CGridCellBase::DrawFixedFrame(QPainter& painter, int row, int col, const QRect& rect) const
{
    const CGridCtrl* grid = GetGrid();
    const CellID focus = grid->GetFocusCell();
    const bool sunken = grid->GetTrackFocusCell()
                        && ((IsFixedRow() && focus.col == col) || (IsFixedCol() && focus.row == row));
    const QColor light = ToQColor(GetSysColor(COLOR_3DHIGHLIGHT));
    const QColor dark = ToQColor(GetSysColor(COLOR_3DDKSHADOW));
    painter.setPen(sunken ? dark : light);
    painter.drawLine(rect.topLeft(), rect.topRight());
    painter.drawLine(rect.topLeft(), rect.bottomLeft());
    painter.setPen(sunken ? light : dark);
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    painter.drawLine(rect.topRight(), rect.bottomRight());
}

void CGridCellBase::DrawImage(QPainter& painter, QRect& textRect) const
{
    const QPixmap* image = GetGrid()->GetImage(GetImage());
    if (!image || image->width() > textRect.width())
        return;
    const int top = textRect.top() + (textRect.height() - image->height()) / 2;
    painter.drawPixmap(textRect.left(), top, *image);
    textRect.setLeft(textRect.left() + image->width() + int(GetMargin()));
}

bool CGridCellBase::GetTextRect(QRect& rect) const
{
    const int margin = int(GetMargin());
    rect.adjust(margin, 0, -margin, 0);
    return true;
}

QSize CGridCellBase::GetTextExtent(const QString& text) const
{
    const QFontMetrics metrics(GetFont());
    const int margin = int(GetMargin());
    const QSize size = metrics.size(Qt::TextSingleLine, text.isEmpty() ? QStringLiteral(" ") : text);
    return QSize(size.width() + 2 * margin, size.height() + 2 * margin);
}

QSize CGridCellBase::GetCellExtent() const
{
    return GetTextExtent(GetText());
}

bool CGridCellBase::OnSetCursor()
{
    if (CGridCtrl* grid = GetGrid())
        grid->viewport()->setCursor(Qt::ArrowCursor);
    return true;
}
