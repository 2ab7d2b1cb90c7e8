#pragma once
// A file system of 64 KB of its own (tmpfs) that a test can fill, for writes that must fail for
// lack of space. Mounting needs root: check Mounted() and skip the test with WhyNotMounted()
// when it is false. The file system is unmounted and its folder removed when the object goes.
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <fcntl.h>
#include <unistd.h>

class SmallDisk {
public:
    SmallDisk()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "quillary-disk-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            m_whyNot = std::strerror(errno);
            return;
        }
        m_path = pattern;
        if (mount("tmpfs", m_path.c_str(), "tmpfs", 0, "size=64k") == 0)
            m_mounted = true;
        else
            m_whyNot = std::string("mount: ") + std::strerror(errno);
    }
    ~SmallDisk()
    {
        if (m_mounted && umount(m_path.c_str()) != 0)
            umount2(m_path.c_str(), MNT_DETACH);
        if (!m_path.empty())
            rmdir(m_path.c_str());
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool Mounted() const { return m_mounted; }
    std::string WhyNotMounted() const { return "cannot mount a small tmpfs to fill (needs root): " + m_whyNot; }
    std::string File(const std::string& name) const { return m_path + "/" + name; }

    // Fills the disk with a file of its own until `freeBytes` (whole 4 KB pages) are left.
    bool LeaveFree(std::size_t freeBytes) const
    {
        struct statvfs facts {};
        if (statvfs(m_path.c_str(), &facts) != 0)
            return false;
        const std::size_t available = facts.f_bavail * facts.f_frsize;
        if (available < freeBytes)
            return false;
        const std::string filler(available - freeBytes, 'f');
        const int fd = open(File(".filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const bool written = fd >= 0 && write(fd, filler.data(), filler.size()) == ssize_t(filler.size());
        return close(fd) == 0 && written;
    }

private:
    std::string m_path;
    bool m_mounted = false;
    std::string m_whyNot;
};
