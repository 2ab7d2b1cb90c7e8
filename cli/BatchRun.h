#pragma once
#include "cli/CommandLine.h"
#include "cli/TerminalReport.h"

// The exit status of a usage error, and of options that would fail every file.
inline constexpr int kUsageStatus = 2;

// Converts every file of the command line, `jobs` at a time (fewer when the system starts no
// more threads), each exactly as it would be converted alone. Options that would fail every
// file are refused first, with the report's Refused, before any file is touched. Returns the
// exit status: 0 when every PDF was written, 1 when any file failed, kUsageStatus when refused.
int RunBatch(const CommandLine& commandLine, TerminalReport& report);

// The PDF path of one input: next to it, or in `outputDirectory` when that is not empty.
std::string BatchOutputPath(const std::string& input, const std::string& outputDirectory);
