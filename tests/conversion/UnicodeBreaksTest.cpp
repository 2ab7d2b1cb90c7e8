// Where the Unicode line-breaking rules let a UTF-8 line end, and lines of mixed text.
#include "ConversionTestSupport.h"
#include "conversion/UnicodeBreaks.h"
#include "support/PdfInspector.h"

#include <gtest/gtest.h>

#include <set>

namespace {

struct BreakCase {
    const char* name;
    std::string text;
    std::size_t fits;
    std::size_t taken;
};

void PrintTo(const BreakCase& c, std::ostream* out)
{
    *out << c.name;
}

class UnicodeBreaks : public testing::TestWithParam<BreakCase> {};

TEST_P(UnicodeBreaks, TheLineEndsAtTheLastAllowedBreak)
{
    const BreakCase& c = GetParam();
    EXPECT_EQ(LastUnicodeBreak(c.text, c.fits), c.taken);
}

// Three ideographs of three bytes each.
#define IDEOGRAPHS "\xE4\xB8\xAD\xE6\x96\x87\xE5\xAD\x97"
// The ideographic full stop, which never starts a line.
#define FULL_STOP "\xE3\x80\x82"

INSTANTIATE_TEST_SUITE_P(
    Cases, UnicodeBreaks,
    testing::Values(BreakCase{"LatinBreaksAfterTheSpace", "one two three", 9, 8},
                    BreakCase{"TheSpaceThatOverflowsStaysOnTheLine", "one two three", 7, 8},
                    BreakCase{"NoBreakInsideAWord", "onetwothree more", 9, 0},
                    BreakCase{"BetweenIdeographs", IDEOGRAPHS IDEOGRAPHS, 7, 6},
                    BreakCase{"NotBeforeAFullStop", IDEOGRAPHS FULL_STOP IDEOGRAPHS, 10, 6},
                    BreakCase{"AfterAHyphen", "well-known words", 7, 5},
                    BreakCase{"EmptyText", "", 0, 0},
                    BreakCase{"GreekAndCyrillicBreakAfterTheSpace",
                              "\xCE\xB1\xCE\xB2\xCE\xB3 \xD0\xB6\xD0\xB7\xD0\xB8 \xCE\xBA\xCE\xBB\xCE\xBC", 16, 14},
                    BreakCase{"ARunOfSpacesStaysOnTheLine", "ab   cd ef", 3, 5},
                    BreakCase{"DigitsAndAccentsKeepTheirWord", "a\xC3\xB1o 2024 \xC3\xA9t\xC3\xA9", 8, 5},
                    // The Greek question mark never starts a line, even after a space.
                    BreakCase{"NotBeforeAGreekQuestionMark", "\xCE\xB1\xCE\xB2 \xCD\xBE\xCE\xB3\xCE\xB4 \xCE\xB5", 9, 0},
                    // A window may end inside a character; the library must not see the piece.
                    BreakCase{"ACharacterCutOffAtTheEnd", "ab cd \xE4\xB8", 4, 3},
                    BreakCase{"MalformedBytesEndTheText", "ab cd\xFF ef gh", 8, 3},
                    BreakCase{"TheNoncharacterUFFFFEndsTheText", "ab cd\xEF\xBF\xBF ef gh", 10, 3}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(UnicodeBreaks, ChineseAfterALatinWordWrapsBetweenIdeographs)
{
    ConversionOptions options;
    options.RightMargin = 595 - 60 - 100; // 100 points of room, room for about ten ideographs
    ScratchFolder folder;
    const Converted converted = ConvertText(folder, options, "ab " IDEOGRAPHS IDEOGRAPHS IDEOGRAPHS IDEOGRAPHS "\n");
    ASSERT_TRUE(converted.result.written) << converted.result.reason;
    // The Latin letters and the ideographs are drawn in different fonts: a line is all the runs
    // on one baseline.
    const std::vector<PdfTextLine> runs = InspectPdf(converted.pdfPath).pages.at(0).lines;
    ASSERT_FALSE(runs.empty());
    std::set<double> baselines;
    std::size_t firstLineBytes = 0;
    for (const PdfTextLine& run : runs) {
        baselines.insert(run.y);
        firstLineBytes += run.y == runs[0].y ? run.text.size() : 0;
    }
    // Breaking at spaces only would leave "ab " alone on the first line and need three.
    EXPECT_EQ(baselines.size(), 2u);
    EXPECT_GT(firstLineBytes, 3u * 2); // two bytes a character in the fonts' codes
}

} // namespace
