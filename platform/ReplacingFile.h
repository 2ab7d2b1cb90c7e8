#pragma once
// A file that takes the place of another only when all of it is on disk; every file the
// program writes (the PDFs, Settings.ini) is written through it.
//  - The target is followed through symbolic links, so that a link keeps pointing at the new
//    contents. The temporary file lies in the folder of that final target (TemporaryFiles.h says
//    how it is named and when it is removed for a writer that could not).
//  - A target that exists is replaced only when it may be written: without write permission
//    for this user, or marked read-only (no write permission for anyone, which even the
//    superuser is held to), it is refused with the reason. The new file keeps the old one's
//    mode and, for the superuser, its owner and group; a new file follows the umask.
//  - Every write is checked and goes on after partial writes; Commit flushes the file to the
//    disk, checks its close and renames it over the target.
// Until Commit succeeds the target is as it was; an uncommitted file removes its temporary
// file when it goes. One thread per object.
#include <string>
#include <string_view>

class ReplacingFile {
public:
    explicit ReplacingFile(std::string targetPath);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Each returns false once anything has failed; Error() then says why in one sentence, and
    // ErrorNumber() gives the system's error number.
    bool Write(std::string_view bytes);
    bool Commit();
    const std::string& Error() const { return m_error; }
    int ErrorNumber() const { return m_errorNumber; }

private:
    bool Create();
    bool MayReplace(const struct stat& existing);
    bool KeepModeAndOwner(const struct stat& existing);
    bool Fail(const std::string& what, int errorNumber);
    void Discard();

    std::string m_target;      // as the caller named it, for messages
    std::string m_destination; // the target after its symbolic links
    std::string m_temporary;
    int m_fd = -1;
    int m_slot = -1;
    bool m_committed = false;
    std::string m_error;
    int m_errorNumber = 0;
};
