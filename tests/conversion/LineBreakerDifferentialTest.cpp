// The fast line breaker against the step-by-step reference, on many generated texts: every
// line and every remainder must be the same.
#include "ConversionTestSupport.h"
#include "ReferenceLineBreaker.h"

#include "conversion/ConversionObserver.h"
#include "conversion/ConversionOptions.h"
#include "conversion/LineBreaker.h"
#include "conversion/PdfDocument.h"
#include "conversion/TextFile.h"
#include "platform/Utf8.h"

#include <gtest/gtest.h>

#include <random>

namespace {

struct FontCase {
    const char* name;
    ConversionOptions options;
};

void PrintTo(const FontCase& fontCase, std::ostream* out)
{
    *out << fontCase.name;
}

ConversionOptions Base14(int font, int encoding)
{
    ConversionOptions options;
    options.B14Font = font;
    options.SingeEncode = encoding;
    return options;
}

ConversionOptions TrueType()
{
    ConversionOptions options;
    options.PageFont = TrueTypeFont;
    options.TrueTypeFile = DejaVuSansPath();
    options.SingeEncode = 2;
    return options;
}

class Generator {
public:
    explicit Generator(unsigned seed) : m_random(seed) {}

    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }

    // Words, runs of spaces, tabs, the three kinds of line end and now and then a long word.
    std::string Prose(int length)
    {
        std::string text;
        while (int(text.size()) < length) {
            const int pick = Between(0, 99);
            if (pick < 60)
                text += Word(Between(1, 12));
            else if (pick < 80)
                text.append(Between(1, 3), ' ');
            else if (pick < 84)
                text += '\t';
            else if (pick < 88)
                text += "\n";
            else if (pick < 91)
                text += "\r\n";
            else if (pick < 94)
                text += "\r";
            else
                text += Word(Between(40, 260));
        }
        return text;
    }

    // GB2312 characters, with ASCII words, spaces and line ends among them, and long runs
    // without any space as Chinese text has.
    std::string Chinese(int length, int percentCharacters = 80)
    {
        std::string text;
        while (int(text.size()) < length) {
            const int pick = Between(0, 99);
            if (pick < percentCharacters) {
                text += char(Between(0xB0, 0xD7));
                text += char(Between(0xA1, 0xFE));
            } else if (pick < 88) {
                text += ' ';
            } else if (pick < 93) {
                text += Word(Between(1, 8));
            } else {
                text += "\n";
            }
        }
        return text;
    }

    // Any bytes but the two that end the text, malformed double-byte sequences included.
    std::string Bytes(int length)
    {
        std::string text;
        while (int(text.size()) < length) {
            const int byte = Between(1, 255);
            if (byte != 26)
                text += char(byte);
            if (Between(0, 9) == 0)
                text += ' ';
        }
        return text;
    }

    // Words of Latin with accents, Greek and Cyrillic letters, with the spaces and line ends of
    // Prose, and now and then a long run of Chinese characters without any space.
    std::string Utf8Prose(int length)
    {
        static const char* const letters[] = {"a", "e", "z", "\xC3\xA9", "\xC3\xBC", "\xC3\x9F", "\xCE\xA9",
                                              "\xCE\xBC", "\xD0\x96", "\xD1\x8C", "\xE2\x82\xAC"};
        std::string text;
        while (int(text.size()) < length) {
            const int pick = Between(0, 99);
            if (pick < 60)
                for (int i = Between(1, 10); i > 0; --i)
                    text += letters[Between(0, 10)];
            else if (pick < 82)
                text.append(Between(1, 2), ' ');
            else if (pick < 90)
                text += pick < 86 ? "\n" : "\r\n";
            else
                text += Utf8Chinese(Between(20, 200));
        }
        return text;
    }

    // Three-byte characters from U+4E00 on, and one four-byte one now and then.
    std::string Utf8Chinese(int characters)
    {
        std::string text;
        for (int i = 0; i < characters; ++i) {
            if (Between(0, 49) == 0) {
                text += "\xF0\x9F\x98\x80";
                continue;
            }
            const int codePoint = Between(0x4E00, 0x62FF);
            text += char(0xE0 | (codePoint >> 12));
            text += char(0x80 | ((codePoint >> 6) & 0x3F));
            text += char(0x80 | (codePoint & 0x3F));
        }
        return text;
    }

private:
    std::string Word(int length)
    {
        std::string word;
        for (int i = 0; i < length; ++i)
            word += char(Between('a', 'z'));
        return word;
    }

    std::mt19937 m_random;
};

class LineBreakerDifferential : public testing::TestWithParam<FontCase> {
protected:
    void SetUp() override
    {
        SilentObserver observer;
        m_font = m_document.Open(GetParam().options, ChosenDrawing(GetParam().options), observer);
        ASSERT_NE(m_font, nullptr) << m_document.FailureReason();
        m_page = HPDF_AddPage(m_document.Handle());
    }

