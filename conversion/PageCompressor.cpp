#include "conversion/PageCompressor.h"

#include <libdeflate.h>

#include <new>
#include <system_error>

namespace {

// Pages of text compress at level 4 in little more than half the time of zlib's default level 6,
// which the library used, for content 3 % larger: the file stays smaller than the library's.
constexpr int kCompressionLevel = 4;

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

// Setting a compressor up costs more than compressing a short page, so the document's thread
// keeps its own from one document to the next. Null when it could not be made.
libdeflate_compressor* PageCompressor::ThreadCompressor()
{
    thread_local std::unique_ptr<libdeflate_compressor, FreeCompressor> compressor;
    if (!compressor)
        compressor.reset(libdeflate_alloc_compressor(kCompressionLevel));
    return compressor.get();
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
    if (!ThreadCompressor())
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
    Deflate(job, ThreadCompressor());
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

// False when no thread or no compressor for it can be had; the pages are then compressed by
// the document's thread.
bool PageCompressor::StartWorker()
{
    if (m_worker.joinable())
        return true;
    m_workerCompressor.reset(libdeflate_alloc_compressor(kCompressionLevel));
    if (!m_workerCompressor)
        return false;
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
        DeflateNextJob(lock, m_workerCompressor.get());
    }
}

// Claims the first job nobody compresses yet and compresses it with `compressor`, unlocked
// meanwhile. Only the thread that claimed a job changes it, and the document's thread removes
// only compressed ones, so the reference stays valid while unlocked. Each page is compressed on
// its own at the same level, so the bytes do not depend on which thread did it.
void PageCompressor::DeflateNextJob(std::unique_lock<std::mutex>& lock, libdeflate_compressor* compressor)
{
    Job& job = m_jobs[m_nextToDeflate++];
    lock.unlock();
    // Out of memory here would end the program; the page then fails as not compressed.
    try {
        Deflate(job, compressor);
    } catch (const std::bad_alloc&) {
        job.deflated.clear();
    }
    lock.lock();
    job.compressed = true;
    m_changed.notify_all();
}

// A failure leaves `deflated` empty, which PutBack reports. The document's thread lets
// std::bad_alloc through to the conversion, which reports the file as too large.
void PageCompressor::Deflate(Job& job, libdeflate_compressor* compressor)
{
    job.deflated.resize(libdeflate_zlib_compress_bound(compressor, job.content.size()));
    const std::size_t size = libdeflate_zlib_compress(compressor, job.content.data(), job.content.size(),
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

// Puts the compressed pages at the front of the queue back into their pages while over
// `mostLeft` remain, compressing pages alongside the worker rather than waiting for it.
bool PageCompressor::PutBackCompressed(std::size_t mostLeft)
{
    std::unique_lock lock(m_mutex);
    while (!m_jobs.empty()) {
        if (!m_jobs.front().compressed) {
            if (m_jobs.size() <= mostLeft)
                break;
            libdeflate_compressor* own = ThreadCompressor();
            if (own && m_nextToDeflate < m_jobs.size())
                DeflateNextJob(lock, own);
            else
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
