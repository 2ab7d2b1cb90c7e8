#pragma once
// Writes the lines of a text onto pages of an open document: pages of the chosen paper, lines
// from the top margin down at a pitch of the font size + 5 points, a new page after the line
// whose baseline reaches the bottom margin. The font size must already be checked. Writing
// stops at the library's first error; the caller reads the document's error state afterwards.
// The lines of a page are laid out before the page is drawn; with page furniture that shows
// the page count, every page is laid out before the first is drawn, so that the count is known
// without a second pass. The page's furniture is drawn after its text, before it is finished.
#include "conversion/ConversionObserver.h"
#include "conversion/ConversionOptions.h"
#include "conversion/GlyphWidths.h"
#include "conversion/PageFurniture.h"
#include "conversion/StandInCodes.h"
#include "platform/MultiByteCharset.h"

#include <hpdf.h>

#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class LineBreaker;
class MarkedContent;
struct ReorderedLine;

class TextLayout {
public:
    // The fallback fonts draw, in UTF-8, the characters the font has no glyph for.
    TextLayout(HPDF_Doc pdf, HPDF_Font font, float fontSize, const ConversionOptions& options,
               const MultiByteCharset& charset, ConversionObserver& observer,
               std::vector<HPDF_Font> fallbacks = {});

    // Called with each page once nothing more is drawn on it; when it returns false, writing
    // stops there.
    void OnPageFinished(std::function<bool(HPDF_Page)> finished) { m_pageFinished = std::move(finished); }

    // Draws `furniture` on every page, its numbers from `numbering`. The layout's options must
    // then be the furniture's BodyArea.
    void AddFurniture(PageFurniture& furniture, PageNumbering numbering = {})
    {
        m_furniture = &furniture;
        m_numbering = numbering;
    }

    // The text's stand-ins (StandInCodes.h): characters beyond U+FFFF, ordered and broken as
    // the characters they stand for, and the mirror images of right-to-left text. `standIns`
    // must outlive the Write.
    void UseStandIns(const StandInCodes& standIns) { m_standIns = &standIns; }

    // Whether the UTF-8 text may hold a character from U+0590 on: without one, no line is
    // looked at for right-to-left letters or direction controls. True by default.
    void MayHoldRightToLeft(bool may) { m_mayHoldRightToLeft = may; }

    // Draws the text into marked content recorded in `marks` (tagged documents); null, the
    // default, draws it unmarked. `marks` must outlive the Write.
    void MarkContent(MarkedContent* marks) { m_marks = marks; }

    // `text` has CR as its only line end (see NormaliseLineEnds); `progressLength` is the
    // range reported for it.
    void Write(std::string_view text, std::size_t progressLength);
    // How many pages Write would lay `text` out on, nothing drawn; 0 when the library refused
    // something. The first page is begun for the measures, so the document must be one of
    // its own, never written. Instead of Write, once.
    long CountPages(std::string_view text);

    // In UTF-8, every character below U+10000 that the finished Write drew, ascending.
    const std::vector<char16_t>& DrawnCodes() const { return m_drawnCodes; }
    // After a finished Write in UTF-8 with a TrueType font: a note naming the font and how
    // many different characters of the text it has no glyph for, if any. With
    // `noInstalledFontHasThem`, the note says so and that installing a font is the remedy.
    std::optional<std::string> MissingGlyphNote(bool noInstalledFontHasThem) const;

    // The room between the margins in whole points, wide enough for any margins.
    static long long AvailableWidth(const ConversionOptions& options);
    // Page width and height for the options' paper.
    static void PageSizeOf(const ConversionOptions& options, int& width, int& height);

private:
    static inline const StandInCodes kNoStandIns;

    // A line as laid out: its text, and its source line's number where it begins one (else 0).
    struct LaidLine {
        std::string_view text;
        long number;
    };

    void LayOut(std::string_view text, const std::function<void(const LineBreaker&)>& laidOut);
    HPDF_Page StartPage();
    float FirstPosition() const;
    bool LayOutSection(std::string_view section, LineBreaker& breaker);
    bool ClosePage(LineBreaker* next);
    bool DrawWaitingPages();
    bool DrawPage(std::span<const LaidLine> lines);
    void DrawFurniture(HPDF_Page page);
    long PageCount() const;
    void DrawLine(HPDF_Page page, std::string_view line, GlyphWidths& widths);
    void DrawInReadingOrder(HPDF_Page page, const ReorderedLine& line, GlyphWidths& widths);
    void NoteShapedCodes(std::string_view visual);
    void AddCodesBesideTheText(); // shaped forms and the furniture
    void EndMarkedLine(HPDF_Page page);

    HPDF_Doc m_pdf;
    HPDF_Font m_font;
    float m_fontSize;
    const ConversionOptions& m_options;
    const MultiByteCharset& m_charset;
    ConversionObserver& m_observer;
    std::vector<HPDF_Font> m_fallbacks;
    std::function<bool(HPDF_Page)> m_pageFinished;
    MarkedContent* m_marks = nullptr;
    // The line being drawn ends in a space or the next on its page begins with one: nothing
    // need join them.
    bool m_spacedFromNext = false;
    const StandInCodes* m_standIns = &kNoStandIns;
    bool m_mayHoldRightToLeft = true;
    std::string m_line; // the zero-terminated copy the library draws
    PageFurniture* m_furniture = nullptr;
    PageNumbering m_numbering;
    GlyphWidths* m_widths = nullptr; // the breaker's, which the drawing shares
    HPDF_Page m_page = nullptr;      // started and not yet drawn on, or null
    std::vector<LaidLine> m_laid;    // the lines of the pages not yet drawn
    std::vector<std::size_t> m_pageEnds; // where in m_laid each such page ends
    bool m_keepAllPages = false;     // whether every page waits for the page count
    float m_lastBaseline = 0;        // as the library will place it, in its single precision
    long m_sourceLine = 0;
    bool m_atLineStart = true;       // the next line laid begins a source line
    std::vector<NumberedBaseline> m_numbered; // of the page being drawn
    long m_pagesDrawn = 0;
    std::size_t m_drawn = 0;          // bytes of the lines drawn, for the progress
    std::size_t m_progressLength = 0;
    // The page began because the last one was full, and nothing is drawn on it yet.
    bool m_pageBegunByOverflow = true;
    std::vector<char16_t> m_drawnCodes;
    std::vector<char16_t> m_shapedCodes; // drawn after reordering, or the joining space; may repeat
    std::size_t m_charactersWithoutGlyph = 0;
    bool m_drewJoiningSpace = false;
};
