// Tab stops and form feeds in the written PDF.
#include "ConversionTestSupport.h"
#include "support/ConvertedTextTest.h"
#include "support/PdfInspector.h"

#include <gtest/gtest.h>

namespace {

struct TabCase {
    const char* name;
    int b14Font;
    int tabSize;
    std::string text;
    std::vector<std::string> lines;
};

void PrintTo(const TabCase& c, std::ostream* out)
{
    *out << c.name;
}

ConversionOptions OptionsOf(const TabCase& c)
{
    ConversionOptions options;
    options.B14Font = c.b14Font;
    options.TabSize = c.tabSize;
    return options;
}

class TabStops : public ConvertedTextTest<TabCase> {};

TEST_P(TabStops, ATabReachesTheNextStopFromTheLineStart)
{
    const TabCase& c = GetParam();
    ASSERT_TRUE(Convert(OptionsOf(c), c.text));
    EXPECT_EQ(Pdf().AllLineTexts(), c.lines);
}

constexpr int kCourier = 0;
constexpr int kHelvetica = 4;

INSTANTIATE_TEST_SUITE_P(
    Cases, TabStops,
    testing::Values(TabCase{"EightColumns", kCourier, 8, "a\tb\n", {"a       b"}},
                    TabCase{"FourColumns", kCourier, 4, "ab\tc\td\n", {"ab  c   d"}},
                    TabCase{"AtAStopATabGoesToTheNext", kCourier, 4, "abcd\te\n", {"abcd    e"}},
                    TabCase{"EachLineStartsAfresh", kCourier, 4, "abc\tx\r\n\ty\n", {"abc x", "    y"}},
                    // Helvetica's i is 222 of a space's 278: two spaces reach the stop at 556.
                    TabCase{"ProportionalFontsMeasureTheText", kHelvetica, 2, "i\tb\n", {"i  b"}},
                    TabCase{"ZeroDrawsTheTab", kCourier, 0, "a\tb\n", {"a\tb"}}),
    [](const auto& info) { return std::string(info.param.name); });

class RightToLeftTabStops : public ConvertedTextTest<TabCase> {};

// A right-to-left line is drawn from its last cell: the stops count from its left end. The line
// is shown in pieces of UTF-16BE codes, joined here.
TEST_P(RightToLeftTabStops, CountFromTheLeftEndOfTheDrawnLine)
{
    const TabCase& c = GetParam();
    ASSERT_TRUE(Convert(OptionsOf(c), c.text));
    std::string drawn;
    for (const std::string& piece : Pdf().AllLineTexts())
        drawn += piece;
    EXPECT_EQ(std::vector<std::string>{drawn}, c.lines);
}

#define U16(text) std::string(text, sizeof(text) - 1)

INSTANTIATE_TEST_SUITE_P(
    Cases, RightToLeftTabStops,
    testing::Values(TabCase{"HebrewCells", kCourier, 4, "\xD7\x90\t\xD7\x91\xD7\x91\n",
                            {U16("\x05\xD1\x05\xD1\0 \0 \x05\xD0")}},
                    TabCase{"LatinCellsKeepTheirPlaces", kCourier, 4, "\xD7\x90\tab\tcd\n",
                            {U16("\0c\0d\0 \0 \0a\0b\0 \0 \x05\xD0")}}),
    [](const auto& info) { return std::string(info.param.name); });

struct FormFeedCase {
    const char* name;
    int formFeed;
    std::string text;
    std::vector<std::vector<std::string>> pages;
};

void PrintTo(const FormFeedCase& c, std::ostream* out)
{
    *out << c.name;
}

std::string Lines(int count)
{
    std::string text;
    for (int i = 1; i <= count; ++i)
        text += "l" + std::to_string(i) + "\n";
    return text;
}

class FormFeeds : public ConvertedTextTest<FormFeedCase> {};

TEST_P(FormFeeds, EndThePage)
{
    const FormFeedCase& c = GetParam();
    ConversionOptions options;
    options.FormFeed = c.formFeed;
    ASSERT_TRUE(Convert(options, c.text));
    std::vector<std::vector<std::string>> pages;
    for (const PdfPage& page : Pdf().pages) {
        pages.emplace_back();
        for (const PdfTextLine& line : page.lines)
            pages.back().push_back(line.text);
    }
    EXPECT_EQ(pages, c.pages);
}

// A page of the defaults holds 53 lines.
const std::vector<std::string> kFullPage = [] {
    std::vector<std::string> lines;
    for (int i = 1; i <= 53; ++i)
        lines.push_back("l" + std::to_string(i));
    return lines;
}();

INSTANTIATE_TEST_SUITE_P(
    Cases, FormFeeds,
    testing::Values(FormFeedCase{"BetweenLines", 1, "a\n\fb\n", {{"a"}, {"b"}}},
                    FormFeedCase{"InsideALine", 1, "a\fb", {{"a"}, {"b"}}},
                    FormFeedCase{"TwoInARowLeaveABlankPage", 1, "a\f\fb", {{"a"}, {}, {"b"}}},
                    FormFeedCase{"AtTheStartNoBlankPage", 1, "\fa", {{"a"}}},
                    FormFeedCase{"AtTheEndNoBlankPage", 1, "a\n\f", {{"a"}}},
                    FormFeedCase{"AfterAFullPageNoBlankPage", 1, Lines(53) + "\fx", {kFullPage, {"x"}}},
                    FormFeedCase{"ZeroDrawsIt", 0, "a\fb", {{"a\fb"}}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
