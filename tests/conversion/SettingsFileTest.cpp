#include "ConversionTestSupport.h"

#include "conversion/SettingsFile.h"
#include "support/SmallDisk.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <fstream>

namespace {

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

ConversionOptions Unusual()
{
    ConversionOptions o;
    o.PageSize = 37, o.PageWidth = 300, o.PageHeight = 400, o.LeftMargin = -3, o.RightMargin = 11;
    o.TopMargin = 12, o.BottomMargin = 13, o.PageFont = 3, o.B14Font = 5, o.EmbeddingFont = 1;
    o.CIDFont = 7, o.SingeEncode = 27, o.MultiEncode = 15, o.FontSize = 0, o.OpenMode = 9;
    o.OpenResult = 1, o.Author = "Ann", o.Creator = "C = D", o.Title = "Report", o.Subject = "S; not a comment";
    o.Keywords = "a b", o.PermitRead = 1, o.PermitPrint = 1, o.PermitCopy = 0, o.PermitModify = 1, o.EncryptLevel = 128;
    o.CombinedNumbering = 1;
    return o;
}

TEST(SettingsFile, EveryKeyRoundTripsAndTheFontFilesAreNotSaved)
{
    ScratchFolder folder;
    const std::string path = folder.File("Settings.ini");
    ConversionOptions saved = Unusual();
    saved.TrueTypeFile = "/fonts/x.ttf";
    saved.CombineInto = "combined-x.pdf";
    ASSERT_TRUE(SaveSettings(saved, path));
    ConversionOptions loaded;
    LoadSettings(loaded, path);
    saved.TrueTypeFile.clear();
    saved.CombineInto.clear();
    EXPECT_EQ(loaded, saved);
    EXPECT_EQ(ReadAll(path).find("x.ttf"), std::string::npos);
    EXPECT_EQ(ReadAll(path).find("combined-x"), std::string::npos);
}

TEST(SettingsFile, DefaultsWriteTheKnownFile)
{
    ScratchFolder folder;
    const std::string path = folder.File("Settings.ini");
    ASSERT_TRUE(SaveSettings(ConversionOptions{}, path));
    EXPECT_EQ(ReadAll(path),
              "[Paper Option]\nPageSize=7\nPageWidth=595\nPageHeight=842\nLeftMargin=60\nRightMargin=60\n"
              "TopMargin=60\nBottomMargin=60\nPageFont=0\nB14Font=0\nEmbeddingFont=0\nCIDFont=0\nSingeEncode=29\n"
              "MultiEncode=0\nFont Size=9\n[Document Display Option]\nOpenMode=0\nOpenResult=0\n"
              "[PDF Property Option]\nAuthor=\nCreator=\nTitle=\nSubject=\nKeywords=\n"
              "[PDF Security Option]\nPermitRead=0\nPermitPrint=0\nPermitCopy=0\nPermitModify=0\nEncryptLevel=48\n"
              "[Text Option]\nTabSize=8\nFormFeed=1\n"
              "[Page Furniture]\nHeaderLeft=\nHeaderCentre=\nHeaderRight=\nFooterLeft=\nFooterCentre=\nFooterRight=\n"
              "FurnitureFontSize=0\nHeaderRule=0\nFooterRule=0\nLineNumbers=0\nLineNumberStep=1\nCombinedNumbering=0\n"
              "[Archive Option]\nPDFA=0\nLanguage=\n");
}

TEST(SettingsFile, MissingKeysEachTakeTheirOwnDefault)
{
    ScratchFolder folder;
    ConversionOptions loaded = Unusual();
    LoadSettings(loaded, folder.File("absent.ini"));
    EXPECT_EQ(loaded, ConversionOptions{});

    const std::string path = folder.Write("Settings.ini", "[Paper Option]\nPageSize=0\n");
    LoadSettings(loaded, path);
    EXPECT_EQ(loaded.PageSize, 0);
    EXPECT_EQ(loaded.PageWidth, 595);
    EXPECT_EQ(loaded.PageHeight, 842);
    // A file from before the key existed still embeds TrueType fonts.
    EXPECT_EQ(loaded.EmbeddingFont, kYes);
}

TEST(SettingsFile, ValuesAreTakenAsTheyStandAndTextsAreCutTo1023)
{
    ScratchFolder folder;
    const std::string path = folder.Write("Settings.ini",
        "[Paper Option]\nPageSize=37\nPageWidth=300\nPageHeight=400\nLeftMargin=-20\nB14Font=99\nFont Size=abc\n"
        "[PDF Property Option]\nSubject=" + std::string(2000, 's') + "\n");
    ConversionOptions loaded;
    LoadSettings(loaded, path);
    EXPECT_EQ(std::make_tuple(loaded.PageSize, loaded.PageWidth, loaded.PageHeight), std::make_tuple(37, 300, 400));
    EXPECT_EQ(loaded.LeftMargin, -20);
    EXPECT_EQ(loaded.B14Font, 99);
    EXPECT_EQ(loaded.FontSize, 0);
    EXPECT_EQ(loaded.Subject, std::string(1023, 's'));
}

// A text whose value the load cuts short (at 1023 characters, or at a zero byte in the file)
// just after a blank.
struct CutText {
    const char* name;
    std::string value;
    std::string loaded;
};

void PrintTo(const CutText& cut, std::ostream* out)
{
    *out << cut.name;
}

class SettingsFileCutText : public testing::TestWithParam<CutText> {};

TEST_P(SettingsFileCutText, LosesTheBlankItWouldEndWithAndSurvivesASave)
{
    ScratchFolder folder;
    const std::string path = folder.Write("Settings.ini", "[PDF Property Option]\nTitle=" + GetParam().value + "\n");
    ConversionOptions loaded;
    LoadSettings(loaded, path);
    EXPECT_EQ(loaded.Title, GetParam().loaded);
    ASSERT_TRUE(SaveSettings(loaded, path));
    ConversionOptions reloaded;
    LoadSettings(reloaded, path);
    EXPECT_EQ(reloaded, loaded);
}

INSTANTIATE_TEST_SUITE_P(, SettingsFileCutText,
    testing::Values(CutText{"AtTheLengthLimit", std::string(1021, 't') + " \tend", std::string(1021, 't')},
                    CutText{"AtAZeroByte", std::string("a b\t\0c", 6), "a b"}),
    [](const testing::TestParamInfo<CutText>& info) { return std::string(info.param.name); });

// A text longer than the 1023 bytes a load keeps, in characters of one to four bytes.
struct LongText {
    const char* name;
    std::string character;
    std::size_t count;
    std::size_t loadedCount; // characters that survive the load
};

void PrintTo(const LongText& text, std::ostream* out)
{
    *out << text.name;
}

class SettingsFileLongText : public testing::TestWithParam<LongText> {
protected:
    static std::string Times(const std::string& character, std::size_t count)
    {
        std::string text;
        for (std::size_t i = 0; i < count; ++i)
            text += character;
        return text;
    }
};

TEST_P(SettingsFileLongText, IsCutAtACharacterWarnedOnceAndKeptWholeInTheFile)
{
    const LongText& c = GetParam();
    ScratchFolder folder;
    const std::string stored = Times(c.character, c.count);
    const std::string path = folder.Write("Settings.ini", "[PDF Property Option]\nTitle=" + stored +
                                                              "\nKeywords=" + stored + "\n");
    ConversionOptions loaded;
    const std::string warning = LoadSettings(loaded, path);
    EXPECT_EQ(loaded.Title, Times(c.character, c.loadedCount));
    const bool cut = c.loadedCount < c.count;
    EXPECT_EQ(warning.empty(), !cut);
    EXPECT_EQ(warning.find("longer than 1023 bytes: Title, Keywords.") != std::string::npos, cut) << warning;
    loaded.Keywords = "changed";
    ASSERT_TRUE(SaveSettings(loaded, path));
    const std::string saved = ReadAll(path);
    EXPECT_NE(saved.find("Title=" + stored + "\n"), std::string::npos);
    EXPECT_NE(saved.find("Keywords=changed\n"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(, SettingsFileLongText,
    testing::Values(LongText{"AsciiAtTheLimit", "a", 1023, 1023}, LongText{"AsciiBeyond", "a", 1024, 1023},
                    LongText{"TwoByteCharacters", "\xC3\xA9", 600, 511},
                    LongText{"ThreeByteCharactersEndingAtTheLimit", "\xE2\x82\xAC", 400, 341},
                    LongText{"FourByteCharacters", "\xF0\x9F\x98\x80", 300, 255}),
    [](const testing::TestParamInfo<LongText>& info) { return std::string(info.param.name); });

// An editor may put a byte-order mark before the first section.
TEST(SettingsFile, AByteOrderMarkIsSkippedAndKept)
{
    ScratchFolder folder;
    const std::string path = folder.Write("Settings.ini", "\xEF\xBB\xBF[Paper Option]\nPageSize=3\n");
    ConversionOptions loaded;
    LoadSettings(loaded, path);
    EXPECT_EQ(loaded.PageSize, 3);
    ASSERT_TRUE(SaveSettings(loaded, path));
    EXPECT_EQ(ReadAll(path).rfind("\xEF\xBB\xBF[Paper Option]\nPageSize=3\nPageWidth=595\n", 0), 0u);
}

TEST(SettingsFile, SavingKeepsOtherSectionsCommentsAndSpacing)
{
    ScratchFolder folder;
    const std::string path = folder.Write("Settings.ini",
        "; my notes\n[Tips]\nStartUp=0\nFilePos=120\n\n[paper option]\n  PageSize = 3\n\n");
    ASSERT_TRUE(SaveSettings(ConversionOptions{}, path));
    const std::string text = ReadAll(path);
    EXPECT_EQ(text.rfind("; my notes\n[Tips]\nStartUp=0\nFilePos=120\n\n[paper option]\nPageSize=7\nPageWidth=595\n", 0), 0u)
        << text;
}

TEST(SettingsFile, AFileThatCannotBeWrittenIsReported)
{
    ScratchFolder folder;
    EXPECT_FALSE(SaveSettings(ConversionOptions{}, folder.File("missing-folder/Settings.ini")));
}

TEST(SettingsFile, ASaveThatRunsOutOfSpaceLeavesTheFileAsItWas)
{
    SmallDisk disk;
    if (!disk.Mounted())
        GTEST_SKIP() << disk.WhyNotMounted();
    // One page of the disk, which the keys push past: a save needs two pages beside the old one.
    const std::string before = "; notes " + std::string(3990, 'n') + "\n";
    const std::string path = disk.File("Settings.ini");
    std::ofstream(path, std::ios::binary) << before;
    ASSERT_TRUE(disk.LeaveFree(4096));
    EXPECT_FALSE(SaveSettings(Unusual(), path));
    EXPECT_EQ(ReadAll(path), before);
}

TEST(SettingsKeys, AreFoundWithoutCaseAndValuesAreChecked)
{
    ASSERT_NE(FindSettingsKey("font size"), nullptr);
    EXPECT_EQ(FindSettingsKey("FONT SIZE")->key, "Font Size");
    EXPECT_EQ(FindSettingsKey("SingleEncode"), nullptr); // the key is spelled SingeEncode
    ConversionOptions options;
    EXPECT_EQ(ApplySetting(options, *FindSettingsKey("pagesize"), "37"), "");
    EXPECT_EQ(options.PageSize, 37);
    EXPECT_EQ(ApplySetting(options, *FindSettingsKey("LeftMargin"), "-5"), "");
    EXPECT_EQ(options.LeftMargin, -5);
    EXPECT_NE(ApplySetting(options, *FindSettingsKey("PageSize"), "12x"), "");
    EXPECT_NE(ApplySetting(options, *FindSettingsKey("PageSize"), ""), "");
    EXPECT_EQ(ApplySetting(options, *FindSettingsKey("title"), "Report = final"), "");
    EXPECT_EQ(options.Title, "Report = final");
    const auto keys = SettingsKeys();
    EXPECT_EQ(std::count_if(keys.begin(), keys.end(),
                            [](const SettingsKey& k) { return k.section != "Page Furniture" && k.section != "Archive Option"; }),
              28);
}

} // namespace
