#include "conversion/LibharuPrivate.h"

#include "platform/Utf8.h"

#include <hpdf_doc.h>
#include <hpdf_encoder.h>
#include <hpdf_font.h>
#include <hpdf_fontdef.h>
#include <hpdf_gstate.h>
#include <hpdf_list.h>
#include <hpdf_mmgr.h>
#include <hpdf_objects.h>
#include <hpdf_pages.h>
#include <hpdf_streams.h>
#include <hpdf_utils.h>
#include <hpdf_version.h>

#include "platform/Utf8.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <utility>

#if HPDF_MAJOR_VERSION != 2 || HPDF_MINOR_VERSION != 3 || HPDF_BUGFIX_VERSION != 0
#error "LibharuPrivate.cpp reads libharu's private structures as version 2.3.0 lays them out; \
this libharu is another version: check hpdf_font.h, hpdf_fontdef.h, hpdf_pages.h, \
hpdf_objects.h, hpdf_streams.h and hpdf_doc.h against this file and then change the version test."
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

// A page whose content stream is in memory, or null.
HPDF_PageAttr PageWithContentInMemory(HPDF_Page page)
{
    auto* attr = page ? static_cast<HPDF_PageAttr>(page->attr) : nullptr;
    const HPDF_Stream stream = attr ? attr->stream : nullptr;
    if (!attr || !attr->contents || attr->contents->stream != stream || !stream || stream->type != HPDF_STREAM_MEMORY)
        return nullptr;
    return attr;
}

// A page in the graphics mode `mode`, or null.
HPDF_PageAttr PageInMode(HPDF_Page page, HPDF_UINT16 mode)
{
    const HPDF_PageAttr attr = page ? static_cast<HPDF_PageAttr>(page->attr) : nullptr;
    return attr && attr->gmode == mode && attr->stream ? attr : nullptr;
}

// HPDF_Stream_Write, but where the stream is in memory, one copy for as much as its last block
// has room for: the library copies byte by byte. False (the document then in error) when the
// stream refused.
bool WriteBytes(HPDF_Stream stream, std::string_view bytes)
{
    auto* memory = stream->type == HPDF_STREAM_MEMORY ? static_cast<HPDF_MemStreamAttr>(stream->attr) : nullptr;
    while (!bytes.empty() && memory && memory->w_ptr && memory->w_pos <= memory->buf_siz) {
        const std::size_t part = std::min<std::size_t>(memory->buf_siz - memory->w_pos, bytes.size());
        if (part == 0) {
            // The library opens the next block for the byte that no longer fits.
            if (HPDF_Stream_Write(stream, reinterpret_cast<const HPDF_BYTE*>(bytes.data()), 1) != HPDF_OK)
                return false;
            bytes.remove_prefix(1);
            continue;
        }
        std::memcpy(memory->w_ptr, bytes.data(), part);
        memory->w_ptr += part;
        memory->w_pos += static_cast<HPDF_UINT>(part);
        stream->size += static_cast<HPDF_UINT>(part);
        bytes.remove_prefix(part);
    }
    const auto* data = reinterpret_cast<const HPDF_BYTE*>(bytes.data());
    return bytes.empty() || HPDF_Stream_Write(stream, data, static_cast<HPDF_UINT>(bytes.size())) == HPDF_OK;
}

// Writes "a b" and `op`, the numbers as the library formats them; false (the document then in
// error) when the stream refused.
bool WriteOperator(HPDF_Stream stream, float a, float b, std::string_view op)
{
    // Each number takes at most HPDF_REAL_LEN characters and a sign.
    std::array<char, 2 * (HPDF_REAL_LEN + 2) + 8> bytes{};
    char* const last = bytes.data() + bytes.size() - 1;
    char* end = HPDF_FToA(bytes.data(), a, last);
    *end++ = ' ';
    end = HPDF_FToA(end, b, last);
    end = std::copy(op.begin(), op.end(), end);
    return WriteBytes(stream, std::string_view(bytes.data(), static_cast<std::size_t>(end - bytes.data())));
}

// A composite TrueType font with the UTF-8 encoding: the library draws each character as its
// UTF-16 code unit, two bytes.
bool TakesUtf16Codes(HPDF_FontAttr font)
{
    return font->type == HPDF_FONT_TYPE0_TT && font->encoder && std::string_view(font->encoder->name) == "UTF-8";
}

// A page in a text object whose font takes its codes one byte each or as UTF-16, or null.
HPDF_PageAttr PageShowingOwnCodes(HPDF_Page page)
{
    const HPDF_PageAttr attr = PageInMode(page, HPDF_GMODE_TEXT_OBJECT);
    const HPDF_FontAttr font = attr && attr->gstate ? Attributes(attr->gstate->font) : nullptr;
    if (!font)
        return nullptr;
    return font->type == HPDF_FONT_TYPE1 || font->type == HPDF_FONT_TRUETYPE || TakesUtf16Codes(font) ? attr : nullptr;
}

// A simple TrueType font writes the widths of the codes measured, and 0 for the others, so
// every code drawn must have been measured by the library once.
void MeasureUnmeasuredCodes(HPDF_Font font, std::string_view text)
{
    const HPDF_FontAttr attr = Attributes(font);
    if (attr->type != HPDF_FONT_TRUETYPE || !attr->used)
        return;
    for (const char c : text) {
        const auto code = static_cast<HPDF_BYTE>(c);
        if (!attr->used[code])
            HPDF_Font_TextWidth(font, &code, 1);
    }
}

// The library's own freeing of a composite font, the same function for every one.
std::atomic<HPDF_Dict_FreeFunc> g_freeCompositeFont{nullptr};

