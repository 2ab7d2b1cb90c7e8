// UTF-8 text through the whole conversion: what a reader extracts from the PDF, the font it is
// written with, bad input, and the hint for UTF-8 files read with a single-byte encoding.
#include "ConversionTestSupport.h"

#include "support/PdfInspector.h"

#include <gtest/gtest.h>

namespace {

#define FFFD "\xEF\xBF\xBD"

struct ExtractCase {
    const char* name;
    std::string text;      // the bytes of the file
    std::string extracted; // what the reader gives back from the PDF
    ConversionOptions options = Utf8Options();
    std::string ownerPassword = "";
};

ConversionOptions Aes256Utf8Options()
{
    ConversionOptions options = Utf8Options();
    options.EncryptLevel = 256;
    return options;
}

void PrintTo(const ExtractCase& c, std::ostream* out)
{
    *out << c.name;
}

class Utf8Extraction : public testing::TestWithParam<ExtractCase> {};

TEST_P(Utf8Extraction, TheReaderGetsTheCharactersBack)
{
    const ExtractCase& c = GetParam();
    ScratchFolder folder;
    const Converted converted = ConvertText(folder, c.options, c.text, c.ownerPassword);
    ASSERT_TRUE(converted.result.written) << converted.result.reason;
    EXPECT_EQ(converted.observer.warnings, std::vector<std::string>{});
    // A reader that has to guess the characters says so.
    EXPECT_EQ(PdfReaderWarnings(converted.pdfPath), "");
    // pdftotext ends the page's one block of lines with a blank line and the page with a form feed.
    EXPECT_EQ(ExtractPdfText(converted.pdfPath), c.extracted + "\n\n\f");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Utf8Extraction,
    testing::Values(
        ExtractCase{"LatinGreekCyrillic", "Gr\xC3\xBC\xC3\x9F" "e \xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1 \xD0\x96\xD0\xB8\xD0\xB7\xD0\xBD\xD1\x8C \xE2\x82\xAC",
                    "Grüße Ωμέγα Жизнь €"},
        ExtractCase{"ByteOrderMarkIsSkipped", "\xEF\xBB\xBFhello", "hello"},
        ExtractCase{"OverlongFormAsReplacement", "a\xC0\xAF" "b", "a" FFFD FFFD "b"},
        ExtractCase{"SurrogateAsReplacement", "x\xED\xA0\x80y", "x" FFFD FFFD FFFD "y"},
        ExtractCase{"CutAtTheEnd", "end\xE2\x82", "end" FFFD FFFD},
        ExtractCase{"CutAtALineEnd", "one\xE2\x82\ntwo", "one" FFFD FFFD "\ntwo"},
        ExtractCase{"BeyondTheBmpThroughFontsThatHaveIt", "Emoji: \xF0\x9F\x98\x80 math \xF0\x9D\x94\xB8 end",
                    "Emoji: \xF0\x9F\x98\x80 math \xF0\x9D\x94\xB8 end"},
        ExtractCase{"BeyondTheBmpThatNoFontHasAsReplacement", "Party \xF0\x9F\x8E\x89 end", "Party " FFFD " end"},
        ExtractCase{"HalfUtf8HalfLatin1", "Gr\xC3\xBC\xC3\x9F" "e | Gr\xFC\xDF" "e", "Grüße | Gr" FFFD FFFD "e"},
        ExtractCase{"ChineseFromACollection", "\xE4\xB8\xAD\xE6\x96\x87 ABC", "中文 ABC",
                    Utf8Options(MicroHeiCollectionPath(), 1)},
        ExtractCase{"EncryptedWithAes256", "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC", "Grüße €", Aes256Utf8Options(), "owner"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Utf8Conversion, TheFontIsEmbeddedWithIdentityCodesAndAMapBackToUnicodeEvenWhenEmbeddingIsOff)
{
    ScratchFolder folder;
    ConversionOptions options = Utf8Options();
    options.EmbeddingFont = kNo;
    const Converted converted = ConvertText(folder, options, "caf\xC3\xA9");
    ASSERT_TRUE(converted.result.written) << converted.result.reason;
    const PdfFacts pdf = InspectPdf(converted.pdfPath);
    ASSERT_EQ(pdf.fonts.size(), 1u);
    EXPECT_EQ(pdf.fonts[0].subtype, "/Type0");
    EXPECT_EQ(pdf.fonts[0].encoding, "/Identity-H");
    EXPECT_TRUE(pdf.fonts[0].embedded);
    EXPECT_TRUE(pdf.fonts[0].toUnicode);
}

// Glyph pairs that a reader must draw alike in either order. ο is built from o, and ό from ο
// and an accent: used first, ό used to bring ο into the PDF without the o it is made of.
struct GlyphOrderCase {
    const char* name;
    std::string text;
    std::string reversed;
};

void PrintTo(const GlyphOrderCase& c, std::ostream* out)
{
    *out << c.name;
}

class EmbeddedGlyphs : public testing::TestWithParam<GlyphOrderCase> {};

TEST_P(EmbeddedGlyphs, AccentedLettersBringEveryPartOfTheirGlyphs)
{
    ConversionOptions options = Utf8Options();
    options.FontSize = 40;
    ScratchFolder folder;
    const Converted text = ConvertText(folder, options, GetParam().text);
    ASSERT_TRUE(text.result.written) << text.result.reason;
    const std::size_t ink = DarkPixelsOfFirstPage(text.pdfPath);
    ScratchFolder other;
    const Converted reversed = ConvertText(other, options, GetParam().reversed);
    ASSERT_TRUE(reversed.result.written) << reversed.result.reason;
    const std::size_t reversedInk = DarkPixelsOfFirstPage(reversed.pdfPath);
    EXPECT_GT(reversedInk, 500u);
    EXPECT_NEAR(double(ink), double(reversedInk), 0.1 * double(reversedInk));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EmbeddedGlyphs,
    testing::Values(GlyphOrderCase{"OmicronWithTonosFirst", "\xCF\x8C\xCE\xBF", "\xCE\xBF\xCF\x8C"},
                    GlyphOrderCase{"EpsilonWithTonosFirst", "\xCE\xAD\xCE\xB5", "\xCE\xB5\xCE\xAD"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Utf8Conversion, AMegabyteOfChineseWithoutSpacesIsCutBetweenCharactersAndLosesNone)
{
    std::string text;
    const std::string characters[] = {"\xE4\xB8\xAD", "\xE6\x96\x87", "\xE6\xB5\x8B", "\xE8\xAF\x95"};
    for (int i = 0; text.size() < 1'000'000; ++i)
        text += characters[i % 4];
    ScratchFolder folder;
    const Converted converted = ConvertText(folder, Utf8Options(MicroHeiCollectionPath(), 1), text);
    ASSERT_TRUE(converted.result.written) << converted.result.reason;
    // Identity-H writes every character as two bytes of its glyph number.
    std::size_t glyphs = 0;
    std::size_t fullLine = 0;
    const std::vector<std::string> lines = InspectPdf(converted.pdfPath).AllLineTexts();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        ASSERT_EQ(lines[i].size() % 2, 0u) << "line " << i;
        glyphs += lines[i].size() / 2;
        if (i == 0) {
            fullLine = lines[i].size();
        } else if (i + 1 < lines.size()) {
            ASSERT_EQ(lines[i].size(), fullLine) << "line " << i;
        }
    }
    EXPECT_EQ(glyphs, text.size() / 3);
    // 475 points hold 52 characters one em (9 points) wide.
    EXPECT_EQ(fullLine / 2, 52u);
}

struct HintCase {
    const char* name;
    ConversionOptions options;
    std::string text;
    bool hinted;
};

void PrintTo(const HintCase& c, std::ostream* out)
{
    *out << c.name;
}

class Utf8Hint : public testing::TestWithParam<HintCase> {};

TEST_P(Utf8Hint, AUtf8FileReadWithASingleByteEncodingIsNotedOnce)
{
    const HintCase& c = GetParam();
    ScratchFolder folder;
    const Converted converted = ConvertText(folder, c.options, c.text);
    ASSERT_TRUE(converted.result.written) << converted.result.reason;
    std::size_t hints = 0;
    for (const std::string& note : converted.result.notes)
        hints += note.find("looks like UTF-8") != std::string::npos;
    EXPECT_EQ(hints, c.hinted ? 1u : 0u) << testing::PrintToString(converted.result.notes);
    if (c.hinted) {
        for (const char* part : {"WinAnsiEncoding reads wrongly.", "choose Single-byte Encoding \"Auto\"",
                                 "Settings.ini: SingeEncode=29;", "--set SingeEncode=29"})
            EXPECT_NE(converted.result.notes[0].find(part), std::string::npos) << converted.result.notes[0];
    }
}

ConversionOptions WinAnsi()
{
    ConversionOptions options;
    options.SingeEncode = 2;
    return options;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Utf8Hint,
    testing::Values(HintCase{"Utf8ReadAsWinAnsi", WinAnsi(), "caf\xC3\xA9\nna\xC3\xAFve\n", true},
                    HintCase{"AsciiReadsTheSameEverywhere", WinAnsi(), "plain text\n", false},
                    HintCase{"Latin1", WinAnsi(), "caf\xE9\n", false},
                    HintCase{"HalfUtf8HalfLatin1", WinAnsi(), "caf\xC3\xA9 caf\xE9\n", false},
                    HintCase{"Utf8Chosen", Utf8Options(), "caf\xC3\xA9\n", false},
                    HintCase{"CidFontsHaveEncodingsOfTheirOwn", CidOptions(0, 0), "\xE4\xB8\xAD\n", false}),
    [](const auto& info) { return std::string(info.param.name); });

struct NoteCase {
    const char* name;
    ConversionOptions options;
    std::string text;
    const char* notePart; // in the one note the file gets; null: no note
};

void PrintTo(const NoteCase& c, std::ostream* out)
{
    *out << c.name;
}

class ReadNotes : public testing::TestWithParam<NoteCase> {};

TEST_P(ReadNotes, WhatTheReaderDoesNotGetAsWrittenIsNotedOnce)
{
    const NoteCase& c = GetParam();
    ScratchFolder folder;
    const Converted converted = ConvertText(folder, c.options, c.text);
    ASSERT_TRUE(converted.result.written) << converted.result.reason;
    if (!c.notePart) {
        EXPECT_EQ(converted.result.notes, std::vector<std::string>{});
        return;
    }
    ASSERT_EQ(converted.result.notes.size(), 1u) << testing::PrintToString(converted.result.notes);
    EXPECT_NE(converted.result.notes[0].find(c.notePart), std::string::npos) << converted.result.notes[0];
}

ConversionOptions Utf8Titled(const std::string& title)
{
    ConversionOptions options = Utf8Options();
    options.Title = title;
    return options;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadNotes,
    testing::Values(
        NoteCase{"WellFormedUtf8", Utf8Options(), "caf\xC3\xA9\n", nullptr},
        NoteCase{"Latin1ReadAsUtf8", Utf8Options(), "caf\xE9 na\xEFve\n", "2 bytes were not valid UTF-8 and shown as U+FFFD"},
        NoteCase{"BeyondTheBmpThatAFontHas", Utf8Options(), "\xF0\x9F\x98\x80 \xF0\x9D\x94\xB8\n", nullptr},
        NoteCase{"BeyondTheBmp", Utf8Options(), "\xF0\x9F\x8E\x89 \xF0\x9F\x8E\x8A\n",
                 "2 characters beyond U+FFFF (such as emoji) in the text shown as U+FFFD"},
        NoteCase{"BeyondTheBmpInTextAndTitle", Utf8Titled("Party \xF0\x9F\x8E\x89"), "\xF0\x9F\x8E\x8A\n",
                 "1 character beyond U+FFFF (such as emoji) in the text shown as U+FFFD"},
        NoteCase{"BeyondTheBmpInTheTitleIsWrittenWithoutANote",
                 [] { ConversionOptions o; o.Title = "\xF0\x9F\x8E\x89"; return o; }(), "x\n", nullptr},
        NoteCase{"Utf16LittleEndian", StandardEncodingOptions(), std::string("\xFF\xFEH\0i\0", 6),
                 "looks like UTF-16 (it starts with a UTF-16 byte-order mark), which the chosen encoding does not read; "
                 "choose the encoding Auto (SingeEncode=29). The text ends at the zero byte at offset 3; the remaining 3 bytes were not converted."},
        NoteCase{"Utf16BigEndian", StandardEncodingOptions(), std::string("\xFE\xFF\0H\0i", 6), "looks like UTF-16"},
        NoteCase{"ZeroByteInBinary", StandardEncodingOptions(), std::string("kept\r\n\0\x01\x02\x03", 10),
                 "The text ends at the zero byte at offset 6; the remaining 4 bytes were not converted."},
        NoteCase{"CtrlZEndsTheTextWithANote", StandardEncodingOptions(), std::string("kept\x1A\0more", 10),
                 "The text ends at the Ctrl+Z (an old end-of-file mark) at offset 4; the remaining 6 bytes were not "
                 "converted."},
        NoteCase{"AutoCountsAZeroByteAsAControlCharacter", {}, std::string("kept\r\n\0\x01\x02\x03", 10),
                 "4 control characters were left out of the drawing"},
        NoteCase{"AutoCountsACtrlZAsAControlCharacter", {}, "kept\x1Amore", "1 control character was left out"}),
    [](const auto& info) { return std::string(info.param.name); });

struct MissingGlyphCase {
    const char* name;
    ConversionOptions options;
    std::string text;
    std::string missing; // how the note counts the characters; empty when there is no note
};

void PrintTo(const MissingGlyphCase& c, std::ostream* out)
{
    *out << c.name;
}

class MissingGlyphs : public testing::TestWithParam<MissingGlyphCase> {};

TEST_P(MissingGlyphs, AreNotedWithTheFontAndHowManyCharactersLackOne)
{
    const MissingGlyphCase& c = GetParam();
    ScratchFolder folder;
    const Converted converted = ConvertText(folder, c.options, c.text);
    ASSERT_TRUE(converted.result.written) << converted.result.reason;
    std::vector<std::string> expected;
    if (!c.missing.empty())
        expected.push_back("The font \"" + c.options.TrueTypeFile + "\" has no glyph for " + c.missing +
                           " of the text, which show as empty boxes; no installed font has them either; install one "
                           "that does (such as one of the fonts-noto packages) and convert again.");
    EXPECT_EQ(converted.result.notes, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MissingGlyphs,
    testing::Values(
        // No font the tests install has Malayalam; an installed Chinese font draws Chinese.
        MissingGlyphCase{"MalayalamInAnyInstalledFont", Utf8Options(), "\xE0\xB4\x8E\xE0\xB4\xA3 ABC\n", "2 different characters"},
        MissingGlyphCase{"EachCharacterCountedOnce", Utf8Options(), "a\xE0\xB4\x8E a\xE0\xB4\x8E\n\xE0\xB4\x8E\n", "1 character"},
        MissingGlyphCase{"ChineseInALatinFontFallsBack", Utf8Options(), "\xE4\xB8\xAD\xE6\x96\x87 ABC\n", ""},
        MissingGlyphCase{"ChineseInAChineseFont", Utf8Options(MicroHeiCollectionPath(), 1), "\xE4\xB8\xAD\xE6\x96\x87 ABC\n", ""},
        MissingGlyphCase{"ControlCharactersAreNotCounted", [] { auto o = Utf8Options(); o.TabSize = 0, o.FormFeed = 0; return o; }(),
                         "a\tb\f" "c\n", ""}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
