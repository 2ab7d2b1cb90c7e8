#pragma once
// What a page carries besides the text: a header line and a footer line of three fields each
// (left, centre, right; see PageFields.h for their placeholders), optional rules under the
// header and over the footer, and the numbers of the source lines in a gutter left of the text.
// All of it is drawn by Draw, once per page, after the text and before the page is finished:
// whatever must treat the furniture apart from the text (marking it for readers, say) wraps
// that one call.
//
// Geometry, in points, with the body's font size s and the fields' size f:
//  - the header's baseline lies 5 below the top margin, where the body's first baseline would
//    lie; the text area's top moves down by max(f, s) + 5, so the header keeps the body's pitch
//    or its own, whichever is larger;
//  - the footer's baseline lies on the bottom margin; the text area's bottom moves up by
//    max(f, s) + s + 10, since the body's last line may reach one line below its area;
//  - where a margin is too small for the fields' ascenders (0.85 f) or descenders (0.3 f), the
//    header or footer moves inward until they are on the page, and its band grows alike;
//  - the line numbers' gutter is as wide as the largest number in the body's font, plus half the
//    body's size, and the text moves right by it;
//  - each field keeps within its third of the room between the margins; one too long for it is
//    cut and ends in "...", or in as many of those dots as the third has room for.
// The fields are drawn in the body's font and encoding: as UTF-8 with its fallback fonts and
// the body's stand-ins for characters beyond U+FFFF, in WinAnsiEncoding, or otherwise with '?'
// for each character beyond ASCII.
// One conversion's thread only; the fonts belong to the document.
#include "conversion/ConversionOptions.h"
#include "conversion/GlyphWidths.h"
#include "conversion/PageFields.h"
#include "conversion/StandInCodes.h"
#include "platform/MultiByteCharset.h"

#include <hpdf.h>

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

// Where the page numbers of a document come from: the first page's number, and the count %P
// shows (0: the document's own page count).
struct PageNumbering {
    long first = 1;
    long total = 0;
};

// A body line that begins a source line: its baseline and its number.
struct NumberedBaseline {
    float y;
    long number;
};

// The room the header and footer take from the text area, in whole points.
struct FurnitureBands {
    int header = 0;
    int footer = 0;
};

class PageFurniture {
public:
    // The fields' size: their own, or the body's when 0.
    static int FieldSize(const ConversionOptions& options, int bodySize);
    static FurnitureBands BandsOf(const ConversionOptions& options, int bodySize);
    // The number of the text's last source line (CR ends a line), 0 for an empty text.
    static long CountLines(std::string_view text);

    // `standIns` (made with the fields as drawn besides the text) must outlive the furniture.
    PageFurniture(const ConversionOptions& options, FieldFacts facts, HPDF_Font font, float bodySize,
                  const MultiByteCharset& charset, std::vector<HPDF_Font> fallbacks, const StandInCodes& standIns,
                  long lastLineNumber);

    bool NumbersLines() const { return m_options.LineNumbers != 0; }
    long LastLineNumber() const { return m_lastLineNumber; }
    // The options with the margins moved inward by the bands and the gutter: the body's area.
    ConversionOptions BodyArea() const;

    // Draws the header, the footer, their rules and the numbers of `lines` (those the step
    // shows) on `page`, outside any text object.
    void Draw(HPDF_Page page, long pageNumber, long pageCount, std::span<const NumberedBaseline> lines);

    // In UTF-8, every character below U+10000 that was drawn, for the map back to Unicode; may
    // repeat.
    std::vector<char16_t> DrawnCodes() const;

private:
    // How far the header's baseline lies below the top margin, the footer's above the bottom
    // margin.
    static int HeaderDrop(const ConversionOptions& options, int fieldSize);
    static int FooterLift(const ConversionOptions& options, int fieldSize);

    void DrawLine(HPDF_Page page, std::size_t firstField, float baseline, long pageNumber, long pageCount);
    void DrawRule(HPDF_Page page, float y);
    void DrawNumbers(HPDF_Page page, std::span<const NumberedBaseline> lines);
    void ShowAt(HPDF_Page page, const std::string& text, float x, float y, float size, GlyphWidths& widths);
    std::string InDocumentEncoding(std::string text) const;
    std::string InDrawingOrder(std::string text) const;
    std::string CutToFit(std::string text, float room);

    // A field as drawn: its text with the placeholders filled in, that text as the font draws
    // it, and where it starts.
    struct PlacedField {
        std::string expanded;
        std::string text;
        float x;
    };

    const ConversionOptions& m_options;
    FieldFacts m_facts;
    HPDF_Font m_font;
    float m_bodySize;
    float m_fieldSize;
    const MultiByteCharset& m_charset;
    const StandInCodes& m_standIns;
    GlyphWidths m_fieldWidths;
    GlyphWidths m_numberWidths;
    FurnitureBands m_bands;
    long m_lastLineNumber;
    int m_gutter = 0;
    float m_numberRight = 0; // where the numbers end
    int m_pageWidth = 0;
    int m_pageHeight = 0;
    std::array<std::optional<PlacedField>, std::extent_v<decltype(FurnitureFields::fields)>> m_placed;
};
