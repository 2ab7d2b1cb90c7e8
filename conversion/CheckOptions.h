#pragma once
// The one gate for options that would fail every file: a page the library cannot make, margins
// that leave no room for text, a font size out of range, equal passwords, document information
// longer than the library takes, UTF-8 with a font kind that has no UTF-8 encoding, a TrueType
// font without a file, a font that cannot be had, an
// archival PDF with encryption or with a font that cannot be embedded. A run asks once, before it touches any file,
// and stops with the reason instead of failing every file in turn.
#include "conversion/ConversionOptions.h"

#include <optional>
#include <string>

// The reason the options fail every file, or nothing. The passwords are those every file of
// the run gets; a run whose passwords differ per file passes none and each file is checked
// as it is converted. Tries the font in a document of its own; any thread.
std::optional<std::string> CheckOptions(const ConversionOptions& options, const std::string& ownerPassword = {},
                                        const std::string& userPassword = {});

// The same without trying the font: each file's conversion asks this, and finds a font that
// cannot be had by itself.
std::optional<std::string> CheckPageAndPasswords(const ConversionOptions& options, const std::string& ownerPassword,
                                                 const std::string& userPassword);

// The passwords of one file alone: a run whose passwords differ per file asks this for each
// file before anything of that file is touched.
std::optional<std::string> CheckPasswords(const std::string& ownerPassword, const std::string& userPassword);
