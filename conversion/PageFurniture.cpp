#include "conversion/PageFurniture.h"

#include "conversion/ControlCharacters.h"
#include "conversion/FontRuns.h"
#include "conversion/LibharuPrivate.h"
#include "conversion/TextLayout.h"
#include "conversion/VisualOrder.h"
#include "conversion/WinAnsiText.h"
#include "platform/Utf8.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr int kLineGap = 5;              // the body's pitch is its size plus this
constexpr float kRuleWidth = 0.5f;
// Of the fields' size: how far their glyphs reach below and above the baseline, where the rules
// keep clear of them and the page's edges must not cut them.
constexpr float kDescent = 0.3f;
constexpr float kAscent = 0.85f;
constexpr char kEllipsis[] = "...";
// What a cut field ends in: the longest of these its third has room for. At a large size the
// third may be narrower than three dots, and the field still shows that it was cut.
constexpr std::string_view kShortenedEllipses[] = {kEllipsis, "..", ".", ""};
constexpr std::size_t kFieldsPerLine = 3;
constexpr std::size_t kMostLibraryBytes = HPDF_LIMIT_MAX_STRING_LEN - 1;

} // namespace

int PageFurniture::FieldSize(const ConversionOptions& options, int bodySize)
{
    return options.FurnitureFontSize > 0 ? options.FurnitureFontSize : bodySize;
}

int PageFurniture::HeaderDrop(const ConversionOptions& options, int fieldSize)
{
    return std::max(kLineGap, static_cast<int>(std::ceil(kAscent * static_cast<float>(fieldSize))) - options.TopMargin);
}

int PageFurniture::FooterLift(const ConversionOptions& options, int fieldSize)
{
    return std::max(0, static_cast<int>(std::ceil(kDescent * static_cast<float>(fieldSize))) - options.BottomMargin);
}

FurnitureBands PageFurniture::BandsOf(const ConversionOptions& options, int bodySize)
{
    const int fieldSize = FieldSize(options, bodySize);
    const int line = std::max(fieldSize, bodySize) + kLineGap;
    FurnitureBands bands;
    if (HasHeader(options))
        bands.header = line + HeaderDrop(options, fieldSize) - kLineGap;
    if (HasFooter(options))
        bands.footer = line + bodySize + kLineGap + FooterLift(options, fieldSize);
    return bands;
}

long PageFurniture::CountLines(std::string_view text)
{
    if (text.empty())
        return 0;
    // memchr, which looks at many bytes at a time, is several times faster than std::count here.
    long ends = 0;
    for (const char* at = text.data(), *end = at + text.size();
         (at = static_cast<const char*>(std::memchr(at, '\r', static_cast<std::size_t>(end - at)))); ++at)
        ++ends;
    return text.back() == '\r' ? ends : ends + 1;
}

PageFurniture::PageFurniture(const ConversionOptions& options, FieldFacts facts, HPDF_Font font, float bodySize,
                             const MultiByteCharset& charset, std::vector<HPDF_Font> fallbacks,
                             const StandInCodes& standIns, long lastLineNumber)
    : m_options(options), m_facts(std::move(facts)), m_font(font), m_bodySize(bodySize),
      m_fieldSize(static_cast<float>(FieldSize(options, static_cast<int>(bodySize)))), m_charset(charset),
      m_standIns(standIns), m_fieldWidths(font, m_fieldSize, charset, fallbacks),
      m_numberWidths(font, bodySize, charset, fallbacks),
      m_bands(BandsOf(options, static_cast<int>(bodySize))), m_lastLineNumber(lastLineNumber)
{
    TextLayout::PageSizeOf(options, m_pageWidth, m_pageHeight);
    if (NumbersLines()) {
        m_numberRight = TextWidth(std::to_string(std::max(lastLineNumber, 1L)), m_numberWidths, charset);
        m_gutter = static_cast<int>(std::ceil(m_numberRight + bodySize / 2));
    }
}

ConversionOptions PageFurniture::BodyArea() const
{
    ConversionOptions body = m_options;
    body.TopMargin += m_bands.header;
    body.BottomMargin += m_bands.footer;
    body.LeftMargin += m_gutter;
    return body;
}

void PageFurniture::Draw(HPDF_Page page, long pageNumber, long pageCount, std::span<const NumberedBaseline> lines)
{
    const int fieldSize = static_cast<int>(m_fieldSize);
    const float headerBaseline =
        static_cast<float>(m_pageHeight - m_options.TopMargin - HeaderDrop(m_options, fieldSize));
    const float footerBaseline = static_cast<float>(m_options.BottomMargin + FooterLift(m_options, fieldSize));
    // One text object for all of it: a text object of its own for each number would cost more
    // than the line it numbers.
    HPDF_Page_BeginText(page);
    HPDF_Page_SetFontAndSize(page, m_font, m_fieldSize);
    if (m_bands.header > 0)
        DrawLine(page, 0, headerBaseline, pageNumber, pageCount);
    if (m_bands.footer > 0)
        DrawLine(page, kFieldsPerLine, footerBaseline, pageNumber, pageCount);
    if (NumbersLines())
        DrawNumbers(page, lines);
    HPDF_Page_EndText(page);
    if (m_bands.header > 0 && m_options.HeaderRule)
        DrawRule(page, headerBaseline - kDescent * m_fieldSize);
    if (m_bands.footer > 0 && m_options.FooterRule)
        DrawRule(page, footerBaseline + kAscent * m_fieldSize);
}

