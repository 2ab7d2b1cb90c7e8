// The page operators written past the library: the same bytes in the content and the same
// position afterwards as the library's own calls give.
#include "conversion/LibharuPrivate.h"
#include "support/PdfInspector.h"

#include <gtest/gtest.h>
#include <hpdf.h>
#include <qpdf/QPDF.hh>

#include <cstdio>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

namespace {

using Document = std::unique_ptr<std::remove_pointer_t<HPDF_Doc>, decltype(&HPDF_Free)>;

struct Drawn {
    std::string content;
    HPDF_TransMatrix textMatrix{};
    HPDF_Point textPosition{};
    HPDF_STATUS error = HPDF_OK;
};

// Draws on a new page whose text position starts at (10, 700), then reads what was written.
Drawn DrawOnPage(bool inText, const std::function<void(HPDF_Page)>& draw)
{
    const Document pdf(HPDF_New(nullptr, nullptr), HPDF_Free);
    HPDF_Page page = HPDF_AddPage(pdf.get());
    HPDF_Page_SetFontAndSize(page, HPDF_GetFont(pdf.get(), "Courier", nullptr), 10);
    HPDF_Page_BeginText(page);
    HPDF_Page_MoveTextPos(page, 10, 700);
    if (!inText)
        HPDF_Page_EndText(page);
    draw(page);
    Drawn drawn;
    drawn.error = HPDF_GetError(pdf.get());
    drawn.textMatrix = HPDF_Page_GetTextMatrix(page);
    drawn.textPosition = HPDF_Page_GetCurrentTextPos(page);
    HPDF_ResetError(pdf.get());
    if (inText)
        HPDF_Page_EndText(page);
    std::vector<unsigned char> bytes;
    EXPECT_TRUE(LibharuPage(page).TakeContent(bytes));
    drawn.content.assign(bytes.begin(), bytes.end());
    return drawn;
}

// A drawing done both ways: through the library's calls and through LibharuPage.
struct Twin {
    std::string name;
    bool inText;
    std::function<void(HPDF_Page)> library;
    std::function<void(HPDF_Page)> ours;
};

// Two moves, so that the second starts where the first left the text position.
Twin Moves(std::string name, bool inText, float x, float y)
{
    return {std::move(name), inText,
            [=](HPDF_Page page) {
                HPDF_Page_MoveTextPos(page, x, y);
                HPDF_Page_MoveTextPos(page, x, y);
            },
            [=](HPDF_Page page) {
                LibharuPage(page).MoveTextPosition(x, y);
                LibharuPage(page).MoveTextPosition(x, y);
            }};
}

Twin Line(std::string name, bool inText, HPDF_Point from, HPDF_Point to)
{
    return {std::move(name), inText,
            [=](HPDF_Page page) {
                HPDF_Page_MoveTo(page, from.x, from.y);
                HPDF_Page_LineTo(page, to.x, to.y);
                HPDF_Page_Stroke(page);
            },
            [=](HPDF_Page page) { LibharuPage(page).StrokeLine(from, to); }};
}

class LibharuPageOperators : public testing::TestWithParam<Twin> {};

TEST_P(LibharuPageOperators, WriteTheSameBytesAndLeaveTheSamePositionAsTheLibrarysCalls)
{
    const Twin& twin = GetParam();
    const Drawn library = DrawOnPage(twin.inText, twin.library);
    const Drawn ours = DrawOnPage(twin.inText, twin.ours);
    EXPECT_FALSE(library.content.empty());
    EXPECT_EQ(ours.content, library.content);
    EXPECT_EQ(ours.error, library.error);
    EXPECT_TRUE(ours.textMatrix.x == library.textMatrix.x && ours.textMatrix.y == library.textMatrix.y);
    EXPECT_TRUE(ours.textPosition.x == library.textPosition.x && ours.textPosition.y == library.textPosition.y);
}

INSTANTIATE_TEST_SUITE_P(
    LibharuPage, LibharuPageOperators,
    testing::Values(Moves("DownALine", true, 0, -15), Moves("LeftAFraction", true, -3.25f, 0),
                    Moves("Diagonal", true, 27.333f, -14.5f), Moves("BelowTheLibrarysPrecision", true, 0.000004f, 1e-6f),
                    Moves("MoreDigitsThanTheLibraryWrites", true, -0.99999f, 123.456789f),
                    Moves("BeyondTheLibrarysRange", true, 40000, -40000),
                    Moves("OutsideAnyTextRefused", false, 5, 5), Line("Rule", false, {72, 750.15f}, {523, 750.15f}),
                    Line("NegativeAndLarge", false, {0, 0}, {-1.5f, 20000.125f}),
                    Line("WithinTextRefused", true, {1, 2}, {3, 2})),
    [](const testing::TestParamInfo<Twin>& info) { return info.param.name; });

// Saves a one-page document drawn by `draw` inside a text object that starts at (10, 700), the
// font `fontName` of `encoding` at size 10 with a text leading of 12, and returns its path.
std::string SavePage(const std::string& name, const char* fontName, const char* encoding,
                     const std::function<void(HPDF_Page)>& draw)
{
    const Document pdf(HPDF_New(nullptr, nullptr), HPDF_Free);
    HPDF_Page page = HPDF_AddPage(pdf.get());
    const char* font = fontName ? fontName
                                : HPDF_LoadTTFontFromFile(pdf.get(), "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf",
                                                          HPDF_TRUE);
    HPDF_Page_SetFontAndSize(page, HPDF_GetFont(pdf.get(), font, encoding), 10);
    HPDF_Page_SetTextLeading(page, 12);
    HPDF_Page_BeginText(page);
    HPDF_Page_MoveTextPos(page, 10, 700);
    draw(page);
    HPDF_Page_EndText(page);
    const std::string path = testing::TempDir() + "libharu-page-" + name + ".pdf";
    EXPECT_EQ(HPDF_SaveToFile(pdf.get(), path.c_str()), HPDF_OK);
    return path;
}

class LibharuPageStrings : public testing::TestWithParam<int> {};

TEST_P(LibharuPageStrings, ReadBackAsDrawnWhereverTheByteStands)
{
    const char byte = static_cast<char>(GetParam());
    // An unbalanced parenthesis and a backslash last, beside the byte at either end.
    const std::string text = std::string{byte} + "a(" + byte + byte + "\\";
    const std::string path = SavePage(std::to_string(GetParam()), "Courier", nullptr, [&](HPDF_Page page) {
        LibharuPage(page).ShowTextNextLine(text);
        LibharuPage(page).ShowText(text);
    });
    const PdfFacts facts = InspectPdf(path);
    std::remove(path.c_str());
    ASSERT_EQ(facts.pages.size(), 1u);
    ASSERT_EQ(facts.pages[0].lines.size(), 2u);
    for (const PdfTextLine& line : facts.pages[0].lines) {
        EXPECT_EQ(line.text, text);
        EXPECT_DOUBLE_EQ(line.x, 10);
        EXPECT_DOUBLE_EQ(line.y, 688); // one leading below where the text began
    }
}

INSTANTIATE_TEST_SUITE_P(LibharuPage, LibharuPageStrings, testing::Range(0, 256));

TEST(LibharuPageStrings, NextLineMovesTheTextPositionAsTheLibraryDoes)
{
    const auto drawBoth = [](const std::function<void(HPDF_Page, const std::string&)>& show) {
        return DrawOnPage(true, [&](HPDF_Page page) {
            HPDF_Page_SetTextLeading(page, 13.5f);
            show(page, "first");
            show(page, "");
        });
    };
    const Drawn library = drawBoth([](HPDF_Page page, const std::string& text) { HPDF_Page_ShowTextNextLine(page, text.c_str()); });
    const Drawn ours = drawBoth([](HPDF_Page page, const std::string& text) { LibharuPage(page).ShowTextNextLine(text); });
    EXPECT_EQ(ours.content, library.content);
    EXPECT_TRUE(ours.textMatrix.x == library.textMatrix.x && ours.textMatrix.y == library.textMatrix.y);
    EXPECT_EQ(ours.textPosition.y, library.textPosition.y);
    EXPECT_EQ(ours.error, HPDF_OK);
}

// A simple TrueType font lists the width of each code it was asked to measure; a code drawn
// without the library measuring it would show with no width at all.
TEST(LibharuPageStrings, SimpleTrueTypeFontGetsTheWidthsOfCodesNeverMeasured)
{
    const std::string path = SavePage("truetype", nullptr, "WinAnsiEncoding",
                                      [](HPDF_Page page) { LibharuPage(page).ShowText("\xE9"); });
    QPDF pdf;
    pdf.processFile(path.c_str());
    std::remove(path.c_str());
    QPDFObjectHandle page = pdf.getAllPages().at(0);
    QPDFObjectHandle fonts = page.getKey("/Resources").getKey("/Font");
    QPDFObjectHandle font = fonts.getKey(*fonts.getKeys().begin());
    ASSERT_EQ(font.getKey("/Subtype").getName(), "/TrueType");
    const int first = font.getKey("/FirstChar").getIntValueAsInt();
    ASSERT_LE(first, 0xE9);
    EXPECT_GT(font.getKey("/Widths").getArrayItem(0xE9 - first).getNumericValue(), 0);
}

constexpr char kSans[] = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr char kSansMono[] = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";

// An embedded TrueType font with the UTF-8 encoding, got as the converter gets it.
HPDF_Font Utf8Font(HPDF_Doc pdf, const char* file)
{
    return GetFontWithoutCodeMaps(pdf, HPDF_LoadTTFontFromFile(pdf, file, HPDF_TRUE), "UTF-8");
}

// Draws with `draw` in a text object that starts at (10, 700), the font of `file` with the
// UTF-8 encoding at size 10 and a text leading of 12; the document is saved once the fonts
// have their widths; returns its path.
std::string SaveUtf8Page(const std::string& name, const std::vector<const char*>& files,
                                   const std::function<void(HPDF_Page, const std::vector<HPDF_Font>&)>& draw)
{
    const Document pdf(HPDF_New(nullptr, nullptr), HPDF_Free);
    HPDF_Page page = HPDF_AddPage(pdf.get());
    HPDF_UseUTFEncodings(pdf.get());
    std::vector<HPDF_Font> fonts;
    for (const char* file : files)
        fonts.push_back(Utf8Font(pdf.get(), file));
    HPDF_Page_SetFontAndSize(page, fonts.front(), 10);
    HPDF_Page_SetTextLeading(page, 12);
    HPDF_Page_BeginText(page);
    HPDF_Page_MoveTextPos(page, 10, 700);
    draw(page, fonts);
    HPDF_Page_EndText(page);
    for (HPDF_Font font : fonts)
        LibharuFont(font).MapUsedCodes();
    const std::string path = testing::TempDir() + "libharu-utf8-" + name + ".pdf";
    EXPECT_EQ(HPDF_SaveToFile(pdf.get(), path.c_str()), HPDF_OK);
    return path;
}

std::string Utf16BigEndian(std::u16string_view text)
{
    std::string bytes;
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit >> 8);
        bytes += static_cast<char>(unit & 0xFF);
    }
    return bytes;
}

