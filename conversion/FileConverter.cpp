#include "conversion/FileConverter.h"

#include "conversion/CheckOptions.h"
#include "conversion/PdfDocument.h"
#include "conversion/ReplacingFile.h"
#include "conversion/TextFile.h"
#include "conversion/TextLayout.h"

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

// The old PDF goes with a failed conversion of an input that was read; a folder of its name
// stays.
ConversionResult Fail(const std::string& outputPath, std::string reason)
{
    unlink(outputPath.c_str());
    return ConversionResult::Failed(std::move(reason));
}

float FontSizeToUse(const ConversionOptions& options, ConversionObserver& observer)
{
    if (options.FontSize != 0)
        return static_cast<float>(options.FontSize);
    observer.Warn(kFontSizeWarning);
    return kDefaultFontSize;
}

ConversionResult SaveDocument(PdfDocument& document, const ConversionOptions& options,
                              const std::string& ownerPassword, const std::string& userPassword,
                              const std::string& outputPath)
{
    document.Finish(options, ownerPassword, userPassword);
    if (document.Failed())
        return Fail(outputPath, document.FailureReason());
    ReplacingFile file(outputPath);
    if (!document.WriteOut([&](std::string_view bytes) { return file.Write(bytes); }) || !file.Commit())
        return Fail(outputPath, file.Error().empty() ? document.FailureReason() : file.Error());
    ConversionResult result;
    result.written = true;
    if (ownerPassword.empty() && !userPassword.empty())
        result.notes.push_back("The user password was ignored because the owner password is "
                               "empty; the PDF is not encrypted.");
    return result;
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
    if (const auto problem = CheckPageAndPasswords(options, ownerPassword, userPassword))
        return Fail(outputPath, *problem);
    const std::size_t progressLength = NormaliseLineEnds(content.text);

    PdfDocument document;
    if (!document.IsCreated())
        return Fail(outputPath, "error: cannot create PdfDoc object");
    HPDF_Font font = document.Open(options, observer);
    if (!font)
        return Fail(outputPath, document.FailureReason());

    const float fontSize = FontSizeToUse(options, observer);
    TextLayout layout(document.Handle(), font, fontSize, options, document.Charset(), observer);
    layout.Write(content.text, progressLength);
    if (document.Check("Writing the pages"))
        return Fail(outputPath, document.FailureReason());
    return SaveDocument(document, options, ownerPassword, userPassword, outputPath);
}
