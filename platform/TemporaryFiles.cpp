#include "platform/TemporaryFiles.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <set>
#include <string_view>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::string_view kPrefix = ".quillary-";
constexpr std::string_view kSuffix = ".tmp";
constexpr std::size_t kRandomDigits = 16;
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Enough for the most files a run writes at once; a file without a slot is left for the sweep.
constexpr int kSlots = 256;
enum SlotState : int { Free, Taken, Registered };
std::atomic<int> g_slotStates[kSlots];
char g_slotPaths[kSlots][PATH_MAX];

// Only async-signal-safe calls. A slot is taken from Registered before its path is read, so its
// owner cannot reuse it while it is read.
void RemoveRegisteredAndReraise(int signalNumber)
{
    const int savedErrno = errno;
    for (int slot = 0; slot < kSlots; ++slot) {
        int registered = Registered;
        if (g_slotStates[slot].compare_exchange_strong(registered, Taken))
            unlink(g_slotPaths[slot]);
    }
    errno = savedErrno;
    signal(signalNumber, SIG_DFL);
    raise(signalNumber);
}

void InstallSignalHandlers()
{
    struct sigaction action {};
    action.sa_handler = RemoveRegisteredAndReraise;
    sigemptyset(&action.sa_mask);
    for (int signalNumber : kSignals)
        sigaddset(&action.sa_mask, signalNumber);
    for (int signalNumber : kSignals) {
        struct sigaction current {};
        if (sigaction(signalNumber, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
            sigaction(signalNumber, &action, nullptr);
    }
}

std::string RandomHex()
{
    std::uint64_t random = 0;
    if (getrandom(&random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) {
        static std::atomic<std::uint64_t> counter{0};
        random = (counter++ << 32) ^ static_cast<std::uint64_t>(std::clock()) ^ static_cast<std::uint64_t>(time(nullptr));
    }
    char hex[kRandomDigits + 1];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(random));
    return hex;
}

bool IsLowerHex(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

// The process id in a name of exactly the form TemporaryNameBeside makes, or 0 for any other
// name: a user's own ".quillary-1-notes.tmp" is not ours to remove.
pid_t WriterOf(std::string_view name)
{
    if (!name.starts_with(kPrefix) || !name.ends_with(kSuffix))
        return 0;
    name.remove_prefix(kPrefix.size());
    name.remove_suffix(kSuffix.size());
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), pid);
    const std::string_view rest = name.substr(static_cast<std::size_t>(end - name.data()));
    if (error != std::errc() || name.front() == '0' || pid <= 0 || !rest.starts_with('-'))
        return 0;
    return rest.size() == kRandomDigits + 1 && IsLowerHex(rest.substr(1)) ? pid : 0;
}

bool IsGone(pid_t pid)
{
    return pid != getpid() && kill(pid, 0) != 0 && errno == ESRCH;
}

// A writer holds its file locked for as long as it writes: a writer in another pid namespace,
// or on another host sharing the folder, has a process id that looks gone here. The lock is
// held until the name is gone, so that a writer that locks its new file just after us sees it
// removed and takes another name.
void RemoveUnlessLocked(int folder, const char* name)
{
    const int fd = openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return;
    if (flock(fd, LOCK_EX | LOCK_NB) == 0)
        unlinkat(folder, name, 0);
    close(fd);
}

void RemoveLeftovers(const std::string& folder)
{
    DIR* directory = opendir(folder.empty() ? "." : folder.c_str());
    if (!directory)
        return;
    while (const dirent* entry = readdir(directory)) {
        const pid_t writer = WriterOf(entry->d_name);
        struct stat facts {};
        // Only plain files of this user: what another user left is theirs to clear.
        if (writer && IsGone(writer) && fstatat(dirfd(directory), entry->d_name, &facts, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(facts.st_mode) && facts.st_uid == geteuid())
            RemoveUnlessLocked(dirfd(directory), entry->d_name);
    }
    closedir(directory);
}

void RemoveLeftoversOnce(const std::string& folder)
{
    static std::mutex mutex;
    static std::set<std::string> swept;
    const std::lock_guard lock(mutex);
    if (swept.insert(folder).second)
        RemoveLeftovers(folder);
}

} // namespace

std::string TemporaryNameBeside(const std::string& target)
{
    const std::size_t slash = target.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    RemoveLeftoversOnce(folder);
    return folder + std::string(kPrefix) + std::to_string(getpid()) + "-" + RandomHex() + std::string(kSuffix);
}

int CreateTemporaryFile(const std::string& path)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return -1;
    // Between the creation and the lock a sweep may have found the file unlocked: it may hold
    // the lock now, or have removed the file. Either way another name is taken. A file system
    // without locks leaves the process id alone to guard the file.
    struct stat facts {};
    const bool sweeping = flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    if (sweeping || (fstat(fd, &facts) == 0 && facts.st_nlink == 0)) {
        close(fd);
        if (sweeping)
            unlink(path.c_str());
        errno = EEXIST;
        return -1;
    }
    return fd;
}

int RegisterTemporaryFile(const std::string& path)
{
    static std::once_flag installed;
    std::call_once(installed, InstallSignalHandlers);
    if (path.size() >= PATH_MAX)
        return -1;
    for (int slot = 0; slot < kSlots; ++slot) {
        int free = Free;
        if (!g_slotStates[slot].compare_exchange_strong(free, Taken))
            continue;
        std::memcpy(g_slotPaths[slot], path.c_str(), path.size() + 1);
        g_slotStates[slot].store(Registered);
        return slot;
    }
    return -1;
}

void ForgetTemporaryFile(int slot)
{
    if (slot < 0)
        return;
    // When the handler has taken the slot, the process is ending: leave it taken.
    int registered = Registered;
    if (g_slotStates[slot].compare_exchange_strong(registered, Taken))
        g_slotStates[slot].store(Free);
}
