#pragma once
// The program's own bitmaps by resource number: 128 the icon, 102 the Tip of the Day bulb,
// 136 the splash screen. A null pixmap for any other number. GUI thread only.
#include <QPixmap>

QPixmap AppBitmap(int id);
