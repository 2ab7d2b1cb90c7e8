#pragma once
// The one place that reaches into libharu's private structures, for what its public interface
// does not offer: operators it has no call for, cheaper ways to write some it has, objects of the document's own (catalog,
// trailer, new dictionaries and streams, text strings beyond U+FFFF), whether a TrueType font has a glyph for a character, the stream of a UTF-8
// font's map back to Unicode, the glyph table of an embedded TrueType font, and a finished
// page's content stream, resources and the lists that hold them. Those structures differ between versions of the library, so the build
// stops on any version other than the one this was written against (2.3.0). Any thread that
// owns the font's or page's document.
#include <hpdf.h>

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class LibharuFont {
public:
    explicit LibharuFont(HPDF_Font font) : m_font(font) {}

    // False only for a TrueType font that maps the character to glyph 0, the font's stand-in
    // for a character it lacks; true for any other kind of font.
    bool HasGlyph(char16_t codePoint) const;
    // The glyph of `codePoint` in a TrueType font, 0 for none or for any other font.
    unsigned GlyphOf(char16_t codePoint) const;

    // For a TrueType font with a UTF-8 (Identity-H) encoding: the stream the library wrote as
    // the map back to Unicode becomes a plain stream holding `cmap`. Returns false, changing
    // nothing, for any other font.
    bool ReplaceToUnicodeStream(std::string_view cmap);

    // The glyph table of an embedded TrueType font, whose used glyphs alone are embedded.
    // GlyphCount is 0 for a font that is not one.
    unsigned GlyphCount() const;
    bool IsGlyphUsed(unsigned glyph) const;
    void MarkGlyphUsed(unsigned glyph);
    // The glyph's advance in the font's units, as the document measures it and writes it
    // into its widths.
    unsigned GlyphAdvance(unsigned glyph) const;
    // The glyph of `codePoint` advances nothing wherever the document measures it or writes its
    // width. Changes nothing for a font that is not an embedded TrueType font.
    void DrawWithoutAdvance(char16_t codePoint);
    // The glyph's data as the font file holds it; empty for an empty glyph or when the font
    // file cannot be read there.
    std::vector<HPDF_BYTE> GlyphBytes(unsigned glyph) const;

    // For an embedded TrueType font with a UTF-8 encoding, once nothing more is drawn with
    // it: the library writes its font program now instead of as the document is saved, and
    // the program becomes what `rewrite` makes of it, unless that is empty. Of the table
    // `head` names, the library copies only the first bytes, which must be all `rewrite`
    // keeps of it. Changes nothing for any other font; when the library refuses, its
    // document is in error.
    using FontProgramRewrite = std::function<std::vector<HPDF_BYTE>(std::span<const HPDF_BYTE>)>;
    struct TableHead {
        std::string_view tag;
        std::size_t length;
    };
    void RewriteFontProgram(const FontProgramRewrite& rewrite, TableHead head);

    // For an embedded TrueType font with a UTF-8 encoding, before anything is drawn with it:
    // whether its character map has anything to say about the code (a glyph or an explicit
    // "none"); true for any other font.
    bool CoversCode(char16_t code) const;
    // The table `tag` of an embedded TrueType font's file; empty when there is none or it
    // cannot be read.
    std::vector<HPDF_BYTE> TableBytes(std::string_view tag) const;
    // The code, which CoversCode denies, now stands for `glyph`: it is drawn, measured and
    // embedded as that glyph. False, changing nothing, for any other font or code; when the
    // library ran out of memory its document is in error.
    bool AddCode(char16_t code, unsigned glyph);

    // For such a font, once nothing more is drawn with it: its map from character codes to
    // glyphs and its widths hold the codes whose glyphs are used, and no others.
    void MapUsedCodes();

private:
    HPDF_Font m_font;
};

// HPDF_GetFont, but for an embedded TrueType font with the UTF-8 encoding without the maps from
// every character code to its glyph and width, which the library makes by searching the font's
// character map for each of the 65,536 codes: a tenth of a small file's conversion with a
// Chinese font. LibharuFont::MapUsedCodes makes them once the text is drawn. A Type 1 font gets
// the library's widths for its codes, found in less time. Any other font is got as HPDF_GetFont
// gets it. `encoding` may be null for the font's own.
HPDF_Font GetFontWithoutCodeMaps(HPDF_Doc pdf, const char* name, const char* encoding);

// The resources and the media box that the finished pages of one document share, each one
// object written once: the library gives every page copies of its own, which for a page of a
// few lines are most of its memory. Null until the first finished page is shared.
struct LibharuSharedResources {
    struct Described {
        std::vector<std::string> procSet;
        std::vector<std::pair<std::string, void*>> fonts; // local name, font object

        bool operator==(const Described&) const = default;
    };
    HPDF_Dict resources = nullptr;
    Described described;
    HPDF_Array mediaBox = nullptr;
    HPDF_Box box{};
};

