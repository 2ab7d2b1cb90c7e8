#pragma once
// GDI's DrawText over QPainter. The flag words keep their GDI values because cells and labels
// store them as data (a grid cell's format 0x8824, a label's 37).
#include "platform/WinTypes.h"

class QFontMetrics;
class QPainter;
class QRect;
class QString;

constexpr UINT DT_TOP = 0x0000;
constexpr UINT DT_LEFT = 0x0000;
constexpr UINT DT_CENTER = 0x0001;
constexpr UINT DT_RIGHT = 0x0002;
constexpr UINT DT_VCENTER = 0x0004;
constexpr UINT DT_BOTTOM = 0x0008;
constexpr UINT DT_WORDBREAK = 0x0010;
constexpr UINT DT_SINGLELINE = 0x0020;
constexpr UINT DT_EXPANDTABS = 0x0040;
constexpr UINT DT_NOCLIP = 0x0100;
constexpr UINT DT_CALCRECT = 0x0400;
constexpr UINT DT_NOPREFIX = 0x0800;
constexpr UINT DT_PATH_ELLIPSIS = 0x4000;
constexpr UINT DT_END_ELLIPSIS = 0x8000;
constexpr UINT DT_WORD_ELLIPSIS = 0x40000;

// Draws text in rect with the painter's font and pen, as GDI would. With DT_CALCRECT nothing is
// drawn and rect's right and bottom edges are moved to fit the text. Returns the text's height.
// Without DT_NOPREFIX an ampersand marks the next character as a mnemonic and is not drawn.
int DrawText(QPainter& painter, const QString& text, QRect& rect, UINT format);

// The rectangle DrawText with DT_CALCRECT gives: rect's top-left, as wide and high as the text
// measured with metrics.
QRect CalcTextRect(const QFontMetrics& metrics, const QString& text, const QRect& rect, UINT format);
