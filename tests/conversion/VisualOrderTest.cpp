// Right-to-left text in the order it is drawn.
#include "ConversionTestSupport.h"
#include "conversion/VisualOrder.h"
#include "support/PdfInspector.h"

#include <gtest/gtest.h>

namespace {

struct BidiCase {
    const char* name;
    std::string logical;
    bool rightToLeft;
    std::string visual;
};

void PrintTo(const BidiCase& c, std::ostream* out)
{
    *out << c.name;
}

class Bidi : public testing::TestWithParam<BidiCase> {};

TEST_P(Bidi, LinesAreDrawnInVisualOrder)
{
    const BidiCase& c = GetParam();
    EXPECT_EQ(HoldsRightToLeft(c.logical), c.rightToLeft);
    EXPECT_EQ(VisualOrder(c.logical), c.visual);
}

// Hebrew letters: alef, bet, gimel.
#define ALEF "\xD7\x90"
#define BET "\xD7\x91"
#define GIMEL "\xD7\x92"

INSTANTIATE_TEST_SUITE_P(
    Cases, Bidi,
    testing::Values(BidiCase{"LatinStaysAsItIs", "abc def", false, "abc def"},
                    BidiCase{"CyrillicIsLeftToRight", "\xD0\x96\xD0\xB8", false, "\xD0\x96\xD0\xB8"},
                    BidiCase{"HebrewIsReversed", ALEF BET GIMEL, true, GIMEL BET ALEF},
                    BidiCase{"AHebrewWordInLatinText", "a " ALEF BET " b", true, "a " BET ALEF " b"},
                    BidiCase{"TwoHebrewWordsSwapInLatinText", "x " ALEF " " BET " y", true, "x " BET " " ALEF " y"},
                    BidiCase{"NumbersStayLeftToRightInAHebrewLine", ALEF " 12", true, "12 " ALEF},
                    // Lam and alef join into one ligature, the filler it leaves is not drawn.
                    BidiCase{"ArabicIsJoined", "\xD9\x84\xD8\xA7", true, "\xEF\xBB\xBB"},
                    // Beh alone, then beh beh: final form drawn left of the initial one.
                    BidiCase{"ArabicLettersTakeTheirJoiningForms", "\xD8\xA8 \xD8\xA8\xD8\xA8", true,
                             "\xEF\xBA\x90\xEF\xBA\x91 \xEF\xBA\x8F"},
                    // Right-to-left and left-to-right marks steer the order and are not drawn.
                    BidiCase{"MarksAreNotDrawn", ALEF " \xE2\x80\x8F" "abc\xE2\x80\x8E " BET, true, BET " abc " ALEF},
                    BidiCase{"IsolatesAreNotDrawn", "\xE2\x81\xA7" ALEF BET "\xE2\x81\xA9 x", true, BET ALEF " x"},
                    // A mark is drawn at its letter's left edge, where the font puts it over the letter.
                    BidiCase{"HebrewPointsStandLeftOfTheirLetter", BET "\xD6\xBC\xD6\xB8" ALEF, true,
                             ALEF "\xD6\xB8\xD6\xBC" BET},
                    BidiCase{"ArabicVowelSignsStandLeftOfTheirLetter", "\xD8\xA8\xD9\x8E", true, "\xD9\x8E\xEF\xBA\x8F"},
                    BidiCase{"EmbeddingsAreNotDrawn", "\xE2\x80\xAB" ALEF "\xE2\x80\xAC\xD8\x9C", true, ALEF}),
    [](const auto& info) { return std::string(info.param.name); });

// A mark of a right-to-left script takes no room of its own, even where a monospaced font gives
// it a cell: vowelled text takes as many lines as the same text without its marks.
TEST(RightToLeftMarks, TakeNoRoomInAMonospacedFont)
{
    std::string vowelled, bare;
    for (int word = 0; word < 80; ++word) {
        vowelled += "\xD8\xA8\xD9\x8E\xD8\xA8\xD9\x8E "; // beh and fatha, twice
        bare += "\xD8\xA8\xD8\xA8 ";
    }
    ScratchFolder vowelledFolder, bareFolder;
    const Converted withMarks = ConvertText(vowelledFolder, Utf8Options(), vowelled + "\n");
    const Converted without = ConvertText(bareFolder, Utf8Options(), bare + "\n");
    ASSERT_TRUE(withMarks.result.written && without.result.written) << withMarks.result.reason;
    const std::size_t bareLines = InspectPdf(without.pdfPath).pages.at(0).lines.size();
    EXPECT_GT(bareLines, 1u);
    EXPECT_EQ(InspectPdf(withMarks.pdfPath).pages.at(0).lines.size(), bareLines);
}

} // namespace
