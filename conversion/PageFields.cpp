#include "conversion/PageFields.h"

#include "platform/FileName.h"

#include <ctime>
#include <sys/stat.h>

namespace {

std::string LocalTime(std::time_t when, const char* format)
{
    std::tm parts{};
    char text[32];
    if (!localtime_r(&when, &parts) || std::strftime(text, sizeof text, format, &parts) == 0)
        return {};
    return text;
}

// The value of placeholder letter `letter`, or null when it is none.
const std::string* FactFor(char letter, const FieldFacts& facts)
{
    switch (letter) {
    case 'f': return &facts.name;
    case 'F': return &facts.path;
    case 'm': return &facts.modified;
    case 'D': return &facts.today;
    default: return nullptr;
    }
}

} // namespace

FieldFacts FieldFactsOf(const std::string& path)
{
    FieldFacts facts;
    facts.today = LocalTime(std::time(nullptr), "%Y-%m-%d");
    if (path.empty())
        return facts;
    facts.name = FileNameOf(path);
    facts.path = path;
    struct stat status {};
    if (stat(path.c_str(), &status) == 0)
        facts.modified = LocalTime(status.st_mtime, "%Y-%m-%d %H:%M");
    return facts;
}

std::string ExpandPlaceholders(std::string_view field, const FieldFacts& facts, long page, long pages)
{
    std::string text;
    for (std::size_t pos = 0; pos < field.size(); ++pos) {
        const char letter = pos + 1 < field.size() && field[pos] == '%' ? field[pos + 1] : '\0';
        if (const std::string* fact = FactFor(letter, facts))
            text += *fact;
        else if (letter == 'p' || letter == 'P')
            text += std::to_string(letter == 'p' ? page : pages);
        else if (letter == '%')
            text += '%';
        else {
            text += field[pos];
            continue;
        }
        ++pos;
    }
    return text;
}

FurnitureFields FieldsOf(const ConversionOptions& options)
{
    return {{&options.HeaderLeft, &options.HeaderCentre, &options.HeaderRight, &options.FooterLeft,
             &options.FooterCentre, &options.FooterRight}};
}

bool UsesPageCount(const ConversionOptions& options)
{
    for (const std::string* field : FieldsOf(options).fields) {
        // "%%P" is a percent sign and a P.
        for (std::size_t pos = field->find('%'); pos != std::string::npos && pos + 1 < field->size();
             pos = field->find('%', pos + 2)) {
            if ((*field)[pos + 1] == 'P')
                return true;
        }
    }
    return false;
}

bool HasHeader(const ConversionOptions& options)
{
    return !options.HeaderLeft.empty() || !options.HeaderCentre.empty() || !options.HeaderRight.empty();
}

bool HasFooter(const ConversionOptions& options)
{
    return !options.FooterLeft.empty() || !options.FooterCentre.empty() || !options.FooterRight.empty();
}
