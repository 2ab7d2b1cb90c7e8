#include "conversion/GlyphWidths.h"

#include "platform/Utf8.h"

#include "conversion/LibharuPrivate.h"
#include "conversion/VisualOrder.h"

#include <algorithm>
#include <string>

namespace {
constexpr unsigned char kNotChosen = 0xFF;
}

GlyphWidths::GlyphWidths(HPDF_Font font, float fontSize, const MultiByteCharset& charset,
                         std::vector<HPDF_Font> fallbacks)
    : m_font(font), m_fontSize(fontSize), m_utf8(charset.IsUtf8())
{
    m_single.fill(kUnknown);
    if (!charset.IsSingleByte())
        m_wide.assign(1 << 16, kUnknown);
    if (m_utf8 && !fallbacks.empty()) {
        m_fallbacks = std::move(fallbacks);
        m_fallbacks.resize(std::min<std::size_t>(m_fallbacks.size(), kNotChosen - 1));
        m_drawingFont.assign(1 << 16, kNotChosen);
    }
}

HPDF_Font GlyphWidths::FontFor(char32_t character)
{
    if (m_drawingFont.empty() || character >= m_drawingFont.size())
        return m_font;
    unsigned char& chosen = m_drawingFont[character];
    if (chosen == kNotChosen) {
        const auto first = std::find_if(m_fallbacks.begin(), m_fallbacks.end(),
                                        [&](HPDF_Font fallback) { return HasGlyph(fallback, character); });
        const bool fallBack = !HasGlyph(m_font, character) && first != m_fallbacks.end();
        chosen = fallBack ? static_cast<unsigned char>(first - m_fallbacks.begin() + 1) : 0;
    }
    return chosen == 0 ? m_font : m_fallbacks[chosen - 1];
}

long GlyphWidths::MeasureAndCache(std::string_view text, std::size_t pos, std::size_t length)
{
    long& cached = CacheSlot(text, pos, length);
    if (cached == kUnknown) {
        const char32_t character = m_utf8 ? DecodeUtf8(text, pos, length) : 0;
        HPDF_Font font = m_utf8 ? FontFor(character) : m_font;
        // Monospaced fonts give such marks a cell of their own, with the glyph drawn in its
        // middle: without the advance, the mark stands in the cell of its letter.
        if (m_utf8 && IsRightToLeftMark(character))
            LibharuFont(font).DrawWithoutAdvance(static_cast<char16_t>(character));
        cached = m_utf8 && IsDirectionControl(character) ? 0 : Measure(text.substr(pos, length), font);
        if (m_utf8 && !HasGlyph(font, character))
            ++m_withoutGlyph;
    }
    return cached;
}

long& GlyphWidths::CacheSlot(std::string_view text, std::size_t pos, std::size_t length)
{
    if (length == 1)
        return m_single[static_cast<unsigned char>(text[pos])];
    if (!m_utf8)
        return m_wide[(static_cast<unsigned char>(text[pos]) << 8) | static_cast<unsigned char>(text[pos + 1])];
    const char32_t codePoint = DecodeUtf8(text, pos, length);
    if (codePoint < m_wide.size())
        return m_wide[codePoint];
    return m_astral.try_emplace(codePoint, kUnknown).first->second;
}

std::vector<char16_t> GlyphWidths::MeasuredCodes() const
{
    std::vector<char16_t> codes;
    if (!m_utf8)
        return codes;
    // A single byte of UTF-8 is ASCII; everything longer is cached by its code point.
    for (std::size_t code = 0; code < m_wide.size(); ++code) {
        const long width = code < 0x80 ? m_single[code] : m_wide[code];
        if (width != kUnknown)
            codes.push_back(static_cast<char16_t>(code));
    }
    return codes;
}

bool GlyphWidths::HasGlyph(HPDF_Font font, char32_t codePoint)
{
    // Control characters are not meant to be seen; what a font draws for them is no lost letter.
    if (codePoint < 0x20 || codePoint == 0x7F || codePoint > 0xFFFF || IsDirectionControl(codePoint))
        return true;
    return LibharuFont(font).HasGlyph(static_cast<char16_t>(codePoint));
}

long GlyphWidths::Measure(std::string_view character, HPDF_Font font)
{
    // The library looks one byte past a lead byte even at the end of a string, so the
    // buffer always holds a terminating zero after the character.
    const std::string bytes(character);
    return static_cast<long>(
        HPDF_Font_TextWidth(font, reinterpret_cast<const HPDF_BYTE*>(bytes.c_str()), HPDF_UINT(bytes.size())).width);
}
