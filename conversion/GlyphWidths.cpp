#include "conversion/GlyphWidths.h"

GlyphWidths::GlyphWidths(HPDF_Font font, float fontSize, const MultiByteCharset& charset)
    : m_font(font), m_fontSize(fontSize)
{
    m_single.fill(kUnknown);
    if (!charset.IsSingleByte())
        m_pairs.assign(1 << 16, kUnknown);
}

long GlyphWidths::MeasureAndCache(std::string_view text, std::size_t pos, std::size_t length)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (length == 1) {
        long& cached = m_single[lead];
        if (cached == kUnknown)
            cached = Measure(lead, 0, 1);
        return cached;
    }
    const auto trail = static_cast<unsigned char>(text[pos + 1]);
    long& cached = m_pairs[(lead << 8) | trail];
    if (cached == kUnknown)
        cached = Measure(lead, trail, 2);
    return cached;
}

long GlyphWidths::Measure(unsigned char lead, unsigned char trail, unsigned length)
{
    // The library looks one byte past a lead byte even at the end of a string, so the
    // buffer always holds a terminating zero after the character.
    const HPDF_BYTE bytes[3] = {lead, trail, 0};
    return static_cast<long>(HPDF_Font_TextWidth(m_font, bytes, length).width);
}