// A page once it is finished, whose content stream and resources the library otherwise keeps
// as drawn until it writes the whole file.
class LibharuPage {
public:
    explicit LibharuPage(HPDF_Page page) : m_page(page) {}

    // Writes `operators` into the page's content where drawing has reached, for the operators
    // the library has no call for (marked content). False, writing nothing, for a page whose
    // content is not in memory; a failed write puts the document in error.
    bool AppendContent(std::string_view operators);

    // HPDF_Page_MoveTextPos, writing the same bytes and moving the text position the same way,
    // for a fraction of its cost: the library clears a buffer of 512 bytes, one at a time, on
    // every move, which comes to most of a short line's drawing. Outside a text object it
    // leaves the refusal to the library; a refused write puts the document in error.
    void MoveTextPosition(float x, float y);
    // HPDF_Page_MoveTo, HPDF_Page_LineTo and HPDF_Page_Stroke, the same way.
    void StrokeLine(HPDF_Point from, HPDF_Point to);

    // HPDF_Page_ShowText and HPDF_Page_ShowTextNextLine (`'`, which first moves down by the
    // text leading; an empty text only moves), for a font whose codes are single bytes: the
    // string goes out as it is, escaped only where a string must be, instead of the library
    // measuring it again and escaping it byte by byte, in octal beyond ASCII. For a TrueType
    // font with the UTF-8 encoding the same, the characters written as the library writes
    // them, their UTF-16 code units in hexadecimal, each character measured by the library
    // once per font (which embeds its glyph and width) instead of on every line. The text
    // position stays where the text begins, since nothing asks where it ends. With any other
    // font, outside a text object, or for UTF-8 text holding U+0000 or anything beyond U+FFFF,
    // the library's own call draws it.
    void ShowText(const std::string& text);
    void ShowTextNextLine(const std::string& text);

    // Moves what was drawn on the page into `bytes`, leaving the page's content empty until
    // PutDeflatedContent. False, changing nothing, for a page that is not finished (text or
    // path still open, graphics state saved) or whose content is not held in memory.
    bool TakeContent(std::vector<unsigned char>& bytes);

    // The page's content becomes `deflated`, a zlib stream of what TakeContent gave, kept in
    // memory of its size and written as it is, marked /FlateDecode, without the library's own
    // compression. False when `deflated` is empty or the page's content is not empty and in
    // memory (nothing changed), or when the library ran out of memory (the document is then in
    // error).
    bool PutDeflatedContent(std::span<const unsigned char> deflated);
    // The same for `bytes` as TakeContent gave them, written without a filter.
    bool PutPlainContent(std::span<const unsigned char> bytes);

    // Frees the finished page's drawing state, and gives it the resources and media box of
    // `shared` in place of its own when they are the same; the first page's become the shared
    // ones. A page whose resources differ keeps them. Its lists keep only what they hold.
    // Nothing may be drawn on the page afterwards. False when the library ran out of memory (the document is then in error).
    bool ShareResources(LibharuSharedResources& shared);

private:
    bool PutContent(std::span<const unsigned char> bytes);

    HPDF_Page m_page;
};

// The document's own objects, for entries its public interface cannot write (the structure
// tree, XMP metadata, the file identifier). Objects made here live in the document's memory
// and are written with it; a failure puts the document in error and gives null.
class LibharuDocument {
public:
    explicit LibharuDocument(HPDF_Doc pdf) : m_pdf(pdf) {}

    HPDF_MMgr Memory() const;
    HPDF_Dict Catalog() const;
    HPDF_Dict Trailer() const;
    // A new dictionary written as an object of its own, which others refer to.
    HPDF_Dict NewIndirectDictionary() const;
    // The number `object` is written under when it is an object of its own; else 0.
    static std::size_t ObjectNumber(HPDF_Dict object);
    // A new array that takes `items` without growing step by step (the library grows its
    // arrays twenty items at a time, copying them all each time).
    HPDF_Array NewArray(std::size_t items) const;
    // A new stream object holding `bytes` as they are, without a filter.
    HPDF_Dict NewStream(std::string_view bytes) const;
    // The version the file's header gives, which the library has no call for.
    void SetVersion(HPDF_PDFVer version) const;
    // The document information dictionary, once the library made it (HPDF_SetInfoAttr); else null.
    HPDF_Dict Information() const;
    // Sets `key` of `dictionary` to the well-formed UTF-8 `text` as a text string in UTF-16
    // with a byte-order mark. The library's own UTF-8 writing stops at U+FFFF; this one writes
    // characters beyond it as surrogate pairs. False when the library ran out of memory or the
    // text is too long for it; its document is then in error.
    bool SetTextString(HPDF_Dict dictionary, const char* key, std::string_view text) const;

private:
    HPDF_Doc m_pdf;
};
