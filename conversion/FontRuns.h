#pragma once
// Text shown in the font that has each character: the library knows one font at a time, so a
// UTF-8 text whose characters fall to fallback fonts goes out in runs, the font switched between
// them. Called inside a text object of a page whose font is `font` at `size`; the page's font is
// `font` again afterwards.
#include "conversion/GlyphWidths.h"

#include <hpdf.h>

#include <string>

void ShowInFontRuns(HPDF_Page page, const std::string& text, HPDF_Font font, float size, GlyphWidths& widths);

// The sum of the library's widths of the characters of `text`, in points.
float TextWidth(std::string_view text, GlyphWidths& widths, const MultiByteCharset& charset);
