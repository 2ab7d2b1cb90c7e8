#pragma once
// Compresses the content of each page of one document as soon as the page is finished, so that
// the document holds every page but the one being drawn compressed: a few hundred bytes where
// the library would keep several kilobytes until the file is written. The library then writes
// the compressed bytes as they are. The finished page also gives up its drawing state and its
// copies of the resources and media box that all pages share. One thread at a time; the
// compressor's memory is taken with the first page and given back with the object.
#include "conversion/LibharuPrivate.h"

#include <hpdf.h>

#include <memory>
#include <string>
#include <vector>

struct libdeflate_compressor;

class PageCompressor {
public:
    PageCompressor();
    ~PageCompressor();
    PageCompressor(const PageCompressor&) = delete;
    PageCompressor& operator=(const PageCompressor&) = delete;

    // Replaces the finished `page`'s content by its compressed form and shares its resources. False when that failed;
    // FailureReason then says why, and the document must not be written.
    bool Compress(HPDF_Page page);

    // Why a page could not be compressed, in one sentence; empty while none failed.
    const std::string& FailureReason() const { return m_failure; }

private:
    bool Fail(const char* why);

    struct FreeCompressor {
        void operator()(libdeflate_compressor* compressor) const;
    };
    std::unique_ptr<libdeflate_compressor, FreeCompressor> m_compressor;
    std::vector<unsigned char> m_content;
    std::vector<unsigned char> m_deflated;
    LibharuSharedResources m_shared;
    unsigned long m_pageNumber = 0;
    std::string m_failure;
};