struct Utf8Line {
    std::string name;
    std::string utf8;
    std::u16string codes; // the character codes a reader finds, as UTF-16
};

class LibharuPageUtf8 : public testing::TestWithParam<Utf8Line> {};

TEST_P(LibharuPageUtf8, ReadBackAsTheCharactersCodes)
{
    const Utf8Line& line = GetParam();
    const std::string path = SaveUtf8Page(line.name, {kSans}, [&](HPDF_Page page, const std::vector<HPDF_Font>&) {
        LibharuPage(page).ShowTextNextLine(line.utf8);
        LibharuPage(page).ShowText(line.utf8);
    });
    const PdfFacts facts = InspectPdf(path);
    std::remove(path.c_str());
    ASSERT_EQ(facts.pages.size(), 1u);
    const std::vector<PdfTextLine>& lines = facts.pages[0].lines;
    // An empty text shown on the same line writes nothing.
    ASSERT_EQ(lines.size(), line.utf8.empty() ? 1u : 2u);
    for (const PdfTextLine& drawn : lines) {
        EXPECT_EQ(drawn.text, Utf16BigEndian(line.codes));
        EXPECT_DOUBLE_EQ(drawn.x, 10);
        EXPECT_DOUBLE_EQ(drawn.y, 688); // one leading below where the text began
    }
}

