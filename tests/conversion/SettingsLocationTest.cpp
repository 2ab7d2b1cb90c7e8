#include "ConversionTestSupport.h"

#include "conversion/SettingsFile.h"
#include "conversion/SettingsLocation.h"

#include <gtest/gtest.h>

namespace {

struct LocationCase {
    const char* name;
    bool exeDirectoryWritable;
    const char* xdgConfigHome;
    const char* home;
    const char* path;          // expected; empty when none
    const char* problemMentions;
};

class SettingsLocationRule : public testing::TestWithParam<LocationCase> {};

TEST_P(SettingsLocationRule, PicksTheFolder)
{
    const LocationCase& c = GetParam();
    const SettingsLocation location = LocateSettings("/opt/q/", c.exeDirectoryWritable, c.xdgConfigHome, c.home);
    EXPECT_EQ(location.path, c.path);
    if (*c.problemMentions)
        EXPECT_NE(location.problem.find(c.problemMentions), std::string::npos) << location.problem;
    else
        EXPECT_EQ(location.problem, "");
}

INSTANTIATE_TEST_SUITE_P(Cases, SettingsLocationRule, testing::Values(
    LocationCase{"WritableExeFolder", true, "/x", "/h", "/opt/q/Settings.ini", ""},
    LocationCase{"WritableExeFolderWithoutHome", true, nullptr, nullptr, "/opt/q/Settings.ini", ""},
    LocationCase{"XdgConfigHome", false, "/x", "/h", "/x/quillary/Settings.ini", ""},
    LocationCase{"XdgWithoutHome", false, "/x", nullptr, "/x/quillary/Settings.ini", ""},
    LocationCase{"UnsetXdgFallsToHome", false, nullptr, "/h", "/h/.config/quillary/Settings.ini", ""},
    LocationCase{"EmptyXdgFallsToHome", false, "", "/h", "/h/.config/quillary/Settings.ini", ""},
    LocationCase{"RelativeXdgIsIgnored", false, "cfg", "/h", "/h/.config/quillary/Settings.ini", ""},
    LocationCase{"NoHomeNoXdg", false, nullptr, nullptr, "", "HOME"},
    LocationCase{"EmptyHome", false, nullptr, "", "", "HOME"}),
    [](const testing::TestParamInfo<LocationCase>& info) { return std::string(info.param.name); });

TEST(SettingsLocation, XdgConfigHomeThatIsAFileGivesNoPlaceAndSaysWhy)
{
    ScratchFolder folder;
    const std::string file = folder.Write("not-a-folder", "x");
    const SettingsLocation location = LocateSettings("/opt/q/", false, file.c_str(), "/h");
    EXPECT_EQ(location.path, "");
    EXPECT_NE(location.problem.find(file + " (from XDG_CONFIG_HOME) is not a folder"), std::string::npos)
        << location.problem;
}

TEST(SettingsLocation, TheFirstSaveMakesTheFolderAndAFileInTheWayIsReported)
{
    ScratchFolder folder;
    const SettingsLocation location = LocateSettings("/opt/q/", false, folder.File("config").c_str(), nullptr);
    ASSERT_TRUE(MakeSettingsFolder(location.path));
    ASSERT_TRUE(SaveSettings(ConversionOptions{}, location.path));
    ConversionOptions loaded;
    loaded.PageSize = 0;
    LoadSettings(loaded, folder.File("config/quillary/Settings.ini"));
    EXPECT_EQ(loaded.PageSize, 7);

    folder.Write("blocked", "x");
    EXPECT_FALSE(MakeSettingsFolder(folder.File("blocked/quillary/Settings.ini")));
}

TEST(SettingsLocation, TheRunningProgramKeepsItsSettingsInItsWritableFolder)
{
    // The test program runs from the build folder, as a portable copy would.
    EXPECT_EQ(LocateSettings().path, ExeDirectory() + "Settings.ini");
}

} // namespace
