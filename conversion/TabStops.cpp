#include "conversion/TabStops.h"

#include <algorithm>

std::string ExpandTabs(std::string_view text, int tabSize, GlyphWidths& widths, const MultiByteCharset& charset)
{
    constexpr std::string_view kSpace = " ";
    const long space = widths.CharWidth(kSpace, 0, 1);
    const long stopDistance = std::max(space, 1L) * tabSize;
    std::string expanded;
    expanded.reserve(text.size() + text.size() / 8);
    long lineWidth = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = charset.CharLengthAt(text, pos);
        if (text[pos] == '\t') {
            const long stop = (lineWidth / stopDistance + 1) * stopDistance;
            // A font whose space has no width still gets one space, so that words stay apart.
            do {
                expanded += kSpace;
                lineWidth += space;
            } while (space > 0 && lineWidth < stop);
        } else {
            lineWidth = text[pos] == '\r' ? 0 : lineWidth + widths.CharWidth(text, pos, length);
            expanded.append(text, pos, length);
        }
        pos += length;
    }
    return expanded;
}