INSTANTIATE_TEST_SUITE_P(
    LibharuPage, LibharuPageUtf8,
    testing::Values(Utf8Line{"TwoByteCharacters", "\xCE\xB1\xCE\xB2 \xD0\x96", u"\u03B1\u03B2 \u0416"},
                    Utf8Line{"ThreeByteCharacters", "\xE2\x82\xAC\xE4\xB8\xAD", u"\u20AC\u4E2D"},
                    Utf8Line{"StandInForACharacterBeyondTheBmp", "x\xEE\x80\x81", u"x\uE001"},
                    // Code bytes a string must escape: ( ) \ and the line ends LF and CR.
                    Utf8Line{"CodeBytesAStringEscapes", "(\xE0\xA8\xA8\xE0\xB5\x9C\xE2\xA5\x9C)",
                             u"(\u0A28\u0D5C\u295C)"},
                    Utf8Line{"CodeBytesOfLineEnds", "\xC4\x8A\xD0\x8D\n\r", u"\u010A\u040D\n\r"},
                    // The library draws a character beyond U+FFFF as a space, as it always did.
                    Utf8Line{"BeyondTheBmpLeftToTheLibrary", "a\xF0\x9F\x98\x80" "b", u"a b"},
                    Utf8Line{"Empty", "", u""}),
    [](const testing::TestParamInfo<Utf8Line>& info) { return info.param.name; });