void FreeCompositeFontAndMeasured(HPDF_Dict font)
{
    const HPDF_FontAttr attr = Attributes(font);
    if (attr && attr->used) {
        HPDF_FreeMem(font->mmgr, attr->used);
        attr->used = nullptr;
    }
    if (const HPDF_Dict_FreeFunc libraryFree = g_freeCompositeFont.load())
        libraryFree(font);
}

// Which codes of a composite font were measured, one byte per code, kept where a simple font
// keeps its own, which the library leaves unset for this kind: made on first use and freed
// with the font. Null when there was no memory for it.
HPDF_BYTE* MeasuredCodes(HPDF_Font font)
{
    const HPDF_FontAttr attr = Attributes(font);
    if (attr->used)
        return attr->used;
    constexpr HPDF_UINT kCodes = 1u << 16;
    auto* measured = static_cast<HPDF_BYTE*>(HPDF_GetMem(font->mmgr, kCodes));
    if (!measured)
        return nullptr;
    std::memset(measured, 0, kCodes);
    g_freeCompositeFont.store(font->free_fn);
    font->free_fn = FreeCompositeFontAndMeasured;
    attr->used = measured;
    return measured;
}

// A composite TrueType font embeds the glyphs, and writes the widths, of the codes measured,
// so every character drawn must have been measured by the library once; `text` holds no
// character beyond U+FFFF.
void MeasureUnmeasuredCharacters(HPDF_Font font, std::string_view text)
{
    HPDF_BYTE* const measured = MeasuredCodes(font);
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = Utf8SequenceLength(text, pos);
        const char32_t code = DecodeUtf8(text, pos, length);
        if (!measured || !measured[code]) {
            // The library reads one byte past a lead byte, even at the end of a string.
            std::array<HPDF_BYTE, 4> character{};
            std::memcpy(character.data(), text.data() + pos, length);
            HPDF_Font_TextWidth(font, character.data(), HPDF_UINT(length));
            if (measured)
                measured[code] = 1;
        }
        pos += length;
    }
}

// Appends `text` as a string of its UTF-16 code units, two bytes each, big-endian: half the
// bytes of the hexadecimal the library writes, which the page's compression would read and
// spend most of a line's time on. Parentheses, the backslash and line-end bytes are escaped;
// every other byte goes as it is. `unmeasured` tells whether a character is not in `measured`.
// False for a text the library writes its own way: one it stops at (U+0000), one holding a
// character it drops (beyond U+FFFF), a malformed one.
bool AppendUtf16String(std::string_view text, const HPDF_BYTE* measured, bool& unmeasured, std::string& written)
{
    const std::size_t start = written.size();
    // At most two bytes of codes per byte of UTF-8, each escaped; two for the parentheses.
    written.resize(start + 4 * text.size() + 2);
    char* out = written.data() + start;
    // What follows the backslash of an escaped byte; 0 for a byte that goes as it is.
    static constexpr std::array<char, 256> kEscapeOf = [] {
        std::array<char, 256> escape{};
        escape['('] = '(';
        escape[')'] = ')';
        escape['\\'] = '\\';
        escape['\r'] = 'r';
        escape['\n'] = 'n';
        return escape;
    }();
    const auto put = [&out](unsigned byte) {
        const char escape = kEscapeOf[byte];
        if (escape != 0)
            *out++ = '\\';
        *out++ = escape != 0 ? escape : static_cast<char>(byte);
    };
    *out++ = '(';
    unmeasured = !measured;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = Utf8SequenceLength(text, pos);
        if (length == 0 || length == 4 || text[pos] == '\0')
            return false;
        const char32_t code = DecodeUtf8(text, pos, length);
        unmeasured = unmeasured || !measured[code];
        put(code >> 8);
        put(code & 0xFF);
        pos += length;
    }
    *out++ = ')';
    written.resize(static_cast<std::size_t>(out - written.data()));
    return true;
}

// The bytes a string escapes: parentheses, the backslash and the control bytes.
constexpr std::array<bool, 256> kEscaped = [] {
    std::array<bool, 256> escaped{};
    for (std::size_t byte = 0; byte < 0x20; ++byte)
        escaped[byte] = true;
    escaped['('] = escaped[')'] = escaped['\\'] = true;
    return escaped;
}();

// Appends `text` as a string of single-byte codes. Parentheses and the backslash are escaped,
// control bytes too (in octal), since a reader takes a raw line end in a string for a plain LF;
// every other byte goes as it is.
void AppendEscapedString(std::string_view text, std::string& written)
{
    written += '(';
    std::size_t plainFrom = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (!kEscaped[byte])
            continue;
        written.append(text, plainFrom, at - plainFrom);
        plainFrom = at + 1;
        if (byte >= 0x20) {
            written += '\\';
            written += static_cast<char>(byte);
            continue;
        }
        const char octal[] = {'\\', static_cast<char>('0' + (byte >> 6)), static_cast<char>('0' + ((byte >> 3) & 7)),
                              static_cast<char>('0' + (byte & 7))};
        written.append(octal, sizeof octal);
    }
    written.append(text, plainFrom);
    written += ')';
}

// `text` in the codes of the page's font, with `op` after it, into `written`, every code of it
// measured; false, measuring nothing, when the library must write this text itself.
bool MeasuredTextOperator(HPDF_PageAttr page, std::string_view text, std::string_view op, std::string& written)
{
    const HPDF_Font font = page->gstate->font;
    written.clear();
    if (TakesUtf16Codes(Attributes(font))) {
        bool unmeasured = false;
        if (!AppendUtf16String(text, MeasuredCodes(font), unmeasured, written))
            return false;
        if (unmeasured)
            MeasureUnmeasuredCharacters(font, text);
    } else {
        AppendEscapedString(text, written);
        MeasureUnmeasuredCodes(font, text);
    }
    written += op;
    return true;
}

