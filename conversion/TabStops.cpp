#include "conversion/TabStops.h"

#include "conversion/VisualOrder.h"

#include <algorithm>
#include <vector>

namespace {

constexpr std::string_view kSpace = " ";
// A right-to-left mark after a tab's spaces keeps the cells on either side of it apart when
// they are reordered, even where both run left to right; it is not drawn and has no width.
constexpr std::string_view kRightToLeftMark = "\xE2\x80\x8F";

struct TabSpacing {
    long space;        // the width of a space
    long stopDistance; // between two stops
};

// The spaces that take a line from `lineWidth` to the next stop, `lineWidth` moved past them.
// A font whose space has no width still gets one space, so that words stay apart.
std::size_t SpacesToNextStop(long& lineWidth, const TabSpacing& spacing)
{
    const long stop = (lineWidth / spacing.stopDistance + 1) * spacing.stopDistance;
    std::size_t count = 0;
    do {
        ++count;
        lineWidth += spacing.space;
    } while (spacing.space > 0 && lineWidth < stop);
    return count;
}

long WidthOf(std::string_view text, GlyphWidths& widths, const MultiByteCharset& charset)
{
    long width = 0;
    for (std::size_t pos = 0; pos < text.size(); pos += charset.CharLengthAt(text, pos))
        width += widths.CharWidth(text, pos, charset.CharLengthAt(text, pos));
    return width;
}

void ExpandLeftToRight(std::string& expanded, std::string_view line, const TabSpacing& spacing, GlyphWidths& widths,
                       const MultiByteCharset& charset)
{
    long lineWidth = 0;
    for (std::size_t pos = 0; pos < line.size();) {
        const std::size_t length = charset.CharLengthAt(line, pos);
        if (line[pos] == '\t') {
            expanded.append(SpacesToNextStop(lineWidth, spacing), kSpace[0]);
        } else {
            lineWidth += widths.CharWidth(line, pos, length);
            expanded.append(line, pos, length);
        }
        pos += length;
    }
}

// A right-to-left line is drawn with its last cell at the left: the stops are measured from
// there, each cell's left edge on a stop, so that the columns of such lines line up.
void ExpandRightToLeft(std::string& expanded, std::string_view line, const TabSpacing& spacing, GlyphWidths& widths,
                       const MultiByteCharset& charset)
{
    std::vector<std::string_view> cells;
    for (std::size_t start = 0;;) {
        const std::size_t tab = line.find('\t', start);
        cells.push_back(line.substr(start, tab - start));
        if (tab == std::string_view::npos)
            break;
        start = tab + 1;
    }
    std::vector<std::size_t> spaces(cells.size() - 1);
    long lineWidth = WidthOf(cells.back(), widths, charset);
    for (std::size_t tab = spaces.size(); tab-- > 0;) {
        spaces[tab] = SpacesToNextStop(lineWidth, spacing);
        lineWidth += WidthOf(cells[tab], widths, charset);
    }
    for (std::size_t cell = 0; cell < cells.size(); ++cell) {
        expanded += cells[cell];
        if (cell < spaces.size())
            expanded.append(spaces[cell], kSpace[0]).append(kRightToLeftMark);
    }
}

} // namespace

std::string ExpandTabs(std::string_view text, int tabSize, GlyphWidths& widths, const MultiByteCharset& charset)
{
    const long space = widths.CharWidth(kSpace, 0, 1);
    const TabSpacing spacing{space, std::max(space, 1L) * tabSize};
    std::string expanded;
    expanded.reserve(text.size() + text.size() / 8);
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\r', start), text.size());
        const std::string_view line = text.substr(start, end - start);
        const bool rightToLeft = charset.IsUtf8() && line.find('\t') != std::string_view::npos &&
                                 StartsRightToLeft(line);
        if (rightToLeft)
            ExpandRightToLeft(expanded, line, spacing, widths, charset);
        else
            ExpandLeftToRight(expanded, line, spacing, widths, charset);
        if (end < text.size())
            expanded += '\r';
        start = end + 1;
    }
    return expanded;
}
