#pragma once
// Several attributes of one cell at once (CGridCtrl::SetItem), and the payload of the in-place
// editor's end-of-edit record. Only the fields named in the mask are applied.
#include "platform/WinTypes.h"

#include <QFont>
#include <QString>

struct GridItem {
    static constexpr UINT ItemText = 0x001;
    static constexpr UINT ItemImage = 0x002;
    static constexpr UINT ItemData = 0x004;
    static constexpr UINT ItemState = 0x008;
    static constexpr UINT ItemBackColour = 0x010;
    static constexpr UINT ItemTextColour = 0x020;
    static constexpr UINT ItemFormat = 0x040;
    static constexpr UINT ItemFont = 0x080;
    static constexpr UINT ItemMargin = 0x100;

    int row = -1;
    int col = -1;
    UINT mask = 0;
    UINT state = 0;
    UINT format = 0;
    int image = -1;
    COLORREF backColour = 0;
    COLORREF textColour = 0;
    DWORD data = 0;
    QFont font;
    UINT margin = 0;
    QString text;
};
