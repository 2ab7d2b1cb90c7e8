#pragma once
// The arguments of quillary-convert, parsed and checked in one place.
#include "conversion/ConversionOptions.h"

#include <string>
#include <vector>

// The FILE that stands for the standard input, whose PDF goes to the standard output.
inline constexpr char kStandardStreams[] = "-";

struct CommandLine {
    ConversionOptions options;       // Settings.ini (or --settings), then --set and the font files
    std::vector<std::string> files;
    std::string ownerPassword;
    std::string userPassword;
    std::string outputDirectory;     // empty: next to each input
    std::string combineInto;         // --combine: every file into this one PDF; "-": the standard output
    int jobs; // the number of processor cores unless -j says otherwise; never more than 4 times that
    bool quiet = false;
    bool showHelp = false;
    bool showSettingsHelp = false;
    bool showVersion = false;

    CommandLine();
    bool ReadsStandardInput() const;
    // A PDF goes to the standard output: the PDF of '-', or the combined PDF of --combine -.
    bool WritesStandardOutput() const;
};

struct ParsedCommandLine {
    CommandLine commandLine;
    std::string error;                 // a usage error: what is wrong, in one line
    std::vector<std::string> warnings; // arguments that are accepted but have no effect, or less
};

// `defaultSettingsPath` is read unless --settings names another file.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments,
                                   const std::string& defaultSettingsPath);

extern const char kUsage[];

// What the program prints on standard error for a usage error or options that fail every file.
std::string UsageErrorText(const std::string& message);
