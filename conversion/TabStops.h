#pragma once
// Tabs turned into spaces before a text is broken into lines, so that columns stay columns. A
// tab advances to the next stop, the stops lying every `tabSize` space widths from the start of
// the line; the spaces drawn for it reach the stop or, in a font whose letters are not a whole
// number of spaces wide, the first space width past it. Any thread that owns the document.
#include "conversion/GlyphWidths.h"
#include "platform/MultiByteCharset.h"

#include <string>
#include <string_view>

// `text` with CR as its only line end and every tab replaced by spaces, measured with `widths`
// in the charset of the text; `tabSize` must be above 0.
std::string ExpandTabs(std::string_view text, int tabSize, GlyphWidths& widths, const MultiByteCharset& charset);
