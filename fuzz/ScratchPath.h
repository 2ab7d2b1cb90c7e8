#pragma once
// A path in a folder of this process's own, made on first use and removed when the process
// exits normally, for targets whose code under test reads and writes files. A run that stops
// on a finding leaves the folder behind; fuzz/run gives each target a temporary folder of its
// own and removes that.
#include <cstdlib>
#include <filesystem>
#include <string>

inline std::string ScratchPath(const std::string& name)
{
    // Never destroyed: the removal at exit is registered before the name is made, so it runs
    // after the name's destructor would have.
    static const std::filesystem::path* folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "quillary-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        std::atexit([] { std::filesystem::remove_all(*folder); });
        return new std::filesystem::path(pattern);
    }();
    return (*folder / name).string();
}
