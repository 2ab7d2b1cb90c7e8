#include "platform/CommitPool.h"

#include <algorithm>
#include <system_error>

namespace {

// Files that may wait per committing thread: enough that a thread finds the next file ready
// when its flush returns, few enough that the open files stay far below the process's limit.
constexpr std::size_t kPendingPerThread = 2;

} // namespace

CommitPool::CommitPool(int threads)
    : m_mostThreads(std::size_t(std::max(threads, 0)))
    , m_mostPending(m_mostThreads * kPendingPerThread)
{
}

CommitPool::~CommitPool()
{
    {
        std::lock_guard lock(m_mutex);
        m_closing = true;
    }
    m_work.notify_all();
    m_threads.clear(); // each thread empties the queue before it ends
}

void CommitPool::Submit(std::unique_ptr<ReplacingFile> file, Done done)
{
    Pending pending{std::move(file), std::move(done)};
    std::unique_lock lock(m_mutex);
    if (m_idle <= m_queue.size())
        StartThread();
    if (m_threads.empty()) {
        lock.unlock();
        CommitNow(pending);
        return;
    }
    m_progress.wait(lock, [this] { return m_queue.size() + m_busy < m_mostPending; });
    m_queue.push_back(std::move(pending));
    m_work.notify_one();
}

void CommitPool::Wait()
{
    std::unique_lock lock(m_mutex);
    m_progress.wait(lock, [this] { return m_queue.empty() && m_busy == 0; });
}

// Threads start as files come, so that a call with one file starts one thread.
void CommitPool::StartThread()
{
    if (m_threads.size() == m_mostThreads)
        return;
    try {
        m_threads.emplace_back([this] { Serve(); });
    } catch (const std::system_error&) {
        m_mostThreads = m_threads.size(); // a system out of threads commits with those started
    }
}

void CommitPool::CommitNow(Pending& pending)
{
    pending.file->Commit();
    const std::string error = pending.file->Error();
    pending.file.reset();
    pending.done(error);
}

void CommitPool::Serve()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        ++m_idle;
        m_work.wait(lock, [this] { return m_closing || !m_queue.empty(); });
        --m_idle;
        if (m_queue.empty())
            return;
        Pending pending = std::move(m_queue.front());
        m_queue.pop_front();
        ++m_busy;
        lock.unlock();
        CommitNow(pending);
        lock.lock();
        --m_busy;
        m_progress.notify_all();
    }
}
