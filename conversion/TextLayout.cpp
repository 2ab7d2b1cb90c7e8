#include "conversion/TextLayout.h"

#include "conversion/FontRuns.h"
#include "conversion/LibharuPrivate.h"
#include "conversion/LineBreaker.h"
#include "conversion/MarkedContent.h"
#include "conversion/PageFields.h"
#include "conversion/ReadingOrderText.h"
#include "conversion/TabStops.h"
#include "conversion/VisualOrder.h"
#include "platform/Utf8.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace {
int ClampToInt(std::size_t value)
{
    return static_cast<int>(std::min<std::size_t>(value, INT_MAX));
}

constexpr std::string_view kSpaces = " \t";

bool EndsInSpace(std::string_view line)
{
    return !line.empty() && kSpaces.find(line.back()) != std::string_view::npos;
}

// A line of spaces alone ends the paragraph rather than going on with it.
bool StartsWithSpaceBeforeText(std::string_view line)
{
    const std::size_t text = line.find_first_not_of(kSpaces);
    return text != 0 && text != std::string_view::npos;
}
} // namespace

TextLayout::TextLayout(HPDF_Doc pdf, HPDF_Font font, float fontSize,
                       const ConversionOptions& options, const MultiByteCharset& charset,
                       ConversionObserver& observer, std::vector<HPDF_Font> fallbacks)
    : m_pdf(pdf), m_font(font), m_fontSize(fontSize), m_options(options), m_charset(charset),
      m_observer(observer), m_fallbacks(std::move(fallbacks))
{
}

void TextLayout::PageSizeOf(const ConversionOptions& options, int& width, int& height)
{
    width = options.PageWidth;
    height = options.PageHeight;
    LookupPaperSize(options.PageSize, width, height);
}

long long TextLayout::AvailableWidth(const ConversionOptions& options)
{
    int width = 0;
    int height = 0;
    PageSizeOf(options, width, height);
    return static_cast<long long>(width) - options.LeftMargin - options.RightMargin;
}

void TextLayout::Write(std::string_view text, std::size_t progressLength)
{
    m_progressLength = progressLength;
    m_observer.SetProgressRange(1, ClampToInt(progressLength));
    m_observer.SetProgressPos(0);
    // A count given beforehand (a combined document's) needs no waiting.
    m_keepAllPages = m_furniture && UsesPageCount(m_options) && m_numbering.total == 0;
    LayOut(text, [&](const LineBreaker& breaker) {
        if (!DrawWaitingPages())
            return;
        m_drawnCodes = breaker.MeasuredCodes();
        AddCodesBesideTheText();
        m_charactersWithoutGlyph = breaker.CharactersWithoutGlyph();
        m_observer.SetProgressPos(ClampToInt(progressLength));
    });
}

long TextLayout::CountPages(std::string_view text)
{
    m_keepAllPages = true;
    long pages = 0;
    LayOut(text, [&](const LineBreaker&) { pages = static_cast<long>(m_pageEnds.size()); });
    return pages;
}

// Breaks the whole text into its pages, drawing those that need not wait for the page count,
// and then calls `laidOut`; not when the library refused something.
void TextLayout::LayOut(std::string_view text, const std::function<void(const LineBreaker&)>& laidOut)
{
    // Each text begins a paragraph of its own, even where it follows another on a page.
    if (m_marks)
        m_marks->EndParagraph();
    m_page = StartPage();
    if (!m_page)
        return;

    LineBreaker breaker(m_page, m_font, m_fontSize, static_cast<double>(AvailableWidth(m_options)), m_charset,
                        m_fallbacks);
    breaker.UseUnicodeBreaks(m_standIns->characters);
    m_widths = &breaker.Widths();
    m_lastBaseline = FirstPosition();
    std::string expanded;
    if (m_options.TabSize > 0 && text.find('\t') != std::string_view::npos) {
        GlyphWidths widths(m_font, m_fontSize, m_charset);
        expanded = ExpandTabs(text, m_options.TabSize, widths, m_charset);
        text = expanded;
    }
    const char sectionEnd = m_options.FormFeed == 1 ? '\f' : '\0'; // the text holds no zero byte
    while (!text.empty()) {
        const std::string_view section = text.substr(0, text.find(sectionEnd));
        text.remove_prefix(section.size());
        if (!LayOutSection(section, breaker))
            return;
        if (text.empty())
            break;
        text.remove_prefix(1);
        // A form feed at the very end has no text to begin a page with, and one right after a
        // page that began because the last was full has no page to end.
        if (!m_pageBegunByOverflow && !text.empty() && !ClosePage(&breaker))
            return;
        m_pageBegunByOverflow = false;
    }
    if (ClosePage(nullptr))
        laidOut(breaker);
}

