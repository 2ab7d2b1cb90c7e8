#include "conversion/OutputPath.h"

#include <filesystem>

std::string OutputPathFor(std::string_view inputPath)
{
    std::string path(inputPath);
    // Only a pair that encloses the whole path is quoting; any other quote is part of a name.
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"')
        path = path.substr(1, path.size() - 2);

    const std::size_t nameStart = path.find_last_of('/') + 1; // 0 when there is no folder
    const std::size_t dot = path.find_last_of('.');
    if (dot != std::string::npos && dot >= nameStart)
        path.erase(dot);
    return path + ".pdf";
}

std::string WithPdfExtension(const std::string& chosen)
{
    // A name without an extension is still a PDF: readers and file managers go by the extension.
    if (chosen.empty() || chosen.back() == '/' || std::filesystem::path(chosen).has_extension())
        return chosen;
    return chosen + ".pdf";
}

std::string CombinedOutputPath(const std::string& chosen, const std::string& firstInput)
{
    const std::filesystem::path path(WithPdfExtension(chosen));
    if (path.is_absolute())
        return path.string();
    return (std::filesystem::path(firstInput).parent_path() / path).lexically_normal().string();
}
