#include "platform/ReplacingFile.h"

#include "platform/CommitPool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <future>
#include <memory>
#include <optional>
#include <poll.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

// Faults that a real disk shows only rarely (tmpfs never fails fsync), put into the system
// calls of this test program: its own definitions take the place of the C library's.
namespace {

enum class Fault { None, ShortWrites, NoSpaceAfterAShortWrite, FsyncFails, CloseFails, FirstFsyncFails, SlowFsyncs };
std::atomic<Fault> g_fault{Fault::None};
constexpr std::size_t kShortWrite = 1000;

} // namespace

extern "C" ssize_t write(int fd, const void* bytes, size_t count)
{
    const Fault fault = g_fault.load();
    if (fault == Fault::NoSpaceAfterAShortWrite && count <= kShortWrite) {
        errno = ENOSPC;
        return -1;
    }
    if (fault == Fault::ShortWrites || fault == Fault::NoSpaceAfterAShortWrite)
        count = std::min(count, kShortWrite);
    return syscall(SYS_write, fd, bytes, count);
}

extern "C" int fsync(int fd)
{
    Fault firstFails = Fault::FirstFsyncFails;
    if (g_fault.load() == Fault::FsyncFails || g_fault.compare_exchange_strong(firstFails, Fault::None)) {
        errno = EIO;
        return -1;
    }
    if (g_fault.load() == Fault::SlowFsyncs)
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
    return static_cast<int>(syscall(SYS_fsync, fd));
}

// As on a network file system: the descriptor goes, but the data may not have reached the disk.
extern "C" int close(int fd)
{
    const int result = static_cast<int>(syscall(SYS_close, fd));
    Fault closeFails = Fault::CloseFails;
    if (result == 0 && g_fault.compare_exchange_strong(closeFails, Fault::None)) {
        errno = EIO;
        return -1;
    }
    return result;
}

namespace {

namespace fs = std::filesystem;

const std::string kOld = "old contents\n";
const std::string kNew = std::string(5000, 'n') + "\n";

class ReplacingFileTest : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "quillary-replace-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
    }
    void TearDown() override
    {
        g_fault = Fault::None;
        fs::remove_all(m_folder);
    }

    std::string File(const std::string& name) const { return (m_folder / name).string(); }
    std::string Write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(File(name), std::ios::binary) << bytes;
        return File(name);
    }
    static std::string Read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static std::vector<std::string> TemporaryFilesIn(const fs::path& folder)
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.path().filename().string().starts_with(".quillary-"))
                names.push_back(entry.path().filename().string());
        return names;
    }
    // The id of a process that has ended and been reaped, or -1.
    static pid_t GoneProcess()
    {
        const pid_t child = fork();
        if (child == 0)
            _exit(0);
        return child > 0 && waitpid(child, nullptr, 0) == child ? child : -1;
    }
    static bool Replace(const std::string& path, const std::string& bytes)
    {
        ReplacingFile file(path);
        return file.Write(bytes) && file.Commit();
    }

    fs::path m_folder;
};

struct FaultCase {
    const char* name;
    Fault fault;
    bool replaced;
};

void PrintTo(const FaultCase& c, std::ostream* out)
{
    *out << c.name;
}

class ReplacingFileFault : public ReplacingFileTest, public testing::WithParamInterface<FaultCase> {};

TEST_P(ReplacingFileFault, ReplacesOnlyWithAllOfTheFileOnDisk)
{
    const std::string target = Write("x.pdf", kOld);
    ReplacingFile file(target);
    g_fault = GetParam().fault;
    const bool replaced = file.Write(kNew) && file.Commit();
    g_fault = Fault::None;
    EXPECT_EQ(replaced, GetParam().replaced) << file.Error();
    EXPECT_EQ(Read(target), replaced ? kNew : kOld);
    EXPECT_EQ(file.Error().empty(), replaced);
    EXPECT_TRUE(TemporaryFilesIn(m_folder).empty());
}

INSTANTIATE_TEST_SUITE_P(, ReplacingFileFault,
    testing::Values(FaultCase{"PartialWritesAreCarriedOn", Fault::ShortWrites, true},
                    FaultCase{"AShortWriteThenAFullDiskFails", Fault::NoSpaceAfterAShortWrite, false},
                    FaultCase{"AFailedFsyncFails", Fault::FsyncFails, false},
                    FaultCase{"AFailedCloseFails", Fault::CloseFails, false}),
    [](const testing::TestParamInfo<FaultCase>& info) { return std::string(info.param.name); });

