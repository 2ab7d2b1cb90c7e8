#include "conversion/LibharuPrivate.h"

#include <hpdf_font.h>
#include <hpdf_fontdef.h>
#include <hpdf_pages.h>
#include <hpdf_streams.h>
#include <hpdf_version.h>

#if HPDF_MAJOR_VERSION != 2 || HPDF_MINOR_VERSION != 3 || HPDF_BUGFIX_VERSION != 0
#error "LibharuPrivate.cpp reads libharu's private structures as version 2.3.0 lays them out; \
this libharu is another version: check hpdf_font.h, hpdf_fontdef.h, hpdf_pages.h, \
hpdf_objects.h and hpdf_streams.h against this file and then change the version test."
#endif

namespace {

HPDF_FontAttr Attributes(HPDF_Font font)
{
    return font ? static_cast<HPDF_FontAttr>(font->attr) : nullptr;
}

HPDF_FontDef TrueTypeDefinition(HPDF_Font font)
{
    const HPDF_FontAttr attr = Attributes(font);
    // Only these two kinds hold a TrueType definition; the attributes of the others differ.
    if (!attr || (attr->type != HPDF_FONT_TRUETYPE && attr->type != HPDF_FONT_TYPE0_TT))
        return nullptr;
    HPDF_FontDef def = attr->fontdef;
    return def && def->type == HPDF_FONTDEF_TYPE_TRUETYPE ? def : nullptr;
}

HPDF_TTFontDefAttr EmbeddedTrueType(HPDF_Font font)
{
    const HPDF_FontDef def = TrueTypeDefinition(font);
    auto* tt = def ? static_cast<HPDF_TTFontDefAttr>(def->attr) : nullptr;
    return tt && tt->embedding && tt->stream && tt->glyph_tbl.flgs ? tt : nullptr;
}

// A finished page's content stream in memory, or null.
HPDF_PageAttr FinishedPage(HPDF_Page page)
{
    auto* attr = page ? static_cast<HPDF_PageAttr>(page->attr) : nullptr;
    if (!attr || attr->gmode != HPDF_GMODE_PAGE_DESCRIPTION || !attr->gstate || attr->gstate->prev)
        return nullptr;
    const HPDF_Stream stream = attr->stream;
    if (!attr->contents || attr->contents->stream != stream || !stream || stream->type != HPDF_STREAM_MEMORY)
        return nullptr;
    return attr;
}

// Called as the dictionary is written: with the filter unset, the library neither compresses
// the stream nor names a filter, so the name is added here.
HPDF_STATUS WriteFlateFilter(HPDF_Dict, HPDF_Stream stream)
{
    return HPDF_Stream_WriteStr(stream, "/Filter /FlateDecode\012");
}

} // namespace

bool LibharuFont::HasGlyph(char16_t codePoint) const
{
    const HPDF_FontDef def = TrueTypeDefinition(m_font);
    return !def || HPDF_TTFontDef_GetGlyphid(def, static_cast<HPDF_UINT16>(codePoint)) != 0;
}

bool LibharuFont::ReplaceToUnicodeStream(std::string_view cmap)
{
    const HPDF_FontAttr attr = Attributes(m_font);
    HPDF_Dict map = attr ? attr->cmap_stream : nullptr;
    if (!attr || attr->type != HPDF_FONT_TYPE0_TT || !map || !map->stream)
        return false;
    // These keys described the encoding CMap; a map back to Unicode is a plain stream.
    for (const char* key : {"Type", "CMapName", "CIDSystemInfo", "WMode"})
        HPDF_Dict_RemoveElement(map, key);
    HPDF_MemStream_FreeData(map->stream);
    HPDF_Stream_Write(map->stream, reinterpret_cast<const HPDF_BYTE*>(cmap.data()), HPDF_UINT(cmap.size()));
    return true;
}

unsigned LibharuFont::GlyphCount() const
{
    const HPDF_TTFontDefAttr tt = EmbeddedTrueType(m_font);
    return tt ? tt->num_glyphs : 0;
}

bool LibharuFont::IsGlyphUsed(unsigned glyph) const
{
    return glyph < GlyphCount() && EmbeddedTrueType(m_font)->glyph_tbl.flgs[glyph] != 0;
}

void LibharuFont::MarkGlyphUsed(unsigned glyph)
{
    if (glyph < GlyphCount())
        EmbeddedTrueType(m_font)->glyph_tbl.flgs[glyph] = 1;
}

std::vector<HPDF_BYTE> LibharuFont::GlyphBytes(unsigned glyph) const
{
    if (glyph >= GlyphCount())
        return {};
    const HPDF_TTFontDefAttr tt = EmbeddedTrueType(m_font);
    const HPDF_UINT32 begin = tt->glyph_tbl.offsets[glyph];
    const HPDF_UINT32 end = tt->glyph_tbl.offsets[glyph + 1];
    if (end <= begin)
        return {};
    std::vector<HPDF_BYTE> bytes(end - begin);
    HPDF_UINT size = HPDF_UINT(bytes.size());
    if (HPDF_Stream_Seek(tt->stream, HPDF_INT(tt->glyph_tbl.base_offset + begin), HPDF_SEEK_SET) != HPDF_OK ||
        HPDF_Stream_Read(tt->stream, bytes.data(), &size) != HPDF_OK || size != bytes.size())
        return {};
    return bytes;
}

bool LibharuPage::ReadContent(std::vector<unsigned char>& bytes) const
{
    const HPDF_PageAttr attr = FinishedPage(m_page);
    if (!attr)
        return false;
    bytes.clear();
    bytes.reserve(attr->stream->size);
    const HPDF_UINT chunks = HPDF_MemStream_GetBufCount(attr->stream);
    for (HPDF_UINT index = 0; index < chunks; ++index) {
        HPDF_UINT length = 0;
        const HPDF_BYTE* chunk = HPDF_MemStream_GetBufPtr(attr->stream, index, &length);
        if (!chunk)
            return false;
        bytes.insert(bytes.end(), chunk, chunk + length);
    }
    return bytes.size() == attr->stream->size;
}

bool LibharuPage::ReplaceContentWithDeflated(std::span<const unsigned char> deflated)
{
    const HPDF_PageAttr attr = FinishedPage(m_page);
    if (!attr || deflated.empty() || attr->contents->write_fn)
        return false;
    HPDF_MemStream_FreeData(attr->stream);
    // One block of the exact size: the library's usual 4 KB blocks would be most of the memory
    // of a page that holds a few lines.
    auto* memory = static_cast<HPDF_MemStreamAttr>(attr->stream->attr);
    memory->buf_siz = HPDF_UINT(deflated.size());
    memory->w_pos = memory->buf_siz;
    if (HPDF_Stream_Write(attr->stream, deflated.data(), HPDF_UINT(deflated.size())) != HPDF_OK)
        return false;
    attr->contents->filter = HPDF_STREAM_FILTER_NONE;
    attr->contents->write_fn = WriteFlateFilter;
    return true;
}
