#include "conversion/SettingsLocation.h"

#include "conversion/SettingsFile.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace {

bool IsSet(const char* value)
{
    return value && *value;
}

// The configuration folder's base and the variable it came from. A relative XDG_CONFIG_HOME is
// to be ignored, which the base-directory rules ask of every program.
std::pair<std::string, std::string> ConfigBase(const char* xdgConfigHome, const char* home)
{
    if (IsSet(xdgConfigHome) && xdgConfigHome[0] == '/')
        return {xdgConfigHome, "XDG_CONFIG_HOME"};
    if (IsSet(home))
        return {std::string(home) + "/.config", "HOME"};
    return {};
}

} // namespace

SettingsLocation LocateSettings(const std::string& exeDirectory, bool exeDirectoryWritable,
                                const char* xdgConfigHome, const char* home)
{
    if (exeDirectoryWritable)
        return {exeDirectory + "Settings.ini", {}};
    const auto [base, variable] = ConfigBase(xdgConfigHome, home);
    if (base.empty())
        return {{}, "neither HOME nor XDG_CONFIG_HOME is set, so the settings are not kept"};
    std::error_code error;
    if (std::filesystem::exists(base, error) && !std::filesystem::is_directory(base, error))
        return {{}, base + " (from " + variable + ") is not a folder, so the settings are not kept"};
    return {base + "/quillary/Settings.ini", {}};
}

bool IsInstalledProgramFolder(const std::string& exeDirectory)
{
    const auto normal = [](const std::string& folder) { return std::filesystem::path(folder).lexically_normal(); };
    const std::filesystem::path folder = normal(exeDirectory);
    return folder == normal(QUILLARY_INSTALL_FOLDER) || folder == normal(QUILLARY_PACKAGE_FOLDER);
}

SettingsLocation LocateSettingsFor(const std::string& exeDirectory, const char* xdgConfigHome, const char* home)
{
    const bool keepsOwn = !IsInstalledProgramFolder(exeDirectory) && access(exeDirectory.c_str(), W_OK) == 0;
    return LocateSettings(exeDirectory, keepsOwn, xdgConfigHome, home);
}

SettingsLocation LocateSettings()
{
    return LocateSettingsFor(ExeDirectory(), std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
}

bool MakeSettingsFolder(const std::string& settingsPath)
{
    const std::filesystem::path folder = std::filesystem::path(settingsPath).parent_path();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        errno = error.value();
    return !error;
}
