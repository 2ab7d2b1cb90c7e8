#include "platform/TemporaryFiles.h"

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
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::string_view kPrefix = ".quillary-";
constexpr std::string_view kSuffix = ".tmp";
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
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(random));
    return hex;
}

// The process id in a temporary file's name, or 0 for any other name.
pid_t WriterOf(std::string_view name)
{
    if (!name.starts_with(kPrefix) || !name.ends_with(kSuffix))
        return 0;
    name.remove_prefix(kPrefix.size());
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), pid);
    return error == std::errc() && end != name.data() && *end == '-' && pid > 0 ? pid : 0;
}

bool IsGone(pid_t pid)
{
    return pid != getpid() && kill(pid, 0) != 0 && errno == ESRCH;
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
            unlinkat(dirfd(directory), entry->d_name, 0);
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
