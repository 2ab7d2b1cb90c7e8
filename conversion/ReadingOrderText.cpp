#include "conversion/ReadingOrderText.h"

#include "conversion/LibharuPrivate.h"
#include "platform/Utf8.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Where each character of the visual line starts, and where the line ends, in thousandths of
// the font size from the line's start.
std::vector<long> LeftEdges(std::string_view visual, GlyphWidths& widths)
{
    std::vector<long> edges{0};
    for (std::size_t pos = 0; pos < visual.size();) {
        const std::size_t length = std::max<std::size_t>(Utf8SequenceLength(visual, pos), 1);
        edges.push_back(edges.back() + widths.CharWidth(visual, pos, length));
        pos += length;
    }
    return edges;
}

// A text-showing array being written: codes in hexadecimal strings, moves as numbers.
class TextArray {
public:
    void Move(long thousandths)
    {
        Close();
        m_operators += ' ' + std::to_string(thousandths);
    }
    void Code(char32_t code)
    {
        static constexpr char kHex[] = "0123456789abcdef";
        if (!m_inString)
            m_operators += " <";
        m_inString = true;
        for (int shift = 12; shift >= 0; shift -= 4)
            m_operators += kHex[(code >> shift) & 0xF];
    }
    // Writes the array, if it holds anything, and begins another.
    void Flush(HPDF_Page page)
    {
        Close();
        if (m_operators.size() > 1)
            LibharuPage(page).AppendContent(m_operators + " ] TJ\n");
        m_operators = "[";
    }

private:
    void Close()
    {
        if (m_inString)
            m_operators += '>';
        m_inString = false;
    }
    std::string m_operators = "[";
    bool m_inString = false;
};

} // namespace

void ShowInReadingOrder(HPDF_Page page, const ReorderedLine& line, HPDF_Font font, float size, GlyphWidths& widths)
{
    // The codes go into the content without the library's showing calls; measuring a character
    // through the library is what puts its glyph into the embedded font, and each one is
    // measured here before it is shown.
    const std::vector<long> leftOf = LeftEdges(line.visual, widths);
    TextArray array;
    HPDF_Font current = font;
    long at = 0; // where the next glyph would stand
    for (const ReadingPiece& piece : line.pieces) {
        if (leftOf[piece.visualStart] != at)
            array.Move(at - leftOf[piece.visualStart]); // a positive number moves left
        at = leftOf[piece.visualStart];
        for (std::size_t pos = 0; pos < piece.text.size();) {
            const std::size_t length = std::max<std::size_t>(Utf8SequenceLength(piece.text, pos), 1);
            const char32_t code = DecodeUtf8(piece.text, pos, length);
            HPDF_Font drawing = widths.HasFallbacks() ? widths.FontFor(code) : font;
            if (drawing != current) {
                array.Flush(page);
                HPDF_Page_SetFontAndSize(page, drawing, size);
                current = drawing;
            }
            array.Code(code);
            at += widths.CharWidth(piece.text, pos, length);
            pos += length;
        }
    }
    array.Flush(page);
    if (current != font)
        HPDF_Page_SetFontAndSize(page, font, size);
}
