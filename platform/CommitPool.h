#pragma once
// Flushes and puts in place finished ReplacingFiles on a few threads of its own, so that the
// caller goes on with its next file while the disk takes this one. A flush waits for a commit of
// the file system's journal; flushes that wait at the same time share one commit (ext4, XFS and
// btrfs do this), so a batch of small files pays for a few commits instead of one per file.
//
// Each file's `done` is called once its Commit has returned, with Commit's error (empty when the
// file replaced its target), on the thread that committed it. A thread is started for a file
// that finds none free, up to the number given. A pool without threads, or one whose threads
// could not be started, commits within Submit on the caller's thread. Submit waits
// while a few files per thread are pending, which bounds the open files and unflushed bytes.
//
// Threads: Submit and Wait from any thread; the pool is destroyed after its last Submit, and
// its destruction waits for every file submitted.
#include "platform/ReplacingFile.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// The threads a batch's pool runs: as many flushes at once as this let ext4 commit a batch of
// small files in a few journal commits (bench/README.md has the figures it was chosen by).
inline constexpr int kCommitThreads = 32;

class CommitPool {
public:
    using Done = std::function<void(const std::string& error)>;

    explicit CommitPool(int threads);
    ~CommitPool();
    CommitPool(const CommitPool&) = delete;
    CommitPool& operator=(const CommitPool&) = delete;

    void Submit(std::unique_ptr<ReplacingFile> file, Done done);
    // Returns when every file submitted so far has been committed or has failed.
    void Wait();

private:
    struct Pending {
        std::unique_ptr<ReplacingFile> file;
        Done done;
    };
    void StartThread();
    static void CommitNow(Pending& pending);
    void Serve();

    std::size_t m_mostThreads;
    const std::size_t m_mostPending;
    std::mutex m_mutex;
    std::condition_variable m_work;
    std::condition_variable m_progress;
    std::deque<Pending> m_queue;
    std::size_t m_busy = 0;
    std::size_t m_idle = 0; // threads waiting for a file
    bool m_closing = false;
    std::vector<std::jthread> m_threads;
};
