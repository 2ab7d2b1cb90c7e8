// Headers, footers and line numbers on the written pages.
#include "ConversionTestSupport.h"

#include "conversion/FileConverter.h"
#include "conversion/OutputPath.h"
#include "conversion/PageFields.h"
#include "support/ConvertedTextTest.h"
#include "support/PdfInspector.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <utime.h>

namespace {

struct PlaceholderCase {
    const char* field;
    const char* expected;
};

void PrintTo(const PlaceholderCase& c, std::ostream* out)
{
    *out << c.field;
}

class Placeholders : public testing::TestWithParam<PlaceholderCase> {};

TEST_P(Placeholders, StandForTheFileAndThePage)
{
    const FieldFacts facts{"notes.txt", "docs/notes.txt", "2026-01-02 03:04", "2026-12-07"};
    EXPECT_EQ(ExpandPlaceholders(GetParam().field, facts, 3, 12), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, Placeholders,
                         testing::Values(PlaceholderCase{"%f", "notes.txt"}, PlaceholderCase{"%F", "docs/notes.txt"},
                                         PlaceholderCase{"%m", "2026-01-02 03:04"}, PlaceholderCase{"%D", "2026-12-07"},
                                         PlaceholderCase{"Page %p of %P", "Page 3 of 12"},
                                         PlaceholderCase{"100%%", "100%"}, PlaceholderCase{"%%p", "%p"},
                                         PlaceholderCase{"%x and %", "%x and %"}, PlaceholderCase{"", ""},
                                         PlaceholderCase{"%f, %p/%P", "notes.txt, 3/12"}));

TEST(PlaceholderFacts, TakeTheFileNameAndItsDateInLocalTime)
{
    setenv("TZ", "UTC", 1);
    tzset();
    ScratchFolder folder;
    const std::string path = folder.Write("report.txt", "x");
    const utimbuf times{1767323040, 1767323040}; // 2026-01-02 03:04 UTC
    ASSERT_EQ(utime(path.c_str(), &times), 0);
    const FieldFacts facts = FieldFactsOf(path);
    EXPECT_EQ(facts.name, "report.txt");
    EXPECT_EQ(facts.path, path);
    EXPECT_EQ(facts.modified, "2026-01-02 03:04");
    char today[16];
    const std::time_t now = std::time(nullptr);
    std::strftime(today, sizeof today, "%Y-%m-%d", std::gmtime(&now));
    EXPECT_EQ(facts.today, today);
    EXPECT_EQ(FieldFactsOf("").name, "");
}

std::string NumberedLines(int count)
{
    std::string text;
    for (int i = 1; i <= count; ++i)
        text += "l" + std::to_string(i) + "\n";
    return text;
}

// The lines of each page whose text starts with `start`.
std::vector<std::vector<PdfTextLine>> LinesStartingWith(const PdfFacts& pdf, char start)
{
    std::vector<std::vector<PdfTextLine>> pages;
    for (const PdfPage& page : pdf.pages) {
        pages.emplace_back();
        for (const PdfTextLine& line : page.lines)
            if (!line.text.empty() && line.text[0] == start)
                pages.back().push_back(line);
    }
    return pages;
}

struct AreaCase {
    const char* name;
    void (*change)(ConversionOptions&);
    std::size_t linesOnFirstPage;
    double firstBaseline;
};

void PrintTo(const AreaCase& c, std::ostream* out)
{
    *out << c.name;
}

class TextArea : public testing::TestWithParam<AreaCase> {};

// A page of the defaults holds 53 lines, the first baseline at 842 - 60 - 5.
TEST_P(TextArea, ShrinksByTheHeaderAndFooter)
{
    ScratchFolder folder;
    const Converted converted = ConvertText(folder, With(GetParam().change), NumberedLines(200));
    ASSERT_TRUE(converted.result.written) << converted.result.reason;
    const auto pages = LinesStartingWith(InspectPdf(converted.pdfPath), 'l');
    ASSERT_GE(pages.size(), 2u);
    EXPECT_EQ(pages[0].size(), GetParam().linesOnFirstPage);
    EXPECT_EQ(pages[0].front().y, GetParam().firstBaseline);
    EXPECT_EQ(pages[1].front().text, "l" + std::to_string(GetParam().linesOnFirstPage + 1));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextArea,
    testing::Values(
        AreaCase{"Plain", [](ConversionOptions&) {}, 53, 777},
        // 14 points of header: the first baseline at 763, the 52nd at 49.
        AreaCase{"Header", [](ConversionOptions& o) { o.HeaderLeft = "H"; }, 52, 763},
        // 28 points of footer as well: the last line at 749 - 49 * 14 = 77 reaches 60 + 28.
        AreaCase{"HeaderAndFooter", [](ConversionOptions& o) { o.HeaderLeft = "H", o.FooterRight = "F"; }, 50, 763},
        AreaCase{"LargerHeaderFont", [](ConversionOptions& o) { o.HeaderLeft = "H", o.FurnitureFontSize = 20; }, 51, 752},
        AreaCase{"SmallerHeaderFontKeepsTheBodyPitch",
                 [](ConversionOptions& o) { o.HeaderLeft = "H", o.FurnitureFontSize = 4; }, 52, 763},
        AreaCase{"FooterWithWiderMargins",
                 [](ConversionOptions& o) { o.FooterCentre = "F", o.TopMargin = o.BottomMargin = 100; }, 45, 737},
        AreaCase{"LineNumbersAloneTakeNoHeight", [](ConversionOptions& o) { o.LineNumbers = 1; }, 53, 777}),
    [](const auto& info) { return std::string(info.param.name); });

struct EdgeCase {
    const char* name;
    void (*change)(ConversionOptions&);
    const char* headerShown;
    double headerBaseline;
    double footerBaseline;
};

void PrintTo(const EdgeCase& c, std::ostream* out)
{
    *out << c.name;
}

class FurnitureOnThePage : public testing::TestWithParam<EdgeCase> {};

// The fields' ascenders reach 0.85 of their size above the baseline, descenders 0.3 below.
TEST_P(FurnitureOnThePage, StaysInsideThePageEdgesAndShowsWhatFits)
{
    ConversionOptions options = With(GetParam().change);
    options.FooterRight = "F";
    ScratchFolder folder;
    const Converted converted = ConvertText(folder, options, "x");
    ASSERT_TRUE(converted.result.written) << converted.result.reason;
    const PdfFacts pdf = InspectPdf(converted.pdfPath);
    std::vector<std::pair<std::string, double>> furniture;
    for (const PdfTextLine& line : pdf.pages.at(0).lines)
        if (line.text != "x")
            furniture.emplace_back(line.text, line.y);
    EXPECT_EQ(furniture, (std::vector<std::pair<std::string, double>>{
                             {GetParam().headerShown, GetParam().headerBaseline}, {"F", GetParam().footerBaseline}}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FurnitureOnThePage,
    testing::Values(
        EdgeCase{"UsualMargins", [](ConversionOptions& o) { o.HeaderLeft = "H"; }, "H", 777, 60},
        EdgeCase{"NoMargins", [](ConversionOptions& o) { o.HeaderLeft = "H", o.TopMargin = o.BottomMargin = 0; },
                 "H", 842 - 8, 3},
        EdgeCase{"ALargeFontBelowTheTopMargin",
                 [](ConversionOptions& o) { o.HeaderLeft = "H", o.FurnitureFontSize = 100; }, "H", 842 - 60 - 25, 60},
        // Courier's characters are 0.6 of the size wide, the third 158.3: at 158 one dot fits, at
        // 100 two, at 70 three but no "L" beside them.
        EdgeCase{"AFieldAsLargeAsItsThird",
                 [](ConversionOptions& o) { o.HeaderLeft = "LLLL", o.FurnitureFontSize = 158; }, ".", 842 - 60 - 75,
                 60},
        EdgeCase{"TwoDotsWhereThreeDoNotFit",
                 [](ConversionOptions& o) { o.HeaderLeft = "LLLL", o.FurnitureFontSize = 100; }, "..", 842 - 60 - 25,
                 60},
        EdgeCase{"AllThreeDotsBeforeAnyCharacter",
                 [](ConversionOptions& o) { o.HeaderLeft = "LLLL", o.FurnitureFontSize = 70; }, "...", 842 - 60 - 5,
                 60}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PageFurniture, CountsThePagesBeforeTheFirstIsDrawn)
{
    ConversionOptions options;
    options.HeaderLeft = "%f";
    options.HeaderRight = "Page %p of %P";
    options.FooterCentre = "- %p -";
    ScratchFolder folder;
    const Converted converted = ConvertText(folder, options, "a\n\fb\n\f" + NumberedLines(60));
    ASSERT_TRUE(converted.result.written) << converted.result.reason;
    const PdfFacts pdf = InspectPdf(converted.pdfPath);
    ASSERT_EQ(pdf.pages.size(), 4u);
    for (std::size_t i = 0; i < pdf.pages.size(); ++i) {
        std::vector<std::string> furniture;
        for (const PdfTextLine& line : pdf.pages[i].lines)
            if (line.y == 777 || line.y == 60)
                furniture.push_back(line.text);
        const std::string page = std::to_string(i + 1);
        EXPECT_EQ(furniture, (std::vector<std::string>{"input.txt", "Page " + page + " of 4", "- " + page + " -"}));
    }
}

TEST(PageFurniture, AFieldTooLongForItsThirdEndsInAnEllipsis)
{
    ConversionOptions options;
    options.HeaderLeft = std::string(60, 'L');
    options.HeaderCentre = "C";
    ScratchFolder folder;
    const Converted converted = ConvertText(folder, options, "x");
    ASSERT_TRUE(converted.result.written) << converted.result.reason;
    const PdfFacts pdf = InspectPdf(converted.pdfPath);
    const std::vector<PdfTextLine>& lines = pdf.pages.at(0).lines;
    ASSERT_EQ(lines.size(), 3u);
    // Courier's 5.4 points a character: 26 and the ellipsis fill 156.6 of the third's 158.3.
    EXPECT_EQ(lines[1].text, std::string(26, 'L') + "...");
    EXPECT_EQ(lines[2].text, "C");
    EXPECT_NEAR(lines[2].x, 60 + (475 - 5.4) / 2, 0.01);
}

TEST(PageFurniture, ACutRightToLeftFieldKeepsItsStartAndEndsInDotsOnTheLeft)
{
    ConversionOptions options = Utf8Options(DejaVuSansPath());
    options.HeaderLeft = "\u05E9\u05DC\u05D5\u05DD \u05E2\u05D5\u05DC\u05DD \u05D6\u05D4\u05D5 "
                         "\u05D8\u05E7\u05E1\u05D8"; // shalom olam ze text
    options.FurnitureFontSize = 30;
    ScratchFolder folder;
    const Converted converted = ConvertText(folder, options, "x");
    ASSERT_TRUE(converted.result.written) << converted.result.reason;
    const std::string text = ExtractPdfText(converted.pdfPath);
    EXPECT_NE(text.find("\u05E9\u05DC\u05D5\u05DD \u05E2"), std::string::npos) << text;
    const PdfFacts pdf = InspectPdf(converted.pdfPath);
    std::vector<std::string> header;
    for (const PdfTextLine& line : pdf.pages.at(0).lines)
        if (line.y == 777)
            header.push_back(line.text);
    // The codes as drawn, left to right, two bytes each.
    ASSERT_EQ(header.size(), 1u);
    EXPECT_EQ(header[0].substr(0, 6), std::string("\0.\0.\0.", 6));
}

TEST(PageFurniture, AFieldStaysOnItsLine)
{
    ConversionOptions options;
    options.FooterRight = "a\tb\x01" "c\nd";
    ScratchFolder folder;
    const Converted converted = ConvertText(folder, options, "x");
    ASSERT_TRUE(converted.result.written) << converted.result.reason;
    EXPECT_EQ(InspectPdf(converted.pdfPath).AllLineTexts(), (std::vector<std::string>{"x", "a bc d"}));
}

struct NumberCase {
    const char* name;
    std::string text;
    int step;
    double bodyX;
    // Per page, each body line as "NUMBER|TEXT", the number drawn on its baseline or none.
    std::vector<std::vector<std::string>> pages;
};

void PrintTo(const NumberCase& c, std::ostream* out)
{
    *out << c.name;
}

bool IsNumber(const std::string& text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Each body line of the page as "NUMBER|TEXT", checking that it starts at `bodyX`.
std::vector<std::string> NumberedBodyLines(const PdfPage& page, double bodyX)
{
    std::map<double, std::string> numbers;
    for (const PdfTextLine& line : page.lines)
        if (IsNumber(line.text) && line.x < bodyX)
            numbers[line.y] = line.text;
    std::vector<std::string> lines;
    for (const PdfTextLine& line : page.lines) {
        if (IsNumber(line.text) && line.x < bodyX)
            continue;
        EXPECT_EQ(line.x, bodyX) << line.text;
        lines.push_back(numbers[line.y] + "|" + line.text);
    }
    return lines;
}

class LineNumbers : public testing::TestWithParam<NumberCase> {};

TEST_P(LineNumbers, NumberSourceLinesInAGutter)
{
    const NumberCase& c = GetParam();
    ConversionOptions options;
    options.LineNumbers = 1;
    options.LineNumberStep = c.step;
    ScratchFolder folder;
    const Converted converted = ConvertText(folder, options, c.text);
    ASSERT_TRUE(converted.result.written) << converted.result.reason;
    std::vector<std::vector<std::string>> pages;
    for (const PdfPage& page : InspectPdf(converted.pdfPath).pages)
        pages.push_back(NumberedBodyLines(page, c.bodyX));
    EXPECT_EQ(pages, c.pages);
}

// "|l1" to "|l<count>", with the numbers of the step.
std::vector<std::string> StepLines(int from, int to, int step)
{
    std::vector<std::string> lines;
    for (int i = from; i <= to; ++i)
        lines.push_back((i % step == 0 ? std::to_string(i) : "") + "|l" + std::to_string(i));
    return lines;
}

// Courier at 9 points: a digit is 5.4 wide, the gutter the largest number and 4.5, rounded up.
// The body, 475 points less a gutter of 10, holds 86 characters.
const std::string kLong = std::string(50, 'a') + " " + std::string(50, 'b');

INSTANTIATE_TEST_SUITE_P(
    Cases, LineNumbers,
    testing::Values(
        NumberCase{"AWrappedLineHasOneNumber", "one\n" + kLong + "\n", 1, 70,
                   {{"1|one", "2|" + std::string(50, 'a') + " ", "|" + std::string(50, 'b')}}},
        NumberCase{"AFormFeedKeepsCounting", "one\n\ftwo\n", 1, 70, {{"1|one"}, {"2|two"}}},
        NumberCase{"TheStepDrawsEveryNth", "a\nb\nc\nd\n", 2, 70, {{"|a", "2|b", "|c", "4|d"}}},
        // Three digits: a gutter of 16.2 + 4.5, 21 points.
        NumberCase{"TheGutterFitsTheLargestNumber", NumberedLines(100), 50, 81,
                   {StepLines(1, 53, 50), StepLines(54, 100, 50)}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PageFurniture, AGutterThatLeavesTheTextNoRoomFailsTheFileWithTheReason)
{
    ConversionOptions options;
    options.LineNumbers = 1;
    options.LeftMargin = 280;
    options.RightMargin = 300; // 15 points: a gutter of 10 leaves 5, one of 21 none
    ScratchFolder folder;
    EXPECT_TRUE(ConvertText(folder, options, NumberedLines(9)).result.written);
    const Converted converted = ConvertText(folder, options, NumberedLines(100));
    EXPECT_FALSE(converted.result.written);
    EXPECT_NE(converted.result.reason.find("line numbers up to 100 leave no room"), std::string::npos)
        << converted.result.reason;
}

TEST(PageFurniture, AUtf8FileNameInTheHeaderIsExtractedAsWritten)
{
    ScratchFolder folder;
    const std::string input = folder.Write("Grüße 日本.txt", "plain ASCII text\n");
    ConversionOptions options;
    options.HeaderCentre = "[%f]";
    options.LineNumbers = 1;
    const std::string pdf = OutputPathFor(input);
    RecordingObserver observer;
    const ConversionResult result = ConvertFile(options, input, "", "", pdf, observer);
    ASSERT_TRUE(result.written) << result.reason;
    const std::string text = ExtractPdfText(pdf);
    EXPECT_NE(text.find("[Grüße 日本.txt]"), std::string::npos) << text;
    EXPECT_NE(text.find("1 plain ASCII text"), std::string::npos) << text;
}

class RightToLeftField : public testing::TestWithParam<const char*> {};

// The body's line is drawn in visual order; a field with the same text must show the same codes.
TEST_P(RightToLeftField, IsDrawnInTheOrderTheBodyDrawsIt)
{
    ConversionOptions options = Utf8Options();
    options.HeaderLeft = GetParam();
    ScratchFolder folder;
    const Converted converted = ConvertText(folder, options, GetParam());
    ASSERT_TRUE(converted.result.written) << converted.result.reason;
    // The body is drawn first, then the header: each a run per font, the same runs in the same order.
    const PdfFacts pdf = InspectPdf(converted.pdfPath);
    std::vector<std::pair<std::string, std::string>> runs;
    for (const PdfTextLine& line : pdf.pages.at(0).lines)
        runs.emplace_back(line.text, line.font);
    ASSERT_EQ(runs.size() % 2, 0u);
    const auto half = runs.begin() + static_cast<std::ptrdiff_t>(runs.size() / 2);
    EXPECT_EQ(std::vector(runs.begin(), half), std::vector(half, runs.end()));
}

INSTANTIATE_TEST_SUITE_P(Cases, RightToLeftField,
                         testing::Values("\xD7\x90\xD7\x91\xD7\x92 x",           // Hebrew before Latin
                                         "a \xD8\xA8\xD8\xA8 \xD9\x84\xD8\xA7")); // joined Arabic

struct BeyondBmpFieldCase {
    const char* name;
    ConversionOptions options;
    std::string header;
    std::string shown;    // what a reader gives back of the header
    const char* notePart; // of the one note; null for none
};

void PrintTo(const BeyondBmpFieldCase& c, std::ostream* out)
{
    *out << c.name;
}

class BeyondBmpField : public ConvertedTextTest<BeyondBmpFieldCase> {};

TEST_P(BeyondBmpField, IsDrawnAsTheBodyWouldDrawIt)
{
    const BeyondBmpFieldCase& c = GetParam();
    ConversionOptions options = c.options;
    options.HeaderLeft = c.header;
    ASSERT_TRUE(Convert(options, "body\n"));
    EXPECT_NE(Extracted().find(c.shown), std::string::npos) << Extracted();
    EXPECT_EQ(CodesShownAsMissingGlyphs(Pdf()), 0u);
    ExpectNoteWith(c.notePart);
}

#define EMOJI "\xF0\x9F\x98\x80"
// A private character of plane 15, which no font has.
#define FONTLESS "\xF3\xB0\x80\x80"

INSTANTIATE_TEST_SUITE_P(
    Cases, BeyondBmpField,
    testing::Values(
        BeyondBmpFieldCase{"InTheMainFont", Utf8Options(DejaVuSansPath()), "x" EMOJI "y", "x" EMOJI "y", nullptr},
        BeyondBmpFieldCase{"ThroughAFallbackFont", Utf8Options(), "x" EMOJI "y", "x" EMOJI "y", nullptr},
        BeyondBmpFieldCase{"UnderAuto", {}, "x" EMOJI "y", "x" EMOJI "y", nullptr},
        BeyondBmpFieldCase{"WithoutAFontAsAReplacementCharacterCounted", Utf8Options(DejaVuSansPath()),
                           "x" FONTLESS FONTLESS "y", "x\xEF\xBF\xBD\xEF\xBF\xBDy",
                           "2 characters beyond U+FFFF"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
