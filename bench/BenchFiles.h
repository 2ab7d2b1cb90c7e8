#pragma once
// What the conversion benchmarks share: writing an input file and timing a piece of work by its
// best of a few runs (the best run is the one least disturbed by the rest of the machine).
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

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

// The CPU time (user and system, all threads) `work` takes once, which the load of a shared
// machine disturbs less than the clock.
inline double CpuSeconds(const std::function<void()>& work)
{
    const auto used = [] {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
               double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    };
    const double before = used();
    work();
    return used() - before;
}

// Peak resident memory of `work` run in a child process, in MB.
inline double PeakMegabytes(const std::function<void()>& work)
{
    const pid_t child = fork();
    if (child == 0) {
        work();
        _exit(0);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}
