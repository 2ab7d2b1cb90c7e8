#include "conversion/TrueTypeSubset.h"

#include <hpdf_font.h>
#include <hpdf_fontdef.h>
#include <hpdf_streams.h>

#include <vector>

namespace {

// The composite glyph format of the TrueType 'glyf' table: a header of five 16-bit numbers
// whose first, the number of contours, is negative; then per part its flags, its glyph number,
// two arguments of one or two bytes each, and an optional scale.
constexpr std::size_t kHeaderSize = 10;
constexpr unsigned kArgsAreWords = 0x0001;
constexpr unsigned kHasScale = 0x0008;
constexpr unsigned kMoreComponents = 0x0020;
constexpr unsigned kHasXYScale = 0x0040;
constexpr unsigned kHasTwoByTwo = 0x0080;

unsigned ReadU16(const std::vector<HPDF_BYTE>& bytes, std::size_t at)
{
    return (unsigned(bytes[at]) << 8) | bytes[at + 1];
}

HPDF_TTFontDefAttr EmbeddedTrueType(HPDF_Font font)
{
    if (!font)
        return nullptr;
    // Only these two kinds hold a TrueType definition; the attributes of the others differ.
    auto* attr = static_cast<HPDF_FontAttr>(font->attr);
    if (attr->type != HPDF_FONT_TRUETYPE && attr->type != HPDF_FONT_TYPE0_TT)
        return nullptr;
    HPDF_FontDef def = attr->fontdef;
    if (!def || def->type != HPDF_FONTDEF_TYPE_TRUETYPE)
        return nullptr;
    auto* tt = static_cast<HPDF_TTFontDefAttr>(def->attr);
    return tt && tt->embedding && tt->stream && tt->glyph_tbl.flgs ? tt : nullptr;
}

std::vector<HPDF_BYTE> GlyphData(HPDF_TTFontDefAttr tt, unsigned glyph)
{
    const HPDF_UINT32 begin = tt->glyph_tbl.offsets[glyph];
    const HPDF_UINT32 end = tt->glyph_tbl.offsets[glyph + 1];
    if (end <= begin + kHeaderSize)
        return {};
    std::vector<HPDF_BYTE> bytes(end - begin);
    HPDF_UINT size = HPDF_UINT(bytes.size());
    if (HPDF_Stream_Seek(tt->stream, HPDF_INT(tt->glyph_tbl.base_offset + begin), HPDF_SEEK_SET) != HPDF_OK ||
        HPDF_Stream_Read(tt->stream, bytes.data(), &size) != HPDF_OK || size != bytes.size())
        return {};
    return bytes;
}

// The glyph numbers of the parts of a composite glyph; none for a simple glyph. A malformed
// glyph yields the parts read before the damage.
std::vector<unsigned> Parts(HPDF_TTFontDefAttr tt, unsigned glyph)
{
    const std::vector<HPDF_BYTE> bytes = GlyphData(tt, glyph);
    std::vector<unsigned> parts;
    if (bytes.empty() || static_cast<HPDF_INT16>(ReadU16(bytes, 0)) >= 0)
        return parts;
    unsigned flags = kMoreComponents;
    for (std::size_t at = kHeaderSize; (flags & kMoreComponents) && at + 4 <= bytes.size();) {
        flags = ReadU16(bytes, at);
        parts.push_back(ReadU16(bytes, at + 2));
        at += 4 + ((flags & kArgsAreWords) ? 4 : 2);
        at += (flags & kHasTwoByTwo) ? 8 : (flags & kHasXYScale) ? 4 : (flags & kHasScale) ? 2 : 0;
    }
    return parts;
}

} // namespace

void IncludeCompositeGlyphParts(HPDF_Font font)
{
    HPDF_TTFontDefAttr tt = EmbeddedTrueType(font);
    if (!tt)
        return;
    HPDF_BYTE* used = tt->glyph_tbl.flgs;
    std::vector<unsigned> pending;
    for (unsigned glyph = 0; glyph < tt->num_glyphs; ++glyph) {
        if (used[glyph])
            pending.push_back(glyph);
    }
    // Each glyph is read once: a part is queued only when it is first marked.
    while (!pending.empty()) {
        const unsigned glyph = pending.back();
        pending.pop_back();
        for (unsigned part : Parts(tt, glyph)) {
            if (part < tt->num_glyphs && !used[part]) {
                used[part] = 1;
                pending.push_back(part);
            }
        }
    }
}
