#pragma once
// The outcome of converting one file: whether the PDF was written and, when not, why, in words
// a user understands. Notes tell of a PDF that was written but not quite as asked.
#include <string>
#include <vector>

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