// Lays out the lines of `section`, a page after each line whose baseline reaches the bottom
// margin. False when the library refused something.
bool TextLayout::LayOutSection(std::string_view section, LineBreaker& breaker)
{
    while (!section.empty()) {
        const std::string_view line = breaker.TakeLine(section);
        const long number = m_atLineStart ? ++m_sourceLine : 0;
        m_atLineStart = section.data() == line.data() + line.size() + 1; // its CR was taken
        m_laid.push_back({line, number});
        // The test follows the line, so the last line of a page is the first whose baseline
        // reaches the bottom margin.
        m_lastBaseline += -(m_fontSize + 5);
        m_pageBegunByOverflow = m_lastBaseline <= m_options.BottomMargin;
        if (m_pageBegunByOverflow && !ClosePage(&breaker))
            return false;
    }
    return true;
}

// Ends the page being laid out and draws it unless it waits for the page count; with `next`,
// another page follows, which `next` then measures on.
bool TextLayout::ClosePage(LineBreaker* next)
{
    m_pageEnds.push_back(m_laid.size());
    m_lastBaseline = FirstPosition();
    if (m_keepAllPages)
        return true;
    if (!DrawPage(m_laid))
        return false;
    m_laid.clear();
    m_pageEnds.clear();
    if (!next)
        return true;
    m_page = StartPage();
    if (m_page)
        next->SetPage(m_page);
    return m_page != nullptr;
}

bool TextLayout::DrawWaitingPages()
{
    std::size_t begin = 0;
    for (const std::size_t end : m_pageEnds) {
        if (!DrawPage(std::span<const LaidLine>(m_laid).subspan(begin, end - begin)))
            return false;
        begin = end;
    }
    return true;
}

long TextLayout::PageCount() const
{
    if (m_numbering.total > 0)
        return m_numbering.total;
    return m_keepAllPages ? m_numbering.first - 1 + static_cast<long>(m_pageEnds.size()) : 0;
}

// Draws the lines and the furniture of the next page, and finishes it. False when the library
// refused something.
bool TextLayout::DrawPage(std::span<const LaidLine> lines)
{
    HPDF_Page page = m_page ? std::exchange(m_page, nullptr) : StartPage();
    if (!page)
        return false;
    const bool numbered = m_furniture && m_furniture->NumbersLines();
    m_numbered.clear();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const LaidLine& line = lines[i];
        m_spacedFromNext = EndsInSpace(line.text) || (i + 1 < lines.size() && StartsWithSpaceBeforeText(lines[i + 1].text));
        DrawLine(page, line.text, *m_widths);
        // After its first error the library refuses every call, new pages included.
        if (HPDF_GetError(m_pdf) != HPDF_OK)
            return false;
        if (numbered && line.number > 0)
            m_numbered.push_back({HPDF_Page_GetCurrentTextPos(page).y, line.number});
        m_drawn += line.text.size();
        m_observer.SetProgressPos(ClampToInt(std::min(m_drawn, m_progressLength)));
    }
    if (m_marks)
        m_marks->FinishPage();
    HPDF_Page_EndText(page);
    if (m_furniture)
        DrawFurniture(page);
    ++m_pagesDrawn;
    return !m_pageFinished || m_pageFinished(page);
}

// Readers that follow the tags skip the furniture: it is marked an artifact.
void TextLayout::DrawFurniture(HPDF_Page page)
{
    const auto draw = [&] { m_furniture->Draw(page, m_numbering.first + m_pagesDrawn, PageCount(), m_numbered); };
    if (m_marks)
        m_marks->DrawArtifact(draw);
    else
        draw();
}

std::optional<std::string> TextLayout::MissingGlyphNote(bool noInstalledFontHasThem) const
{
    if (m_charactersWithoutGlyph == 0)
        return std::nullopt;
    const std::string count = m_charactersWithoutGlyph == 1
                                  ? "1 character"
                                  : std::to_string(m_charactersWithoutGlyph) + " different characters";
    const std::string remedy = noInstalledFontHasThem
                                   ? "no installed font has them either; install one that does (such as one of the "
                                     "fonts-noto packages) and convert again."
                                   : "choose a font that has them.";
    return "The font \"" + m_options.TrueTypeFile + "\" has no glyph for " + count +
           " of the text, which show as empty boxes; " + remedy;
}