// A finished page, nothing open on it, whose content stream is in memory; or null.
HPDF_PageAttr FinishedPage(HPDF_Page page)
{
    const HPDF_PageAttr attr = PageWithContentInMemory(page);
    if (!attr || attr->gmode != HPDF_GMODE_PAGE_DESCRIPTION || !attr->gstate || attr->gstate->prev)
        return nullptr;
    return attr;
}

// The bytes of a stream held in memory; false when it is not or cannot be read whole.
bool ReadMemoryStream(HPDF_Stream stream, std::vector<unsigned char>& bytes)
{
    if (!stream || stream->type != HPDF_STREAM_MEMORY)
        return false;
    bytes.clear();
    bytes.reserve(stream->size);
    const HPDF_UINT chunks = HPDF_MemStream_GetBufCount(stream);
    for (HPDF_UINT index = 0; index < chunks; ++index) {
        HPDF_UINT length = 0;
        const HPDF_BYTE* chunk = HPDF_MemStream_GetBufPtr(stream, index, &length);
        if (!chunk)
            return false;
        bytes.insert(bytes.end(), chunk, chunk + length);
    }
    return bytes.size() == stream->size;
}

bool ReplaceMemoryStream(HPDF_Stream stream, std::span<const unsigned char> bytes)
{
    HPDF_MemStream_FreeData(stream);
    return HPDF_Stream_Write(stream, bytes.data(), HPDF_UINT(bytes.size())) == HPDF_OK;
}

// An embedded TrueType font drawn with the UTF-8 encoding, as a composite font; or null.
HPDF_FontAttr EmbeddedCompositeTrueType(HPDF_Font font)
{
    const HPDF_FontAttr attr = Attributes(font);
    return attr && attr->type == HPDF_FONT_TYPE0_TT && EmbeddedTrueType(font) ? attr : nullptr;
}

bool HasSegmentedCharacterMap(HPDF_TTFontDefAttr tt)
{
    return tt && tt->cmap.format == 4 && tt->cmap.seg_count_x2 >= 2;
}

// Every code the font's character map (format 4) maps, with its glyph, in ascending order, as
// HPDF_TTFontDef_GetGlyphid finds it: a code belongs to the first segment that ends at or
// after it, and to no segment when that one starts after it.
template <class Visit>
void ForEachMappedCode(const HPDF_TTF_CmapRange& cmap, Visit visit)
{
    const unsigned segments = cmap.seg_count_x2 / 2;
    unsigned next = 0; // the first code no earlier segment decides
    for (unsigned segment = 0; segment < segments; ++segment) {
        const unsigned start = cmap.start_count[segment];
        const unsigned end = cmap.end_count[segment];
        for (unsigned code = std::max(start, next); code <= end; ++code) {
            const unsigned rangeOffset = cmap.id_range_offset[segment];
            if (rangeOffset == 0) {
                visit(code, HPDF_UINT16(code + cmap.id_delta[segment]));
                continue;
            }
            // The library counts the offset from the segment's place in the font file.
            const unsigned index = rangeOffset / 2 + (code - start) - (segments - segment);
            if (index < cmap.glyph_id_array_count)
                visit(code, HPDF_UINT16(cmap.glyph_id_array[index] + cmap.id_delta[segment]));
        }
        next = std::max(next, end + 1);
    }
}

// The widths of the codes in `used` (ascending), as a composite font's /W array: each run of
// consecutive codes is its first code and the array of their widths.
HPDF_Array WidthsArray(HPDF_MMgr mmgr, HPDF_FontDef def, const std::vector<std::pair<unsigned, unsigned>>& used)
{
    HPDF_Array widths = HPDF_Array_New(mmgr);
    HPDF_Array run = nullptr;
    for (std::size_t index = 0; widths && index < used.size(); ++index) {
        const auto [code, glyph] = used[index];
        if (index == 0 || used[index - 1].first + 1 != code) {
            run = HPDF_Array_New(mmgr);
            if (!run || HPDF_Array_AddNumber(widths, HPDF_INT32(code)) != HPDF_OK || HPDF_Array_Add(widths, run) != HPDF_OK)
                return nullptr;
        }
        if (HPDF_Array_AddNumber(run, HPDF_TTFontDef_GetGidWidth(def, HPDF_UINT16(glyph))) != HPDF_OK)
            return nullptr;
    }
    return widths;
}

// Called as the dictionary is written: with the filter unset, the library neither compresses
// the stream nor names a filter, so the name is added here.
HPDF_STATUS WriteFlateFilter(HPDF_Dict, HPDF_Stream stream)
{
    return HPDF_Stream_WriteStr(stream, "/Filter /FlateDecode\012");
}

// The library's lists grow in blocks of 20 items; a finished page's lists keep only what they
// hold, which is most of the memory left to a page of a few lines. A later addition grows the
// list again as usual.
void ShrinkList(HPDF_List list)
{
    if (!list || list->count == 0 || list->count >= list->block_siz)
        return;
    auto** items = static_cast<void**>(HPDF_GetMem(list->mmgr, HPDF_UINT(sizeof(void*) * list->count)));
    if (!items)
        return;
    std::copy_n(list->obj, list->count, items);
    HPDF_FreeMem(list->mmgr, list->obj);
    list->obj = items;
    list->block_siz = list->count;
}

