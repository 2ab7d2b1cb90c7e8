#pragma once
// Widths of characters in one font, in the library's own figures (thousandths of the font
// size), cached per character so that a line can be measured by adding widths instead of
// handing the library ever longer strings. The sum over the characters of a string equals what
// the library reports for the whole string, because it too measures character by character.
// In UTF-8, fallback fonts may draw the characters the font lacks: each character is then
// measured in the font that draws it, the first of the font and its fallbacks that has it.
#include "platform/MultiByteCharset.h"
#include "platform/Utf8.h"

#include <hpdf.h>

#include <array>
#include <string_view>
#include <unordered_map>
#include <vector>

class GlyphWidths {
public:
    // The fallback fonts are used in UTF-8 only; they must share the font's encoding.
    GlyphWidths(HPDF_Font font, float fontSize, const MultiByteCharset& charset,
                std::vector<HPDF_Font> fallbacks = {});

    // Width of the character at text[pos], which is `length` bytes long (1 or 2; up to 4 in
    // UTF-8, where the text must be well-formed).
    long CharWidth(std::string_view text, std::size_t pos, std::size_t length)
    {
        long cached = kUnknown;
        if (length == 1)
            cached = m_single[static_cast<unsigned char>(text[pos])];
        else if (m_utf8 && length <= 3) // below U+10000, where most texts stay, without a call
            cached = m_wide[DecodeUtf8(text, pos, length)];
        return cached != kUnknown ? cached : MeasureAndCache(text, pos, length);
    }

    // Points for a sum of character widths, rounded as the library's HPDF_Page_TextWidth rounds.
    float Points(long widthSum) const { return static_cast<float>(widthSum) * m_fontSize / 1000; }

    // In UTF-8, the characters below U+10000 measured so far, ascending; none otherwise.
    std::vector<char16_t> MeasuredCodes() const;

    // In UTF-8 with a TrueType font, how many of the characters measured so far neither the
    // font nor a fallback has a glyph for, each character counted once; control characters are
    // not counted.
    std::size_t CharactersWithoutGlyph() const { return m_withoutGlyph; }

    bool HasFallbacks() const { return !m_fallbacks.empty(); }
    // The font that draws `character` (in UTF-8 below U+10000): the font itself, or a fallback
    // that has a glyph for it where the font has none.
    HPDF_Font FontFor(char32_t character);
    // In UTF-8: whether the font or a fallback has a glyph for `character`, or it is a control
    // character, which no font is meant to show.
    bool CanDraw(char32_t character) { return HasGlyph(FontFor(character), character); }

private:
    static constexpr long kUnknown = -1;
    long MeasureAndCache(std::string_view text, std::size_t pos, std::size_t length);
    long& CacheSlot(std::string_view text, std::size_t pos, std::size_t length);
    static long Measure(std::string_view character, HPDF_Font font);
    static bool HasGlyph(HPDF_Font font, char32_t codePoint);

    HPDF_Font m_font;
    float m_fontSize;
    bool m_utf8;
    std::array<long, 256> m_single;
    // By (lead << 8) | trail for double-byte encodings, by code point below U+10000 in UTF-8;
    // filled on first use.
    std::vector<long> m_wide;
    std::unordered_map<char32_t, long> m_astral; // UTF-8 beyond U+FFFF
    std::vector<HPDF_Font> m_fallbacks;
    // By code point below U+10000, with fallbacks only: 0 the font, n the nth fallback.
    std::vector<unsigned char> m_drawingFont;
    std::size_t m_withoutGlyph = 0;
};
