#pragma once
// Where the main window goes on its screen: centred in the screen's available area, except that
// a window larger than that area (the minimum size at a 2x scale on a small screen) keeps its
// top-left corner on it, so that the title bar and the menu can be reached; its far side is
// what goes off the screen.
#include <QPoint>
#include <QRect>

// The top-left corner of `frame` (the window with its frame) placed on `available`.
QPoint CentredWindowPlace(const QRect& frame, const QRect& available);
