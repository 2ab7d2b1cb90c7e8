#include "conversion/ReplacingFile.h"

#include "conversion/SystemMessage.h"
#include "conversion/WriteAll.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <sys/random.h>
#include <unistd.h>

namespace {

constexpr int kNameAttempts = 8;

std::string RandomHex()
{
    std::uint64_t random = 0;
    if (getrandom(&random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) {
        static std::atomic<std::uint64_t> counter{0};
        random = (counter++ << 32) ^ static_cast<std::uint64_t>(getpid()) ^ static_cast<std::uint64_t>(std::clock());
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(random));
    return hex;
}

// A hidden name in the target's folder that no file has yet. Random, so that nobody can plant a
// file or a link under it beforehand; short and independent of the target's own name, so that
// it fits wherever the target fits.
std::string TemporaryNameBeside(const std::string& target)
{
    const std::size_t slash = target.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    return folder + ".quillary-" + RandomHex() + ".tmp";
}

} // namespace

ReplacingFile::ReplacingFile(std::string targetPath) : m_target(std::move(targetPath))
{
    Create();
}

ReplacingFile::~ReplacingFile()
{
    if (!m_committed)
        Discard();
}

bool ReplacingFile::Create()
{
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        m_temporary = TemporaryNameBeside(m_target);
        m_fd = open(m_temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd >= 0)
            return true;
        if (errno != EEXIST)
            break;
    }
    const int error = errno;
    m_temporary.clear();
    return Fail("Cannot write", error);
}

bool ReplacingFile::Write(std::string_view bytes)
{
    if (!m_error.empty())
        return false;
    const int error = WriteAll(m_fd, bytes);
    return error == 0 || Fail("Cannot write", error);
}

bool ReplacingFile::Commit()
{
    if (!m_error.empty())
        return false;
    // A full disk can show itself only here, and only fsync tells that the bytes are on disk.
    if (fsync(m_fd) != 0)
        return Fail("Cannot write", errno);
    const int fd = m_fd;
    m_fd = -1;
    if (close(fd) != 0)
        return Fail("Cannot write", errno);
    if (std::rename(m_temporary.c_str(), m_target.c_str()) != 0)
        return Fail("Cannot replace", errno);
    m_committed = true;
    return true;
}

bool ReplacingFile::Fail(const std::string& what, int errorNumber)
{
    if (m_error.empty())
        m_error = what + " \"" + m_target + "\": " + SystemMessage(errorNumber) + ".";
    Discard();
    return false;
}

void ReplacingFile::Discard()
{
    if (m_fd >= 0)
        close(m_fd);
    m_fd = -1;
    if (!m_temporary.empty())
        unlink(m_temporary.c_str());
    m_temporary.clear();
}
