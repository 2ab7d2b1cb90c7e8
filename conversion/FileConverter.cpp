#include "conversion/FileConverter.h"

#include "conversion/PdfDocument.h"
#include "conversion/TextFile.h"
#include "conversion/TextLayout.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <atomic>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char kFontSizeWarning[] = "Font size can not be 0. Set default 9.";
constexpr int kDefaultFontSize = 9;
// The library accepts larger sizes, but the converter has always stopped at 300 points.
constexpr int kMaxFontSize = 300;
constexpr int kMinPageSide = 3;
constexpr int kMaxPageSide = 14400;

bool SameFile(const std::string& a, const std::string& b)
{
    if (a == b)
        return true;
    struct stat sa {}, sb {};
    return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

// Problems the options or passwords cause for every file; empty when there are none.
std::string CheckSettings(const ConversionOptions& options, const std::string& ownerPassword,
                          const std::string& userPassword)
{
    int width = 0;
    int height = 0;
    TextLayout::PageSizeOf(options, width, height);
    if (width < kMinPageSide || width > kMaxPageSide || height < kMinPageSide || height > kMaxPageSide)
        return "The page size " + std::to_string(width) + " x " + std::to_string(height) +
               " points is outside 3 to 14400 points.";
    if (TextLayout::AvailableWidth(options) <= 0)
        return "The left and right margins (" + std::to_string(options.LeftMargin) + " and " +
               std::to_string(options.RightMargin) + " points) leave no room for text on a page " +
               std::to_string(width) + " points wide.";
    if (options.FontSize < 0 || options.FontSize > kMaxFontSize)
        return "The font size " + std::to_string(options.FontSize) + " is outside 1 to 300 points.";
    if (!ownerPassword.empty() && ownerPassword == userPassword)
        return "The owner password and the user password are the same; they must differ.";
    return {};
}

// A name beside the output that no file has: the output path with a random suffix, so that
// nobody can plant a file or link under it. The library creates the file itself: reopening an
// existing file to write it makes some file systems write it out at once, a cost per file that
// dominates small conversions.
std::string TemporaryNameFor(const std::string& outputPath)
{
    unsigned char random[8] = {};
    if (getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) {
        static std::atomic<unsigned> counter{0};
        const unsigned fallback = counter++ ^ static_cast<unsigned>(getpid() << 12);
        std::memcpy(random, &fallback, sizeof fallback);
    }
    char suffix[2 * sizeof random + 1];
    for (std::size_t i = 0; i < sizeof random; ++i)
        std::snprintf(suffix + 2 * i, 3, "%02x", random[i]);
    return outputPath + ".tmp" + suffix;
}

ConversionResult Fail(const std::string& outputPath, std::string reason)
{
    std::remove(outputPath.c_str());
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
    const std::string temporary = TemporaryNameFor(outputPath);
    document.Finish(options, ownerPassword, userPassword, temporary);
    if (document.Failed()) {
        std::remove(temporary.c_str());
        return Fail(outputPath, document.FailureReason());
    }
    if (std::rename(temporary.c_str(), outputPath.c_str()) != 0) {
        const std::string error = "Cannot replace " + Quoted(outputPath) + ": " + std::strerror(errno) + ".";
        std::remove(temporary.c_str());
        return Fail(outputPath, error);
    }
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
    if (std::string problem = CheckSettings(options, ownerPassword, userPassword); !problem.empty())
        return Fail(outputPath, problem);

    TextFileContent content = ReadTextFile(inputPath);
    if (!content.error.empty())
        return Fail(outputPath, "Cannot read the input file: " + content.error + ".");
    const std::size_t progressLength = NormaliseLineEnds(content.text);

    PdfDocument document;
    if (!document.IsCreated())
        return Fail(outputPath, kCannotCreateDocument);
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
