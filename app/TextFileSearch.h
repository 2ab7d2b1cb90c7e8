#pragma once
// The search of Import Directory: every file whose extension (from the last dot of its name,
// in any case) is ".txt", in the folder and all its subfolders, depth first: a subfolder is
// searched where it is met. Each folder's entries are taken in name order (letters of either case
// together), so that the list comes out the same every time. Links to folders are not followed (a link to a parent would
// never end); a subfolder that cannot be read is skipped and named. Plain C++; any thread.
#include <string>
#include <vector>

struct TextFileSearchResult {
    std::vector<std::string> files;
    std::vector<std::string> unreadableFolders;
};

TextFileSearchResult FindTextFiles(const std::string& folder);

// True for names whose extension is ".txt" in any case; a name without a dot has none.
bool HasTextExtension(const std::string& name);
