#include "conversion/PageCompressor.h"

#include <libdeflate.h>

namespace {

// The level of the library's own compression (zlib's default), which gives files no larger
// than before in a third of the time.
constexpr int kCompressionLevel = 6;

} // namespace

void PageCompressor::FreeCompressor::operator()(libdeflate_compressor* compressor) const
{
    libdeflate_free_compressor(compressor);
}

PageCompressor::PageCompressor() = default;
PageCompressor::~PageCompressor() = default;

bool PageCompressor::Compress(HPDF_Page page)
{
    ++m_pageNumber;
    if (!m_compressor)
        m_compressor.reset(libdeflate_alloc_compressor(kCompressionLevel));
    if (!m_compressor)
        return Fail("out of memory for the compressor");
    LibharuPage content(page);
    if (!content.ReadContent(m_content))
        return Fail("the PDF library did not hand the page over");
    m_deflated.resize(libdeflate_zlib_compress_bound(m_compressor.get(), m_content.size()));
    const std::size_t size = libdeflate_zlib_compress(m_compressor.get(), m_content.data(), m_content.size(),
                                                      m_deflated.data(), m_deflated.size());
    if (size == 0)
        return Fail("the compressor gave no output");
    if (!content.ReplaceContentWithDeflated({m_deflated.data(), size}))
        return Fail("the PDF library did not take the compressed page");
    if (!content.ShareResources(m_shared))
        return Fail("the PDF library ran out of memory");
    return true;
}

bool PageCompressor::Fail(const char* why)
{
    if (m_failure.empty())
        m_failure = "Compressing page " + std::to_string(m_pageNumber) + " failed: " + why + ".";
    return false;
}
