// quillary-convert: the converter for scripts, servers and large batches, on the engine and the
// Settings.ini of the window.
#include "cli/BatchRun.h"
#include "cli/CombineRun.h"
#include "cli/CommandLine.h"
#include "cli/SettingsHelp.h"
#include "cli/TerminalReport.h"

#include "conversion/SettingsLocation.h"

#include <cstdio>
#include <filesystem>
#include <malloc.h>
#include <unistd.h>

namespace {

std::uint64_t TotalBytes(const std::vector<std::string>& files)
{
    std::uint64_t total = 0;
    for (const std::string& file : files) {
        std::error_code error;
        const auto size = file == kStandardStreams ? 0 : std::filesystem::file_size(file, error);
        total += error ? 0 : size;
    }
    return total;
}

// Every file's document is built up and freed whole. Keeping freed memory for the next file
// spares the kernel handing the same pages back and forth, which otherwise costs more than the
// conversion of a small file and serialises the jobs.
void KeepFreedMemory()
{
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    mallopt(M_TOP_PAD, 16 << 20);
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
}

int UsageError(const std::string& message)
{
    std::fputs(UsageErrorText(message).c_str(), stderr);
    return kUsageStatus;
}

// --help, --help-settings and --version print their text instead of converting.
bool PrintAskedForText(const CommandLine& commandLine, const SettingsLocation& settings)
{
    if (commandLine.showHelp)
        std::printf("%s\nSettings.ini here: %s\n", kUsage,
                    settings.path.empty() ? settings.problem.c_str() : settings.path.c_str());
    else if (commandLine.showSettingsHelp)
        std::fputs(SettingsHelp().c_str(), stdout);
    else if (commandLine.showVersion)
        std::puts("quillary-convert (Quillary) 2.1");
    else
        return false;
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    KeepFreedMemory();
    const SettingsLocation settings = LocateSettings();
    const ParsedCommandLine parsed = ParseCommandLine({argv + 1, argv + argc}, settings.path);
    if (!parsed.error.empty())
        return UsageError(parsed.error);
    const CommandLine& commandLine = parsed.commandLine;
    std::vector<std::string> warnings = parsed.warnings;
    if (!settings.problem.empty())
        warnings.insert(warnings.begin(), settings.problem);
    for (const std::string& warning : warnings) {
        if (!commandLine.quiet)
            std::fprintf(stderr, "quillary-convert: warning: %s\n", warning.c_str());
    }
    if (PrintAskedForText(commandLine, settings))
        return 0;
    if (commandLine.WritesStandardOutput() && isatty(STDOUT_FILENO))
        return UsageError("the PDF goes to the standard output, which is a terminal; redirect it to a "
                          "file or a program");
    TerminalReport report(stderr, commandLine.quiet, isatty(STDERR_FILENO) != 0, commandLine.files.size(),
                          TotalBytes(commandLine.files));
    const int status = commandLine.combineInto.empty() ? RunBatch(commandLine, report) : RunCombine(commandLine, report);
    if (status != kUsageStatus)
        report.Summary();
    return status;
}