TEST_F(ReplacingFileTest, AFileNotCommittedLeavesTheTargetAndNoTemporaryFile)
{
    const std::string target = Write("x.pdf", kOld);
    {
        ReplacingFile file(target);
        ASSERT_TRUE(file.Write(kNew));
        ASSERT_EQ(TemporaryFilesIn(m_folder).size(), 1u);
    }
    EXPECT_TRUE(TemporaryFilesIn(m_folder).empty());
    EXPECT_EQ(Read(target), kOld);
}

struct PoolCase {
    const char* name;
    Fault fault;
    int threads;
    bool endedByDestruction; // else by Wait
    int failures;
};

void PrintTo(const PoolCase& c, std::ostream* out)
{
    *out << c.name;
}

class CommitPoolFlush : public ReplacingFileTest, public testing::WithParamInterface<PoolCase> {};

// What the pool's callers see once it is waited for: each file's Done calls and error.
struct PoolFiles {
    explicit PoolFiles(std::size_t count) : doneCalls(count), errors(count) {}
    std::vector<std::atomic<int>> doneCalls;
    std::vector<std::string> errors;
    std::vector<int> callsAtTheEnd;
};

TEST_P(CommitPoolFlush, EveryFileIsDoneOnceWithItsOwnErrorBeforeThePoolEnds)
{
    const PoolCase& c = GetParam();
    constexpr std::size_t kFiles = 12;
    std::vector<std::string> targets;
    for (std::size_t i = 0; i < kFiles; ++i)
        targets.push_back(Write("f" + std::to_string(i) + ".pdf", kOld));
    auto files = std::make_shared<PoolFiles>(kFiles);
    g_fault = c.fault;
    // On a thread of its own, so that a pool that never ends fails the test instead of hanging it.
    auto ended = std::make_shared<std::promise<void>>();
    std::future<void> end = ended->get_future();
    std::thread([c, targets, files, ended] {
        std::optional<CommitPool> pool(std::in_place, c.threads);
        for (std::size_t i = 0; i < targets.size(); ++i) {
            auto file = std::make_unique<ReplacingFile>(targets[i]);
            file->Write(kNew);
            pool->Submit(std::move(file), [files, i](const std::string& error) {
                files->errors[i] = error;
                ++files->doneCalls[i];
            });
        }
        c.endedByDestruction ? pool.reset() : pool->Wait();
        for (const auto& calls : files->doneCalls)
            files->callsAtTheEnd.push_back(calls.load());
        ended->set_value();
    }).detach();
    ASSERT_EQ(end.wait_for(std::chrono::seconds(30)), std::future_status::ready) << "the pool never ended";
    g_fault = Fault::None;
    int failures = 0;
    for (std::size_t i = 0; i < kFiles; ++i) {
        EXPECT_EQ(files->callsAtTheEnd[i], 1) << i;
        const std::string& error = files->errors[i];
        EXPECT_EQ(Read(targets[i]), error.empty() ? kNew : kOld) << i;
        if (!error.empty()) {
            ++failures;
            EXPECT_EQ(error, "Cannot write \"" + targets[i] + "\": Input/output error.");
        }
    }
    EXPECT_EQ(failures, c.failures);
    EXPECT_TRUE(TemporaryFilesIn(m_folder).empty());
}

INSTANTIATE_TEST_SUITE_P(, CommitPoolFlush,
    testing::Values(PoolCase{"SlowFlushesAreAllDoneWhenWaitReturns", Fault::SlowFsyncs, 4, false, 0},
                    PoolCase{"SlowFlushesAreAllDoneWhenThePoolGoes", Fault::SlowFsyncs, 4, true, 0},
                    PoolCase{"WithoutThreadsTheCallerFlushes", Fault::SlowFsyncs, 0, false, 0},
                    PoolCase{"AFailedFlushFailsOnlyItsFileAndKeepsItsOldOne", Fault::FirstFsyncFails, 4, false, 1},
                    PoolCase{"EveryFlushFailingKeepsEveryOldFile", Fault::FsyncFails, 3, true, 12}),
    [](const testing::TestParamInfo<PoolCase>& info) { return std::string(info.param.name); });

