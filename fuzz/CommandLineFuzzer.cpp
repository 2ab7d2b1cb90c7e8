// The command-line parser on random arguments: whatever it is given, it either reports one
// usage error or hands over a command line the converter can run.
//
// Input: the arguments, each ended by a zero byte. The standard input is empty, so that a
// password read from it never waits; the default settings file does not exist.
#include "FuzzInput.h"
#include "ScratchPath.h"

#include "cli/CommandLine.h"

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::size_t kMaxArgumentSize = 256;
constexpr std::size_t kMaxArguments = 24;

void CheckParsed(const ParsedCommandLine& parsed)
{
    const CommandLine& line = parsed.commandLine;
    if (!parsed.error.empty())
        return;
    const bool informs = line.showHelp || line.showSettingsHelp || line.showVersion;
    Require(informs || !line.files.empty(), "a command line without an error names a file");
    Require(line.jobs >= 1, "at least one job runs");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const int empty = open("/dev/null", O_RDONLY);
    dup2(empty, STDIN_FILENO);
    close(empty);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string settingsPath = ScratchPath("missing/Settings.ini");
    FuzzInput input(data, size);
    std::vector<std::string> arguments;
    while (!input.Empty() && arguments.size() < kMaxArguments)
        arguments.push_back(input.Text(kMaxArgumentSize));
    CheckParsed(ParseCommandLine(arguments, settingsPath));
    return 0;
}
