// Characters beyond U+FFFF are drawn by the fonts that have them and copied as themselves.
#include "ConversionTestSupport.h"
#include "support/ConvertedTextTest.h"
#include "support/PdfInspector.h"

#include <gtest/gtest.h>

namespace {

struct BeyondBmpCase {
    const char* name;
    ConversionOptions options;
    std::string text;
    std::size_t fontCount; // the main font and the fallbacks the text needs
};

void PrintTo(const BeyondBmpCase& c, std::ostream* out)
{
    *out << c.name;
}

class BeyondBmp : public testing::TestWithParam<BeyondBmpCase> {};

TEST_P(BeyondBmp, IsDrawnAndCopiedAsItself)
{
    const BeyondBmpCase& c = GetParam();
    ScratchFolder folder;
    const Converted converted = ConvertText(folder, c.options, c.text);
    ASSERT_TRUE(converted.result.written) << converted.result.reason;
    EXPECT_EQ(converted.result.notes, std::vector<std::string>{});
    EXPECT_EQ(ExtractPdfTextTrimmed(converted.pdfPath) + "\n", c.text);
    const PdfFacts pdf = InspectPdf(converted.pdfPath);
    EXPECT_EQ(pdf.fonts.size(), c.fontCount);
    EXPECT_EQ(CodesShownAsMissingGlyphs(pdf), 0u);
    EXPECT_EQ(PdfReaderWarnings(converted.pdfPath), "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BeyondBmp,
    testing::Values(
        // pdftotext leaves out the spaces around an emoji of a proportional font.
        BeyondBmpCase{"EmojiInTheMainFont", Utf8Options(DejaVuSansPath()), "a\xF0\x9F\x98\x80" "b\n", 1},
        BeyondBmpCase{"EmojiThroughAFallbackFont", Utf8Options(), "a \xF0\x9F\x98\x80 b\n", 2},
        BeyondBmpCase{"TheSameCharacterTwice", Utf8Options(DejaVuSansPath()), "\xF0\x9F\x98\x80\xF0\x9F\x98\x80\n", 1},
        BeyondBmpCase{"TwoCharacters", Utf8Options(DejaVuSansPath()), "\xF0\x9F\x98\x80\xF0\x9D\x94\xB8\n", 1},
        // A font's map of characters gains the stand-in amid the others, which keep their glyphs,
        // those found through its table of glyph numbers too (the ruble sign, the scissors).
        BeyondBmpCase{"AmongManyScripts", Utf8Options(DejaVuSansPath()),
                      "\xC3\xA9\xC3\xBF \xCE\xA9\xCF\x89 \xD0\x96\xD1\x8F \xE2\x82\xAC\xE2\x86\x92\xE2\x88\x9E \xEF\xAC\x81 "
                      "\xE2\x99\xA5 \xE2\x82\xBD \xE2\x9C\x82 \xF0\x9F\x98\x80\n", 1},
        BeyondBmpCase{"UnderAutoWithChinese", {}, "\xE5\xBC\xA0 \xF0\x9F\x98\x80\n", 3}),
    [](const auto& info) { return std::string(info.param.name); });

// Right-to-left text shows each bracket as its mirror image, which still reads as the bracket.
TEST(MirroredBrackets, ReadAsTheTextsOwn)
{
    ScratchFolder folder;
    const Converted converted = ConvertText(folder, Utf8Options(DejaVuSansPath()), "\xD7\x90 (\xD7\x91)\n");
    ASSERT_TRUE(converted.result.written) << converted.result.reason;
    // pdftotext frames a right-to-left line in embedding marks.
    EXPECT_EQ(ExtractPdfTextTrimmed(converted.pdfPath), "\u202B\xD7\x90 (\xD7\x91)\u202C");
}

// The stand-ins are private codes: those the text uses itself keep their own meaning.
TEST(BeyondBmp, StandsInWithAPrivateCodeTheTextDoesNotUse)
{
    ScratchFolder folder;
    const std::string text = "\xEF\xA3\xBF\xEF\xA3\xBE\xF0\x9F\x98\x80\n"; // U+F8FF, U+F8FE, an emoji
    const Converted converted = ConvertText(folder, Utf8Options(DejaVuSansPath()), text);
    ASSERT_TRUE(converted.result.written) << converted.result.reason;
    EXPECT_EQ(ExtractPdfTextTrimmed(converted.pdfPath) + "\n", text);
}

struct ContextCase {
    const char* name;
    int pageWidth;
    std::string text;
    std::string drawn; // as a reader gives it back in the order it is drawn
};

void PrintTo(const ContextCase& c, std::ostream* out)
{
    *out << c.name;
}

class BeyondBmpInContext : public ConvertedTextTest<ContextCase> {};

// The order of a line and where it breaks depend on what its characters are, whatever code
// draws them.
TEST_P(BeyondBmpInContext, IsOrderedAndBrokenAsItself)
{
    const ContextCase& c = GetParam();
    ConversionOptions options = Utf8Options(DejaVuSansPath());
    options.PageSize = kCustomPageSize;
    options.PageWidth = c.pageWidth;
    ASSERT_TRUE(Convert(options, c.text));
    EXPECT_EQ(ExtractPdfTextInDrawnOrder(PdfPath()), c.drawn);
}

#define ALEF "\xD7\x90"
#define BET "\xD7\x91"
#define GIMEL "\xD7\x92"
#define GRINNING "\xF0\x9F\x98\x80"
#define BEAMING "\xF0\x9F\x98\x81"
#define DOUBLE_STRUCK_A "\xF0\x9D\x94\xB8"

// 150 points leave 30 between the margins, room for "ab " and one emoji or letter.
INSTANTIATE_TEST_SUITE_P(
    Cases, BeyondBmpInContext,
    testing::Values(ContextCase{"AHebrewLineBeginningWithAnEmojiIsRightToLeft", 595, GRINNING " " ALEF BET GIMEL "\n",
                                ALEF BET GIMEL " " GRINNING},
                    ContextCase{"EmojiBetweenHebrewWordsTakeTheirDirection", 595,
                                ALEF " " GRINNING BEAMING " " BET "\n", BET " " BEAMING GRINNING " " ALEF},
                    ContextCase{"ALineMayBreakBeforeAnEmoji", 150, "ab " GRINNING GRINNING GRINNING "\n",
                                "ab " GRINNING "\n" GRINNING GRINNING},
                    // A letter, unlike an emoji, breaks only where its word does.
                    ContextCase{"AMathematicalLetterIsPartOfItsWord", 150, "ab " DOUBLE_STRUCK_A DOUBLE_STRUCK_A
                                DOUBLE_STRUCK_A "\n", "ab\n" DOUBLE_STRUCK_A DOUBLE_STRUCK_A DOUBLE_STRUCK_A}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
