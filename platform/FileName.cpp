#include "platform/FileName.h"

std::string FileNameOf(std::string_view path)
{
    return std::string(path.substr(path.find_last_of('/') + 1)); // npos + 1 is 0: no folder
}
