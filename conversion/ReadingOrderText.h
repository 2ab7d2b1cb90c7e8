#pragma once
// A reordered line shown so that the page's content holds its characters in the order of the text
// while each stands where the visual line has it: a text array (one per font, where fallback fonts
// draw some characters) whose numbers move back and forth between the pieces. The numbers are the
// fonts' own widths, so the line's glyphs stand exactly where showing the visual line would put
// them. Called inside a text object, at the start of the line, of a page whose font is `font` at
// `size`, a TrueType font with the UTF-8 encoding (as are its fallbacks), and the line, like any
// the library writes in UTF-8, holds no character beyond U+FFFF; the page's font is `font` again
// afterwards, and the next line moves from the line's start as after any other. A failed write
// puts the document in error.
#include "conversion/GlyphWidths.h"
#include "conversion/VisualOrder.h"

#include <hpdf.h>

void ShowInReadingOrder(HPDF_Page page, const ReorderedLine& line, HPDF_Font font, float size, GlyphWidths& widths);
