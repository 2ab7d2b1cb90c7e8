#pragma once
// Breaks the text of a file into the lines drawn on the pages. The text holds CR as its only
// line end. Each call takes one line from the head of the text:
//  - the candidate is the text up to the first space before which the text is wider than the
//    line, or all of it;
//  - a CR in the candidate ends the line there when the text before it fits (the CR is used up);
//  - otherwise the library's word-wrap measure decides: the line ends where it says when that
//    is past the last space, else after the last space, so the space stays at the end of the
//    line;
//  - a run without any break point that is wider than the line is cut at the last character
//    that fits (one character at least), so every line fits and every call consumes text.
// With the Unicode rules (UTF-8 only), an overflowing line ends at the last break they allow
// instead (see UnicodeBreaks.h), or, where they allow none, is cut as above.
// With fallback fonts the library, which knows one font per page, cannot measure: the sums of
// the widths decide alone, as if the library had found no break.
// Widths are the library's; the work per line is bounded by the line, not by the rest of the
// text, and the library is never handed more than about one line. A line ends where it reaches
// the most bytes the library takes at once, however little of it draws.
#include "conversion/GlyphWidths.h"
#include "platform/MultiByteCharset.h"

#include <hpdf.h>

#include <map>
#include <string>
#include <string_view>
#include <vector>

class LineBreaker {
public:
    // `page` must have the font and size set; `width` is the room between the margins, > 0.
    LineBreaker(HPDF_Page page, HPDF_Font font, float fontSize, double width,
                const MultiByteCharset& charset, std::vector<HPDF_Font> fallbacks = {});

    // The page whose font settings the library's measure uses; any page of the document with
    // the same font and size will do.
    void SetPage(HPDF_Page page) { m_page = page; }

    // Breaks UTF-8 text by the Unicode rules from now on, the stand-ins of `standIns` (see
    // StandInCodes.h) as the characters they stand for; `standIns` must outlive the breaker.
    void UseUnicodeBreaks(const std::map<char16_t, char32_t>& standIns)
    {
        m_unicodeBreaks = m_charset.IsUtf8();
        m_standIns = &standIns;
    }

    // Takes one line from the head of `rest` (which must not be empty) and returns it without
    // its line end; `rest` loses the line and the CR that ended it, if any.
    std::string_view TakeLine(std::string_view& rest);

    // In UTF-8, the characters below U+10000 measured so far (which includes every character
    // of every line taken), ascending.
    std::vector<char16_t> MeasuredCodes() const { return m_widths.MeasuredCodes(); }
    std::size_t CharactersWithoutGlyph() const { return m_widths.CharactersWithoutGlyph(); }
    GlyphWidths& Widths() { return m_widths; }

private:
    struct Scan;
    Scan ScanToOverflow(std::string_view rest);
    std::size_t FindCandidateEnd(std::string_view rest, std::size_t from, std::size_t limit) const;
    std::size_t MeasureCandidate(std::string_view rest, const Scan& scan);
    std::size_t LibraryMeasure(std::string_view text);
    std::size_t UnicodeBreak(std::string_view rest, const Scan& scan) const;
    std::size_t AdvanceChars(std::string_view text, std::size_t pos, std::size_t count) const;
    bool Fits(long widthSum) const { return m_widths.Points(widthSum) <= m_width; }

    HPDF_Page m_page;
    double m_width;
    const MultiByteCharset& m_charset;
    GlyphWidths m_widths;
    std::string m_buffer; // the zero-terminated copy the library measures
    bool m_unicodeBreaks = false;
    const std::map<char16_t, char32_t>* m_standIns = nullptr;
};
