#include "conversion/GlyphlessCharacters.h"

#include "platform/Utf8.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace {

// Line ends, tabs and form feeds reach the layout, which gives them their meaning.
bool IsLayoutControl(unsigned char byte)
{
    return byte == '\r' || byte == '\n' || byte == '\t' || byte == '\f';
}

std::size_t DropUndefinedBytes(std::string& text, HPDF_Encoder encoder)
{
    // Asked once per byte value, not once per byte of a text of millions.
    std::array<bool, 256> undefined{};
    for (int byte = 0; byte < 256; ++byte)
        undefined[std::size_t(byte)] =
            !IsLayoutControl(static_cast<unsigned char>(byte)) && HPDF_Encoder_GetUnicode(encoder, HPDF_UINT16(byte)) == 0;
    const std::size_t before = text.size();
    std::erase_if(text, [&undefined](char c) { return undefined[static_cast<unsigned char>(c)]; });
    return before - text.size();
}

} // namespace

std::size_t DropCharactersWithoutGlyph(std::string& text, GlyphWidths& widths, const MultiByteCharset& charset,
                                       HPDF_Encoder singleByteEncoder)
{
    if (!charset.IsUtf8())
        return singleByteEncoder ? DropUndefinedBytes(text, singleByteEncoder) : 0;
    std::size_t dropped = 0;
    std::size_t kept = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = std::max<std::size_t>(Utf8SequenceLength(text, pos), 1);
        if (widths.CanDraw(DecodeUtf8(text, pos, length))) {
            std::copy(text.begin() + std::ptrdiff_t(pos), text.begin() + std::ptrdiff_t(pos + length),
                      text.begin() + std::ptrdiff_t(kept));
            kept += length;
        } else {
            ++dropped;
        }
        pos += length;
    }
    text.resize(kept);
    return dropped;
}

std::string DroppedGlyphlessNote(std::size_t dropped)
{
    if (dropped == 0)
        return {};
    return std::to_string(dropped) + (dropped == 1 ? " character was" : " characters were") +
           " left out because no installed font has a glyph for it, and an archival PDF may not show the empty "
           "box in its place; install a font that has them (such as one of the fonts-noto packages) and convert "
           "again.";
}
