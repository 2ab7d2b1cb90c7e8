#pragma once
// The font program of an embedded TrueType subset, cut down to what its used glyphs need. The
// library writes the glyph outlines of the used glyphs only, but copies every other table of
// the font whole: for a Chinese font, the names of its 30,000 glyphs and their metrics were
// most of a one-page PDF. A reader draws a composite font's glyphs by number, takes their
// widths from the PDF and finds them through the PDF's own map, so what it needs of those
// tables is the part about the used glyphs. Any thread.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// Of the glyph names ('post'), TrimmedFontProgram keeps only this many bytes, the table's
// header: the rest need not be copied for it.
constexpr std::size_t kGlyphNamesHeaderSize = 32;

// `font` with the glyph names dropped (a version 3 'post' table), a character map that maps
// nothing (readers of a composite font never consult it, some insist that it exists), and
// the metrics of every glyph not in `usedGlyphs` zeroed so that they compress to nothing.
// A used glyph's advance becomes the one `advances` gives it (in the font's units), the width
// the document writes for it, for readers that check the two agree; glyphs past the end of
// `advances` keep theirs. Glyph numbers stay as they are. Only for a font drawn as a composite
// font; a simple TrueType font needs its character map. Returns an empty program, meaning
// "keep `font`", for anything that is not a well-formed TrueType font.
std::vector<unsigned char> TrimmedFontProgram(std::span<const unsigned char> font, const std::vector<bool>& usedGlyphs,
                                              std::span<const std::uint16_t> advances = {});

// The glyph a font's character map (its 'cmap' table, whole) gives a character beyond U+FFFF,
// through its subtable for all of Unicode (format 12); 0 when it has none.
unsigned GlyphBeyondBmp(std::span<const unsigned char> characterMap, char32_t character);