// The new page with its font and text position set, or null when the library refused it.
HPDF_Page TextLayout::StartPage()
{
    int width = 0;
    int height = 0;
    PageSizeOf(m_options, width, height);
    HPDF_Page page = HPDF_AddPage(m_pdf);
    if (!page)
        return nullptr;
    HPDF_Page_SetWidth(page, static_cast<HPDF_REAL>(width));
    HPDF_Page_SetHeight(page, static_cast<HPDF_REAL>(height));
    HPDF_Page_SetFontAndSize(page, m_font, m_fontSize);
    HPDF_Page_SetTextLeading(page, m_fontSize + 5);
    HPDF_Page_BeginText(page);
    HPDF_Page_MoveTextPos(page, static_cast<HPDF_REAL>(m_options.LeftMargin), FirstPosition());
    if (m_marks)
        m_marks->StartPage(page);
    return HPDF_GetError(m_pdf) == HPDF_OK ? page : nullptr;
}

// Where the text position starts on a page: each line first moves down by the pitch, so the
// first baseline is 5 points below the top margin. In the library's single precision, so that
// the layout foresees exactly where the library will put each line.
float TextLayout::FirstPosition() const
{
    int width = 0;
    int height = 0;
    PageSizeOf(m_options, width, height);
    return static_cast<HPDF_REAL>(height) - static_cast<HPDF_REAL>(m_options.TopMargin) + m_fontSize;
}

void TextLayout::DrawLine(HPDF_Page page, std::string_view line, GlyphWidths& widths)
{
    const bool lookedAt = m_charset.IsUtf8() && m_mayHoldRightToLeft;
    const bool reorder = lookedAt && HoldsRightToLeft(line, m_standIns->characters);
    // A tagged document's structure takes a line's text in the order it is drawn.
    if (reorder && m_marks)
        return DrawInReadingOrder(page, Reordered(line, m_standIns->characters, m_standIns->mirrored), widths);
    if (reorder) {
        m_line = VisualOrder(line, m_standIns->characters, m_standIns->mirrored);
        NoteShapedCodes(m_line);
    } else {
        m_line.assign(line);
        if (lookedAt)
            RemoveDirectionControls(m_line);
    }
    if (m_marks)
        m_marks->BeginLine(m_line);
    if (widths.HasFallbacks()) {
        LibharuPage(page).MoveTextPosition(0, -(m_fontSize + 5));
        ShowInFontRuns(page, m_line, m_font, m_fontSize, widths);
    } else {
        // Moves down by the text leading, the line pitch, first.
        LibharuPage(page).ShowTextNextLine(m_line);
    }
    if (m_marks)
        EndMarkedLine(page);
}

void TextLayout::DrawInReadingOrder(HPDF_Page page, const ReorderedLine& line, GlyphWidths& widths)
{
    NoteShapedCodes(line.visual);
    m_marks->BeginLine(line.visual);
    LibharuPage(page).MoveTextPosition(0, -(m_fontSize + 5));
    ShowInReadingOrder(page, line, m_font, m_fontSize, widths);
    EndMarkedLine(page);
}

// A reader that follows the tags takes a paragraph's lines as one text; the space drawn after
// each line, where it cannot be seen, keeps its words apart where the line broke between them.
void TextLayout::EndMarkedLine(HPDF_Page page)
{
    // A font without a space would draw its .notdef glyph instead. A line broken after a space
    // keeps it, and a line that begins with spaces has its own: another would double them.
    if (!m_marks->InParagraph() || m_spacedFromNext || !LibharuFont(m_font).HasGlyph(u' '))
        return m_marks->EndLine();
    LibharuPage(page).ShowText(" ");
    m_drewJoiningSpace = true;
    m_marks->EndLine();
}

// Shaping draws presentation forms the text itself may not hold; a reader needs them in the map
// back to Unicode too.
void TextLayout::NoteShapedCodes(std::string_view visual)
{
    for (std::size_t pos = 0; pos < visual.size();) {
        const std::size_t length = std::max<std::size_t>(Utf8SequenceLength(visual, pos), 1);
        if (length == 3)
            m_shapedCodes.push_back(static_cast<char16_t>(DecodeUtf8(visual, pos, length)));
        pos += length;
    }
}

void TextLayout::AddCodesBesideTheText()
{
    if (m_drewJoiningSpace)
        m_shapedCodes.push_back(u' ');
    m_drawnCodes.insert(m_drawnCodes.end(), m_shapedCodes.begin(), m_shapedCodes.end());
    if (m_furniture) {
        const std::vector<char16_t> furniture = m_furniture->DrawnCodes();
        m_drawnCodes.insert(m_drawnCodes.end(), furniture.begin(), furniture.end());
    }
    std::sort(m_drawnCodes.begin(), m_drawnCodes.end());
    m_drawnCodes.erase(std::unique(m_drawnCodes.begin(), m_drawnCodes.end()), m_drawnCodes.end());
}
