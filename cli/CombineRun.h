#pragma once
// quillary-convert --combine: every input into one PDF (conversion/CombineFiles.h).
#include "cli/CommandLine.h"
#include "cli/TerminalReport.h"

// Combines the command line's files into its combineInto ("-": the standard output). Options
// that would fail every file are refused first, with the report's Refused, and so is an output
// path that is one of the files or holds something else than a PDF. Each file that is left out
// is reported as it comes and listed again at the end. Returns the exit status: 0 when every file
// went in and the PDF was written, kUsageStatus when the options were refused, 1 otherwise.
int RunCombine(const CommandLine& commandLine, TerminalReport& report);