// The widths of a composite font's drawn codes, from its /W array.
std::set<unsigned> CodesWithWidths(QPDF& pdf, std::size_t fontIndex)
{
    QPDFObjectHandle page = pdf.getAllPages().at(0);
    QPDFObjectHandle fonts = page.getKey("/Resources").getKey("/Font");
    std::vector<QPDFObjectHandle> composite;
    for (const std::string& key : fonts.getKeys())
        composite.push_back(fonts.getKey(key));
    QPDFObjectHandle widths = composite.at(fontIndex).getKey("/DescendantFonts").getArrayItem(0).getKey("/W");
    std::set<unsigned> codes;
    for (int at = 0; at + 1 < widths.getArrayNItems(); at += 2) {
        const int first = widths.getArrayItem(at).getIntValueAsInt();
        QPDFObjectHandle run = widths.getArrayItem(at + 1);
        for (int index = 0; index < run.getArrayNItems(); ++index)
            if (run.getArrayItem(index).getNumericValue() > 0)
                codes.insert(unsigned(first + index));
    }
    return codes;
}

// A composite font embeds and gives widths only to what the library measured: each font keeps
// its own record of that, so a character measured for one is measured again for the other.
TEST(LibharuPageUtf8, EveryDrawnCodeOfEveryFontGetsItsWidth)
{
    const std::string path = SaveUtf8Page("widths", {kSans, kSansMono}, [](HPDF_Page page, const std::vector<HPDF_Font>& fonts) {
        LibharuPage(page).ShowTextNextLine("\xD0\x96\xCF\x89");
        LibharuPage(page).ShowText("\xE2\x82\xAC" "A");
        HPDF_Page_SetFontAndSize(page, fonts[1], 10);
        LibharuPage(page).ShowTextNextLine("\xD0\x96" "A");
    });
    QPDF pdf;
    pdf.processFile(path.c_str());
    std::remove(path.c_str());
    EXPECT_EQ(CodesWithWidths(pdf, 0), (std::set<unsigned>{u'A', u'\u0416', u'\u03C9', u'\u20AC'}));
    EXPECT_EQ(CodesWithWidths(pdf, 1), (std::set<unsigned>{u'A', u'\u0416'}));
}


struct Type1Font {
    const char* name; // a Base14 name, or an .afm file of a font to load
    const char* encoding;
};

void PrintTo(const Type1Font& font, std::ostream* out)
{
    *out << font.name << " " << (font.encoding ? font.encoding : "(its own encoding)");
}

HPDF_Font LoadType1(HPDF_Doc pdf, const Type1Font& font, bool ours)
{
    std::string name = font.name;
    if (name.ends_with(".afm"))
        name = HPDF_LoadType1FontFromFile(pdf, font.name, (name.substr(0, name.size() - 3) + "t1").c_str());
    return ours ? GetFontWithoutCodeMaps(pdf, name.c_str(), font.encoding) : HPDF_GetFont(pdf, name.c_str(), font.encoding);
}

class LibharuType1Widths : public testing::TestWithParam<Type1Font> {};

TEST_P(LibharuType1Widths, EveryCodeMeasuresAsTheLibraryMeasuresIt)
{
    const Document libraries(HPDF_New(nullptr, nullptr), HPDF_Free);
    const Document ours(HPDF_New(nullptr, nullptr), HPDF_Free);
    HPDF_Font expected = LoadType1(libraries.get(), GetParam(), false);
    HPDF_Font actual = LoadType1(ours.get(), GetParam(), true);
    ASSERT_TRUE(expected && actual);
    for (int code = 1; code < 256; ++code) {
        const HPDF_BYTE byte[] = {HPDF_BYTE(code)};
        EXPECT_EQ(HPDF_Font_TextWidth(actual, byte, 1).width, HPDF_Font_TextWidth(expected, byte, 1).width)
            << "code " << code;
    }
}

INSTANTIATE_TEST_SUITE_P(
    FontsAndEncodings, LibharuType1Widths,
    testing::Values(Type1Font{"Times-Roman", "StandardEncoding"}, Type1Font{"Times-Roman", "WinAnsiEncoding"},
                    Type1Font{"Helvetica-Bold", "ISO8859-7"}, Type1Font{"Helvetica", nullptr},
                    Type1Font{"Symbol", nullptr}, Type1Font{"ZapfDingbats", nullptr},
                    Type1Font{"/usr/share/fonts/type1/urw-base35/NimbusSans-Regular.afm", "CP1251"}));

} // namespace
