#include "app/WindowPlace.h"

#include <algorithm>

QPoint CentredWindowPlace(const QRect& frame, const QRect& available)
{
    QRect placed = frame;
    placed.moveCenter(available.center());
    return {std::max(placed.left(), available.left()), std::max(placed.top(), available.top())};
}
