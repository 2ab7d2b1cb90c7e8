#include "ConversionTestSupport.h"

#include "conversion/SettingsFile.h"
#include "conversion/SettingsLocation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

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

class InstalledProgramFolder : public testing::TestWithParam<std::pair<const char*, bool>> {};

TEST_P(InstalledProgramFolder, IsTheInstallationsOwn)
{
    EXPECT_EQ(IsInstalledProgramFolder(GetParam().first), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(, InstalledProgramFolder,
    testing::Values(std::pair{"/usr/lib/quillary/", true}, std::pair{"/usr/lib/../lib/quillary/", true},
                    std::pair{"/usr/lib/", false}, std::pair{"/usr/lib/quillary/plugins/", false},
                    std::pair{"/usr/lib/quillary-copy/", false}, std::pair{"/opt/quillary-test/lib/quillary/", false},
                    std::pair{"/home/ann/quillary/build/app/", false}));

// As a user who may not write the program's folder (root may write any): the settings go to the
// configuration folder. The answer comes back through a pipe from a child that gave up root.
TEST(SettingsLocation, AProgramFolderTheUserMayNotWriteSendsTheSettingsToTheConfigurationFolder)
{
    ScratchFolder folder;
    const std::string program = folder.Path().string() + "/";
    EXPECT_EQ(LocateSettingsFor(program, "/x", "/h").path, program + "Settings.ini");
    using P = std::filesystem::perms;
    const P readAndEnter = P::owner_read | P::owner_exec | P::group_read | P::group_exec | P::others_read | P::others_exec;
    std::filesystem::permissions(folder.Path(), geteuid() == 0 ? readAndEnter | P::owner_write : readAndEnter);
    int answer[2];
    ASSERT_EQ(pipe(answer), 0);
    const pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && setresuid(65534, 65534, 65534) != 0)
            _exit(1);
        const std::string path = LocateSettingsFor(program, "/x", "/h").path;
        _exit(write(answer[1], path.data(), path.size()) == static_cast<ssize_t>(path.size()) ? 0 : 1);
    }
    ASSERT_GT(child, 0);
    close(answer[1]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    char path[256] = {};
    ASSERT_GT(read(answer[0], path, sizeof path - 1), 0);
    close(answer[0]);
    EXPECT_EQ(std::string(path), "/x/quillary/Settings.ini");
    std::filesystem::permissions(folder.Path(), P::owner_all);
}

} // namespace