struct ModeCase {
    const char* name;
    fs::perms mode;
    bool replaced;
};

void PrintTo(const ModeCase& c, std::ostream* out)
{
    *out << c.name;
}

class ReplacingFileMode : public ReplacingFileTest, public testing::WithParamInterface<ModeCase> {};

// Root may write any file; a file that nobody may write is still refused, as marked.
TEST_P(ReplacingFileMode, IsKeptOrTheFileIsRefused)
{
    const std::string target = Write("x.pdf", kOld);
    fs::permissions(target, GetParam().mode);
    ReplacingFile file(target);
    const bool replaced = file.Write(kNew) && file.Commit();
    EXPECT_EQ(replaced, GetParam().replaced);
    EXPECT_EQ(Read(target), replaced ? kNew : kOld);
    EXPECT_EQ(fs::status(target).permissions(), GetParam().mode);
    EXPECT_EQ(file.Error(), replaced ? "" : "Cannot replace \"" + target + "\": Permission denied.");
}

using P = fs::perms;
INSTANTIATE_TEST_SUITE_P(, ReplacingFileMode,
    testing::Values(ModeCase{"Private", P::owner_read | P::owner_write, true},
                    ModeCase{"GroupReadable", P::owner_read | P::owner_write | P::group_read, true},
                    ModeCase{"Executable", P::owner_all | P::group_read | P::group_exec, true},
                    ModeCase{"ReadOnly", P::owner_read | P::group_read | P::others_read, false}),
    [](const testing::TestParamInfo<ModeCase>& info) { return std::string(info.param.name); });

TEST_F(ReplacingFileTest, ANewFileFollowsTheUmask)
{
    const mode_t before = umask(027);
    const bool replaced = Replace(File("new.pdf"), kNew);
    umask(before);
    ASSERT_TRUE(replaced);
    EXPECT_EQ(fs::status(File("new.pdf")).permissions(), P::owner_read | P::owner_write | P::group_read);
}

TEST_F(ReplacingFileTest, TheSuperuserKeepsTheOwnerAndGroup)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "changing a file's owner needs root";
    const std::string target = Write("x.pdf", kOld);
    ASSERT_EQ(chown(target.c_str(), 1234, 5678), 0);
    ASSERT_TRUE(Replace(target, kNew));
    struct stat facts {};
    ASSERT_EQ(stat(target.c_str(), &facts), 0);
    EXPECT_EQ(std::make_pair(facts.st_uid, facts.st_gid), std::make_pair(uid_t{1234}, gid_t{5678}));
}

// The link stays a link, and the temporary file is made beside the file it points to.
TEST_F(ReplacingFileTest, ALinkIsWrittenThroughToItsTarget)
{
    fs::create_directory(m_folder / "real");
    const std::string real = Write("real/x.pdf", kOld);
    fs::create_symlink("real/x.pdf", m_folder / "link.pdf");
    ReplacingFile file(File("link.pdf"));
    ASSERT_TRUE(file.Write(kNew));
    EXPECT_EQ(TemporaryFilesIn(m_folder / "real").size(), 1u);
    ASSERT_TRUE(file.Commit());
    EXPECT_TRUE(fs::is_symlink(File("link.pdf")));
    EXPECT_EQ(Read(real), kNew);
}

TEST_F(ReplacingFileTest, LeftoversOfGoneProcessesAreRemoved)
{
    const pid_t child = GoneProcess();
    ASSERT_GT(child, 0);
    const std::string gone = ".quillary-" + std::to_string(child) + "-0123456789abcdef.tmp";
    const std::string living = ".quillary-" + std::to_string(getppid()) + "-0123456789abcdef.tmp";
    const std::string unknown = ".quillary-0123456789abcdef.tmp";
    for (const std::string& name : {gone, living, unknown})
        Write(name, "left");
    ASSERT_TRUE(Replace(File("x.pdf"), kNew));
    std::vector<std::string> left = TemporaryFilesIn(m_folder);
    std::vector<std::string> kept{living, unknown};
    std::sort(left.begin(), left.end());
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(left, kept);
}

