#pragma once
// Completes the glyphs of an embedded TrueType font before the document is saved. The library
// embeds only the glyphs the text used, and for a composite glyph (an accented letter built from
// a base letter and an accent) it adds the parts one level deep, and only when the composite is
// the first of them to be used: "όο" left the base of ο out, because ο is itself a composite
// of o, so a reader drew nothing. Every part of every composite the text uses is added here, to
// any depth. Then what the library would embed besides the used glyphs is cut away (see
// TrueTypeProgram.h). Reads the font through the library's own stream; any thread that owns
// the document.
#include <hpdf.h>

// Marks every part of every used composite glyph of the font as used. Does nothing for a font
// that is not an embedded TrueType font.
void IncludeCompositeGlyphParts(HPDF_Font font);

// Once nothing more is drawn with `font`: an embedded TrueType font with the UTF-8 encoding
// keeps in its font program and in its map from codes to glyphs only what its used glyphs
// need. Does nothing for any other font; when the library refuses, its document is in error.
void TrimToUsedGlyphs(HPDF_Font font);
