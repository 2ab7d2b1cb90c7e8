#include "platform/PrivateProfile.h"
#include "support/SmallDisk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

class PrivateProfile : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "quillary-ini-XXXXXX").string();
        m_folder = mkdtemp(pattern.data());
        m_file = (m_folder / "Settings.ini").string();
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }

    void WriteFile(const std::string& text) const { std::ofstream(m_file, std::ios::binary) << text; }
    std::string ReadFile() const
    {
        std::ifstream in(m_file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::string String(const char* section, const char* key, const char* fallback = "dflt", DWORD size = 64) const
    {
        char buffer[64] = {};
        GetPrivateProfileStringA(section, key, fallback, buffer, size, m_file);
        return buffer;
    }

    std::filesystem::path m_folder;
    std::string m_file;
};

TEST_F(PrivateProfile, MissingFileSectionOrKeyGivesTheDefault)
{
    EXPECT_EQ(GetPrivateProfileIntA("S", "K", 42, m_file), 42);
    EXPECT_EQ(String("S", "K"), "dflt");
    WriteFile("[Other]\nK=1\n[S]\nJ=2\n");
    EXPECT_EQ(GetPrivateProfileIntA("S", "K", 42, m_file), 42);
    EXPECT_EQ(GetPrivateProfileIntA("Missing", "K", 7, m_file), 7);
}

TEST_F(PrivateProfile, IntegersAreReadFromTheLeadingDigits)
{
    WriteFile("[S]\na=  12\nb=-5\nc=12abc\nd=abc\ne=\nf=3.9\ng=99999999999\nh=-\n");
    const std::pair<const char*, int> cases[] = {
        {"a", 12}, {"b", -5}, {"c", 12}, {"d", 0}, {"e", 0}, {"f", 3}, {"g", 2147483647}, {"h", 0}};
    for (const auto& [key, expected] : cases)
        EXPECT_EQ(GetPrivateProfileIntA("S", key, 77, m_file), expected) << key;
}

TEST_F(PrivateProfile, NamesMatchWithoutCaseAndValuesAreTrimmed)
{
    WriteFile("; a comment\n[paper option]\n  font size =  12  \nTitle = A  B \n");
    EXPECT_EQ(GetPrivateProfileIntA("Paper Option", "Font Size", 9, m_file), 12);
    EXPECT_EQ(String("PAPER OPTION", "title"), "A  B");
}

TEST_F(PrivateProfile, StringsAreCutToTheBufferSizeMinusOne)
{
    WriteFile("[S]\nK=abcdefgh\n");
    EXPECT_EQ(String("S", "K", "", 4), "abc");
    char untouched[2] = {'x', 'y'};
    EXPECT_EQ(GetPrivateProfileStringA("S", "K", "", untouched, 0, m_file), 0u);
    EXPECT_EQ(untouched[0], 'x');
}

TEST_F(PrivateProfile, WritingCreatesTheFileSectionAndKey)
{
    EXPECT_TRUE(WritePrivateProfileStringA("Paper Option", "Font Size", "9", m_file));
    EXPECT_TRUE(WritePrivateProfileStringA("Paper Option", "PageSize", "7", m_file));
    EXPECT_TRUE(WritePrivateProfileStringA("Tips", "StartUp", "1", m_file));
    EXPECT_EQ(ReadFile(), "[Paper Option]\nFont Size=9\nPageSize=7\n[Tips]\nStartUp=1\n");
}

TEST_F(PrivateProfile, WritingReplacesInPlaceAndKeepsEverythingElse)
{
    const std::string original =
        "; kept comment\r\n[Tips]\r\nFilePos=10\r\n\r\n[Paper Option]\r\n  pagesize = 3 \r\n; inside\r\nLeftMargin=5\r\n\r\n[Extra]\r\nx=y\r\n";
    WriteFile(original);
    EXPECT_TRUE(WritePrivateProfileStringA("Paper Option", "PageSize", "37", m_file));
    EXPECT_TRUE(WritePrivateProfileStringA("Paper Option", "TopMargin", "60", m_file));
    EXPECT_EQ(ReadFile(),
              "; kept comment\r\n[Tips]\r\nFilePos=10\r\n\r\n[Paper Option]\r\nPageSize=37\r\n; inside\r\nLeftMargin=5\r\n"
              "TopMargin=60\r\n\r\n[Extra]\r\nx=y\r\n");
}

// A write that changes one line gives back every other line with the line end it had, in a
// file whose lines do not all end alike.
struct UntouchedLines {
    const char* name;
    std::string original;
    const char* key;
    std::string expected;
};

void PrintTo(const UntouchedLines& lines, std::ostream* out)
{
    *out << lines.name;
}

class PrivateProfileUntouchedLines : public PrivateProfile, public testing::WithParamInterface<UntouchedLines> {};

TEST_P(PrivateProfileUntouchedLines, KeepTheirLineEnds)
{
    WriteFile(GetParam().original);
    EXPECT_TRUE(WritePrivateProfileStringA("A", GetParam().key, "9", m_file));
    EXPECT_EQ(ReadFile(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(, PrivateProfileUntouchedLines,
    testing::Values(UntouchedLines{"ACarriageReturnTooMany", "[A]\nx=1\r\r\n", "y", "[A]\nx=1\r\r\ny=9\n"},
                    UntouchedLines{"LineFeedsInACrLfFile", "[A]\r\nx=1\ny=2\r\n", "z", "[A]\r\nx=1\ny=2\r\nz=9\r\n"},
                    UntouchedLines{"CrLfInALineFeedFile", "[A]\nx=1\r\ny=2\n", "y", "[A]\nx=1\r\ny=9\n"}),
    [](const testing::TestParamInfo<UntouchedLines>& info) { return std::string(info.param.name); });

TEST_F(PrivateProfile, AFailedWriteLeavesTheFileAsItWas)
{
    SmallDisk disk;
    if (!disk.Mounted())
        GTEST_SKIP() << disk.WhyNotMounted();
    // The file fills one page of the disk, the only free one: its replacement cannot be written.
    const std::string original = "[S]\nK=old\n; " + std::string(4000, 'n') + "\n";
    const std::string file = disk.File("Settings.ini");
    std::ofstream(file, std::ios::binary) << original;
    ASSERT_TRUE(disk.LeaveFree(0));
    EXPECT_FALSE(WritePrivateProfileStringA("S", "K", "new", file));
    std::ifstream in(file, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), original);
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(disk.File("")))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".filler", "Settings.ini"})); // no temporary file left
}

// The folder is writable, so only the file's own mark can keep it: as root too, which may write
// any file.
TEST_F(PrivateProfile, AFileMarkedReadOnlyIsNotReplaced)
{
    WriteFile("[S]\nK=old\n");
    std::filesystem::permissions(m_file, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    errno = 0;
    EXPECT_FALSE(WritePrivateProfileStringA("S", "K", "new", m_file));
    EXPECT_EQ(errno, EACCES);
    EXPECT_EQ(ReadFile(), "[S]\nK=old\n");
}

} // namespace
