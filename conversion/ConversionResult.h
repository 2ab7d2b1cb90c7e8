#pragma once
// The outcome of converting one file: whether the PDF was written and, when not, why, in words
// a user understands. Notes tell of a PDF that was written but not quite as asked.
#include <functional>
#include <string>
#include <vector>

// The reason given when the PDF library cannot make a document at all.
inline constexpr char kCannotCreateDocument[] = "error: cannot create PdfDoc object";

// What a result means for the files after it.
enum class ResultKind {
    OfThisFile,        // written, or failed for a reason of this file alone
    LibraryUnusable,   // the library cannot make a document: every further file would fail alike
};

struct ConversionResult {
    bool written = false;
    std::string reason;              // empty when written
    std::vector<std::string> notes;  // e.g. a user password without an owner password
    ResultKind kind = ResultKind::OfThisFile;

    static ConversionResult Failed(std::string why)
    {
        ConversionResult result;
        result.reason = std::move(why);
        return result;
    }

    static ConversionResult DocumentNotCreated()
    {
        ConversionResult result = Failed(kCannotCreateDocument);
        result.kind = ResultKind::LibraryUnusable;
        return result;
    }
};

// Takes a result that may come later, from another thread (FileConverter.h, ConversionRun.h).
using ResultTaker = std::function<void(ConversionResult)>;
