#pragma once
// A path in a folder of this process's own, made on first use and removed when the process
// ends, for targets whose code under test reads and writes files.
#include <cstdlib>
#include <filesystem>
#include <string>

inline std::string ScratchPath(const std::string& name)
{
    static const std::filesystem::path folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "quillary-fuzz-XXXXXX").string();
        const char* made = mkdtemp(pattern.data());
        if (!made)
            std::abort();
        std::atexit([] { std::filesystem::remove_all(folder); });
        return std::filesystem::path(made);
    }();
    return (folder / name).string();
}
