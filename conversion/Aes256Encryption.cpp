#include "conversion/Aes256Encryption.h"

#include <hpdf.h>
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
        : Pipeline("encrypted PDF", nullptr), m_write(write)
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

// What the library's mask permits, in the terms of revision 6. The library grants only printing,
// copying and changing; whatever else a reader may do (annotations, forms, assembling pages,
// high-resolution printing) is permitted only when everything is, as the library's own files have
// it. Extraction for accessibility is always permitted in revision 6: readers must ignore the
// flag, and qpdf sets it whatever it is asked.
void SetEncryption(QPDFWriter& writer, const Aes256Encryption& encryption)
{
    const bool all = !encryption.permissionMask;
    const unsigned mask = encryption.permissionMask.value_or(0);
    const qpdf_r3_print_e print = all ? qpdf_r3p_full : (mask & HPDF_ENABLE_PRINT) ? qpdf_r3p_low : qpdf_r3p_none;
    writer.setR6EncryptionParameters(Aes256Password(encryption.userPassword).c_str(),
                                     Aes256Password(encryption.ownerPassword).c_str(),
                                     /*allow_accessibility=*/true,
                                     /*allow_extract=*/all || (mask & HPDF_ENABLE_COPY),
                                     /*allow_assemble=*/all,
                                     /*allow_annotate_and_form=*/all,
                                     /*allow_form_filling=*/all,
                                     /*allow_modify_other=*/all || (mask & HPDF_ENABLE_EDIT_ALL), print,
                                     /*encrypt_metadata_aes=*/true);
}

// Poppler 22, which many viewers on Linux are built on, takes no longer AES-256 password.
constexpr std::size_t kPopplerPasswordBytes = 32;

// "The owner password", "The user password" or both, for the notes.
std::string Which(bool owner, bool user)
{
    return owner && user ? "The owner and user passwords are" : owner ? "The owner password is" : "The user password is";
}

} // namespace

std::string Aes256Password(std::string_view password)
{
    return std::string(password.substr(0, kAes256PasswordBytes));
}

std::vector<std::string> Aes256PasswordNotes(const std::string& ownerPassword, const std::string& userPassword)
{
    std::vector<std::string> notes;
    const auto longer = [&](std::size_t bytes) {
        return std::make_pair(ownerPassword.size() > bytes, userPassword.size() > bytes);
    };
    if (const auto [owner, user] = longer(kAes256PasswordBytes); owner || user)
        notes.push_back(Which(owner, user) + " longer than 127 bytes: AES-256 uses the first 127 bytes of a "
                        "password, so the whole password opens the PDF, and so does that part of it alone.");
    if (const auto [owner, user] = longer(kPopplerPasswordBytes); owner || user)
        notes.push_back(Which(owner, user) + " longer than 32 bytes, which readers built on poppler 22 (many "
                        "viewers on Linux) refuse for AES-256: they cannot open the PDF with it.");
    return notes;
}

bool WriteEncrypted(std::string_view plainPdf, const Aes256Encryption& encryption,
                    const std::function<bool(std::string_view)>& write, std::string& error)
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
        SetEncryption(writer, encryption);
        writer.write();
        output.finish();
        if (output.Refused())
            return false;
        if (pdf.anyWarnings()) {
            error = "The PDF could not be read back for its encryption.";
            return false;
        }
        return true;
    } catch (const std::bad_alloc&) {
        error = "Out of memory while encrypting the PDF.";
    } catch (const std::exception& e) {
        error = std::string("Encrypting the PDF failed: ") + e.what() + ".";
    }
    return false;
}
