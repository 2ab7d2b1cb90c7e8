#include "platform/ReplacingFile.h"

#include "platform/SystemMessage.h"
#include "platform/TemporaryFiles.h"
#include "platform/WriteAll.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kNameAttempts = 8;
// As many links as the system itself follows in one path.
constexpr int kMostLinks = 40;

// The path that `path` leads to through symbolic links, the last one possibly missing (a link
// to a file still to be made makes that file, as cp does). Empty, with errno set, for a loop.
std::string FollowLinks(std::string path)
{
    for (int link = 0; link < kMostLinks; ++link) {
        char target[PATH_MAX];
        const ssize_t length = readlink(path.c_str(), target, sizeof target);
        if (length < 0 || length == static_cast<ssize_t>(sizeof target))
            return path;
        const std::string_view linked(target, static_cast<std::size_t>(length));
        const std::size_t slash = path.find_last_of('/');
        path = linked.front() == '/' || slash == std::string::npos
                   ? std::string(linked)
                   : path.substr(0, slash + 1) + std::string(linked);
    }
    errno = ELOOP;
    return {};
}

// The owner and mode the file carries now match what was asked, though a call failed: a file
// system without owners or modes (FAT) gives every file the same ones.
bool AlreadyHas(int fd, const struct stat& wanted, bool owner)
{
    struct stat now {};
    if (fstat(fd, &now) != 0)
        return false;
    return owner ? now.st_uid == wanted.st_uid && now.st_gid == wanted.st_gid
                 : (now.st_mode & 07777) == (wanted.st_mode & 07777);
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
    m_destination = FollowLinks(m_target);
    if (m_destination.empty())
        return Fail("Cannot write", errno);
    struct stat existing {};
    const bool exists = stat(m_destination.c_str(), &existing) == 0;
    if (exists && !MayReplace(existing))
        return false;
    for (int attempt = 0; attempt < kNameAttempts && m_fd < 0; ++attempt) {
        m_temporary = TemporaryNameBeside(m_destination);
        m_fd = CreateTemporaryFile(m_temporary);
        if (m_fd < 0 && errno != EEXIST)
            break;
    }
    if (m_fd < 0) {
        const int error = errno;
        m_temporary.clear();
        return Fail("Cannot write", error);
    }
    m_slot = RegisterTemporaryFile(m_temporary);
    return !exists || KeepModeAndOwner(existing);
}

// The rename needs only the folder's permission; the file's own is asked here, as cp asks it.
bool ReplacingFile::MayReplace(const struct stat& existing)
{
    if (access(m_destination.c_str(), W_OK) != 0)
        return Fail("Cannot replace", errno);
    if ((existing.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return Fail("Cannot replace", EACCES);
    return true;
}

// The owner first: changing it may clear the set-id bits that the mode then puts back.
bool ReplacingFile::KeepModeAndOwner(const struct stat& existing)
{
    if (geteuid() == 0 && fchown(m_fd, existing.st_uid, existing.st_gid) != 0 && !AlreadyHas(m_fd, existing, true))
        return Fail("Cannot keep the owner of", errno);
    if (fchmod(m_fd, existing.st_mode & 07777) != 0 && !AlreadyHas(m_fd, existing, false))
        return Fail("Cannot keep the permissions of", errno);
    return true;
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
    if (std::rename(m_temporary.c_str(), m_destination.c_str()) != 0)
        return Fail("Cannot replace", errno);
    ForgetTemporaryFile(m_slot);
    m_slot = -1;
    m_committed = true;
    return true;
}

bool ReplacingFile::Fail(const std::string& what, int errorNumber)
{
    if (m_error.empty()) {
        m_error = what + " \"" + m_target + "\": " + SystemMessage(errorNumber) + ".";
        m_errorNumber = errorNumber;
    }
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
    ForgetTemporaryFile(m_slot);
    m_slot = -1;
}
