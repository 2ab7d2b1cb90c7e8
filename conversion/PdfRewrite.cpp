#include "conversion/PdfRewrite.h"

#include <qpdf/Pipeline.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFWriter.hh>

#include <exception>
#include <new>

namespace {

// Collects the writer's many small pieces into large ones before they reach `write`, so that a
// file sees a few large writes instead of one per token. Once `write` refuses, the rest is
// dropped: the writer calls finish() from destructors, where nothing may be thrown to stop it.
class ForwardingPipeline : public Pipeline {
public:
    explicit ForwardingPipeline(const std::function<bool(std::string_view)>& write)
        : Pipeline("re-written PDF", nullptr), m_write(write)
    {
        m_pending.reserve(kPieceSize);
    }

    void write(unsigned char const* data, size_t length) override
    {
        if (m_refused)
            return;
        m_pending.append(reinterpret_cast<const char*>(data), length);
        if (m_pending.size() >= kPieceSize)
            Flush();
    }
    void finish() override { Flush(); }
    bool Refused() const { return m_refused; }

private:
    static constexpr std::size_t kPieceSize = 1 << 16;

    void Flush()
    {
        if (!m_refused && !m_pending.empty())
            m_refused = !m_write(m_pending);
        m_pending.clear();
    }

    const std::function<bool(std::string_view)>& m_write;
    std::string m_pending;
    bool m_refused = false;
};

} // namespace

bool RewritePdf(std::string_view plainPdf, const std::function<void(QPDF&, QPDFWriter&)>& prepare,
                const RewriteWording& wording, const std::function<bool(std::string_view)>& write,
                std::string& error)
{
    error.clear();
    try {
        QPDF pdf;
        // The PDF is our own: anything qpdf would have to repair or warn about is a fault, not
        // something to paper over.
        pdf.setSuppressWarnings(true);
        pdf.setAttemptRecovery(false);
        pdf.processMemoryFile("PDF", plainPdf.data(), plainPdf.size());
        ForwardingPipeline output(write);
        QPDFWriter writer(pdf);
        writer.setOutputPipeline(&output);
        // Copy the library's streams as they are: they are compressed already (as an array of one
        // filter, which qpdf would otherwise compress a second time).
        writer.setDecodeLevel(qpdf_dl_none);
        writer.setCompressStreams(false);
        prepare(pdf, writer);
        writer.write();
        output.finish();
        if (output.Refused())
            return false;
        if (pdf.anyWarnings()) {
            error = std::string("The PDF could not be read back ") + wording.readBack + ".";
            return false;
        }
        return true;
    } catch (const std::bad_alloc&) {
        error = std::string("Out of memory while ") + wording.outOfMemory + " the PDF.";
    } catch (const std::exception& e) {
        error = std::string(wording.failed) + " the PDF failed: " + e.what() + ".";
    }
    return false;
}
