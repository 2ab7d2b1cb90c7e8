#pragma once
// Compresses the content of each page of one document as soon as the page is finished, so that
// the document holds every page but the one being drawn compressed: a few hundred bytes where
// the library would keep several kilobytes until the file is written. The library then writes
// the compressed bytes as they are. The finished page also gives up its drawing state and its
// copies of the resources and media box that all pages share.
//
// Threads: the document's thread makes every call and alone touches the library. The first page
// is compressed at once; from the second on, a worker thread of this object compresses the
// content taken out of the pages while the layout goes on, and the document's thread puts the
// results back into their pages, in page order. When the worker falls behind, or at the end,
// the document's thread compresses waiting pages too. The PDF's bytes do not depend on that
// timing. The worker and its compressor go with the object; the document's thread keeps its
// compressor for the next document.
#include "conversion/LibharuPrivate.h"

#include <hpdf.h>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct libdeflate_compressor;

class PageCompressor {
public:
    PageCompressor();
    ~PageCompressor();
    PageCompressor(const PageCompressor&) = delete;
    PageCompressor& operator=(const PageCompressor&) = delete;

    // Takes the finished `page`'s content to be compressed and shares its resources. False when
    // that, or the compression of an earlier page, failed; FailureReason then says why, and the
    // document must not be written.
    bool Compress(HPDF_Page page);

    // Waits for the pages still being compressed and puts them into their pages; to be called
    // once the last page is finished, before the document is written. False as for Compress.
    bool Complete();

    // Why a page could not be compressed, in one sentence; empty while none failed.
    const std::string& FailureReason() const { return m_failure; }

private:
    struct Job {
        HPDF_Page page = nullptr;
        unsigned long number = 0;
        std::vector<unsigned char> content;
        std::vector<unsigned char> deflated;
        bool compressed = false;
    };

    bool CompressNow(Job& job);
    bool HandOver(Job job);
    bool StartWorker();
    void Work();
    void DeflateNextJob(std::unique_lock<std::mutex>& lock, libdeflate_compressor* compressor);
    static void Deflate(Job& job, libdeflate_compressor* compressor);
    bool PutBack(Job& job);
    bool PutBackCompressed(std::size_t mostLeft);
    bool Fail(unsigned long pageNumber, const char* why);

    struct FreeCompressor {
        void operator()(libdeflate_compressor* compressor) const;
    };
    static libdeflate_compressor* ThreadCompressor();
    std::unique_ptr<libdeflate_compressor, FreeCompressor> m_workerCompressor;
    LibharuSharedResources m_shared;
    unsigned long m_pageNumber = 0;
    std::string m_failure;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Job> m_jobs;        // handed to the worker, in page order, until put back
    std::size_t m_nextToDeflate = 0; // the first job in m_jobs that no thread compresses yet
    bool m_stopping = false;
    std::thread m_worker;
};