// The three fields from `firstField` on: left-aligned, centred and right-aligned, each within
// its third.
void PageFurniture::DrawLine(HPDF_Page page, std::size_t firstField, float baseline, long pageNumber,
                             long pageCount)
{
    const float left = static_cast<float>(m_options.LeftMargin);
    const float room = static_cast<float>(m_pageWidth - m_options.LeftMargin - m_options.RightMargin);
    const FurnitureFields fields = FieldsOf(m_options);
    for (std::size_t i = 0; i < kFieldsPerLine; ++i) {
        const std::string& field = *fields.fields[firstField + i];
        if (field.empty())
            continue;
        std::string expanded = ExpandPlaceholders(field, m_facts, pageNumber, pageCount);
        // Most fields come out the same on every page: they are encoded, cut and measured once.
        std::optional<PlacedField>& placed = m_placed[firstField + i];
        if (!placed || placed->expanded != expanded) {
            std::string text = InDrawingOrder(CutToFit(InDocumentEncoding(expanded), room / 3));
            const float width = TextWidth(text, m_fieldWidths, m_charset);
            const float x = i == 0 ? left : i == 1 ? left + (room - width) / 2 : left + room - width;
            placed = PlacedField{std::move(expanded), std::move(text), x};
        }
        ShowAt(page, placed->text, placed->x, baseline, m_fieldSize, m_fieldWidths);
    }
}

void PageFurniture::DrawRule(HPDF_Page page, float y)
{
    HPDF_Page_SetLineWidth(page, kRuleWidth);
    LibharuPage(page).StrokeLine({static_cast<float>(m_options.LeftMargin), y},
                                 {static_cast<float>(m_pageWidth - m_options.RightMargin), y});
}

void PageFurniture::DrawNumbers(HPDF_Page page, std::span<const NumberedBaseline> lines)
{
    const long step = std::max(m_options.LineNumberStep, 1);
    const float right = static_cast<float>(m_options.LeftMargin) + m_numberRight;
    // Draw set the font at the fields' size, which the fields' font runs restore.
    if (m_bodySize != m_fieldSize)
        HPDF_Page_SetFontAndSize(page, m_font, m_bodySize);
    for (const NumberedBaseline& line : lines) {
        if (line.number % step != 0)
            continue;
        const std::string number = std::to_string(line.number);
        ShowAt(page, number, right - TextWidth(number, m_numberWidths, m_charset), line.y, m_bodySize,
               m_numberWidths);
    }
}

// Within the text object, with the font at `size`.
void PageFurniture::ShowAt(HPDF_Page page, const std::string& text, float x, float y, float size,
                           GlyphWidths& widths)
{
    // A move is relative to the start of the last line shown.
    const HPDF_TransMatrix lineStart = HPDF_Page_GetTextMatrix(page);
    LibharuPage(page).MoveTextPosition(x - lineStart.x, y - lineStart.y);
    ShowInFontRuns(page, text, m_font, size, widths);
}

// The UTF-8 of the options and the file system in the document's encoding, on one line, still
// in the order it is read.
std::string PageFurniture::InDocumentEncoding(std::string text) const
{
    DropControlCharacters(text);
    std::replace_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n' || c == '\t' || c == '\f'; }, ' ');
    if (m_charset.IsUtf8()) {
        RepairUtf8(text);
        m_standIns.Substitute(text);
        return text;
    }
    FixUtf8ForLibrary(text);
    std::size_t replaced = 0;
    text = ToWinAnsi(std::move(text), replaced);
    const bool winAnsi = m_options.PageFont != CidFont && m_options.SingeEncode == kWinAnsiEncoding;
    if (!winAnsi)
        std::replace_if(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }, '?');
    return text;
}

// A field reads like the body: right-to-left words in the order they are drawn. It is cut
// before, so that what is kept is its start as read and the dots come where it would go on.
std::string PageFurniture::InDrawingOrder(std::string text) const
{
    if (m_charset.IsUtf8() && HoldsRightToLeft(text, m_standIns.characters))
        return VisualOrder(text, m_standIns.characters, m_standIns.mirrored);
    return text;
}

std::string PageFurniture::CutToFit(std::string text, float room)
{
    // The library refuses a longer string, however little of it draws.
    if (text.size() > kMostLibraryBytes)
        text.resize(m_charset.WholeCharsWithin(text, kMostLibraryBytes - sizeof kEllipsis));
    if (TextWidth(text, m_fieldWidths, m_charset) <= room)
        return text;
    std::string_view ellipsis;
    float ellipsisWidth = 0;
    for (const std::string_view candidate : kShortenedEllipses) {
        ellipsis = candidate;
        ellipsisWidth = TextWidth(candidate, m_fieldWidths, m_charset);
        if (ellipsisWidth <= room)
            break;
    }
    const float textRoom = room - ellipsisWidth;
    std::size_t fits = 0;
    long sum = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = std::max<std::size_t>(m_charset.CharLengthAt(text, pos), 1);
        sum += m_fieldWidths.CharWidth(text, pos, length);
        if (m_fieldWidths.Points(sum) > textRoom)
            break;
        pos += length;
        fits = pos;
    }
    return text.substr(0, fits).append(ellipsis);
}

std::vector<char16_t> PageFurniture::DrawnCodes() const
{
    std::vector<char16_t> codes = m_fieldWidths.MeasuredCodes();
    const std::vector<char16_t> numbers = m_numberWidths.MeasuredCodes();
    codes.insert(codes.end(), numbers.begin(), numbers.end());
    return codes;
}
