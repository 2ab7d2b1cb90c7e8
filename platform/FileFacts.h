#pragma once
// What the file list shows of a file: its size and its creation time. The creation time is the
// birth time where the file system keeps one, else the time of the last change of the data.
// Links are followed. Plain C++; any thread.
#include <cstdint>
#include <ctime>
#include <string>

struct FileFacts {
    bool exists = false;
    bool isDirectory = false;
    bool isRegular = false;
    std::uint64_t size = 0;
    std::time_t creationTime = 0;
};

FileFacts ReadFileFacts(const std::string& path);
