#include "conversion/FileConverter.h"

#include "conversion/CheckOptions.h"
#include "conversion/FilePages.h"
#include "conversion/PdfDocument.h"
#include "platform/CommitPool.h"
#include "platform/FileName.h"
#include "platform/SystemMessage.h"
#include "conversion/TextFile.h"
#include "platform/WriteAll.h"

#include <memory>
#include <new>
#include <optional>
#include <vector>
#include <sys/stat.h>

bool SameFileAs(const std::string& a, const std::string& b)
{
    if (a == b)
        return true;
    struct stat sa {}, sb {};
    return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

namespace {

// What a document read from the standard input is called where it needs a name.
constexpr char kStandardInputName[] = "standard input";

// Makes the whole PDF of `bytes`, the file as read, in `document`, in memory, step by step: the
// options checked, the file's pages written (which gives the text up), and the document
// finished. The caller then hands the PDF out with the document's WriteOut, once: its AES-256
// path frees the library's document on the way.
// `inputPath` is empty for the standard input.
ConversionResult BuildDocument(PdfDocument& document, const ConversionOptions& chosen, std::string bytes,
                               const std::string& inputPath, const std::string& ownerPassword,
                               const std::string& userPassword, ConversionObserver& observer)
{
    if (const auto problem = CheckPageAndPasswords(chosen, ownerPassword, userPassword))
        return ConversionResult::Failed(*problem);
    ConversionOptions titled = chosen;
    // An archival PDF needs a title: the file's name stands in for a missing one.
    if (MakesArchivalPdf(chosen) && titled.Title.empty())
        titled.Title = inputPath.empty() ? kStandardInputName : FileNameOf(inputPath);
    FilePages pages = WriteFilePages(document, titled, std::move(bytes), inputPath, {}, observer);
    if (!pages.result.written)
        return pages.result;
    ConversionResult result =
        FinishDocument(document, pages.options, ownerPassword, userPassword, std::move(pages.result.notes));
    for (const auto* note : {&pages.beyondBmpNote, &pages.missingGlyphNote, &pages.droppedNote})
        if (result.written && *note)
            result.notes.push_back(**note);
    return result;
}

// The text or its pages outgrew the memory while the conversion ran.
ConversionResult OutOfMemory()
{
    return ConversionResult::Failed("The text is " + TooLargeReason(0) + ".");
}

// A conversion whose PDF is in its temporary file, still to be flushed and put in place, or one
// that ended before that (no file) with its final result.
struct WrittenPdf {
    ConversionResult result;
    std::unique_ptr<ReplacingFile> file;
};

// The document is gone when this returns: what waits for the disk holds no more than its file.
WrittenPdf WritePdfInMemory(const ConversionOptions& options, const std::string& inputPath,
                            const std::string& ownerPassword, const std::string& userPassword,
                            const std::string& outputPath, ConversionObserver& observer)
{
    if (SameFileAs(inputPath, outputPath))
        return {ConversionResult::Failed("The PDF would replace the input file itself; the input "
                                         "was left untouched."),
                nullptr};
    TextFileContent content = ReadFileBytes(inputPath);
    if (!content.error.empty())
        return {ConversionResult::Failed("Cannot read the input file: " + content.error + "."), nullptr};
    PdfDocument document;
    ConversionResult result =
        BuildDocument(document, options, std::move(content.text), inputPath, ownerPassword, userPassword, observer);
    if (!result.written)
        return {KeepingOldPdf(std::move(result), outputPath), nullptr};
    auto file = std::make_unique<ReplacingFile>(outputPath);
    if (!document.WriteOut([&](std::string_view bytes) { return file->Write(bytes); })) {
        const std::string reason = file->Error().empty() ? document.FailureReason() : file->Error();
        file.reset();
        return {KeepingOldPdf(ConversionResult::Failed(reason), outputPath), nullptr};
    }
    return {std::move(result), std::move(file)};
}

WrittenPdf WritePdf(const ConversionOptions& options, const std::string& inputPath, const std::string& ownerPassword,
                    const std::string& userPassword, const std::string& outputPath, ConversionObserver& observer)
{
    try {
        return WritePdfInMemory(options, inputPath, ownerPassword, userPassword, outputPath, observer);
    } catch (const std::bad_alloc&) {
        return {KeepingOldPdf(OutOfMemory(), outputPath), nullptr};
    }
}

ConversionResult ConvertStreamInMemory(const ConversionOptions& options, int inputFd, const std::string& ownerPassword,
                                       const std::string& userPassword, int outputFd, ConversionObserver& observer)
{
    TextFileContent content = ReadStreamBytes(inputFd);
    if (!content.error.empty())
        return ConversionResult::Failed("Cannot read the input: " + content.error + ".");
    PdfDocument document;
    ConversionResult result =
        BuildDocument(document, options, std::move(content.text), {}, ownerPassword, userPassword, observer);
    if (!result.written)
        return result;
    int error = 0;
    const auto write = [&](std::string_view bytes) { return (error = WriteAll(outputFd, bytes)) == 0; };
    if (!document.WriteOut(write))
        return ConversionResult::Failed(error ? "Cannot write the PDF: " + SystemMessage(error) + "."
                                              : document.FailureReason());
    return result;
}

} // namespace

ConversionResult KeepingOldPdf(ConversionResult failed, const std::string& outputPath)
{
    struct stat facts {};
    if (stat(outputPath.c_str(), &facts) == 0 && S_ISREG(facts.st_mode))
        failed.reason += " The old PDF \"" + outputPath + "\" was kept; it does not hold the current text.";
    return failed;
}

void ConvertFileThrough(const ConversionOptions& options, const std::string& inputPath,
                        const std::string& ownerPassword, const std::string& userPassword,
                        const std::string& outputPath, ConversionObserver& observer, CommitPool& pool,
                        ResultTaker take)
{
    WrittenPdf pdf = WritePdf(options, inputPath, ownerPassword, userPassword, outputPath, observer);
    if (!pdf.file) {
        take(std::move(pdf.result));
        return;
    }
    pool.Submit(std::move(pdf.file), [result = std::move(pdf.result), outputPath, take = std::move(take)](
                                         const std::string& error) mutable {
        take(error.empty() ? std::move(result) : KeepingOldPdf(ConversionResult::Failed(error), outputPath));
    });
}

ConversionResult ConvertFile(const ConversionOptions& options, const std::string& inputPath,
                             const std::string& ownerPassword, const std::string& userPassword,
                             const std::string& outputPath, ConversionObserver& observer)
{
    CommitPool onThisThread(0);
    ConversionResult result;
    ConvertFileThrough(options, inputPath, ownerPassword, userPassword, outputPath, observer, onThisThread,
                       [&result](ConversionResult taken) { result = std::move(taken); });
    return result;
}

ConversionResult ConvertStream(const ConversionOptions& options, int inputFd, const std::string& ownerPassword,
                               const std::string& userPassword, int outputFd, ConversionObserver& observer)
{
    try {
        return ConvertStreamInMemory(options, inputFd, ownerPassword, userPassword, outputFd, observer);
    } catch (const std::bad_alloc&) {
        return OutOfMemory();
    }
}
