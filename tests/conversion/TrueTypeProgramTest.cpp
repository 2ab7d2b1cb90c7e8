// Embedded TrueType subsets carry only what their used glyphs need, and readers still draw,
// read and copy them; a font program that is not one is left alone.
#include "ConversionTestSupport.h"
#include "conversion/TrueTypeProgram.h"
#include "support/ConvertedTextTest.h"
#include "support/PdfInspector.h"

#include <gtest/gtest.h>

namespace {

struct SubsetCase {
    const char* name;
    ConversionOptions options;
    std::string text;
    std::size_t storedBytesAtMost; // of each embedded font
    std::size_t inkAtLeast;        // dark pixels of the first page
};

void PrintTo(const SubsetCase& c, std::ostream* out)
{
    *out << c.name;
}

ConversionOptions Large(ConversionOptions options)
{
    options.FontSize = 60;
    return options;
}

class EmbeddedSubset : public ConvertedTextTest<SubsetCase> {};

TEST_P(EmbeddedSubset, IsSmallAndStillDrawnAndRead)
{
    const SubsetCase& c = GetParam();
    ASSERT_TRUE(Convert(c.options, c.text));
    ASSERT_FALSE(Pdf().fonts.empty());
    for (const PdfFontFacts& font : Pdf().fonts) {
        EXPECT_TRUE(font.embedded) << font.baseFont;
        EXPECT_LE(font.storedBytes, c.storedBytesAtMost) << font.baseFont;
    }
    EXPECT_EQ(CodesShownAsMissingGlyphs(Pdf()), 0u);
    EXPECT_EQ(QpdfWarnings(PdfPath()), "");
    EXPECT_EQ(PdfReaderWarnings(PdfPath()), "");
    EXPECT_EQ(Extracted() + "\n", c.text);
    EXPECT_GE(DarkPixelsOfFirstPage(PdfPath()), c.inkAtLeast);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EmbeddedSubset,
    testing::Values(
        SubsetCase{"ChineseNameThroughAFallbackFont", Large({}), "\xE5\xBC\xA0\xE4\xB8\x89\n", 16000, 2300},
        SubsetCase{"ChineseInACollectionFont", Large(Utf8Options(MicroHeiCollectionPath(), 1)),
                   "\xE4\xB8\xAD\xE6\x96\x87\xE5\xAD\x97\n", 16000, 3600},
        SubsetCase{"GreekInAProportionalFont", Large(Utf8Options(DejaVuSansPath())),
                   "\xCE\xB1\xCE\xB2\xCE\xB3 \xCF\x8C\n", 16000, 3000},
        // Latin-1, Greek, Cyrillic, symbols and a ligature: characters from many parts of the
        // font's map of characters to glyphs.
        SubsetCase{"ManyScriptsInAProportionalFont", Utf8Options(DejaVuSansPath()),
                   "\xC3\xA9\xC3\xBF \xCE\xA9\xCF\x89 \xD0\x96\xD1\x8F \xE2\x82\xAC\xE2\x86\x92\xE2\x88\x9E "
                   "\xEF\xAC\x81 \xE2\x99\xA5\n", 24000, 0}),
    [](const auto& info) { return std::string(info.param.name); });

struct MalformedCase {
    const char* name;
    std::vector<unsigned char> font;
};

void PrintTo(const MalformedCase& c, std::ostream* out)
{
    *out << c.name;
}

class MalformedProgram : public testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedProgram, IsKeptAsItIs)
{
    EXPECT_TRUE(TrimmedFontProgram(GetParam().font, std::vector<bool>(4, false)).empty());
}

// A table directory of one record for 'hhea' at `offset`, `length` bytes long, then `body`.
std::vector<unsigned char> OneTable(unsigned char offset, unsigned char length, std::size_t body)
{
    const unsigned char directory[] = {0, 1, 0, 0, 0, 1, 0, 16, 0, 0, 0, 0,
                                       'h', 'h', 'e', 'a', 0, 0, 0, 0, 0, 0, 0, offset, 0, 0, 0, length};
    std::vector<unsigned char> font(sizeof directory + body, 0);
    std::copy(std::begin(directory), std::end(directory), font.begin());
    return font;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MalformedProgram,
    testing::Values(MalformedCase{"Empty", {}}, MalformedCase{"CutInTheHeader", {0, 1, 0, 0, 0}},
                    MalformedCase{"CutInTheDirectory", {0, 1, 0, 0, 0, 9, 0, 0, 0, 0, 0, 0, 'h', 'h'}},
                    MalformedCase{"TableBeyondTheEnd", OneTable(28, 36, 8)},
                    MalformedCase{"MetricsHeaderTooShort", OneTable(28, 8, 8)},
                    MalformedCase{"NoMetricsHeader", {0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
