#pragma once
// A file that takes the place of another only when all of it is on disk. It is written under a
// short temporary name in the target's folder (so any name that fits the folder fits, however
// long), every write is checked, and Commit flushes it to the disk and renames it over the
// target. Until Commit succeeds the target is as it was; an uncommitted file removes its
// temporary file when it goes. One thread at a time.
#include <string>
#include <string_view>

class ReplacingFile {
public:
    explicit ReplacingFile(std::string targetPath);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Each returns false once anything has failed; Error() then says why in one sentence.
    bool Write(std::string_view bytes);
    bool Commit();
    const std::string& Error() const { return m_error; }

private:
    bool Create();
    bool Fail(const std::string& what, int errorNumber);
    void Discard();

    std::string m_target;
    std::string m_temporary;
    int m_fd = -1;
    bool m_committed = false;
    std::string m_error;
};
