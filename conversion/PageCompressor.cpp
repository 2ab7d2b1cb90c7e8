#include "conversion/PageCompressor.h"

#include <libdeflate.h>

#include <new>
#include <system_error>

namespace {

// The level of the library's own compression (zlib's default), which gives files no larger
// than before in a third of the time.
constexpr int kCompressionLevel = 6;

// Pages handed to the worker and not yet put back, at most: their content waits uncompressed,
// so this bounds the memory when the layout runs ahead of the compression.
constexpr std::size_t kMostPagesWaiting = 16;

// Content up to this long stays as it is: compressing it would save less than the filter's
// entry takes, and cost as much as a page of text.
constexpr std::size_t kMostPlainBytes = 96;

} // namespace

void PageCompressor::FreeCompressor::operator()(libdeflate_compressor* compressor) const
{
    libdeflate_free_compressor(compressor);
}

PageCompressor::PageCompressor() = default;

PageCompressor::~PageCompressor()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    if (m_worker.joinable())
        m_worker.join();
}

bool PageCompressor::Compress(HPDF_Page page)
{
    Job job;
    job.page = page;
    job.number = ++m_pageNumber;
    if (!m_failure.empty())
        return false;
    if (!m_compressor)
        m_compressor.reset(libdeflate_alloc_compressor(kCompressionLevel));
    if (!m_compressor)
        return Fail(job.number, "out of memory for the compressor");
    LibharuPage content(page);
    if (!content.TakeContent(job.content))
        return Fail(job.number, "the PDF library did not hand the page over");
    if (!content.ShareResources(m_shared))
        return Fail(job.number, "the PDF library ran out of memory");
    if (job.content.size() <= kMostPlainBytes)
        return content.PutPlainContent(job.content) || Fail(job.number, "the PDF library ran out of memory");
    // A document of one page never starts the worker.
    if (job.number == 1 || !StartWorker())
        return CompressNow(job);
    return HandOver(std::move(job));
}

bool PageCompressor::Complete()
{
    return m_failure.empty() && PutBackCompressed(0);
}

bool PageCompressor::CompressNow(Job& job)
{
    if (!PutBackCompressed(0))
        return false;
    Deflate(job);
    return PutBack(job);
}

bool PageCompressor::HandOver(Job job)
{
    {
        const std::lock_guard lock(m_mutex);
        m_jobs.push_back(std::move(job));
    }
    m_changed.notify_all();
    return PutBackCompressed(kMostPagesWaiting);
}

// False when no thread can be had; the pages are then compressed by the document's thread.
bool PageCompressor::StartWorker()
{
    if (m_worker.joinable())
        return true;
    try {
        m_worker = std::thread(&PageCompressor::Work, this);
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void PageCompressor::Work()
{
    std::unique_lock lock(m_mutex);
    while (true) {
        m_changed.wait(lock, [this] { return m_stopping || m_nextToDeflate < m_jobs.size(); });
        if (m_stopping)
            return;
        // Only this thread changes a job that is not compressed, and the document's thread
        // removes only compressed ones, so the reference stays valid while unlocked.
        Job& job = m_jobs[m_nextToDeflate];
        lock.unlock();
        // Out of memory here would end the program; the page then fails as not compressed.
        try {
            Deflate(job);
        } catch (const std::bad_alloc&) {
            job.deflated.clear();
        }
        lock.lock();
        job.compressed = true;
        ++m_nextToDeflate;
        m_changed.notify_all();
    }
}

// A failure leaves `deflated` empty, which PutBack reports. The document's thread lets
// std::bad_alloc through to the conversion, which reports the file as too large.
void PageCompressor::Deflate(Job& job)
{
    job.deflated.resize(libdeflate_zlib_compress_bound(m_compressor.get(), job.content.size()));
    const std::size_t size = libdeflate_zlib_compress(m_compressor.get(), job.content.data(), job.content.size(),
                                                      job.deflated.data(), job.deflated.size());
    job.deflated.resize(size);
    std::vector<unsigned char>().swap(job.content);
}

bool PageCompressor::PutBack(Job& job)
{
    if (job.deflated.empty())
        return Fail(job.number, "the compressor gave no output");
    if (!LibharuPage(job.page).PutDeflatedContent(job.deflated))
        return Fail(job.number, "the PDF library did not take the compressed page");
    return true;
}

// Puts the compressed pages at the front of the queue back into their pages, and waits for more
// while over `mostLeft` remain.
bool PageCompressor::PutBackCompressed(std::size_t mostLeft)
{
    std::unique_lock lock(m_mutex);
    while (!m_jobs.empty()) {
        if (!m_jobs.front().compressed) {
            if (m_jobs.size() <= mostLeft)
                break;
            m_changed.wait(lock);
            continue;
        }
        Job job = std::move(m_jobs.front());
        m_jobs.pop_front();
        --m_nextToDeflate;
        lock.unlock();
        if (!PutBack(job))
            return false;
        lock.lock();
    }
    return true;
}

bool PageCompressor::Fail(unsigned long pageNumber, const char* why)
{
    if (m_failure.empty())
        m_failure = "Compressing page " + std::to_string(pageNumber) + " failed: " + why + ".";
    return false;
}
