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

std::string CombinedOutputPath(const std::string& chosen, const std::string& firstInput)
{
    const std::filesystem::path path(chosen);
    if (path.is_absolute())
        return chosen;
    return (std::filesystem::path(firstInput).parent_path() / path).lexically_normal().string();
}
