#pragma once
// The outcome of converting one file: whether the PDF was written and, when not, why, in words
// a user understands. Notes tell of a PDF that was written but not quite as asked.
#include <string>
#include <vector>

// The reason given when the PDF library cannot make a document at all; a run of several files
// ends on it, since every further file would fail the same way.
inline constexpr char kCannotCreateDocument[] = "error: cannot create PdfDoc object";

struct ConversionResult {
    bool written = false;
    std::string reason;              // empty when written
    std::vector<std::string> notes;  // e.g. a user password without an owner password

    static ConversionResult Failed(std::string why)
    {
        ConversionResult result;
        result.reason = std::move(why);
        return result;
    }
};
