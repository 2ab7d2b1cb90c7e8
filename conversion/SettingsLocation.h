#pragma once
// Where Settings.ini lives. Next to the executable when that folder is writable and not an
// installation's (the build folder, a portable copy); otherwise, as for an installed program, in
// $XDG_CONFIG_HOME/quillary/ ($HOME/.config/quillary/ when that is unset or not absolute). An
// installed program never writes into its folder, as root neither, so that removing the
// package leaves nothing behind.
// The window and quillary-convert both ask here, so that they share one file.
#include <string>

struct SettingsLocation {
    std::string path;    // the file; empty when no place for it can be found
    std::string problem; // why there is no place, for the user; empty when path is set
};

// The rule itself, on given facts; null environment values count as unset. Looks at the file
// system only to see whether the configuration folder is a folder.
SettingsLocation LocateSettings(const std::string& exeDirectory, bool exeDirectoryWritable,
                                const char* xdgConfigHome, const char* home);

// True for the folders an installation puts the programs in: PREFIX/lib/quillary/ under the
// prefix the build was configured with, or under the Debian package's /usr.
bool IsInstalledProgramFolder(const std::string& exeDirectory);

// The rule for a program in `exeDirectory` (with a trailing separator), run by this user.
SettingsLocation LocateSettingsFor(const std::string& exeDirectory, const char* xdgConfigHome, const char* home);

// The rule for the running program and its environment.
SettingsLocation LocateSettings();

// Makes the folder that will hold the settings file, so that the first save can create it.
// false when it cannot be made; errno then says why.
bool MakeSettingsFolder(const std::string& settingsPath);
