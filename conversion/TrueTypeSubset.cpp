#include "conversion/TrueTypeSubset.h"

#include "conversion/LibharuPrivate.h"
#include "conversion/TrueTypeProgram.h"

#include <cstdint>
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

// The glyph numbers of the parts of a composite glyph; none for a simple glyph. A malformed
// glyph yields the parts read before the damage.
std::vector<unsigned> Parts(const LibharuFont& font, unsigned glyph)
{
    const std::vector<HPDF_BYTE> bytes = font.GlyphBytes(glyph);
    std::vector<unsigned> parts;
    if (bytes.size() <= kHeaderSize || static_cast<HPDF_INT16>(ReadU16(bytes, 0)) >= 0)
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
    LibharuFont glyphs(font);
    std::vector<unsigned> pending;
    for (unsigned glyph = 0; glyph < glyphs.GlyphCount(); ++glyph) {
        if (glyphs.IsGlyphUsed(glyph))
            pending.push_back(glyph);
    }
    // Each glyph is read once: a part is queued only when it is first marked.
    while (!pending.empty()) {
        const unsigned glyph = pending.back();
        pending.pop_back();
        for (unsigned part : Parts(glyphs, glyph)) {
            if (part < glyphs.GlyphCount() && !glyphs.IsGlyphUsed(part)) {
                glyphs.MarkGlyphUsed(part);
                pending.push_back(part);
            }
        }
    }
}

void TrimToUsedGlyphs(HPDF_Font font)
{
    LibharuFont glyphs(font);
    std::vector<bool> used(glyphs.GlyphCount());
    std::vector<std::uint16_t> advances(glyphs.GlyphCount());
    for (unsigned glyph = 0; glyph < used.size(); ++glyph) {
        used[glyph] = glyphs.IsGlyphUsed(glyph);
        advances[glyph] = static_cast<std::uint16_t>(glyphs.GlyphAdvance(glyph));
    }
    glyphs.MapUsedCodes();
    glyphs.RewriteFontProgram(
        [&](std::span<const HPDF_BYTE> program) { return TrimmedFontProgram(program, used, advances); },
        {"post", kGlyphNamesHeaderSize});
}
