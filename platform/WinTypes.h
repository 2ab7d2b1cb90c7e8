#pragma once
// The few Win32 value types that the controls keep in their public interfaces, so that their
// fields, results and colours read as the rest of the program expects.
#include <cstdint>

using BOOL = int;
constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

using LRESULT = long;
using UINT = unsigned int;
using DWORD = std::uint32_t;

// 0x00BBGGRR, as GDI stores colours.
using COLORREF = std::uint32_t;
constexpr COLORREF CLR_DEFAULT = 0xFF000000;
constexpr COLORREF CLR_NONE = 0xFFFFFFFF;

constexpr COLORREF RGB(int red, int green, int blue)
{
    return COLORREF(red & 0xFF) | (COLORREF(green & 0xFF) << 8) | (COLORREF(blue & 0xFF) << 16);
}
constexpr int GetRValue(COLORREF c) { return int(c & 0xFF); }
constexpr int GetGValue(COLORREF c) { return int((c >> 8) & 0xFF); }
constexpr int GetBValue(COLORREF c) { return int((c >> 16) & 0xFF); }

// The background of the frame, the panes, the labels and the splitter bars.
constexpr COLORREF PANE_COLOR = RGB(207, 234, 254);
