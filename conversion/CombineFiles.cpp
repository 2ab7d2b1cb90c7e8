#include "conversion/CombineFiles.h"

#include "conversion/CheckOptions.h"
#include "conversion/CombinedDocument.h"
#include "conversion/FileConverter.h"
#include "conversion/FilePages.h"
#include "conversion/PageFields.h"
#include "conversion/PdfDocument.h"
#include "conversion/TextFile.h"
#include "platform/FileName.h"
#include "platform/ReplacingFile.h"
#include "platform/SystemMessage.h"
#include "platform/WriteAll.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <new>

namespace {

using PdfWriter = std::function<ConversionResult(CombinedDocument&)>;

ConversionResult AddFile(CombinedDocument& document, const std::string& input, CombineObserver& observer)
{
    TextFileContent content = ReadFileBytes(input);
    if (!content.error.empty())
        return ConversionResult::Failed("Cannot read the input file: " + content.error + ".");
    return document.Add(FileNameOf(input), input, std::move(content.text), observer);
}

// With the pages numbered through the document, a page count in the header or footer must be
// the whole document's from the first page on: every file is laid out once beforehand, its lines
// broken but nothing drawn, to count its pages. 0 when nothing asks for the count.
long CountAllPages(const ConversionOptions& options, const std::vector<std::string>& inputs,
                   CombineObserver& observer)
{
    if (!options.CombinedNumbering || !UsesPageCount(options))
        return 0;
    PdfDocument scratch;
    long total = 0;
    for (const std::string& input : inputs) {
        if (observer.StopAsked())
            return 0;
        TextFileContent content = ReadFileBytes(input);
        if (content.error.empty())
            total += CountFilePages(scratch, options, std::move(content.text), input);
    }
    return total;
}

// Adds every input in turn and finishes the document; the result says whether it may be
// written.
ConversionResult AddAll(CombinedDocument& document, const std::vector<std::string>& inputs,
                        const std::string& ownerPassword, const std::string& userPassword, CombineObserver& observer)
{
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        if (observer.StopAsked())
            return ConversionResult::Failed("Stopped before every file went in; the combined PDF was not written.");
        const std::optional<std::string> leftOut = observer.FileStarting(i);
        const ConversionResult result =
            leftOut ? ConversionResult::Failed(*leftOut) : AddFile(document, inputs[i], observer);
        observer.FileDone(i, result);
        if (document.Failed())
            return ConversionResult::Failed(document.FailureReason());
    }
    // A stop during the last file ends its layout early: the document would miss the rest.
    if (observer.StopAsked())
        return ConversionResult::Failed("Stopped before the last file was all in; the combined PDF was not written.");
    if (document.FilesAdded() == 0)
        return ConversionResult::Failed("No file went in, so the combined PDF was not written.");
    return document.Finish(ownerPassword, userPassword);
}

// The title of a combined PDF whose options give none: its file name, or on the standard
// output, which has none, the first file's.
std::string DefaultTitle(const std::vector<std::string>& inputs, const std::string& outputPath)
{
    if (!outputPath.empty())
        return FileNameOf(outputPath);
    return inputs.empty() ? std::string() : FileNameOf(inputs.front());
}

ConversionResult Combine(const ConversionOptions& options, const std::vector<std::string>& inputs,
                         const std::string& ownerPassword, const std::string& userPassword,
                         const std::string& outputPath, CombineObserver& observer, const PdfWriter& write)
{
    if (const auto problem = CheckPageAndPasswords(options, ownerPassword, userPassword))
        return ConversionResult::Failed(*problem);
    try {
        CombinedDocument document(options, DefaultTitle(inputs, outputPath));
        if (!document.IsCreated())
            return ConversionResult::DocumentNotCreated();
        document.NumberPagesUpTo(CountAllPages(options, inputs, observer));
        ConversionResult result = AddAll(document, inputs, ownerPassword, userPassword, observer);
        if (!result.written)
            return result;
        ConversionResult written = write(document);
        if (written.written)
            written.notes = std::move(result.notes);
        return written;
    } catch (const std::bad_alloc&) {
        return ConversionResult::Failed("The combined PDF is " + TooLargeReason(0) + ".");
    }
}

// Only a PDF may be replaced: anything else at the output path, or a file that cannot be read to
// tell, is somebody's data.
bool HoldsSomethingElseThanPdf(const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        return false;
    std::ifstream file(path, std::ios::binary);
    char start[5] = {};
    file.read(start, sizeof start);
    return std::string_view(start, std::size_t(file.gcount())) != "%PDF-";
}

ConversionResult Written()
{
    ConversionResult result;
    result.written = true;
    return result;
}

} // namespace

std::optional<std::string> CombinedOutputProblem(const std::vector<std::string>& inputs,
                                                 const std::string& outputPath)
{
    for (const std::string& input : inputs)
        if (SameFileAs(input, outputPath))
            return "The combined PDF \"" + outputPath + "\" would replace the input file \"" + input +
                   "\"; nothing was written and every input was kept.";
    if (HoldsSomethingElseThanPdf(outputPath))
        return "\"" + outputPath + "\" exists and is not a PDF; it was not replaced and nothing was written.";
    return std::nullopt;
}

ConversionResult CombineFilesInto(const ConversionOptions& options, const std::vector<std::string>& inputs,
                                  const std::string& ownerPassword, const std::string& userPassword,
                                  const std::string& outputPath, CombineObserver& observer)
{
    const auto write = [&outputPath](CombinedDocument& document) {
        ReplacingFile file(outputPath);
        if (!document.WriteOut([&file](std::string_view bytes) { return file.Write(bytes); }) || !file.Commit())
            return ConversionResult::Failed(file.Error().empty() ? document.FailureReason() : file.Error());
        return Written();
    };
    if (const auto problem = CombinedOutputProblem(inputs, outputPath))
        return ConversionResult::Failed(*problem);
    ConversionResult result = Combine(options, inputs, ownerPassword, userPassword, outputPath, observer, write);
    return result.written ? result : KeepingOldPdf(std::move(result), outputPath);
}

ConversionResult CombineFilesTo(const ConversionOptions& options, const std::vector<std::string>& inputs,
                                const std::string& ownerPassword, const std::string& userPassword, int outputFd,
                                CombineObserver& observer)
{
    const auto write = [outputFd](CombinedDocument& document) {
        int error = 0;
        const auto put = [&](std::string_view bytes) { return (error = WriteAll(outputFd, bytes)) == 0; };
        if (!document.WriteOut(put))
            return ConversionResult::Failed(error ? "Cannot write the PDF: " + SystemMessage(error) + "."
                                                  : document.FailureReason());
        return Written();
    };
    return Combine(options, inputs, ownerPassword, userPassword, {}, observer, write);
}
