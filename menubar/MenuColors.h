#pragma once
// The colours of the flat menu look: system colours made lighter or darker, and more or less
// saturated, in hue-lightness-saturation space. GUI thread only (system colours come from the
// application palette).
#include "platform/WinTypes.h"

// The colour with its lightness moved by lightness per cent and its saturation by saturation
// per cent: a positive amount moves that share of the way towards 255, a negative one keeps
// (100 + amount) per cent of the value. Hue, lightness and saturation are each scaled to
// 0..255; the arithmetic on lightness and saturation is integer and clamped to 0..255.
COLORREF AdjustColor(COLORREF color, int lightness, int saturation);

// AdjustColor applied to the system colour of that index (COLOR_BTNFACE, COLOR_HIGHLIGHT, ...).
COLORREF AdjustSysColor(int index, int lightness, int saturation);
