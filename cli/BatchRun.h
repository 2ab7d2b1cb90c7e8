#pragma once
#include "cli/CommandLine.h"
#include "cli/TerminalReport.h"

// Converts every file of the command line, `jobs` at a time, each exactly as it would be
// converted alone. Returns the exit status: 0 when every PDF was written, else 1.
int RunBatch(const CommandLine& commandLine, TerminalReport& report);

// The PDF path of one input: next to it, or in `outputDirectory` when that is not empty.
std::string BatchOutputPath(const std::string& input, const std::string& outputDirectory);
