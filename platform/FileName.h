#pragma once
// The file name of a path, as a document's title, an outline entry and the %f field show it:
// what follows the last '/', the whole path when it has none, nothing when it ends in one.
// Only the text is looked at, never the disk; "-" is a name like any other. Any thread.
#include <string>
#include <string_view>

std::string FileNameOf(std::string_view path);
