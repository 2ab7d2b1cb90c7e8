#pragma once
// The texts of the header and footer fields: placeholders replaced by what they stand for on
// one page. Any thread.
//   %f the file's name          %F its path as given
//   %m its modification date and time, "2026-12-07 14:05" (local time)
//   %D today's date, "2026-12-07" (local time)
//   %p the page number          %P the page count
//   %% a percent sign
// Any other % stays as it is. For the standard input, %f, %F and %m are empty.
#include "conversion/ConversionOptions.h"

#include <string>
#include <string_view>

// What the placeholders of one file stand for, apart from the page.
struct FieldFacts {
    std::string name;
    std::string path;
    std::string modified;
    std::string today;
};

// The facts of the file at `path`, today's date taken now; of the standard input when `path`
// is empty. A file whose date cannot be read gets an empty %m.
FieldFacts FieldFactsOf(const std::string& path);

std::string ExpandPlaceholders(std::string_view field, const FieldFacts& facts, long page, long pages);

// Whether any header or footer field holds %P, the only placeholder that needs the pages
// counted before the first is drawn.
bool UsesPageCount(const ConversionOptions& options);

// The six fields in the order header left, centre, right, footer left, centre, right.
struct FurnitureFields {
    const std::string* fields[6];
};
FurnitureFields FieldsOf(const ConversionOptions& options);

bool HasHeader(const ConversionOptions& options);
bool HasFooter(const ConversionOptions& options);
