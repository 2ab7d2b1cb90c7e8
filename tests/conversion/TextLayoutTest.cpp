// Page geometry, line pitch, line ends and wrapping, checked in the written PDF.
#include "ConversionTestSupport.h"
#include "support/PdfInspector.h"

#include <gtest/gtest.h>

namespace {

std::string Lines(int count, const std::string& prefix = "line ")
{
    std::string text;
    for (int i = 1; i <= count; ++i)
        text += prefix + std::to_string(i) + "\n";
    return text;
}

PdfFacts ConvertAndInspect(const ConversionOptions& options, const std::string& text)
{
    ScratchFolder folder;
    Converted converted = ConvertText(folder, options, text);
    EXPECT_TRUE(converted.result.written) << converted.result.reason;
    return converted.result.written ? InspectPdf(converted.pdfPath) : PdfFacts{};
}

TEST(PageGeometry, DefaultsGiveA4With53LinesFromBaseline777AtPitch14)
{
    const PdfFacts pdf = ConvertAndInspect(ConversionOptions{}, Lines(60));
    ASSERT_EQ(pdf.pages.size(), 2u);
    EXPECT_EQ(pdf.pages[0].width, 595);
    EXPECT_EQ(pdf.pages[0].height, 842);
    const auto& first = pdf.pages[0].lines;
    ASSERT_EQ(first.size(), 53u);
    for (std::size_t i = 0; i < first.size(); ++i) {
        EXPECT_DOUBLE_EQ(first[i].x, 60);
        EXPECT_DOUBLE_EQ(first[i].y, 777 - 14.0 * i) << "line " << i;
    }
    EXPECT_DOUBLE_EQ(first.back().y, 49);
    ASSERT_EQ(pdf.pages[1].lines.size(), 7u);
    EXPECT_DOUBLE_EQ(pdf.pages[1].lines[0].y, 777);
    EXPECT_EQ(pdf.pages[1].lines[0].text, "line 54");
}

TEST(PageGeometry, SizeTwelveHas44LinesAtPitch17)
{
    ConversionOptions options;
    options.FontSize = 12;
    const PdfFacts pdf = ConvertAndInspect(options, Lines(45));
    ASSERT_EQ(pdf.pages.size(), 2u);
    ASSERT_EQ(pdf.pages[0].lines.size(), 44u);
    EXPECT_DOUBLE_EQ(pdf.pages[0].lines[0].y, 777);
    EXPECT_DOUBLE_EQ(pdf.pages[0].lines[1].y, 760);
}

TEST(PageGeometry, LetterStartsEveryPageAt727)
{
    ConversionOptions options;
    options.PageSize = 0;
    const PdfFacts pdf = ConvertAndInspect(options, Lines(120));
    ASSERT_GE(pdf.pages.size(), 3u);
    for (const PdfPage& page : pdf.pages) {
        EXPECT_EQ(page.width, 612);
        EXPECT_EQ(page.height, 792);
        ASSERT_FALSE(page.lines.empty());
        EXPECT_DOUBLE_EQ(page.lines[0].y, 727);
    }
}

TEST(PageGeometry, CustomSizeAndMarginsPlaceTheFirstBaseline)
{
    ConversionOptions options;
    options.PageSize = kCustomPageSize;
    options.PageWidth = 300;
    options.PageHeight = 400;
    options.LeftMargin = 20;
    options.TopMargin = 30;
    const PdfFacts pdf = ConvertAndInspect(options, "x\n");
    ASSERT_EQ(pdf.pages.size(), 1u);
    EXPECT_EQ(pdf.pages[0].width, 300);
    EXPECT_EQ(pdf.pages[0].height, 400);
    EXPECT_DOUBLE_EQ(pdf.pages[0].lines.at(0).x, 20);
    EXPECT_DOUBLE_EQ(pdf.pages[0].lines.at(0).y, 365);
}

TEST(PageGeometry, TextThatFillsAPageExactlyLeavesAnEmptyLastPage)
{
    const PdfFacts pdf = ConvertAndInspect(ConversionOptions{}, Lines(53));
    ASSERT_EQ(pdf.pages.size(), 2u);
    EXPECT_TRUE(pdf.pages[1].lines.empty());
}

TEST(PageGeometry, EmptyFileGivesOneEmptyPage)
{
    const PdfFacts pdf = ConvertAndInspect(ConversionOptions{}, "");
    ASSERT_EQ(pdf.pages.size(), 1u);
    EXPECT_TRUE(pdf.pages[0].lines.empty());
}

TEST(LineEnds, LfCrLfAndLoneCrGiveTheSameLines)
{
    const std::vector<std::string> expected = {"a", "", "b"};
    for (const std::string text : {"a\n\nb\n", "a\r\n\r\nb\r\n", "a\r\rb\r", "a\r\n\rb"}) {
        const PdfFacts pdf = ConvertAndInspect(ConversionOptions{}, text);
        ASSERT_EQ(pdf.pages.size(), 1u);
        EXPECT_EQ(pdf.AllLineTexts(), expected) << testing::PrintToString(text);
        // The blank line keeps its height: the third baseline is two pitches down.
        EXPECT_DOUBLE_EQ(pdf.pages[0].lines.at(2).y, 777 - 28);
    }
}

TEST(LineEnds, CrCrLfEndsTwoLines)
{
    const PdfFacts pdf = ConvertAndInspect(ConversionOptions{}, "a\r\r\nb");
    EXPECT_EQ(pdf.AllLineTexts(), (std::vector<std::string>{"a", "", "b"}));
}

struct TextEndCase {
    const char* name;
    ConversionOptions options;
    std::string bytes;
    std::vector<std::string> lines;
};

void PrintTo(const TextEndCase& c, std::ostream* out)
{
    *out << c.name;
}

class TextEnd : public testing::TestWithParam<TextEndCase> {};

TEST_P(TextEnd, LinesDrawn)
{
    EXPECT_EQ(ConvertAndInspect(GetParam().options, GetParam().bytes).AllLineTexts(), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextEnd,
    testing::Values(
        TextEndCase{"CtrlZEndsTheDataInAChosenEncoding", StandardEncodingOptions(), "kept\nalso\x1A" "dropped\n",
                    {"kept", "also"}},
        TextEndCase{"AZeroByteEndsTheTextInAChosenEncoding", StandardEncodingOptions(),
                    std::string("kept\0dropped\n", 13), {"kept"}},
        TextEndCase{"AutoDrawsPastACtrlZ", {}, "kept\nalso\x1A" "more\n", {"kept", "alsomore"}},
        TextEndCase{"AutoDrawsPastAZeroByte", {}, std::string("kept\0more\n", 10), {"keptmore"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LineEnds, TabsStayInsideLines)
{
    ConversionOptions options;
    options.TabSize = 0;
    EXPECT_EQ(ConvertAndInspect(options, "a\tb\n").AllLineTexts(),
              (std::vector<std::string>{"a\tb"}));
}

// Courier at 9 points is 5.4 points a character: 87 characters fit into 475 points, 88 do not.
TEST(Wrapping, ALineThatFitsIsDrawnWithItsTrailingSpaces)
{
    const std::string line = std::string(80, 'a') + "   ";
    EXPECT_EQ(ConvertAndInspect(ConversionOptions{}, line + "\n").AllLineTexts(),
              (std::vector<std::string>{line}));
}

TEST(Wrapping, ATooLongLineBreaksAfterTheLastSpaceThatFits)
{
    const std::string first = std::string(50, 'a') + " " + std::string(30, 'b') + " ";
    const std::string rest = std::string(20, 'c') + " dd";
    const PdfFacts pdf = ConvertAndInspect(ConversionOptions{}, first + rest);
    EXPECT_EQ(pdf.AllLineTexts(), (std::vector<std::string>{first, rest}));
    EXPECT_DOUBLE_EQ(pdf.pages[0].lines.at(1).x, 60);
    EXPECT_DOUBLE_EQ(pdf.pages[0].lines.at(1).y, 763);
}

TEST(Wrapping, TheLastTextThatFitsStaysWholeWhereTheLibrarysSumSaysOtherwise)
{
    // Times-Roman at 59 points: this text is 2870.999 points wide, the library's running sum
    // in single precision makes it wider than the 2871 points between the margins.
    const std::string text = "oggleyhk czbj objvnhjjgg q ryrytxswygrskutw wsicxcesraw zuoeohxaell xtzboqmmyiza "
                             "hqpszetgq  az ziliutxbdm e ln tvy";
    ConversionOptions options;
    options.B14Font = 8;
    options.FontSize = 59;
    options.PageSize = kCustomPageSize;
    options.PageWidth = 2871 + 2 * 60;
    EXPECT_EQ(ConvertAndInspect(options, text).AllLineTexts(), std::vector<std::string>{text});
}

TEST(Wrapping, AWordLongerThanTheLineIsCutAtTheLastCharacterThatFits)
{
    const std::string word(200, 'w');
    EXPECT_EQ(ConvertAndInspect(ConversionOptions{}, word).AllLineTexts(),
              (std::vector<std::string>{word.substr(0, 87), word.substr(87, 87), word.substr(174)}));
}

TEST(Wrapping, NoTextIsLostWhenTheLastWordRunsPastTheMargin)
{
    std::string paragraph;
    for (int i = 0; i < 40; ++i)
        paragraph += "word" + std::to_string(i) + " ";
    paragraph += "finalwordthatislong";
    const PdfFacts pdf = ConvertAndInspect(ConversionOptions{}, paragraph);
    std::string joined;
    for (const std::string& line : pdf.AllLineTexts())
        joined += line;
    EXPECT_EQ(joined, paragraph);
    // A space that ends a line stays on it, whatever its width; the rest must fit.
    for (std::string line : pdf.AllLineTexts()) {
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        EXPECT_LE(line.size(), 87u);
    }
}

TEST(Wrapping, ACharacterWiderThanTheLineGoesOnALineOfItsOwn)
{
    ConversionOptions options;
    options.LeftMargin = 290;
    options.RightMargin = 300; // 5 points of room, less than one 5.4-point character
    EXPECT_EQ(ConvertAndInspect(options, "abc").AllLineTexts(),
              (std::vector<std::string>{"a", "b", "c"}));
}

TEST(Progress, RangeCountsLineEndsAsTwoBytesAndEndsAtTheFullRange)
{
    ScratchFolder folder;
    Converted converted = ConvertText(folder, ConversionOptions{}, "ab\ncd\n");
    ASSERT_TRUE(converted.result.written);
    ASSERT_EQ(converted.observer.ranges.size(), 1u);
    EXPECT_EQ(converted.observer.ranges[0], std::make_pair(1, 8));
    EXPECT_EQ(converted.observer.positions, (std::vector<int>{0, 2, 4, 8}));
}

} // namespace

namespace {

TEST(LargeInputs, AMegabyteParagraphWithoutSpacesInACidEncodingConvertsWhole)
{
    std::string chinese;
    for (int i = 0; chinese.size() < 1'000'000; ++i) {
        chinese += char(0xB0 + i % 40);
        chinese += char(0xA1 + i % 94);
    }
    ConversionOptions options;
    options.PageFont = CidFont;
    const PdfFacts pdf = ConvertAndInspect(options, chinese);
    std::string drawn;
    for (const std::string& line : pdf.AllLineTexts())
        drawn += line;
    EXPECT_EQ(drawn, chinese);
    EXPECT_GT(pdf.pages.size(), 100u);
}

TEST(LargeInputs, MoreThan32767PagesAreWritten)
{
    // A page 10 points high with a bottom margin of 5 holds one line.
    ConversionOptions options;
    options.PageSize = kCustomPageSize;
    options.PageHeight = 10;
    options.TopMargin = 0;
    options.BottomMargin = 5;
    std::string text;
    for (int i = 0; i < 33000; ++i)
        text += "a\n";
    const PdfFacts pdf = ConvertAndInspect(options, text);
    EXPECT_EQ(pdf.pages.size(), 33001u);
}

// A line longer than the library shows at once whose characters have no width never grows wide
// enough to be broken; it is drawn whole, in pieces the library takes.
class LongLineOfLittleWidth : public testing::TestWithParam<std::pair<const char*, std::string>> {};

TEST_P(LongLineOfLittleWidth, IsWrittenWholeWithTheLinesAfterIt)
{
    const std::string& text = GetParam().second;
    // Tabs and form feeds drawn as the font has them, without width; other control characters
    // are never drawn.
    ConversionOptions options;
    options.TabSize = 0;
    options.FormFeed = 0;
    const PdfFacts pdf = ConvertAndInspect(options, text);
    std::string drawn;
    for (const std::string& line : pdf.AllLineTexts())
        drawn += line + "\n";
    std::string expected = text;
    std::erase_if(expected, [](char c) { return c == '\n' || (c != '\t' && c != '\f' && (unsigned char)c < 0x20) || c == 0x7F; });
    std::erase(drawn, '\n');
    // Compared as a whole but not printed: the text is too long to read.
    EXPECT_TRUE(drawn == expected) << drawn.size() << " bytes drawn, " << expected.size() << " expected; first difference at "
                                   << std::mismatch(drawn.begin(), drawn.end(), expected.begin(), expected.end()).first - drawn.begin();
}

std::string Repeated(const std::string& unit, std::size_t bytes)
{
    std::string text;
    while (text.size() < bytes)
        text += unit;
    return text;
}

INSTANTIATE_TEST_SUITE_P(LargeInputs, LongLineOfLittleWidth,
                         testing::Values(std::pair{"FormFeedsAtTheLimit", std::string(65536, '\f') + "\nafter\n"},
                                         std::pair{"FormFeedsForThreePieces", std::string(140000, '\f') + "\nafter\n"},
                                         std::pair{"FormFeedsWithoutALineEnd", std::string(140000, '\f')},
                                         std::pair{"Tabs", std::string(70000, '\t') + "\nafter\n"},
                                         std::pair{"ControlBytes", Repeated("\x01\x02\x03\x1B\x7F", 70000) + "\nafter\n"},
                                         std::pair{"TabsThenALetter", std::string(65535, '\t') + "x\nafter\n"},
                                         std::pair{"ALetterThenTabs", "x" + std::string(70000, '\t')},
                                         std::pair{"ControlBytesBetweenLetters", "ab" + std::string(70000, '\x01') + "cd\n"},
                                         std::pair{"FormFeedsThenALetter", std::string(70000, '\f') + "x\nafter\n"}),
                         [](const auto& info) { return std::string(info.param.first); });

} // namespace
