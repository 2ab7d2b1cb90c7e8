// The preview reads the file as the converter does and decodes it with the options' encoding.
#include "conversion/TextPreview.h"

#include "ConversionTestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

ConversionOptions SingleByte(int encoding)
{
    ConversionOptions options;
    options.SingeEncode = encoding;
    return options;
}

struct DecodeCase {
    const char* name;
    ConversionOptions options;
    std::string bytes;
    std::string shown;
};

class PreviewDecoding : public testing::TestWithParam<DecodeCase> {};

} // namespace

TEST_P(PreviewDecoding, ShowsTheTextInTheEncodingTheOptionsChoose)
{
    const DecodeCase& c = GetParam();
    ScratchFolder folder;
    const TextPreview preview = ReadTextPreview(folder.Write("a.txt", c.bytes), c.options, 1 << 20);
    EXPECT_EQ(preview.error, "");
    EXPECT_FALSE(preview.cut);
    EXPECT_EQ(preview.utf8, c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PreviewDecoding,
    testing::Values(
        DecodeCase{"Latin1WinAnsi", SingleByte(2), "caf\xE9 \x80", "café €"},
        DecodeCase{"CyrillicCp1251", SingleByte(19), "\xCF\xF0\xE8\xE2\xE5\xF2", "Привет"},
        DecodeCase{"GreekIso8859_7", SingleByte(9), "\xE1\xE2\xE3", "αβγ"},
        DecodeCase{"CyrillicKoi8R", SingleByte(27), "\xF0\xD2\xC9", "При"},
        DecodeCase{"ChineseGb2312", CidOptions(0, 0), "\xD6\xD0\xCE\xC4", "中文"},
        DecodeCase{"JapaneseShiftJis", CidOptions(3, 6), "\x93\xFA\x96\x7B", "日本"},
        DecodeCase{"KoreanEucKr", CidOptions(7, 11), "\xC7\xD1\xB1\xDB", "한글"},
        // A font that cannot write the chosen encoding writes the first of its own, and so reads
        // the preview.
        DecodeCase{"SimSunWithShiftJisReadsGb2312", CidOptions(0, 6), "\xC4\xE3\xBA\xC3", "你好"},
        DecodeCase{"BatangWithGb2312ReadsEucKr", CidOptions(7, 0), "\xC7\xD1\xB1\xDB", "한글"},
        DecodeCase{"TrueTypeUsesTheSingleByteEncoding", [] { auto o = SingleByte(19); o.PageFont = TrueTypeFont; o.MultiEncode = 0; return o; }(),
                   "\xCF", "П"},
        DecodeCase{"LineEndsAsTheConverterSeesThem", SingleByte(2), "a\r\nb\rc\nd", "a\nb\nc\nd"},
        DecodeCase{"TextEndsAtCtrlZ", SingleByte(2), "shown\x1Ahidden", "shown"},
        DecodeCase{"ControlCharactersLeftOutAsThePdfLeavesThem", SingleByte(2), "a\x01\x1F\x7F\tb\fc", "a\tb\fc"},
        DecodeCase{"TextEndsAtAZeroByte", SingleByte(2), std::string("shown\0hidden", 12), "shown"},
        DecodeCase{"UnknownBytesShowAsReplacement", CidOptions(0, 0), "a\xFF" "b", "a\xEF\xBF\xBD" "b"},
        DecodeCase{"Utf8", Utf8Options(), "caf\xC3\xA9 \xD0\x96 \xE4\xB8\xAD", "café Ж 中"},
        DecodeCase{"Utf8ByteOrderMarkIsSkipped", Utf8Options(), "\xEF\xBB\xBFhi", "hi"},
        DecodeCase{"Utf8ReadsUtf16ByItsMark", Utf8Options(), std::string("\xFE\xFF\0h\0\xE9", 6), "h\xC3\xA9"},
        DecodeCase{"Utf8GoesOnPastAZeroByte", Utf8Options(), std::string("a\0b", 3), "ab"},
        DecodeCase{"AutoReadsUtf8", SingleByte(kAutoEncoding), "caf\xC3\xA9 \xE4\xB8\xAD", "café 中"},
        DecodeCase{"AutoReadsUtf16ByItsMark", SingleByte(kAutoEncoding), std::string("\xFF\xFEh\0\xE9\0\r\0\n\0", 10), "hé\n"},
        DecodeCase{"AutoReadsUtf16PastALoneSurrogate", SingleByte(kAutoEncoding),
                   std::string("\xFF\xFEh\0\x00\xD8" "i\0", 8), "h\xEF\xBF\xBDi"},
        DecodeCase{"AutoReadsUtf16WithoutAMark", SingleByte(kAutoEncoding), std::string("\0H\0i\0!\0?", 8), "Hi!?"},
        DecodeCase{"AutoSkipsTheUtf8Mark", SingleByte(kAutoEncoding), "\xEF\xBB\xBFhi", "hi"},
        DecodeCase{"AutoReadsWhatIsNotUtf8AsItLooks", SingleByte(kAutoEncoding), "\x93quoted\x94", "\xE2\x80\x9Cquoted\xE2\x80\x9D"},
        DecodeCase{"Utf8MalformedAsTheConversionDrawsIt", Utf8Options(), "a\xC0\xAF\xED\xA0\x80\xE9\r\n\xE2\x82",
                   "a\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\n\xEF\xBF\xBD\xEF\xBF\xBD"}),
    [](const testing::TestParamInfo<DecodeCase>& info) { return std::string(info.param.name); });

TEST(TextPreview, ALargeFileShowsItsBeginningWithoutACutCharacter)
{
    ScratchFolder folder;
    std::string text;
    for (int i = 0; i < 1000; ++i)
        text += "\xD6\xD0"; // GB2312 for one character, two bytes each
    const TextPreview preview = ReadTextPreview(folder.Write("big.txt", text), CidOptions(0, 0), 1001);
    EXPECT_TRUE(preview.cut);
    EXPECT_EQ(preview.fileSize, 2000u);
    std::string expected;
    for (int i = 0; i < 500; ++i)
        expected += "中";
    EXPECT_EQ(preview.utf8, expected);
}

TEST(TextPreview, AFileThatFitsIsNotCut)
{
    ScratchFolder folder;
    const TextPreview preview = ReadTextPreview(folder.Write("a.txt", "12345"), ConversionOptions{}, 5);
    EXPECT_FALSE(preview.cut);
    EXPECT_EQ(preview.utf8, "12345");
}

TEST(TextPreview, MissingFilesAndPipesAreReportedWithoutWaiting)
{
    ScratchFolder folder;
    EXPECT_NE(ReadTextPreview(folder.File("gone.txt"), ConversionOptions{}, 100).error, "");
    const std::string pipe = folder.File("pipe.txt");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(ReadTextPreview(pipe, ConversionOptions{}, 100).error, "not a regular file");
}