    void ExpectSameLines(std::string text, float fontSize, double width)
    {
        HPDF_Page_SetFontAndSize(m_page, m_font, fontSize);
        NormaliseLineEnds(text);
        std::string reference = text;
        std::string_view fast = text;
        LineBreaker breaker(m_page, m_font, fontSize, width, m_document.Charset());
        for (int line = 0; !reference.empty(); ++line) {
            ASSERT_FALSE(fast.empty()) << "fast breaker ran out at line " << line;
            const std::string expected = ReferenceTakeLine(m_page, width, m_document.Charset(), reference);
            const std::string_view actual = breaker.TakeLine(fast);
            ASSERT_EQ(std::string(actual), expected) << "line " << line << ", size " << fontSize << ", width " << width;
            ASSERT_EQ(fast.size(), reference.size()) << "line " << line;
        }
        EXPECT_TRUE(fast.empty());
        ASSERT_EQ(HPDF_GetError(m_document.Handle()), HPDF_OK);
    }

    PdfDocument m_document;
    HPDF_Font m_font = nullptr;
    HPDF_Page m_page = nullptr;
};

TEST_P(LineBreakerDifferential, ProseAtSeveralWidthsAndSizes)
{
    Generator generator(1234);
    for (int round = 0; round < 40; ++round) {
        const float size = float(generator.Between(5, 30));
        const double width = generator.Between(20, 600);
        ExpectSameLines(generator.Prose(generator.Between(0, 2500)), size, width);
    }
}

TEST_P(LineBreakerDifferential, ArbitraryBytes)
{
    Generator generator(99);
    for (int round = 0; round < 25; ++round)
        ExpectSameLines(generator.Bytes(generator.Between(1, 1500)), 9, generator.Between(10, 500));
}

TEST_P(LineBreakerDifferential, WidthsThatLandExactlyOnCharacterEdges)
{
    // Courier 12 is 7.2 points a character: 468 points hold exactly 65 of them.
    const std::string text = std::string(65, 'x') + " " + std::string(64, 'y') + " z " + std::string(130, 'q');
    for (double width : {468.0, 467.0, 469.0, 7.0, 8.0})
        ExpectSameLines(text, 12, width);
}

INSTANTIATE_TEST_SUITE_P(SingleByteFonts, LineBreakerDifferential,
    testing::Values(FontCase{"Courier", Base14(0, 2)}, FontCase{"Helvetica", Base14(4, 0)},
                    FontCase{"TimesItalic", Base14(10, 20)}, FontCase{"DejaVu", TrueType()}),
    [](const auto& info) { return std::string(info.param.name); });

class CidLineBreakerDifferential : public LineBreakerDifferential {};

TEST_P(CidLineBreakerDifferential, ChineseWithAndWithoutSpaces)
{
    Generator generator(7);
    for (int round = 0; round < 30; ++round) {
        const float size = float(generator.Between(6, 24));
        ExpectSameLines(generator.Chinese(generator.Between(0, 2000)), size, generator.Between(30, 500));
    }
}

TEST_P(CidLineBreakerDifferential, LongParagraphsWithoutSpaces)
{
    Generator generator(11);
    for (int round = 0; round < 6; ++round)
        ExpectSameLines(generator.Chinese(3000, 99), float(generator.Between(8, 14)), generator.Between(100, 475));
}

TEST_P(CidLineBreakerDifferential, ArbitraryBytes)
{
    Generator generator(5);
    for (int round = 0; round < 25; ++round)
        ExpectSameLines(generator.Bytes(generator.Between(1, 1500)), 10, generator.Between(10, 500));
}

INSTANTIATE_TEST_SUITE_P(CidFonts, CidLineBreakerDifferential,
    testing::Values(FontCase{"SimSunGbEuc", CidOptions(0, 0)}, FontCase{"MinchoShiftJis", CidOptions(3, 6)},
                    FontCase{"BatangUhc", CidOptions(7, 13)}, FontCase{"MingLiUBig5", CidOptions(2, 4)},
                    FontCase{"GothicEucVertical", CidOptions(4, 10)}),
    [](const auto& info) { return std::string(info.param.name); });

class Utf8LineBreakerDifferential : public LineBreakerDifferential {
protected:
    // The conversion repairs UTF-8 before any of it is measured, so the breakers only ever see
    // well-formed text.
    void ExpectSameLinesRepaired(std::string text, float fontSize, double width)
    {
        RepairUtf8(text);
        ExpectSameLines(std::move(text), fontSize, width);
    }
};

TEST_P(Utf8LineBreakerDifferential, ProseInSeveralScripts)
{
    Generator generator(2024);
    for (int round = 0; round < 30; ++round) {
        const float size = float(generator.Between(6, 24));
        ExpectSameLinesRepaired(generator.Utf8Prose(generator.Between(0, 3000)), size, generator.Between(20, 500));
    }
}

TEST_P(Utf8LineBreakerDifferential, LongRunsOfMultiByteCharactersWithoutSpaces)
{
    Generator generator(31);
    for (int round = 0; round < 6; ++round)
        ExpectSameLinesRepaired(generator.Utf8Chinese(1500), float(generator.Between(8, 14)), generator.Between(30, 475));
}

TEST_P(Utf8LineBreakerDifferential, MalformedBytes)
{
    Generator generator(77);
    for (int round = 0; round < 25; ++round)
        ExpectSameLinesRepaired(generator.Bytes(generator.Between(1, 1500)), 10, generator.Between(10, 500));
}

INSTANTIATE_TEST_SUITE_P(Utf8Fonts, Utf8LineBreakerDifferential,
    testing::Values(FontCase{"DejaVuSans", Utf8Options(DejaVuSansPath())},
                    FontCase{"MicroHeiMono", Utf8Options(MicroHeiCollectionPath(), 1)}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
