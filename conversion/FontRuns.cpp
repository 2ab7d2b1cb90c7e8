#include "conversion/FontRuns.h"

#include "conversion/LibharuPrivate.h"
#include "platform/Utf8.h"

#include <algorithm>

void ShowInFontRuns(HPDF_Page page, const std::string& text, HPDF_Font font, float size, GlyphWidths& widths)
{
    if (!widths.HasFallbacks()) {
        LibharuPage(page).ShowText(text);
        return;
    }
    HPDF_Font current = font;
    std::size_t runStart = 0;
    std::string run;
    const auto showRun = [&](std::size_t end) {
        run.assign(text, runStart, end - runStart);
        if (!run.empty())
            LibharuPage(page).ShowText(run);
        runStart = end;
    };
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = std::max<std::size_t>(Utf8SequenceLength(text, pos), 1);
        HPDF_Font drawing = widths.FontFor(DecodeUtf8(text, pos, length));
        if (drawing != current) {
            showRun(pos);
            HPDF_Page_SetFontAndSize(page, drawing, size);
            current = drawing;
        }
        pos += length;
    }
    showRun(text.size());
    if (current != font)
        HPDF_Page_SetFontAndSize(page, font, size);
}

float TextWidth(std::string_view text, GlyphWidths& widths, const MultiByteCharset& charset)
{
    long sum = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = std::max<std::size_t>(charset.CharLengthAt(text, pos), 1);
        sum += widths.CharWidth(text, pos, length);
        pos += length;
    }
    return widths.Points(sum);
}
