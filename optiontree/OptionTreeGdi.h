#pragma once
// GDI-style drawing for the option tree: rectangles given by their edges (right and bottom
// exclusive, as GDI keeps them) and the few primitives the rows and the description use.
#include "platform/SysColors.h"

#include <QPainter>
#include <QRect>

inline QRect GdiRect(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}

// The exclusive right and bottom edges of a rectangle, as GDI reports them.
inline int GdiRight(const QRect& rect) { return rect.x() + rect.width(); }
inline int GdiBottom(const QRect& rect) { return rect.y() + rect.height(); }

inline void FillSolid(QPainter& painter, const QRect& rect, COLORREF color)
{
    painter.fillRect(rect, ToQColor(color));
}

inline void FillSysColor(QPainter& painter, const QRect& rect, int index)
{
    FillSolid(painter, rect, GetSysColor(index));
}

// A one-pixel sunken outer edge: shadow on the top and left, highlight on the bottom and right.
inline void DrawSunkenOuterEdge(QPainter& painter, const QRect& rect)
{
    const int right = GdiRight(rect);
    const int bottom = GdiBottom(rect);
    FillSysColor(painter, GdiRect(rect.x(), rect.y(), right - 1, rect.y() + 1), COLOR_BTNSHADOW);
    FillSysColor(painter, GdiRect(rect.x(), rect.y(), rect.x() + 1, bottom - 1), COLOR_BTNSHADOW);
    FillSysColor(painter, GdiRect(rect.x(), bottom - 1, right, bottom), COLOR_BTNHIGHLIGHT);
    FillSysColor(painter, GdiRect(right - 1, rect.y(), right, bottom), COLOR_BTNHIGHLIGHT);
}
