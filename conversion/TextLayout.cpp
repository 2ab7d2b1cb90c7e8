#include "conversion/TextLayout.h"

#include "conversion/LineBreaker.h"

#include <algorithm>
#include <climits>

namespace {

// The library refuses to show a longer string in one call.
constexpr std::size_t kMostBytesPerShow = HPDF_LIMIT_MAX_STRING_LEN;

int ClampToInt(std::size_t value)
{
    return static_cast<int>(std::min<std::size_t>(value, INT_MAX));
}
} // namespace

TextLayout::TextLayout(HPDF_Doc pdf, HPDF_Font font, float fontSize,
                       const ConversionOptions& options, const MultiByteCharset& charset,
                       ConversionObserver& observer)
    : m_pdf(pdf), m_font(font), m_fontSize(fontSize), m_options(options), m_charset(charset),
      m_observer(observer)
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
    HPDF_Page page = StartPage();
    m_observer.SetProgressRange(1, ClampToInt(progressLength));
    m_observer.SetProgressPos(0);
    if (!page)
        return;

    LineBreaker breaker(page, m_font, m_fontSize, static_cast<double>(AvailableWidth(m_options)), m_charset);
    std::size_t drawn = 0;
    while (!text.empty()) {
        const std::string_view line = breaker.TakeLine(text);
        DrawLine(page, line);
        // After its first error the library refuses every call, new pages included.
        if (HPDF_GetError(m_pdf) != HPDF_OK)
            return;
        drawn += line.size();
        m_observer.SetProgressPos(ClampToInt(drawn));
        // The test follows the line, so the last line of a page is the first whose baseline
        // reaches the bottom margin.
        if (HPDF_Page_GetCurrentTextPos(page).y <= m_options.BottomMargin) {
            if (!FinishPage(page))
                return;
            page = StartPage();
            if (!page)
                return;
            breaker.SetPage(page);
        }
    }
    if (!FinishPage(page))
        return;
    m_drawnCodes = breaker.MeasuredCodes();
    m_charactersWithoutGlyph = breaker.CharactersWithoutGlyph();
    m_observer.SetProgressPos(ClampToInt(progressLength));
}

std::optional<std::string> TextLayout::MissingGlyphNote() const
{
    if (m_charactersWithoutGlyph == 0)
        return std::nullopt;
    const std::string count = m_charactersWithoutGlyph == 1
                                  ? "1 character"
                                  : std::to_string(m_charactersWithoutGlyph) + " different characters";
    return "The font \"" + m_options.TrueTypeFile + "\" has no glyph for " + count +
           " of the text, which show as empty boxes; choose a font that has them.";
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
    HPDF_Page_BeginText(page);
    // Each line first moves down by the pitch, so the first baseline is 5 points below the
    // top margin.
    HPDF_Page_MoveTextPos(page, static_cast<HPDF_REAL>(m_options.LeftMargin),
                          HPDF_Page_GetHeight(page) - static_cast<HPDF_REAL>(m_options.TopMargin) + m_fontSize);
    return HPDF_GetError(m_pdf) == HPDF_OK ? page : nullptr;
}

bool TextLayout::FinishPage(HPDF_Page page)
{
    HPDF_Page_EndText(page);
    return !m_pageFinished || m_pageFinished(page);
}

void TextLayout::DrawLine(HPDF_Page page, std::string_view line)
{
    HPDF_Page_MoveTextPos(page, 0, -(m_fontSize + 5));
    if (line.size() > kMostBytesPerShow && DrawsNothing(line)) {
        ShowInPieces(page, line);
        return;
    }
    m_line.assign(line);
    HPDF_Page_ShowTextNextLine(page, m_line.c_str());
}

// Control characters, form feeds and tabs have no width in most fonts, so a line of them never
// grows wide enough to be broken, however long it is.
bool TextLayout::DrawsNothing(std::string_view line)
{
    for (std::size_t start = 0; start < line.size();) {
        const std::size_t end = start + m_charset.WholeCharsWithin(line.substr(start), kMostBytesPerShow);
        m_line.assign(line.substr(start, end - start));
        const HPDF_TextWidth width =
            HPDF_Font_TextWidth(m_font, reinterpret_cast<const HPDF_BYTE*>(m_line.c_str()), HPDF_UINT(m_line.size()));
        if (width.width != 0)
            return false;
        start = end;
    }
    return true;
}

// Every piece starts at the line's beginning, which is where the one before it ended, as it has
// no width. (The library's other operator for showing text drops text without width.)
void TextLayout::ShowInPieces(HPDF_Page page, std::string_view line)
{
    for (std::size_t start = 0; start < line.size();) {
        const std::size_t end = start + m_charset.WholeCharsWithin(line.substr(start), kMostBytesPerShow);
        m_line.assign(line.substr(start, end - start));
        HPDF_Page_ShowTextNextLine(page, m_line.c_str());
        start = end;
    }
}
