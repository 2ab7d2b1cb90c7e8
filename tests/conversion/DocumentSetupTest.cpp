// Fonts and encodings, page mode, information, security and the handling of failures, checked
// in the written PDF.
#include "ConversionTestSupport.h"
#include "support/PdfInspector.h"

#include "conversion/FileConverter.h"
#include "conversion/OutputPath.h"

#include <gtest/gtest.h>

#include <climits>
#include <tuple>
#include <filesystem>
#include <fstream>

namespace {

constexpr char kFontWarning[] = "Can not find right font, use default font.";
constexpr char kSizeWarning[] = "Font size can not be 0. Set default 9.";

PdfFontFacts OnlyFont(const Converted& converted)
{
    EXPECT_TRUE(converted.result.written) << converted.result.reason;
    const PdfFacts pdf = InspectPdf(converted.pdfPath);
    EXPECT_EQ(pdf.fonts.size(), 1u);
    return pdf.fonts.empty() ? PdfFontFacts{} : pdf.fonts[0];
}

TEST(Fonts, Base14CourierWithWinAnsiKeepsLatin1Bytes)
{
    ScratchFolder folder;
    ConversionOptions options;
    options.SingeEncode = 2;
    const Converted converted = ConvertText(folder, options, "caf\xE9 na\xEFve\n");
    const PdfFontFacts font = OnlyFont(converted);
    EXPECT_EQ(font.baseFont, "/Courier");
    EXPECT_EQ(font.encoding, "/WinAnsiEncoding");
    EXPECT_EQ(InspectPdf(converted.pdfPath).AllLineTexts(), std::vector<std::string>{"caf\xE9 na\xEFve"});
    EXPECT_TRUE(converted.observer.warnings.empty());
}

TEST(Fonts, Type1FromMetricsAndDataFilesIsEmbedded)
{
    ScratchFolder folder;
    ConversionOptions options;
    options.PageFont = Type1Font;
    options.Type1MetricsFile = UrwType1Metrics();
    options.Type1DataFile = UrwType1Data();
    const PdfFontFacts font = OnlyFont(ConvertText(folder, options, "type one\n"));
    EXPECT_EQ(font.baseFont, "/NimbusMonoPS-Regular");
    EXPECT_TRUE(font.embedded);
}

TEST(Fonts, TrueTypeIsEmbeddedWhenEmbeddingFontSaysYes)
{
    ScratchFolder folder;
    ConversionOptions options;
    options.PageFont = TrueTypeFont;
    options.TrueTypeFile = DejaVuSansPath();
    options.EmbeddingFont = kYes;
    EXPECT_TRUE(OnlyFont(ConvertText(folder, options, "embedded\n")).embedded);
    options.EmbeddingFont = kNo;
    EXPECT_FALSE(OnlyFont(ConvertText(folder, options, "not embedded\n")).embedded);
}

TEST(Fonts, UpperCaseTtcWithTrailingBlankLoadsTheFirstFontOfTheCollection)
{
    ScratchFolder folder;
    const std::string collection = folder.File("fonts.TTC");
    std::filesystem::copy_file(MicroHeiCollectionPath(), collection);
    ConversionOptions options;
    options.PageFont = TrueTypeFont;
    options.TrueTypeFile = collection + " ";
    options.EmbeddingFont = kNo;
    EXPECT_NE(OnlyFont(ConvertText(folder, options, "ttc\n")).baseFont.find("WenQuanYiMicroHei"), std::string::npos);
}

TEST(Fonts, CidFontsUseTheEncodingOfTheirGroup)
{
    struct Case {
        int font, encoding;
        const char* baseFont;
        const char* usedEncoding;
    };
    const Case cases[] = {
        {0, 0, "/SimSun", "/GB-EUC-H"},
        {1, 2, "/SimHei", "/GB-EUC-H"},       // GBK-EUC-H is not offered to the Chinese fonts
        {7, 0, "/Batang", "/KSC-EUC-H"},       // a Korean font falls back to the first Korean encoding
        {8, 13, "/Dotum", "/KSCms-UHC-H"},
        {2, 4, "/MingLiU", "/ETen-B5-H"},
        {3, 6, "/MS-Mincho", "/90ms-RKSJ-H"},  // shown to the user as MS-Mincyo
        {5, 8, "/MS-PMincho", "/90msp-RKSJ-H"},
    };
    for (const Case& c : cases) {
        ScratchFolder folder;
        const Converted converted = ConvertText(folder, CidOptions(c.font, c.encoding), "\xB0\xA1 ab\n");
        const PdfFontFacts font = OnlyFont(converted);
        EXPECT_EQ(font.baseFont.substr(0, std::string(c.baseFont).size()), c.baseFont) << c.font;
        EXPECT_EQ(font.encoding, c.usedEncoding) << c.font;
        EXPECT_TRUE(converted.observer.warnings.empty());
    }
}

TEST(Fonts, AFontThatDoesNotGoWithItsEncodingWarnsAndWritesNothing)
{
    ScratchFolder folder;
    const Converted converted = ConvertText(folder, CidOptions(2, 0), "text\n"); // MingLiU, GB-EUC-H
    EXPECT_EQ(converted.observer.warnings, std::vector<std::string>{kFontWarning});
    EXPECT_FALSE(converted.result.written);
    EXPECT_NE(converted.result.reason.find("MingLiU"), std::string::npos) << converted.result.reason;
    EXPECT_FALSE(std::filesystem::exists(converted.pdfPath));
}

TEST(Fonts, AFontKindOutsideTheListFallsBackToHelvetica)
{
    ScratchFolder folder;
    ConversionOptions options;
    options.PageFont = 7;
    const Converted converted = ConvertText(folder, options, "fallback\n");
    EXPECT_EQ(converted.observer.warnings, std::vector<std::string>{kFontWarning});
    EXPECT_EQ(OnlyFont(converted).baseFont, "/Helvetica");
}

TEST(Fonts, AMissingFontFileIsNamedInTheReason)
{
    ScratchFolder folder;
    ConversionOptions options;
    options.PageFont = TrueTypeFont;
    options.TrueTypeFile = folder.File("missing.ttf");
    const Converted converted = ConvertText(folder, options, "x\n");
    EXPECT_FALSE(converted.result.written);
    EXPECT_NE(converted.result.reason.find("missing.ttf"), std::string::npos) << converted.result.reason;
    EXPECT_NE(converted.result.reason.find("cannot be opened"), std::string::npos) << converted.result.reason;
}

TEST(FontSize, ZeroWarnsAndUsesNine)
{
    ScratchFolder folder;
    ConversionOptions options;
    options.FontSize = 0;
    const Converted converted = ConvertText(folder, options, "a\nb\n");
    EXPECT_EQ(converted.observer.warnings, std::vector<std::string>{kSizeWarning});
    ASSERT_TRUE(converted.result.written);
    EXPECT_DOUBLE_EQ(InspectPdf(converted.pdfPath).pages[0].lines.at(1).y, 763);
}

TEST(FontSize, AboveThreeHundredOrNegativeIsRefused)
{
    for (int size : {301, 600, -1}) {
        ScratchFolder folder;
        ConversionOptions options;
        options.FontSize = size;
        const Converted converted = ConvertText(folder, options, "x\n");
        EXPECT_FALSE(converted.result.written) << size;
        EXPECT_NE(converted.result.reason.find("font size"), std::string::npos) << converted.result.reason;
    }
    ScratchFolder folder;
    ConversionOptions options;
    options.FontSize = 300;
    EXPECT_TRUE(ConvertText(folder, options, "x\n").result.written);
}

TEST(PageMode, FollowsOpenModeAndIsAbsentOutsideTheList)
{
    const std::pair<int, std::string> cases[] = {
        {0, "/UseNone"}, {1, "/UseOutlines"}, {2, "/UseThumbs"}, {3, "/FullScreen"}, {7, ""}};
    for (const auto& [mode, expected] : cases) {
        ScratchFolder folder;
        ConversionOptions options;
        options.OpenMode = mode;
        const Converted converted = ConvertText(folder, options, "x\n");
        ASSERT_TRUE(converted.result.written);
        EXPECT_EQ(InspectPdf(converted.pdfPath).pageMode, expected) << mode;
    }
}

TEST(Information, OnlyNonEmptyTextsAndTheProducerAreSet)
{
    ScratchFolder folder;
    ConversionOptions options;
    options.Title = "Quarterly report";
    options.Keywords = "numbers";
    const Converted converted = ConvertText(folder, options, "x\n");
    const std::map<std::string, std::string> expected = {
        {"/Title", "Quarterly report"}, {"/Keywords", "numbers"}, {"/Producer", "Quillary 2.1"}};
    EXPECT_EQ(InspectPdf(converted.pdfPath).info, expected);
}

// With and without an owner password; with a Base14 font and with UTF-8 text.
class NonAsciiInformation : public testing::TestWithParam<std::tuple<std::string, bool>> {};

TEST_P(NonAsciiInformation, ReadsInAReaderAsTyped)
{
    const auto& [owner, utf8Text] = GetParam();
    ScratchFolder folder;
    ConversionOptions options = utf8Text ? Utf8Options() : ConversionOptions{};
    // The party popper lies beyond U+FFFF: a surrogate pair in UTF-16.
    options.Title = "Gr\xC3\xBC\xC3\x9F" "e \xE2\x80\x93 \xD0\x96\xD0\xB8\xD0\xB7\xD0\xBD\xD1\x8C \xF0\x9F\x8E\x89";
    options.Author = "Zo\xC3\xAB";
    options.Subject = "caf\xE9"; // Latin-1 from an older Settings.ini: PDFDocEncoding reads it alike
    options.Keywords = "plain";
    const Converted converted = ConvertText(folder, options, "x\n", owner);
    ASSERT_TRUE(converted.result.written) << converted.result.reason;
    const PdfFacts pdf = InspectPdf(converted.pdfPath);
    const std::map<std::string, std::string> expected = {
        {"/Title", "Grüße – Жизнь \xF0\x9F\x8E\x89"}, {"/Author", "Zoë"}, {"/Subject", "café"}, {"/Keywords", "plain"},
        {"/Producer", "Quillary 2.1"}};
    EXPECT_EQ(pdf.infoText, expected);
    EXPECT_EQ(pdf.info.at("/Keywords"), "plain");
}

INSTANTIATE_TEST_SUITE_P(Cases, NonAsciiInformation, testing::Combine(testing::Values("", "owner"), testing::Bool()));

TEST(Security, OwnerPasswordAloneEncryptsWithA48BitKeyAndOpensWithoutPassword)
{
    ScratchFolder folder;
    const Converted converted = ConvertText(folder, ConversionOptions{}, "secret\n", "owner");
    ASSERT_TRUE(converted.result.written);
    const PdfFacts pdf = InspectPdf(converted.pdfPath);
    EXPECT_TRUE(pdf.encrypted);
    EXPECT_EQ(pdf.revision, 3);
    EXPECT_EQ(pdf.keyBits, 48);
    EXPECT_TRUE(pdf.userPasswordMatched);
    EXPECT_EQ(pdf.permissions, -4); // no permission call: everything permitted
    EXPECT_TRUE(InspectPdf(converted.pdfPath, "owner").ownerPasswordMatched);
}

TEST(Security, UserPasswordIsNeededToOpenAndOwnerPasswordAlsoOpens)
{
    ScratchFolder folder;
    const Converted converted = ConvertText(folder, ConversionOptions{}, "secret\n", "owner", "user");
    ASSERT_TRUE(converted.result.written);
    EXPECT_THROW(InspectPdf(converted.pdfPath), std::exception);
    EXPECT_TRUE(InspectPdf(converted.pdfPath, "user").userPasswordMatched);
    EXPECT_TRUE(InspectPdf(converted.pdfPath, "owner").ownerPasswordMatched);
    EXPECT_EQ(InspectPdf(converted.pdfPath, "user").AllLineTexts(), std::vector<std::string>{"secret"});
}

TEST(Security, PermissionsAreGrantedByTheOptionsThatSayYes)
{
    struct Case {
        int read, print, copy, modify;
        int mask;
    };
    const Case cases[] = {
        {kYes, kNo, kYes, kYes, 16 | 8},   // no printing
        {kNo, kYes, kYes, kYes, 4 | 16 | 8},
        {kYes, kYes, kNo, kNo, 4},
        {kNo, kNo, kNo, kNo, 0},
    };
    for (const Case& c : cases) {
        ScratchFolder folder;
        ConversionOptions options;
        options.PermitRead = c.read;
        options.PermitPrint = c.print;
        options.PermitCopy = c.copy;
        options.PermitModify = c.modify;
        const Converted converted = ConvertText(folder, options, "x\n", "owner");
        EXPECT_EQ(InspectPdf(converted.pdfPath).permissions, c.mask) << c.mask;
    }
}

TEST(Security, KeyLengthFollowsEncryptLevel)
{
    const std::tuple<int, int, int> cases[] = {// level, revision, bits
        {40, 2, 40}, {0, 2, 40}, {41, 3, 40}, {48, 3, 48}, {127, 3, 120}, {128, 3, 128}, {200, 3, 128},
        {255, 3, 128}, {256, 6, 256}, {4096, 6, 256}};
    for (const auto& [level, revision, bits] : cases) {
        ScratchFolder folder;
        ConversionOptions options;
        options.EncryptLevel = level;
        const Converted converted = ConvertText(folder, options, "x\n", "owner", "user");
        ASSERT_TRUE(converted.result.written) << converted.result.reason;
        const PdfFacts pdf = InspectPdf(converted.pdfPath, "user");
        EXPECT_EQ(pdf.revision, revision) << level;
        EXPECT_EQ(pdf.keyBits, bits) << level;
    }
}

TEST(Security, UserPasswordWithoutOwnerPasswordWritesAnOpenFileAndSaysSo)
{
    ScratchFolder folder;
    const Converted converted = ConvertText(folder, ConversionOptions{}, "x\n", "", "user");
    ASSERT_TRUE(converted.result.written);
    EXPECT_FALSE(InspectPdf(converted.pdfPath).encrypted);
    ASSERT_EQ(converted.result.notes.size(), 1u);
    EXPECT_NE(converted.result.notes[0].find("not encrypted"), std::string::npos);
}

class RefusedFile : public testing::TestWithParam<RefusalCase> {};

TEST_P(RefusedFile, KeepsTheOldPdfUntouchedAndSaysSo)
{
    const RefusalCase& c = GetParam();
    ScratchFolder folder;
    const std::string stale = folder.Write("input.pdf", "old pdf");
    const Converted converted = ConvertText(folder, c.options, "x\n", c.owner, c.user);
    EXPECT_FALSE(converted.result.written);
    EXPECT_NE(converted.result.reason.find(c.reasonPart), std::string::npos) << converted.result.reason;
    EXPECT_EQ(FilesIn(folder.Path()), (std::vector<std::string>{"input.pdf", "input.txt"}));
    EXPECT_EQ(FileBytes(stale), "old pdf");
    EXPECT_NE(converted.result.reason.find("The old PDF \"" + stale + "\" was kept; it does not hold the current text."),
              std::string::npos)
        << converted.result.reason;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedFile,
    testing::Values(
        RefusalCase{"equal passwords", ConversionOptions{}, "same", "same", "the same"},
        RefusalCase{"page too small", With([](auto& o) { o.PageSize = kCustomPageSize, o.PageWidth = 2; }), "", "",
                    "3 to 14400"},
        RefusalCase{"margins leave no room", With([](auto& o) { o.LeftMargin = 300, o.RightMargin = 295; }), "", "",
                    "no room"},
        // their sum overflowed an int into a page 595 points wide
        RefusalCase{"margins beyond any page", With([](auto& o) { o.LeftMargin = o.RightMargin = INT_MIN; }), "",
                    "", "outside -14400 to 14400"},
        RefusalCase{"a title longer than the library takes", With([](auto& o) { o.Title.assign(70000, 't'); }), "",
                    "", "Title is 70000 bytes long"},
        RefusalCase{"a font that cannot be had",
                    With([](auto& o) { o.PageFont = TrueTypeFont, o.TrueTypeFile = "/no/such.ttf"; }), "", "",
                    "/no/such.ttf"}));

TEST(Failures, AFailureWithoutAnOldPdfMentionsNone)
{
    ScratchFolder folder;
    const Converted converted = ConvertText(folder, ConversionOptions{}, "x\n", "same", "same");
    EXPECT_EQ(converted.result.reason, "The owner password and the user password are the same; they must differ.");
    EXPECT_EQ(FilesIn(folder.Path()), std::vector<std::string>{"input.txt"});
}

TEST(Failures, ALineLongerThanTheLibraryDrawsAtOnceGoesOnInTheNextLine)
{
    // Margins this far apart hold a line longer than the library draws in one call (65535
    // bytes); it is drawn as two lines, and the lines after it follow.
    ConversionOptions options;
    options.PageSize = kCustomPageSize;
    options.PageWidth = 14400;
    options.PageHeight = 100;
    options.LeftMargin = options.RightMargin = -14400;
    options.FontSize = 1;
    std::string text = std::string(70000, 'x') + "\n";
    for (int i = 0; i < 50; ++i)
        text += "short\n";
    ScratchFolder folder;
    const Converted converted = ConvertText(folder, options, text);
    ASSERT_TRUE(converted.result.written) << converted.result.reason;
    const std::vector<std::string> lines = InspectPdf(folder.File("input.pdf")).AllLineTexts();
    ASSERT_EQ(lines.size(), 52u);
    EXPECT_EQ(lines[0] + lines[1], std::string(70000, 'x'));
    EXPECT_EQ(lines[51], "short");
}

TEST(Failures, AnUnreadableInputIsReported)
{
    ScratchFolder folder;
    RecordingObserver observer;
    const ConversionResult result = ConvertFile(ConversionOptions{}, folder.File("gone.txt"), "", "",
                                                folder.File("gone.pdf"), observer);
    EXPECT_FALSE(result.written);
    EXPECT_NE(result.reason.find("Cannot read"), std::string::npos) << result.reason;
    const ConversionResult directory = ConvertFile(ConversionOptions{}, folder.Path().string(), "", "",
                                                   folder.File("dir.pdf"), observer);
    EXPECT_FALSE(directory.written);
}

TEST(Failures, AnInputThatIsItsOwnOutputIsLeftUntouched)
{
    ScratchFolder folder;
    const std::string text = "plain text, oddly named\n";
    const std::string input = folder.Write("report.pdf", text);
    std::filesystem::create_hard_link(input, folder.File("link.pdf"));
    // The same path, the same file by another path, and the same file under another name.
    for (const std::string& output : {input, folder.File("./report.pdf"), folder.File("link.pdf")}) {
        RecordingObserver observer;
        EXPECT_FALSE(ConvertFile(ConversionOptions{}, input, "", "", output, observer).written) << output;
        std::ifstream kept(input);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), text) << output;
    }
}

