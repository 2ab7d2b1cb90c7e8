#pragma once
// The beginning of an input text as the converter reads it (ReadFileText in TextPlan.h), decoded
// for display with the encoding the options give the PDF: under Auto the one found for the
// file, else the single-byte encoding for Base14, Type 1 and TrueType fonts, the multi-byte one
// for CID fonts. Bytes the encoding does not know show as U+FFFD.
#include "conversion/ConversionOptions.h"

#include <cstdint>
#include <string>

struct TextPreview {
    std::string utf8;           // the text shown, lines ended by LF
    bool cut = false;           // the file holds more than was read
    std::uint64_t fileSize = 0; // bytes on disk when it was opened
    std::string error;          // set when the file could not be read; utf8 is then empty
};

// Reads at most maxBytes of the file. Never waits on a file that is not a regular file.
TextPreview ReadTextPreview(const std::string& path, const ConversionOptions& options, std::size_t maxBytes);

// The iconv name of the encoding that the options' text is in.
std::string PreviewCharset(const ConversionOptions& options);

// Decodes bytes of `charset` to UTF-8. A lone CR ends a line as it does in the PDF, so it
// becomes LF. With `more` set, a character cut off at the end is dropped instead of shown as
// U+FFFD.
std::string DecodeForDisplay(const std::string& bytes, const std::string& charset, bool more);