void* Unproxied(void* value)
{
    auto* header = static_cast<HPDF_Obj_Header*>(value);
    return header->obj_class == HPDF_OCLASS_PROXY ? static_cast<HPDF_Proxy>(value)->obj : value;
}

HPDF_DictElement ElementAt(HPDF_List list, HPDF_UINT index)
{
    return static_cast<HPDF_DictElement>(HPDF_List_ItemAt(list, index));
}

// What a page's resources hold, when that is only the procedure sets and fonts the library
// gives a page of text; nothing otherwise.
std::optional<LibharuSharedResources::Described> Describe(HPDF_Dict resources)
{
    LibharuSharedResources::Described described;
    for (HPDF_UINT index = 0; index < resources->list->count; ++index) {
        const HPDF_DictElement element = ElementAt(resources->list, index);
        auto* value = static_cast<HPDF_Obj_Header*>(Unproxied(element->value));
        const std::string_view key = element->key;
        if (key == "ProcSet" && (value->obj_class & HPDF_OCLASS_ANY) == HPDF_OCLASS_ARRAY) {
            const HPDF_List names = reinterpret_cast<HPDF_Array>(value)->list;
            for (HPDF_UINT item = 0; item < names->count; ++item) {
                auto* name = static_cast<HPDF_Name>(HPDF_List_ItemAt(names, item));
                if ((name->header.obj_class & HPDF_OCLASS_ANY) != HPDF_OCLASS_NAME)
                    return std::nullopt;
                described.procSet.emplace_back(name->value);
            }
        } else if (key == "Font" && (value->obj_class & HPDF_OCLASS_ANY) == HPDF_OCLASS_DICT) {
            const HPDF_List fonts = reinterpret_cast<HPDF_Dict>(value)->list;
            for (HPDF_UINT item = 0; item < fonts->count; ++item) {
                const HPDF_DictElement font = ElementAt(fonts, item);
                // Only fonts written once, as objects of their own, can be shared.
                if (static_cast<HPDF_Obj_Header*>(font->value)->obj_class != HPDF_OCLASS_PROXY)
                    return std::nullopt;
                described.fonts.emplace_back(font->key, Unproxied(font->value));
            }
        } else {
            return std::nullopt;
        }
    }
    return described;
}

// A resources object of its own, written once, holding what `described` says; null when the
// library ran out of memory.
HPDF_Dict NewSharedResources(HPDF_Page page, const LibharuSharedResources::Described& described)
{
    const auto attr = static_cast<HPDF_PageAttr>(page->attr);
    HPDF_Dict resources = HPDF_Dict_New(page->mmgr);
    if (!resources || HPDF_Xref_Add(attr->xref, resources) != HPDF_OK)
        return nullptr;
    HPDF_Array procSet = HPDF_Array_New(page->mmgr);
    HPDF_Dict fonts = HPDF_Dict_New(page->mmgr);
    if (HPDF_Dict_Add(resources, "ProcSet", procSet) != HPDF_OK || HPDF_Dict_Add(resources, "Font", fonts) != HPDF_OK)
        return nullptr;
    for (const std::string& name : described.procSet)
        if (HPDF_Array_AddName(procSet, name.c_str()) != HPDF_OK)
            return nullptr;
    for (const auto& [name, font] : described.fonts)
        if (HPDF_Dict_Add(fonts, name.c_str(), font) != HPDF_OK)
            return nullptr;
    return resources;
}

HPDF_Array NewSharedBox(HPDF_Page page, HPDF_Box box)
{
    HPDF_Array array = HPDF_Box_Array_New(page->mmgr, box);
    const auto attr = static_cast<HPDF_PageAttr>(page->attr);
    return array && HPDF_Xref_Add(attr->xref, array) == HPDF_OK ? array : nullptr;
}

bool SameBox(HPDF_Box a, HPDF_Box b)
{
    return a.left == b.left && a.bottom == b.bottom && a.right == b.right && a.top == b.top;
}

bool ShareMediaBox(HPDF_Page page, LibharuSharedResources& shared)
{
    const HPDF_Box box = HPDF_Page_GetMediaBox(page);
    if (!shared.mediaBox) {
        shared.mediaBox = NewSharedBox(page, box);
        shared.box = box;
    }
    if (!shared.mediaBox)
        return false;
    return !SameBox(box, shared.box) || HPDF_Dict_Add(page, "MediaBox", shared.mediaBox) == HPDF_OK;
}

bool ShareResourceDict(HPDF_Page page, LibharuSharedResources& shared)
{
    auto* own = static_cast<HPDF_Dict>(HPDF_Dict_GetItem(page, "Resources", HPDF_OCLASS_DICT));
    const auto described = own ? Describe(own) : std::nullopt;
    if (!described)
        return true;
    if (!shared.resources) {
        shared.resources = NewSharedResources(page, *described);
        shared.described = *described;
    }
    if (!shared.resources)
        return false;
    if (*described != shared.described)
        return true;
    // The page's own font resources are freed with its resources; the library looks its fonts
    // up there.
    const auto attr = static_cast<HPDF_PageAttr>(page->attr);
    attr->fonts = static_cast<HPDF_Dict>(HPDF_Dict_GetItem(shared.resources, "Font", HPDF_OCLASS_DICT));
    return HPDF_Dict_Add(page, "Resources", shared.resources) == HPDF_OK;
}

} // namespace

bool LibharuFont::HasGlyph(char16_t codePoint) const
{
    return !TrueTypeDefinition(m_font) || GlyphOf(codePoint) != 0;
}

