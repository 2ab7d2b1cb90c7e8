#include "app/TextFileSearch.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

struct Entry {
    std::string name;
    bool folder;
};

// Name order as file managers show it: letters in either case together, bytes breaking ties.
bool NameBefore(const std::string& a, const std::string& b)
{
    const auto lower = [](unsigned char c) { return std::tolower(c); };
    const bool less = std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                                   [&](unsigned char x, unsigned char y) { return lower(x) < lower(y); });
    const bool greater = std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(),
                                                      [&](unsigned char x, unsigned char y) { return lower(x) < lower(y); });
    return less || (!greater && a < b);
}

// A folder's entries in name order, links to folders counted as files; false when the
// folder cannot be read.
bool ListFolder(const fs::path& folder, std::vector<Entry>& entries)
{
    std::error_code error;
    fs::directory_iterator it(folder, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::error_code typeError;
        entries.push_back({it->path().filename().string(), it->is_directory(typeError) && !it->is_symlink(typeError)});
    }
    if (error)
        return false;
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return NameBefore(a.name, b.name); });
    return true;
}

void Search(const fs::path& folder, TextFileSearchResult& result)
{
    std::vector<Entry> entries;
    if (!ListFolder(folder, entries)) {
        result.unreadableFolders.push_back(folder.string());
        return;
    }
    for (const Entry& entry : entries) {
        if (entry.folder)
            Search(folder / entry.name, result);
        else if (HasTextExtension(entry.name))
            result.files.push_back((folder / entry.name).string());
    }
}

} // namespace

bool HasTextExtension(const std::string& name)
{
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || name.size() - dot != 4)
        return false;
    std::string extension = name.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return extension == ".txt";
}

TextFileSearchResult FindTextFiles(const std::string& folder)
{
    TextFileSearchResult result;
    fs::path root(folder);
    // "/docs/" and "/docs" name the same folder; the paths found should not hold "//".
    if (root.has_filename() == false && root.has_parent_path() && root != root.root_path())
        root = root.parent_path();
    Search(root, result);
    return result;
}
