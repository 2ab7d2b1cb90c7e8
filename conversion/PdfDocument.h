#pragma once
// One PDF document being built for one input file, or for several one after the other: created
// with compression and the viewer's page mode, given each file's font (a font asked for again is
// the one loaded before; for an archival document, one that can be embedded), and finally its
// information, security settings and save. The
// library is used without an error handler; the first refusal is remembered with the step
// that caused it, so the caller can tell the user why a file was not written.
#include "conversion/Aes256Encryption.h"
#include "conversion/ArchivalPdf.h"
#include "conversion/ConversionObserver.h"
#include "conversion/ConversionOptions.h"
#include "conversion/SystemFont.h"
#include "conversion/PageCompressor.h"
#include "conversion/TextPlan.h"
#include "platform/MultiByteCharset.h"

#include <hpdf.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class PdfDocument {
public:
    PdfDocument();
    ~PdfDocument();
    PdfDocument(const PdfDocument&) = delete;
    PdfDocument& operator=(const PdfDocument&) = delete;

    bool IsCreated() const { return m_pdf != nullptr; }
    HPDF_Doc Handle() const { return m_pdf; }

    // Compression and page mode on the first call, then the options' font for text drawn as
    // `drawing` says (TextPlan.h), with the fallback to Helvetica after the warning "Can not
    // find right font, use default font.". A font these options asked for before is not loaded
    // again. Returns the font, or null when the document is in error.
    HPDF_Font Open(const ConversionOptions& options, TextDrawing drawing, ConversionObserver& observer);

    // After Open with a UTF-8 font: the installed fonts that draw what it lacks (a plan gives
    // them for UTF-8 text only), loaded to be embedded with the UTF-8 encoding. A font the library cannot load is left out; the
    // document stays sound.
    std::vector<HPDF_Font> LoadFallbackFonts(const std::vector<SystemFont>& fonts);

    // After a layout with `font` in UTF-8: its map back to Unicode covers `codes`, the
    // characters beyond U+FFFF of `standIns` (StandInCodes.h), and what every earlier layout
    // drew with it.
    void AddDrawnCodes(HPDF_Font font, const std::vector<char16_t>& codes,
                       const std::map<char16_t, char32_t>& standIns = {});

    // An entry at the end of the document's outline, titled `title` (UTF-8; bytes that are not
    // are shown as U+FFFD), that opens `page` at its top, `pageHeight` points up, the page's
    // width filling the window (the library takes no zoom that keeps the reader's). Returns false when the library refused it (see Check).
    bool AddOutlineEntry(std::string title, HPDF_Page page, float pageHeight);

    // Called once nothing more is drawn on `page`: its content is compressed at once, so that
    // the document keeps only compressed pages. False when that failed (see FailureReason).
    bool FinishPage(HPDF_Page page);
    // The pages finished so far.
    int PageCount() const { return m_pageCount; }
    // The first page finished since the last call of ForgetFirstPage (at first: since the
    // start); null when none was.
    HPDF_Page FirstPage() const { return m_firstPage; }
    void ForgetFirstPage() { m_firstPage = nullptr; }

    // For an archival document, from Open on: the marked content its pages are drawn with;
    // null for any other document.
    MarkedContent* Marks() { return m_marks ? &*m_marks : nullptr; }

    // The encoder of `font` when it is one of the library's single-byte encodings, else null.
    HPDF_Encoder SingleByteEncoder(HPDF_Font font) const;

    // The lead bytes of the font's encoding, for searches that must not split a character.
    const MultiByteCharset& Charset() const { return m_charset; }

    // Information, passwords, permissions and key length; then the whole PDF is made in
    // memory, ready for WriteOut. From kAes256Level on, the library makes the PDF unencrypted
    // and WriteOut encrypts it with AES-256 on its way out. An archival document is given its
    // structure tree, metadata, output intent and identifier here (it is never encrypted: the
    // options gate sees to it).
    void Finish(const ConversionOptions& options, const std::string& ownerPassword,
                const std::string& userPassword);

    // Hands the finished PDF to `write` piece by piece, in order, and stops when `write`
    // returns false. The library's own file output checks neither its last writes nor the
    // close, so the bytes go through the caller, who checks them. Once only: an encrypting
    // WriteOut, and one of an archival document, whose objects other than streams go out packed
    // into object streams, frees the library's document as soon as it has the plain PDF.
    bool WriteOut(const std::function<bool(std::string_view)>& write);

    // The EncryptLevel from which PDFs are encrypted with AES-256 instead of the library's RC4.
    static constexpr int kAes256Level = 256;

    // Records a refusal of the library, if any, as caused by `step`; returns true when the
    // document is in error.
    bool Check(const std::string& step);
    bool Failed() const { return m_errorCode != HPDF_OK || !m_pages.FailureReason().empty(); }
    // Why the document failed, in one sentence a user understands, the library's error number
    // last; empty when it did not fail.
    std::string FailureReason() const;

private:
    void SetUp(const ConversionOptions& options);
    HPDF_Font LoadFont(const ConversionOptions& options, TextDrawing drawing);
    HPDF_Font GetFont(const std::string& fontName, const std::string& encodingName);
    HPDF_Font LoadFallbackFont(const SystemFont& font);
    HPDF_Font LoadCidFont(const ConversionOptions& options);
    HPDF_Font LoadTrueTypeFont(const ConversionOptions& options, TextDrawing drawing, const std::string& encoding);
    void ReadCharset(HPDF_Font font);
    void UseUtf8Encoder();
    void SetInformation(const ConversionOptions& options);
    void AddArchivalParts(const ConversionOptions& options);
    void SetSecurity(const ConversionOptions& options, const std::string& ownerPassword,
                     const std::string& userPassword);
    bool ReadOut(const std::function<bool(std::string_view)>& write);
    HPDF_Font LoadArchivalBase14Font(int base14Index, const char* encoding);

    HPDF_Doc m_pdf = nullptr;
    bool m_setUp = false;
    std::map<std::string, HPDF_Font> m_fonts;         // by FontKey of the options that chose them
    std::map<std::string, HPDF_Font> m_fallbackFonts; // by file and index; null when unusable
    std::map<HPDF_Font, std::vector<char16_t>> m_drawnCodes;
    std::map<HPDF_Font, std::map<char16_t, char32_t>> m_standIns; // codes beyond U+FFFF stand for
    int m_pageCount = 0;
    HPDF_Page m_firstPage = nullptr;
    bool m_utf8Registered = false;
    MultiByteCharset m_charset;
    HPDF_STATUS m_errorCode = HPDF_OK;
    std::string m_failedStep;
    PageCompressor m_pages;
    std::optional<Aes256Encryption> m_aes256;
    bool m_archival = false;
    std::optional<MarkedContent> m_marks;
    StructureNumbers m_structureNumbers;
    std::string m_language;
    std::string m_rewriteFailure;
};
