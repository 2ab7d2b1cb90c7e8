#pragma once
// Characters that would be drawn with a font's .notdef glyph (the empty box of a character the
// font lacks), which an archival PDF may not show: left out before the layout measures the
// text, and counted for a note. The thread that owns the fonts' document.
#include "conversion/GlyphWidths.h"

#include <cstddef>
#include <string>

// In UTF-8 text: removes every character that neither the font nor a fallback of `widths` has
// a glyph for. In a single-byte encoding (`encoder` given): every byte the encoding leaves
// without a character, which every font draws as .notdef. Double-byte text is left as it is.
// Returns how many were removed.
std::size_t DropCharactersWithoutGlyph(std::string& text, GlyphWidths& widths, const MultiByteCharset& charset,
                                       HPDF_Encoder singleByteEncoder);

// The note that tells how many characters were left out; empty for none.
std::string DroppedGlyphlessNote(std::size_t dropped);