// A leftover of a process that is gone here: "@" in the name stands for that process id.
struct LeftoverCase {
    const char* name;
    std::string leftover;
    bool locked; // held by a writer this host cannot see (another pid namespace, another host)
    bool removed;
};

void PrintTo(const LeftoverCase& c, std::ostream* out)
{
    *out << c.name;
}

class LeftoverTest : public ReplacingFileTest, public testing::WithParamInterface<LeftoverCase> {};

TEST_P(LeftoverTest, IsRemovedOnlyWithTheExactNameAndNoWriterHoldingIt)
{
    const pid_t child = GoneProcess();
    ASSERT_GT(child, 0);
    std::string name = GetParam().leftover;
    name.replace(name.find('@'), 1, std::to_string(child));
    const int fd = open(Write(name, "left").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    if (GetParam().locked) {
        ASSERT_EQ(flock(fd, LOCK_EX), 0);
    }
    ASSERT_TRUE(Replace(File("x.pdf"), kNew));
    EXPECT_EQ(fs::exists(File(name)), !GetParam().removed);
    close(fd);
}

INSTANTIATE_TEST_SUITE_P(Table, LeftoverTest, testing::Values(
    LeftoverCase{"ExactName", ".quillary-@-0123456789abcdef.tmp", false, true},
    LeftoverCase{"UsersOwnName", ".quillary-@-notes.tmp", false, false},
    LeftoverCase{"UpperCaseDigits", ".quillary-@-0123456789ABCDEF.tmp", false, false},
    LeftoverCase{"FifteenDigits", ".quillary-@-0123456789abcde.tmp", false, false},
    LeftoverCase{"LeadingZero", ".quillary-0@-0123456789abcdef.tmp", false, false},
    LeftoverCase{"LockedByAWriterElsewhere", ".quillary-@-0123456789abcdef.tmp", true, false}),
    [](const testing::TestParamInfo<LeftoverCase>& info) { return info.param.name; });

// What keeps the sweep of a process in another pid namespace away from the file being written.
TEST_F(ReplacingFileTest, TheFileBeingWrittenIsHeldLocked)
{
    ReplacingFile file(File("x.pdf"));
    ASSERT_TRUE(file.Write(kNew));
    const std::vector<std::string> temporary = TemporaryFilesIn(m_folder);
    ASSERT_EQ(temporary.size(), 1u);
    const int fd = open(File(temporary[0]).c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    EXPECT_NE(flock(fd, LOCK_EX | LOCK_NB), 0);
    close(fd);
    EXPECT_TRUE(file.Commit());
}

// Waits for the child's end for at most ten seconds; a child still running is killed.
int WaitForEnd(pid_t child)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return status;
}

class ReplacingFileSignal : public ReplacingFileTest, public testing::WithParamInterface<int> {};

TEST_P(ReplacingFileSignal, RemovesTheTemporaryFileAndEndsTheProcessAsTheSignalWould)
{
    struct sigaction inherited {};
    sigaction(GetParam(), nullptr, &inherited);
    if (inherited.sa_handler == SIG_IGN)
        GTEST_SKIP() << "the signal is ignored, and stays ignored";
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const std::string target = Write("x.pdf", kOld);
    const pid_t child = fork();
    if (child == 0) {
        ReplacingFile file(target);
        if (file.Write(kNew) && syscall(SYS_write, ready[1], "w", 1) == 1)
            pause();
        _exit(3);
    }
    ASSERT_GT(child, 0);
    pollfd wait{ready[0], POLLIN, 0};
    ASSERT_EQ(poll(&wait, 1, 10000), 1) << "the child did not start writing";
    EXPECT_EQ(TemporaryFilesIn(m_folder).size(), 1u);
    kill(child, GetParam());
    const int status = WaitForEnd(child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == GetParam()) << status;
    EXPECT_TRUE(TemporaryFilesIn(m_folder).empty());
    EXPECT_EQ(Read(target), kOld);
    close(ready[0]);
    close(ready[1]);
}

INSTANTIATE_TEST_SUITE_P(, ReplacingFileSignal, testing::Values(SIGINT, SIGTERM, SIGHUP),
    [](const testing::TestParamInfo<int>& info) { return std::string(sigabbrev_np(info.param)); });

} // namespace
