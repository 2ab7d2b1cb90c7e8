#include "conversion/OutputPath.h"

std::string OutputPathFor(std::string_view inputPath)
{
    std::string path(inputPath);
    path.erase(0, path.find_first_not_of('"'));
    path.erase(path.find_last_not_of('"') + 1);

    const std::size_t nameStart = path.find_last_of('/') + 1; // 0 when there is no folder
    const std::size_t dot = path.find_last_of('.');
    if (dot != std::string::npos && dot >= nameStart)
        path.erase(dot);
    return path + ".pdf";
}
