#pragma once
// What the conversion benchmarks share: writing an input file and timing a piece of work by its
// best of a few runs (the best run is the one least disturbed by the rest of the machine).
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

inline std::string WriteBenchFile(const std::filesystem::path& folder, const std::string& name, const std::string& text)
{
    const std::string path = (folder / name).string();
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

inline double BestSeconds(const std::function<void()>& work, int repeats = 3)
{
    double best = 1e30;
    for (int i = 0; i < repeats; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}
