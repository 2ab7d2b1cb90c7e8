#pragma once
// One re-writing of a finished PDF of our own through libqpdf: read from memory, changed by
// the caller, written out piece by piece. The encryption with AES-256 and the archival form
// both go through it. Any thread; calls share nothing.
#include <functional>
#include <string>
#include <string_view>

class QPDF;
class QPDFWriter;

// What a failed re-writing is called in the sentence that tells the user.
struct RewriteWording {
    const char* readBack;    // "The PDF could not be read back <readBack>."
    const char* outOfMemory; // "Out of memory while <outOfMemory> the PDF."
    const char* failed;      // "<failed> the PDF failed: <why>."
};

// Reads `plainPdf`, lets `prepare` change the document and set up the writer (which already
// copies the library's compressed streams as they are), and hands what the writer makes to
// `write`. Returns true when all of it was written. On false, `error` says why in one
// sentence, or is empty when `write` refused, whose caller knows its own reason.
bool RewritePdf(std::string_view plainPdf, const std::function<void(QPDF&, QPDFWriter&)>& prepare,
                const RewriteWording& wording, const std::function<bool(std::string_view)>& write,
                std::string& error);