TEST(Failures, ASuccessfulConversionReplacesTheOldPdfAndLeavesNoTemporaryFile)
{
    ScratchFolder folder;
    folder.Write("input.pdf", "old pdf");
    const Converted converted = ConvertText(folder, ConversionOptions{}, "new\n");
    ASSERT_TRUE(converted.result.written);
    EXPECT_EQ(FilesIn(folder.Path()), (std::vector<std::string>{"input.pdf", "input.txt"}));
    EXPECT_EQ(InspectPdf(converted.pdfPath).AllLineTexts(), std::vector<std::string>{"new"});
}

TEST(OutputPath, ReplacesTheExtensionFromTheLastDotOfTheName)
{
    EXPECT_EQ(OutputPathFor("/docs/a.txt"), "/docs/a.pdf");
    EXPECT_EQ(OutputPathFor("/docs/notes.v2.txt"), "/docs/notes.v2.pdf");
    EXPECT_EQ(OutputPathFor("/docs/README"), "/docs/README.pdf");
    EXPECT_EQ(OutputPathFor("\"/docs/quoted.log\""), "/docs/quoted.pdf");
    EXPECT_EQ(OutputPathFor("/my.docs/README"), "/my.docs/README.pdf");
    EXPECT_EQ(OutputPathFor("plain.txt"), "plain.pdf");
    // Quotes that are not a pair around the whole path belong to the name.
    EXPECT_EQ(OutputPathFor("\"draft\" notes.txt"), "\"draft\" notes.pdf");
    EXPECT_EQ(OutputPathFor("/docs/tail\""), "/docs/tail\".pdf");
    EXPECT_EQ(OutputPathFor("\"/docs/x\"\""), "/docs/x\".pdf");
}

} // namespace

namespace {

TEST(Failures, AnOutputFolderThatCannotBeWrittenIsNamedWithTheSystemReason)
{
    ScratchFolder folder;
    const std::string input = folder.Write("in.txt", "x\n");
    RecordingObserver observer;
    // A regular file stands where the folder should be, which fails even for root.
    folder.Write("not-a-folder", "");
    const ConversionResult result =
        ConvertFile(ConversionOptions{}, input, "", "", folder.File("not-a-folder/out.pdf"), observer);
    EXPECT_FALSE(result.written);
    EXPECT_NE(result.reason.find("Cannot write \"" + folder.File("not-a-folder/out.pdf") + "\": Not a directory."),
              std::string::npos) << result.reason;
}

} // namespace
