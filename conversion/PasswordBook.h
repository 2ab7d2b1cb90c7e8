#pragma once
// The passwords of the listed files, kept by the window and read by a run's worker. The window
// writes a file's passwords whenever its row's cells change, so that the worker finds them as
// the row shows them when the file's turn comes, without waiting for the window's thread.
//
// Threads: any; every call takes the book's lock.
#include "conversion/ConversionRun.h"

#include <mutex>
#include <string>
#include <unordered_map>

class PasswordBook {
public:
    void Set(const std::string& path, FilePasswords passwords);
    void Remove(const std::string& path);
    void Clear();
    // The file's passwords; `listed` is false for a file the book does not hold.
    FilePasswords Get(const std::string& path) const;

private:
    mutable std::mutex m_mutex;
    std::unordered_map<std::string, FilePasswords> m_byPath;
};
