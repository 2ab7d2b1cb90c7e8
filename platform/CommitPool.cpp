#include "platform/CommitPool.h"

#include <system_error>

namespace {

// Files that may wait per committing thread: enough that a thread finds the next file ready
// when its flush returns, few enough that the open files stay far below the process's limit.
constexpr std::size_t kPendingPerThread = 2;

} // namespace

CommitPool::CommitPool(int threads)
{
    for (int i = 0; i < threads; ++i) {
        try {
            m_threads.emplace_back([this] { Serve(); });
        } catch (const std::system_error&) {
            break; // a system out of threads commits with those already started
        }
    }
    m_mostPending = m_threads.size() * kPendingPerThread;
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
        m_work.wait(lock, [this] { return m_closing || !m_queue.empty(); });
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
