#pragma once
// The conversion of one text file into one PDF file. Safe to call from several threads at once
// for different files: each call builds its own document. The observer is called on the
// calling thread.
#include "conversion/ConversionObserver.h"
#include "conversion/ConversionOptions.h"
#include "conversion/ConversionResult.h"

#include <string>

class CommitPool;

// Converts `inputPath` into `outputPath` with the options and the file's passwords (an empty
// owner password writes an unencrypted file). The PDF is written to a temporary file in the
// output folder that replaces `outputPath` only when all of it is on disk. A conversion that
// fails leaves an old PDF of the output's name as it was, and its reason says so (a PDF the
// user might take for this text's). An input that cannot be read, and an output path that
// names the input itself, are refused with nothing touched. A text too large for the machine's
// memory fails with a reason that starts "too large: " or holds it; no std::bad_alloc escapes.
ConversionResult ConvertFile(const ConversionOptions& options, const std::string& inputPath,
                             const std::string& ownerPassword, const std::string& userPassword,
                             const std::string& outputPath, ConversionObserver& observer);

// ConvertFile with the PDF's flush and replacement handed to `pool`, so that the caller may go
// on with its next file meanwhile. `take` gets the result exactly once: on this thread before
// the call returns when the conversion ended before its PDF was complete, otherwise on the
// thread that committed the PDF, once it replaced the old one or failed to.
void ConvertFileThrough(const ConversionOptions& options, const std::string& inputPath,
                        const std::string& ownerPassword, const std::string& userPassword,
                        const std::string& outputPath, ConversionObserver& observer, CommitPool& pool,
                        ResultTaker take);

// Whether the two paths name one file (the same path, or the same device and inode).
bool SameFileAs(const std::string& a, const std::string& b);

// `failed` with a word that the old PDF at `outputPath`, if there is one, was kept and does not
// hold the current text.
ConversionResult KeepingOldPdf(ConversionResult failed, const std::string& outputPath);

// Converts the text read from `inputFd` to its end (the standard input) and writes the PDF to
// `outputFd` (the standard output), every write checked. Nothing is written when the
// conversion fails before the PDF is made; a write that fails leaves what was written.
ConversionResult ConvertStream(const ConversionOptions& options, int inputFd, const std::string& ownerPassword,
                               const std::string& userPassword, int outputFd, ConversionObserver& observer);
