#include "conversion/FileConverter.h"

#include "conversion/CheckOptions.h"
#include "conversion/PdfDocument.h"
#include "conversion/ReplacingFile.h"
#include "conversion/SystemMessage.h"
#include "conversion/TextFile.h"
#include "conversion/TextLayout.h"
#include "conversion/ToUnicodeMap.h"
#include "conversion/WriteAll.h"
#include "platform/Utf8.h"

#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char kFontSizeWarning[] = "Font size can not be 0. Set default 9.";
constexpr int kDefaultFontSize = 9;

bool SameFile(const std::string& a, const std::string& b)
{
    if (a == b)
        return true;
    struct stat sa {}, sb {};
    return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

float FontSizeToUse(const ConversionOptions& options, ConversionObserver& observer)
{
    if (options.FontSize != 0)
        return static_cast<float>(options.FontSize);
    observer.Warn(kFontSizeWarning);
    return kDefaultFontSize;
}

// A file saved as UTF-8 comes out as two or three wrong characters for each one beyond ASCII
// when a single-byte encoding reads it. CID fonts are left alone: their encodings share byte
// patterns with UTF-8.
std::optional<std::string> Utf8Hint(const ConversionOptions& options, const std::string& text)
{
    if (options.PageFont == CidFont || UsesUtf8(options) || !HoldsMultiByteUtf8(text))
        return std::nullopt;
    const bool known = options.SingeEncode >= 0 && options.SingeEncode < int(SingleByteEncodings.size());
    const std::string chosen = known ? std::string(SingleByteEncodings[options.SingeEncode]) : "the chosen one";
    return "The text looks like UTF-8, which the encoding " + chosen + " reads wrongly; SingeEncode=" +
           std::to_string(kUtf8Encoding) + " (UTF-8) with a TrueType font reads it right.";
}

ConversionResult Written(const std::string& ownerPassword, const std::string& userPassword,
                         std::optional<std::string> encodingHint)
{
    ConversionResult result;
    result.written = true;
    if (encodingHint)
        result.notes.push_back(std::move(*encodingHint));
    if (ownerPassword.empty() && !userPassword.empty())
        result.notes.push_back("The user password was ignored because the owner password is "
                               "empty; the PDF is not encrypted.");
    return result;
}

// Makes the whole PDF of `text` in `document`, in memory. The text is given up once it has
// been laid out, so that it and the finished PDF are not held at the same time.
ConversionResult BuildDocument(PdfDocument& document, const ConversionOptions& options, std::string text,
                               const std::string& ownerPassword, const std::string& userPassword,
                               ConversionObserver& observer)
{
    if (const auto problem = CheckPageAndPasswords(options, ownerPassword, userPassword))
        return ConversionResult::Failed(*problem);
    // The library trusts the UTF-8 it is given; malformed bytes are drawn as U+FFFD instead.
    if (UsesUtf8(options))
        RepairUtf8(text);
    std::optional<std::string> encodingHint = Utf8Hint(options, text);
    const std::size_t progressLength = NormaliseLineEnds(text);
    if (!document.IsCreated())
        return ConversionResult::Failed(kCannotCreateDocument);
    HPDF_Font font = document.Open(options, observer);
    if (!font)
        return ConversionResult::Failed(document.FailureReason());

    const float fontSize = FontSizeToUse(options, observer);
    TextLayout layout(document.Handle(), font, fontSize, options, document.Charset(), observer);
    layout.Write(text, progressLength);
    ReplaceToUnicodeMap(font, layout.DrawnCodes());
    std::string().swap(text);
    if (document.Check("Writing the pages"))
        return ConversionResult::Failed(document.FailureReason());
    document.Finish(options, ownerPassword, userPassword);
    if (document.Failed())
        return ConversionResult::Failed(document.FailureReason());
    ConversionResult result = Written(ownerPassword, userPassword, std::move(encodingHint));
    if (std::optional<std::string> note = layout.MissingGlyphNote())
        result.notes.push_back(std::move(*note));
    return result;
}

ConversionResult SaveDocument(PdfDocument& document, const std::string& outputPath, ConversionResult built)
{
    ReplacingFile file(outputPath);
    if (!document.WriteOut([&](std::string_view bytes) { return file.Write(bytes); }) || !file.Commit())
        return ConversionResult::Failed(file.Error().empty() ? document.FailureReason() : file.Error());
    return built;
}

} // namespace

ConversionResult ConvertFile(const ConversionOptions& options, const std::string& inputPath,
                             const std::string& ownerPassword, const std::string& userPassword,
                             const std::string& outputPath, ConversionObserver& observer)
{
    if (SameFile(inputPath, outputPath))
        return ConversionResult::Failed("The PDF would replace the input file itself; the input "
                                        "was left untouched.");
    TextFileContent content = ReadTextFile(inputPath);
    if (!content.error.empty())
        return ConversionResult::Failed("Cannot read the input file: " + content.error + ".");
    PdfDocument document;
    ConversionResult result =
        BuildDocument(document, options, std::move(content.text), ownerPassword, userPassword, observer);
    if (result.written)
        result = SaveDocument(document, outputPath, std::move(result));
    // The old PDF goes with a failed conversion of an input that was read; a folder of its
    // name stays.
    if (!result.written)
        unlink(outputPath.c_str());
    return result;
}

ConversionResult ConvertStream(const ConversionOptions& options, int inputFd, const std::string& ownerPassword,
                               const std::string& userPassword, int outputFd, ConversionObserver& observer)
{
    TextFileContent content = ReadTextStream(inputFd);
    if (!content.error.empty())
        return ConversionResult::Failed("Cannot read the input: " + content.error + ".");
    PdfDocument document;
    ConversionResult result =
        BuildDocument(document, options, std::move(content.text), ownerPassword, userPassword, observer);
    if (!result.written)
        return result;
    int error = 0;
    const auto write = [&](std::string_view bytes) { return (error = WriteAll(outputFd, bytes)) == 0; };
    if (!document.WriteOut(write))
        return ConversionResult::Failed(error ? "Cannot write the PDF: " + SystemMessage(error) + "."
                                              : document.FailureReason());
    return result;
}