unsigned LibharuFont::GlyphOf(char16_t codePoint) const
{
    const HPDF_FontDef def = TrueTypeDefinition(m_font);
    return def ? HPDF_TTFontDef_GetGlyphid(def, static_cast<HPDF_UINT16>(codePoint)) : 0;
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
    ReplaceMemoryStream(map->stream, {reinterpret_cast<const HPDF_BYTE*>(cmap.data()), cmap.size()});
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

unsigned LibharuFont::GlyphAdvance(unsigned glyph) const
{
    return glyph < GlyphCount() ? EmbeddedTrueType(m_font)->h_metric[glyph].advance_width : 0;
}

void LibharuFont::DrawWithoutAdvance(char16_t codePoint)
{
    const unsigned glyph = GlyphOf(codePoint);
    if (glyph != 0 && glyph < GlyphCount())
        EmbeddedTrueType(m_font)->h_metric[glyph].advance_width = 0;
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

void LibharuFont::RewriteFontProgram(const FontProgramRewrite& rewrite, TableHead head)
{
    const HPDF_FontAttr attr = EmbeddedCompositeTrueType(m_font);
    // The library makes the font's descriptor and program once, in this function, the first
    // time it is called; as the document is saved it finds them made.
    if (!attr || !m_font->before_write_fn)
        return;
    // The library copies such a table four bytes at a time; the glyph names of a Chinese font
    // took most of the time a small file's conversion spends on its fonts.
    const HPDF_TTFontDefAttr tt = EmbeddedTrueType(m_font);
    for (HPDF_UINT16 index = 0; index < tt->offset_tbl.num_tables; ++index) {
        HPDF_TTFTable& table = tt->offset_tbl.table[index];
        if (std::string_view(table.tag, sizeof table.tag) == head.tag)
            table.length = std::min(table.length, HPDF_UINT32(head.length));
    }
    if (m_font->before_write_fn(m_font) != HPDF_OK)
        return;
    HPDF_Dict descriptor = attr->fontdef->descriptor;
    auto* program = descriptor ? static_cast<HPDF_Dict>(HPDF_Dict_GetItem(descriptor, "FontFile2", HPDF_OCLASS_DICT))
                               : nullptr;
    std::vector<unsigned char> bytes;
    if (!program || !ReadMemoryStream(program->stream, bytes))
        return;
    const std::vector<unsigned char> rewritten = rewrite(bytes);
    if (!rewritten.empty() && ReplaceMemoryStream(program->stream, rewritten))
        HPDF_Dict_AddNumber(program, "Length1", HPDF_INT32(rewritten.size()));
}

void LibharuFont::MapUsedCodes()
{
    const HPDF_FontAttr attr = EmbeddedCompositeTrueType(m_font);
    if (!attr || !attr->map_stream || !HasSegmentedCharacterMap(EmbeddedTrueType(m_font)))
        return;
    std::vector<std::pair<unsigned, unsigned>> used; // code, glyph
    ForEachMappedCode(EmbeddedTrueType(m_font)->cmap, [&](unsigned code, unsigned glyph) {
        if (glyph != 0 && IsGlyphUsed(glyph))
            used.emplace_back(code, glyph);
    });
    // Two bytes, big-endian, per code up to the last one used.
    std::vector<unsigned char> map(2 * (used.empty() ? 1 : used.back().first + 1), 0);
    for (const auto& [code, glyph] : used) {
        map[2 * code] = static_cast<unsigned char>(glyph >> 8);
        map[2 * code + 1] = static_cast<unsigned char>(glyph);
    }
    if (ReplaceMemoryStream(attr->map_stream->stream, map))
        HPDF_Dict_Add(attr->descendant_font, "W", WidthsArray(m_font->mmgr, attr->fontdef, used));
}

bool LibharuFont::CoversCode(char16_t code) const
{
    const HPDF_TTFontDefAttr tt = EmbeddedTrueType(m_font);
    if (!EmbeddedCompositeTrueType(m_font) || !HasSegmentedCharacterMap(tt))
        return true;
    for (unsigned segment = 0; segment < tt->cmap.seg_count_x2 / 2u; ++segment) {
        if (code <= tt->cmap.end_count[segment])
            return code >= tt->cmap.start_count[segment];
    }
    return false;
}

std::vector<HPDF_BYTE> LibharuFont::TableBytes(std::string_view tag) const
{
    const HPDF_TTFontDefAttr tt = EmbeddedTrueType(m_font);
    for (HPDF_UINT16 index = 0; tt && index < tt->offset_tbl.num_tables; ++index) {
        const HPDF_TTFTable& table = tt->offset_tbl.table[index];
        if (std::string_view(table.tag, sizeof table.tag) != tag)
            continue;
        std::vector<HPDF_BYTE> bytes(table.length);
        HPDF_UINT size = table.length;
        if (HPDF_Stream_Seek(tt->stream, HPDF_INT(table.offset), HPDF_SEEK_SET) != HPDF_OK ||
            HPDF_Stream_Read(tt->stream, bytes.data(), &size) != HPDF_OK || size != bytes.size())
            return {};
        return bytes;
    }
    return {};
}

bool LibharuFont::AddCode(char16_t code, unsigned glyph)
{
    const HPDF_TTFontDefAttr tt = EmbeddedTrueType(m_font);
    if (CoversCode(code) || glyph >= GlyphCount())
        return false;
    HPDF_TTF_CmapRange& cmap = tt->cmap;
    const unsigned segments = cmap.seg_count_x2 / 2;
    unsigned at = 0;
    while (at < segments && cmap.end_count[at] < code)
        ++at;
    const HPDF_MMgr mmgr = Attributes(m_font)->fontdef->mmgr;
    auto* ends = static_cast<HPDF_UINT16*>(HPDF_GetMem(mmgr, HPDF_UINT(sizeof(HPDF_UINT16) * (segments + 1))));
    auto* starts = static_cast<HPDF_UINT16*>(HPDF_GetMem(mmgr, HPDF_UINT(sizeof(HPDF_UINT16) * (segments + 1))));
    auto* deltas = static_cast<HPDF_INT16*>(HPDF_GetMem(mmgr, HPDF_UINT(sizeof(HPDF_INT16) * (segments + 1))));
    auto* offsets = static_cast<HPDF_UINT16*>(HPDF_GetMem(mmgr, HPDF_UINT(sizeof(HPDF_UINT16) * (segments + 1))));
    if (!ends || !starts || !deltas || !offsets) {
        for (void* block : {static_cast<void*>(ends), static_cast<void*>(starts), static_cast<void*>(deltas), static_cast<void*>(offsets)})
            if (block)
                HPDF_FreeMem(mmgr, block);
        return false;
    }
    for (unsigned to = 0; to <= segments; ++to) {
        if (to == at) {
            ends[to] = starts[to] = code;
            deltas[to] = HPDF_INT16(glyph - code);
            offsets[to] = 0;
            continue;
        }
        const unsigned from = to < at ? to : to - 1;
        ends[to] = cmap.end_count[from];
        starts[to] = cmap.start_count[from];
        deltas[to] = cmap.id_delta[from];
        // The library finds a segment's glyph numbers by its distance from the end of the
        // segments: one segment more after it moves them one place further.
        const bool shifted = to < at && cmap.id_range_offset[from] != 0;
        offsets[to] = HPDF_UINT16(cmap.id_range_offset[from] + (shifted ? 2 : 0));
    }
    for (void* old : {static_cast<void*>(cmap.end_count), static_cast<void*>(cmap.start_count),
                      static_cast<void*>(cmap.id_delta), static_cast<void*>(cmap.id_range_offset)})
        HPDF_FreeMem(mmgr, old);
    cmap.end_count = ends;
    cmap.start_count = starts;
    cmap.id_delta = deltas;
    cmap.id_range_offset = offsets;
    cmap.seg_count_x2 = HPDF_UINT16(cmap.seg_count_x2 + 2);
    return true;
}

namespace {

using CodeWidths = std::array<HPDF_INT16, 256>;

// The width of every code of a Type 1 font's single-byte encoding as HPDF_Type1FontDef_GetWidth
// finds it (the definition's first entry for the character, else its missing width), from the
// entries sorted once instead of searched from the start for each code; 0 for codes beyond the
// encoding's range, as the library leaves them.
CodeWidths MeasureType1Codes(HPDF_Font font)
{
    const HPDF_FontAttr attr = Attributes(font);
    const auto* def = static_cast<HPDF_Type1FontDefAttr>(attr->fontdef->attr);
    const auto* encoder = static_cast<HPDF_BasicEncoderAttr>(attr->encoder->attr);
    std::vector<std::pair<HPDF_UNICODE, HPDF_UINT>> entries; // character, place in the definition
    entries.reserve(def->widths_count);
    for (HPDF_UINT i = 0; i < def->widths_count; ++i)
        entries.emplace_back(def->widths[i].unicode, i);
    std::sort(entries.begin(), entries.end());
    CodeWidths widths{};
    for (unsigned code = encoder->first_char; code <= encoder->last_char && code < 256; ++code) {
        const HPDF_UNICODE character = encoder->unicode_map[code];
        const auto entry = std::lower_bound(entries.begin(), entries.end(), std::pair<HPDF_UNICODE, HPDF_UINT>(character, 0));
        const bool found = entry != entries.end() && entry->first == character;
        widths[code] = HPDF_INT16(found ? def->widths[entry->second].width : attr->fontdef->missing_width);
    }
    return widths;
}

// A Base14 font's widths in one of the library's encodings are the same in every document:
// measured once a process.
CodeWidths Base14CodeWidths(HPDF_Font font)
{
    static std::mutex mutex;
    static std::map<std::string, CodeWidths> known; // by font and encoding name
    const HPDF_FontAttr attr = Attributes(font);
    std::string key = std::string(attr->fontdef->base_font) + '\0' + attr->encoder->name;
    const std::lock_guard lock(mutex);
    auto found = known.find(key);
    if (found == known.end())
        found = known.emplace(std::move(key), MeasureType1Codes(font)).first;
    return found->second;
}

// HPDF_GetFont for a Type 1 font: the library would search the definition's widths from the
// start for each of the encoding's codes, a fifth of a small file's conversion. It is given a
// definition without widths while it makes the font, and the widths are filled in after.
HPDF_Font GetType1Font(HPDF_Doc pdf, HPDF_FontDef def, const char* name, const char* encoding)
{
    auto* type1 = static_cast<HPDF_Type1FontDefAttr>(def->attr);
    const HPDF_UINT count = type1->widths_count;
    type1->widths_count = 0;
    HPDF_Font font = HPDF_GetFont(pdf, name, encoding);
    type1->widths_count = count;
    const HPDF_FontAttr attr = Attributes(font);
    if (!attr || attr->type != HPDF_FONT_TYPE1 || attr->fontdef != def || !attr->encoder ||
        attr->encoder->type != HPDF_ENCODER_TYPE_SINGLE_BYTE)
        return font;
    const CodeWidths widths = type1->is_base14font ? Base14CodeWidths(font) : MeasureType1Codes(font);
    std::copy(widths.begin(), widths.end(), attr->widths);
    return font;
}

} // namespace

HPDF_Font GetFontWithoutCodeMaps(HPDF_Doc pdf, const char* name, const char* encoding)
{
    const HPDF_FontDef def = HPDF_GetFontDef(pdf, name);
    if (def && def->type == HPDF_FONTDEF_TYPE_TYPE1)
        return GetType1Font(pdf, def, name, encoding);
    const bool utf8 = encoding && std::string_view(encoding) == "UTF-8";
    auto* tt = utf8 && def && def->type == HPDF_FONTDEF_TYPE_TRUETYPE ? static_cast<HPDF_TTFontDefAttr>(def->attr) : nullptr;
    if (!tt || !tt->embedding || !HasSegmentedCharacterMap(tt))
        return HPDF_GetFont(pdf, name, encoding);
    // While the font is made, its character map is one that maps nothing: the segment that
    // must end every such map, whose one code goes to glyph 0.
    const HPDF_TTF_CmapRange full = tt->cmap;
    HPDF_UINT16 end = 0xFFFF, start = 0xFFFF, rangeOffset = 0;
    HPDF_INT16 delta = 1;
    tt->cmap.seg_count_x2 = 2;
    tt->cmap.end_count = &end;
    tt->cmap.start_count = &start;
    tt->cmap.id_delta = &delta;
    tt->cmap.id_range_offset = &rangeOffset;
    tt->cmap.glyph_id_array_count = 0;
    HPDF_Font font = HPDF_GetFont(pdf, name, encoding);
    tt->cmap = full;
    return font;
}

bool LibharuPage::AppendContent(std::string_view operators)
{
    const HPDF_PageAttr attr = PageWithContentInMemory(m_page);
    return attr && WriteBytes(attr->stream, operators);
}

void LibharuPage::MoveTextPosition(float x, float y)
{
    const HPDF_PageAttr attr = PageInMode(m_page, HPDF_GMODE_TEXT_OBJECT);
    if (!attr) {
        HPDF_Page_MoveTextPos(m_page, x, y);
        return;
    }
    if (!WriteOperator(attr->stream, x, y, " Td\012"))
        return;
    HPDF_TransMatrix& matrix = attr->text_matrix;
    matrix.x += x * matrix.a + y * matrix.c;
    matrix.y += y * matrix.d + x * matrix.b;
    attr->text_pos.x = matrix.x;
    attr->text_pos.y = matrix.y;
}

void LibharuPage::StrokeLine(HPDF_Point from, HPDF_Point to)
{
    const HPDF_PageAttr attr = PageInMode(m_page, HPDF_GMODE_PAGE_DESCRIPTION);
    if (!attr) {
        HPDF_Page_MoveTo(m_page, from.x, from.y);
        HPDF_Page_LineTo(m_page, to.x, to.y);
        HPDF_Page_Stroke(m_page);
        return;
    }
    // The path is over when the call returns: nothing of its state outlives it.
    if (WriteOperator(attr->stream, from.x, from.y, " m\012") && WriteOperator(attr->stream, to.x, to.y, " l\012"))
        HPDF_Stream_WriteStr(attr->stream, "S\012");
}

void LibharuPage::ShowText(const std::string& text)
{
    // Kept from call to call, so that a line costs no allocation.
    thread_local std::string written;
    const HPDF_PageAttr attr = PageShowingOwnCodes(m_page);
    if (!attr || !MeasuredTextOperator(attr, text, " Tj\012", written)) {
        HPDF_Page_ShowText(m_page, text.c_str());
        return;
    }
    if (!text.empty())
        WriteBytes(attr->stream, written);
}

void LibharuPage::ShowTextNextLine(const std::string& text)
{
    thread_local std::string written;
    const HPDF_PageAttr attr = PageShowingOwnCodes(m_page);
    if (!attr || !MeasuredTextOperator(attr, text, " '\012", written)) {
        HPDF_Page_ShowTextNextLine(m_page, text.c_str());
        return;
    }
    if (!WriteBytes(attr->stream, text.empty() ? std::string_view("T*\012") : std::string_view(written)))
        return;
    HPDF_TransMatrix& matrix = attr->text_matrix;
    const HPDF_REAL leading = attr->gstate->text_leading;
    matrix.x -= leading * matrix.c;
    matrix.y -= leading * matrix.d;
    attr->text_pos.x = matrix.x;
    attr->text_pos.y = matrix.y;
}

bool LibharuPage::TakeContent(std::vector<unsigned char>& bytes)
{
    const HPDF_PageAttr attr = FinishedPage(m_page);
    if (!attr || !ReadMemoryStream(attr->stream, bytes))
        return false;
    HPDF_MemStream_FreeData(attr->stream);
    return true;
}

bool LibharuPage::PutDeflatedContent(std::span<const unsigned char> deflated)
{
    if (deflated.empty() || !PutContent(deflated))
        return false;
    const auto attr = static_cast<HPDF_PageAttr>(m_page->attr);
    attr->contents->filter = HPDF_STREAM_FILTER_NONE;
    attr->contents->write_fn = WriteFlateFilter;
    return true;
}

bool LibharuPage::PutPlainContent(std::span<const unsigned char> bytes)
{
    if (!PutContent(bytes))
        return false;
    static_cast<HPDF_PageAttr>(m_page->attr)->contents->filter = HPDF_STREAM_FILTER_NONE;
    return true;
}

bool LibharuPage::PutContent(std::span<const unsigned char> bytes)
{
    const HPDF_PageAttr attr = PageWithContentInMemory(m_page);
    if (!attr || attr->stream->size != 0 || attr->contents->write_fn)
        return false;
    if (bytes.empty())
        return true;
    // One block of the exact size: the library's usual 4 KB blocks would be most of the memory
    // of a page that holds a few lines. It is added as the library adds a block, and filled in
    // one copy instead of the library's byte by byte.
    auto* memory = static_cast<HPDF_MemStreamAttr>(attr->stream->attr);
    auto* block = static_cast<HPDF_BYTE*>(HPDF_GetMem(m_page->mmgr, HPDF_UINT(bytes.size())));
    if (!block)
        return false;
    if (HPDF_List_Add(memory->buf, block) != HPDF_OK) {
        HPDF_FreeMem(m_page->mmgr, block);
        return false;
    }
    std::memcpy(block, bytes.data(), bytes.size());
    memory->buf_siz = HPDF_UINT(bytes.size());
    memory->w_pos = memory->buf_siz;
    memory->w_ptr = block + bytes.size();
    attr->stream->size = HPDF_UINT(bytes.size());
    ShrinkList(memory->buf);
    return true;
}

bool LibharuPage::ShareResources(LibharuSharedResources& shared)
{
    const HPDF_PageAttr attr = FinishedPage(m_page);
    if (!attr)
        return false;
    HPDF_GState_Free(m_page->mmgr, attr->gstate);
    attr->gstate = nullptr;
    if (!ShareMediaBox(m_page, shared) || !ShareResourceDict(m_page, shared))
        return false;
    ShrinkList(m_page->list);
    ShrinkList(attr->contents->list);
    return true;
}

HPDF_MMgr LibharuDocument::Memory() const
{
    return m_pdf->mmgr;
}

HPDF_Dict LibharuDocument::Catalog() const
{
    return m_pdf->catalog;
}

HPDF_Dict LibharuDocument::Trailer() const
{
    return m_pdf->trailer;
}

HPDF_Dict LibharuDocument::NewIndirectDictionary() const
{
    HPDF_Dict dictionary = HPDF_Dict_New(m_pdf->mmgr);
    // The list of objects frees what it refuses.
    return dictionary && HPDF_Xref_Add(m_pdf->xref, dictionary) == HPDF_OK ? dictionary : nullptr;
}

std::size_t LibharuDocument::ObjectNumber(HPDF_Dict object)
{
    const HPDF_UINT32 id = object->header.obj_id;
    return (id & HPDF_OTYPE_INDIRECT) != 0 ? id & 0x00FFFFFF : 0;
}

HPDF_Array LibharuDocument::NewArray(std::size_t items) const
{
    HPDF_Array array = HPDF_Array_New(m_pdf->mmgr);
    if (array && items > array->list->items_per_block)
        array->list->items_per_block = static_cast<HPDF_UINT>(std::min<std::size_t>(items, 1u << 20));
    return array;
}

HPDF_Dict LibharuDocument::NewStream(std::string_view bytes) const
{
    HPDF_Dict stream = HPDF_DictStream_New(m_pdf->mmgr, m_pdf->xref);
    if (!stream || HPDF_Stream_Write(stream->stream, reinterpret_cast<const HPDF_BYTE*>(bytes.data()),
                                     static_cast<HPDF_UINT>(bytes.size())) != HPDF_OK)
        return nullptr;
    return stream;
}

void LibharuDocument::SetVersion(HPDF_PDFVer version) const
{
    m_pdf->pdf_version = version;
}

HPDF_Dict LibharuDocument::Information() const
{
    return m_pdf->info;
}

namespace {

// The library writes a string with an encoder as UTF-16 with a byte-order mark, each character
// as the encoder's map to Unicode gives it. This one takes a value already in UTF-16 (big
// endian), two bytes a code, and maps each code to itself: surrogates pass as they are.
HPDF_ByteType Utf16ByteType(HPDF_Encoder, HPDF_ParseText_Rec* state)
{
    return state->index++ % 2 == 0 ? HPDF_BYTE_TYPE_LEAD : HPDF_BYTE_TYPE_TRIAL;
}

HPDF_UNICODE Utf16Code(HPDF_Encoder, HPDF_UINT16 code)
{
    return code;
}

HPDF_Encoder Utf16Passthrough()
{
    static HPDF_Encoder_Rec encoder = [] {
        HPDF_Encoder_Rec made{};
        made.sig_bytes = HPDF_ENCODER_SIG_BYTES;
        made.type = HPDF_ENCODER_TYPE_DOUBLE_BYTE;
        made.byte_type_fn = Utf16ByteType;
        made.to_unicode_fn = Utf16Code;
        return made;
    }();
    return &encoder;
}

} // namespace

bool LibharuDocument::SetTextString(HPDF_Dict dictionary, const char* key, std::string_view text) const
{
    const std::string utf16 = ToUtf16BigEndian(text);
    if (utf16.size() > HPDF_LIMIT_MAX_STRING_LEN) {
        HPDF_SetError(m_pdf->mmgr->error, HPDF_STRING_OUT_OF_RANGE, 0);
        return false;
    }
    // The library's own setter stops at the first zero byte, which UTF-16 is full of.
    HPDF_String value = HPDF_String_New(m_pdf->mmgr, "", Utf16Passthrough());
    auto* copy = value ? static_cast<HPDF_BYTE*>(HPDF_GetMem(m_pdf->mmgr, static_cast<HPDF_UINT>(utf16.size() + 1))) : nullptr;
    if (!copy) {
        if (value)
            HPDF_String_Free(value);
        return false;
    }
    std::memcpy(copy, utf16.data(), utf16.size());
    copy[utf16.size()] = 0;
    HPDF_FreeMem(m_pdf->mmgr, value->value);
    value->value = copy;
    value->len = static_cast<HPDF_UINT>(utf16.size());
    return HPDF_Dict_Add(dictionary, key, value) == HPDF_OK;
}
