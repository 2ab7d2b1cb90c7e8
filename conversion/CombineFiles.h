#pragma once
// Every input file into one PDF (CombinedDocument.h): the files in the order given, each read
// whole when its turn comes and given up once its pages are drawn, so that the memory holds the
// document's compressed pages and one file at a time. A file that cannot be read is left out and
// reported through the observer; the others go in. The PDF
// is written only when at least one file went in and the document was made whole; until then
// nothing at the output is touched. The result is the combined PDF's: written, or why not (an
// old PDF at the output path was then kept, and the reason says so). Any one thread.
#include "conversion/CombineObserver.h"
#include "conversion/ConversionOptions.h"
#include "conversion/ConversionResult.h"

#include <optional>
#include <string>
#include <vector>

// Why the combined PDF may not go to `outputPath`, before any file is read: the path is one of
// the inputs (the same file, also through a link or another name), or it holds a file that is
// not a PDF. Nothing when it may.
std::optional<std::string> CombinedOutputProblem(const std::vector<std::string>& inputs,
                                                 const std::string& outputPath);

// The PDF replaces `outputPath` only once all of it is on disk (ReplacingFile); with a
// CombinedOutputProblem nothing is read or written and the result gives that reason.
ConversionResult CombineFilesInto(const ConversionOptions& options, const std::vector<std::string>& inputs,
                                  const std::string& ownerPassword, const std::string& userPassword,
                                  const std::string& outputPath, CombineObserver& observer);

// The PDF goes to `outputFd` (the standard output), every write checked.
ConversionResult CombineFilesTo(const ConversionOptions& options, const std::vector<std::string>& inputs,
                                const std::string& ownerPassword, const std::string& userPassword, int outputFd,
                                CombineObserver& observer);
