// Files converted with the Auto encoding: read as what they are, drawn with a font that has
// their characters, and given back by a reader as the file's own characters.
#include "ConversionTestSupport.h"
#include "conversion/SystemFont.h"
#include "conversion/TextPlan.h"
#include "conversion/WinAnsiText.h"
#include "support/ConvertedTextTest.h"
#include "support/PdfInspector.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct AutoCase {
    const char* name;
    ConversionOptions options;
    std::string bytes;
    const char* extracted;  // what a reader gives back of the first page, without its last line end
    const char* subtype;    // of the page's font
    const char* encoding;
    const char* notePart;   // in the one note; null for none
    std::size_t fontCount = 1; // the main font and the fallbacks the text needs
};

void PrintTo(const AutoCase& c, std::ostream* out)
{
    *out << c.name;
}

ConversionOptions Base14(int font)
{
    ConversionOptions options;
    options.B14Font = font;
    return options;
}

class AutoEncoding : public ConvertedTextTest<AutoCase> {};

TEST_P(AutoEncoding, AReaderGetsTheFilesCharactersBack)
{
    const AutoCase& c = GetParam();
    ASSERT_TRUE(Convert(c.options, c.bytes));
    EXPECT_EQ(Extracted(), c.extracted);
    ASSERT_EQ(Pdf().fonts.size(), c.fontCount);
    EXPECT_EQ(Pdf().fonts[0].subtype, c.subtype);
    EXPECT_EQ(Pdf().fonts[0].encoding, c.encoding);
    ExpectNoteWith(c.notePart);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AutoEncoding,
    testing::Values(
        AutoCase{"QuotesOfAsciiAreThemselves", {}, "don't `x` 'a'\n", "don't `x` 'a'", "/Type1", "/WinAnsiEncoding", nullptr},
        AutoCase{"WesternUtf8KeepsTheBase14Font", {}, "Caf\xC3\xA9 \xE2\x80\x9Cq\xE2\x80\x9D \xE2\x82\xAC\n",
                 "Caf\xC3\xA9 \xE2\x80\x9Cq\xE2\x80\x9D \xE2\x82\xAC", "/Type1", "/WinAnsiEncoding", nullptr},
        AutoCase{"CyrillicTakesAnInstalledFont", {}, "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82\n",
                 "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82", "/Type0", "/Identity-H", nullptr},
        AutoCase{"ChineseNameInLatinText", Base14(8), "Copyright \xE5\xBC\xA0\xE4\xB8\x89\n",
                 "Copyright \xE5\xBC\xA0\xE4\xB8\x89", "/Type0", "/Identity-H", nullptr, 2},
        AutoCase{"Utf16WithMark", {}, std::string("\xFF\xFE" "C\0a\0f\0\xE9\0\n\0", 12), "Caf\xC3\xA9", "/Type1",
                 "/WinAnsiEncoding", nullptr},
        AutoCase{"Utf16WithoutMark", {}, std::string("H\0\xE9\0l\0l\0o\0\n\0", 12), "H\xC3\xA9llo", "/Type1",
                 "/WinAnsiEncoding", "looks like UTF-16LE"},
        AutoCase{"Utf16LoneHighSurrogateIsOneReplacement", {},
                 std::string("\xFF\xFE" "H\0i\0 \0\x00\xD8" "y\0o\0u\0\n\0", 18), "Hi \xEF\xBF\xBDyou", "/Type0",
                 "/Identity-H", "1 sequence was not valid UTF-16LE"},
        AutoCase{"Utf16BigEndianLoneLowSurrogateIsOneReplacement", {},
                 std::string("\xFE\xFF" "\0H\0i\xDC\x00\0y\0o\0u\0\n", 16), "Hi\xEF\xBF\xBDyou", "/Type0",
                 "/Identity-H", "1 sequence was not valid UTF-16BE"},
        AutoCase{"Windows1252IsNamedAsTheGuess", {}, "\x93\x41\x94 \x80\n", "\xE2\x80\x9C" "A\xE2\x80\x9D \xE2\x82\xAC",
                 "/Type1", "/WinAnsiEncoding", "it was read as"},
        AutoCase{"TrueTypeFontKindDrawsUtf8WithItsOwnFont",
                 [] { ConversionOptions o; o.PageFont = TrueTypeFont, o.TrueTypeFile = DejaVuSansPath(); return o; }(),
                 "\xCE\xB1\xCE\xB2\n", "\xCE\xB1\xCE\xB2", "/Type0", "/Identity-H", nullptr},
        AutoCase{"ControlCharactersAreLeftOutAndCounted", {}, "a\x01" "b\x7F" "c\x1B\n", "abc", "/Type1",
                 "/WinAnsiEncoding", "3 control characters were left out"},
        AutoCase{"DirectionControlsAreNeitherDrawnNorMissing", {}, "a\xE2\x81\xA6" "b\xE2\x81\xA9" "c\xE2\x80\x8E\n", "abc",
                 "/Type0", "/Identity-H", nullptr},
        // Composed, a letter and its combining mark are the one character fonts draw.
        AutoCase{"ALetterAndItsMarkAreOneCharacter", {}, "cafe\xCC\x81\n", "caf\xC3\xA9", "/Type1", "/WinAnsiEncoding",
                 nullptr},
        AutoCase{"AChosenUtf8ComposesToo", Utf8Options(DejaVuSansPath()), "cafe\xCC\x81\n", "caf\xC3\xA9", "/Type0",
                 "/Identity-H", nullptr},
        AutoCase{"HangulLettersMakeTheirSyllable", {}, "\xE1\x84\x92\xE1\x85\xA1\xE1\x86\xAB\n", "\xED\x95\x9C",
                 "/Type0", "/Identity-H", nullptr, 2},
        AutoCase{"AChosenEncodingStaysAsItWas", StandardEncodingOptions(), "don't\n", "don\xE2\x80\x99t", "/Type1",
                 "/StandardEncoding", nullptr},
        // A byte-order mark says more surely than the choice what the bytes are.
        AutoCase{"AChosenUtf8ReadsUtf16ByItsMark", Utf8Options(DejaVuSansPath()),
                 std::string("\xFF\xFE" "C\0a\0f\0\xE9\0 \0\xB1\x03\r\0\n\0", 18), "Caf\xC3\xA9 \xCE\xB1", "/Type0",
                 "/Identity-H", nullptr},
        AutoCase{"AChosenUtf8ReadsBigEndianUtf16ByItsMark", Utf8Options(DejaVuSansPath()),
                 std::string("\xFE\xFF" "\0C\0a\0f\0\xE9\0\n", 12), "Caf\xC3\xA9", "/Type0", "/Identity-H", nullptr},
        AutoCase{"AChosenUtf8ReadsUtf32ByItsMark", Utf8Options(DejaVuSansPath()),
                 std::string("\xFF\xFE\0\0" "h\0\0\0\xE9\0\0\0\n\0\0\0", 16), "h\xC3\xA9", "/Type0", "/Identity-H",
                 nullptr},
        // U+0000 is a control character like any other, not the end of the text.
        AutoCase{"AChosenUtf8LeavesOutAZeroByteAndGoesOn", Utf8Options(DejaVuSansPath()),
                 std::string("kept\0m\xC3\xA9\x1A" "re\n", 12), "keptm\xC3\xA9re", "/Type0", "/Identity-H",
                 "2 control characters were left out"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AutoEncoding, TheEmbeddedFontOfAChineseNameTakesOnlyItsGlyphs)
{
    ScratchFolder folder;
    const std::string page = "Copyright (C) 2024 Example Author <author@example.org>\nAll rights reserved.\n";
    const Converted latin = ConvertText(folder, {}, page + "\xD0\x96\n");
    const Converted chinese = ConvertText(folder, {}, page + "\xE5\xBC\xA0\xE4\xB8\x89\n");
    ASSERT_TRUE(latin.result.written && chinese.result.written);
    EXPECT_LT(std::filesystem::file_size(chinese.pdfPath), std::filesystem::file_size(latin.pdfPath) * 6 / 5 + 60000);
}

struct WinAnsiCase {
    const char* name;
    std::string utf8;
    bool fits;
    std::string codes;
    std::size_t replaced;
};

void PrintTo(const WinAnsiCase& c, std::ostream* out)
{
    *out << c.name;
}

class WinAnsi : public testing::TestWithParam<WinAnsiCase> {};

TEST_P(WinAnsi, CodesAreWindows1252)
{
    const WinAnsiCase& c = GetParam();
    EXPECT_EQ(FitsWinAnsi(c.utf8), c.fits);
    std::size_t replaced = 0;
    EXPECT_EQ(ToWinAnsi(c.utf8, replaced), c.codes);
    EXPECT_EQ(replaced, c.replaced);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WinAnsi,
    testing::Values(WinAnsiCase{"Ascii", "a'`~", true, "a'`~", 0},
                    WinAnsiCase{"Latin1", "\xC3\xA9\xC3\xBF\xC2\xA0", true, "\xE9\xFF\xA0", 0},
                    WinAnsiCase{"TheCodesBetween80And9F", "\xE2\x82\xAC\xE2\x80\x99\xC5\xB8\xC5\xBD", true, "\x80\x92\x9F\x8E", 0},
                    WinAnsiCase{"TheControlsOfLatin1HaveNoCode", "\xC2\x81", false, "?", 1},
                    WinAnsiCase{"CyrillicHasNoCode", "a\xD0\x96" "b\xF0\x9F\x98\x80", false, "a?b?", 2}),
    [](const auto& info) { return std::string(info.param.name); });

struct SubstituteCase {
    const char* name;
    int pageFont;
    int b14Font;
    const char* lastFamily; // the generic family the request ends with
    bool bold;
    bool slanted;
};

void PrintTo(const SubstituteCase& c, std::ostream* out)
{
    *out << c.name;
}

class Substitute : public testing::TestWithParam<SubstituteCase> {};

TEST_P(Substitute, HasTheStyleOfTheChosenFont)
{
    const SubstituteCase& c = GetParam();
    ConversionOptions options;
    options.PageFont = c.pageFont;
    options.B14Font = c.b14Font;
    const FontRequest request = SubstituteRequest(options);
    ASSERT_FALSE(request.families.empty());
    EXPECT_EQ(request.families.back(), c.lastFamily);
    EXPECT_EQ(request.bold, c.bold);
    EXPECT_EQ(request.slanted, c.slanted);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Substitute,
    testing::Values(SubstituteCase{"Courier", Base14Font, 0, "monospace", false, false},
                    SubstituteCase{"CourierBoldOblique", Base14Font, 3, "monospace", true, true},
                    SubstituteCase{"HelveticaBold", Base14Font, 5, "sans-serif", true, false},
                    SubstituteCase{"TimesItalic", Base14Font, 10, "serif", false, true},
                    SubstituteCase{"Symbol", Base14Font, 12, "sans-serif", false, false},
                    SubstituteCase{"Type1", Type1Font, 0, "sans-serif", false, false}),
    [](const auto& info) { return std::string(info.param.name); });

struct FallbackCase {
    const char* name;
    FontRequest request;
    std::vector<char32_t> characters;
    const char* fileEnding;
};

void PrintTo(const FallbackCase& c, std::ostream* out)
{
    *out << c.name;
}

class FontForText : public testing::TestWithParam<FallbackCase> {};

TEST_P(FontForText, IsTheInstalledFontThatHasTheCharacters)
{
    const FallbackCase& c = GetParam();
    const SystemFont font = FindFontsFor(c.request, c.characters).main;
    EXPECT_EQ(font.problem, "");
    EXPECT_TRUE(font.file.ends_with(c.fileEnding)) << font.file;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FontForText,
    testing::Values(FallbackCase{"MonospacedCyrillic", {{"monospace"}}, {U'a', U'Ж'}, "DejaVuSansMono.ttf"},
                    FallbackCase{"BoldSerif", {{"serif"}, true, false}, {U'a', U'α'}, "DejaVuSerif-Bold.ttf"},
                    FallbackCase{"ChineseKeepsTheMonospacedFont", {{"monospace"}}, {U'a', U'中'}, "DejaVuSansMono.ttf"},
                    FallbackCase{"HebrewKeepsTheMonospacedFont", {{"Liberation Mono", "Nimbus Mono PS", "monospace"}},
                                 {U'a', U'ש'}, "DejaVuSansMono.ttf"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace

namespace {

struct FallbackListCase {
    const char* name;
    std::vector<char32_t> characters;
    std::vector<std::string> fileEndings; // of the fallbacks, sorted: fontconfig ranks ties its own way
};

void PrintTo(const FallbackListCase& c, std::ostream* out)
{
    *out << c.name;
}

class FallbackFonts : public testing::TestWithParam<FallbackListCase> {};

TEST_P(FallbackFonts, DrawWhatTheChosenFontLacks)
{
    const FallbackListCase& c = GetParam();
    SystemFont chosen;
    chosen.file = DejaVuSansMonoPath();
    const FontsForText fonts = FindFontsFor({{"monospace"}}, c.characters, chosen);
    EXPECT_EQ(fonts.main.file, chosen.file);
    std::vector<std::string> endings;
    for (const SystemFont& fallback : fonts.fallbacks)
        endings.push_back(fallback.file.substr(fallback.file.find_last_of('/') + 1));
    std::sort(endings.begin(), endings.end());
    EXPECT_EQ(endings, c.fileEndings);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FallbackFonts,
    testing::Values(FallbackListCase{"NoneWhereTheFontHasAll", {U'a', U'Ж'}, {}},
                    FallbackListCase{"ChineseFromAChineseFont", {U'a', U'中'}, {"wqy-microhei.ttc"}},
                    FallbackListCase{"OneFontForEachScript", {U'a', U'ש', U'中'}, {"DejaVuSans.ttf", "wqy-microhei.ttc"}},
                    FallbackListCase{"NoneForWhatNoFontHas", {U'a', U'\u0D0E'}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FallbackFonts, AreEmbeddedAndGiveTheirCharactersBack)
{
    ScratchFolder folder;
    const Converted converted = ConvertText(folder, Utf8Options(), "Name \xE5\xBC\xA0\xE4\xB8\x89 end\n");
    ASSERT_TRUE(converted.result.written) << converted.result.reason;
    EXPECT_EQ(converted.result.notes, std::vector<std::string>{});
    std::string text = ExtractPdfText(converted.pdfPath);
    text.erase(text.find_last_not_of("\n\f") + 1);
    EXPECT_EQ(text, "Name \xE5\xBC\xA0\xE4\xB8\x89 end");
    EXPECT_EQ(PdfReaderWarnings(converted.pdfPath), "");
}

struct PlanFallbackCase {
    const char* name;
    std::string text;
    std::vector<std::string> fileEndings; // of the plan's fallback fonts, sorted
};

void PrintTo(const PlanFallbackCase& c, std::ostream* out)
{
    *out << c.name;
}

class PlanFallbacks : public testing::TestWithParam<PlanFallbackCase> {};

TEST_P(PlanFallbacks, CoverTheTextsCharactersBeyondTheBmpToo)
{
    const TextPlan plan = MakeTextPlan({}, GetParam().text);
    std::vector<std::string> endings;
    for (const SystemFont& fallback : plan.fallbackFonts)
        endings.push_back(fallback.file.substr(fallback.file.find_last_of('/') + 1));
    std::sort(endings.begin(), endings.end());
    EXPECT_EQ(endings, GetParam().fileEndings);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlanFallbacks,
    testing::Values(PlanFallbackCase{"CyrillicNeedsNone", "\xD0\x96\n", {}},
                    PlanFallbackCase{"AnEmojiTakesAFontThatHasIt", "a \xF0\x9F\x98\x80 \xF0\x9F\x98\x80\n", {"DejaVuSans.ttf"}},
                    PlanFallbackCase{"ChineseAndAnEmoji", "\xE4\xB8\xAD \xF0\x9F\x98\x80\n",
                                     {"DejaVuSans.ttf", "wqy-microhei.ttc"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct PlanDrawingCase {
    const char* name;
    ConversionOptions options;
    std::string bytes;
    TextDrawing drawing;
    std::string text; // as the plan hands it on
};

void PrintTo(const PlanDrawingCase& c, std::ostream* out)
{
    *out << c.name;
}

class PlanDrawing : public testing::TestWithParam<PlanDrawingCase> {};

TEST_P(PlanDrawing, IsDecidedOnceForTheFile)
{
    const PlanDrawingCase& c = GetParam();
    const TextPlan plan = MakeTextPlan(c.options, c.bytes);
    EXPECT_EQ(plan.drawing, c.drawing);
    EXPECT_EQ(plan.text, c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlanDrawing,
    testing::Values(PlanDrawingCase{"AutoWithWesternText", {}, "caf\xC3\xA9\r\n", TextDrawing::WinAnsi, "caf\xE9\n"},
                    PlanDrawingCase{"AutoWithCyrillic", {}, "\xD0\x96", TextDrawing::Utf8, "\xD0\x96"},
                    PlanDrawingCase{"ChosenUtf8DropsTheMark", Utf8Options(), "\xEF\xBB\xBF" "a", TextDrawing::Utf8, "a"},
                    PlanDrawingCase{"ChosenWinAnsiKeepsTheBytes", With([](ConversionOptions& o) { o.SingeEncode = 2; }),
                                    "caf\xC3\xA9", TextDrawing::SingleByte, "caf\xC3\xA9"},
                    PlanDrawingCase{"CidKeepsTheBytes", CidOptions(0, 0), "\xD6\xD0\xCE\xC4", TextDrawing::Cid,
                                    "\xD6\xD0\xCE\xC4"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
