#include "conversion/CheckOptions.h"

#include "conversion/PageFields.h"
#include "conversion/PageFurniture.h"
#include "conversion/PdfDocument.h"
#include "conversion/TextLayout.h"
#include "conversion/TextPlan.h"

#include <algorithm>
#include <cctype>

namespace {

// The library accepts larger sizes, but the converter has always stopped at 300 points.
constexpr int kMaxFontSize = 300;
constexpr int kMinPageSide = 3;
constexpr int kMaxPageSide = 14400;

// Margins as large as the largest page keep every position on a page within what the library
// can write.
std::optional<std::string> CheckMargins(const ConversionOptions& options)
{
    const std::pair<const char*, int> margins[] = {
        {"left", options.LeftMargin}, {"right", options.RightMargin},
        {"top", options.TopMargin}, {"bottom", options.BottomMargin}};
    for (const auto& [name, points] : margins) {
        if (points < -kMaxPageSide || points > kMaxPageSide)
            return std::string("The ") + name + " margin " + std::to_string(points) +
                   " points is outside -14400 to 14400 points.";
    }
    return std::nullopt;
}

// Only TrueType fonts have a UTF-8 encoding in the library; any other kind would fall back to
// Helvetica and turn every character beyond ASCII into two or three wrong ones. The options
// alone decide this, for every file alike.
std::optional<std::string> CheckUtf8FontKind(const ConversionOptions& options)
{
    if (ChosenDrawing(options) != TextDrawing::Utf8 || options.PageFont == TrueTypeFont)
        return std::nullopt;
    const bool knownKind = options.PageFont >= 0 && options.PageFont < int(FontKindLabels.size());
    const std::string kind = knownKind ? "a " + std::string(FontKindLabels[options.PageFont])
                                       : "the font kind " + std::to_string(options.PageFont);
    return "The encoding UTF-8 needs a TrueType font, and " + kind +
           " has no UTF-8 encoding; choose \"TrueType Font\" and a TrueType font file.";
}

// Without a file the library would only say that "" cannot be opened.
std::optional<std::string> CheckTrueTypeFileChosen(const ConversionOptions& options)
{
    const auto blank = [](unsigned char c) { return std::isspace(c) != 0; };
    if (options.PageFont != TrueTypeFont || !std::all_of(options.TrueTypeFile.begin(), options.TrueTypeFile.end(), blank))
        return std::nullopt;
    return std::string("No TrueType font file is chosen for the Page Font \"TrueType Font\": choose one in the "
                       "window's row \"TrueType Font\", or give --font or --truetype on the command line.");
}

// The library refuses a text longer than this in any string of the PDF, in bytes as given.
constexpr std::size_t kMostInformationBytes = HPDF_LIMIT_MAX_STRING_LEN;

std::optional<std::string> CheckInformation(const ConversionOptions& options)
{
    const std::pair<const char*, const std::string*> entries[] = {
        {"Author", &options.Author}, {"Creator", &options.Creator}, {"Title", &options.Title},
        {"Subject", &options.Subject}, {"Keywords", &options.Keywords}};
    for (const auto& [name, text] : entries) {
        if (text->size() > kMostInformationBytes)
            return std::string("The ") + name + " is " + std::to_string(text->size()) +
                   " bytes long; the PDF library takes at most " + std::to_string(kMostInformationBytes) +
                   " bytes of document information.";
    }
    return std::nullopt;
}

// Each field has a third of the width between the margins; a size larger than that third would
// leave even a field of one character nothing to show.
std::optional<std::string> CheckFieldWidth(const ConversionOptions& options, int pageWidth)
{
    const int fieldSize = PageFurniture::FieldSize(options, BodyFontSize(options));
    const long long third = (static_cast<long long>(pageWidth) - options.LeftMargin - options.RightMargin) / 3;
    if (fieldSize <= third)
        return std::nullopt;
    return "The header and footer font size (" + std::to_string(fieldSize) +
           " points) is larger than the third of the width between the left and right margins that each of "
           "their fields has (" + std::to_string(third) +
           " points): make it smaller, or the margins smaller, or the page wider.";
}

// The header and footer take their room from the text area, which must keep at least one
// line: the first line's baseline lies 5 points under its top, and the last line may reach one
// line under its bottom.
std::optional<std::string> CheckFurniture(const ConversionOptions& options, int pageWidth, int pageHeight)
{
    if (options.FurnitureFontSize < 0 || options.FurnitureFontSize > kMaxFontSize)
        return "The header and footer font size " + std::to_string(options.FurnitureFontSize) +
               " is outside 1 to 300 points (0 takes the body's size).";
    if (options.LineNumberStep < 1)
        return "The line number step " + std::to_string(options.LineNumberStep) + " is less than 1.";
    const FurnitureBands bands = PageFurniture::BandsOf(options, BodyFontSize(options));
    if (bands.header + bands.footer == 0)
        return std::nullopt;
    if (auto problem = CheckFieldWidth(options, pageWidth))
        return problem;
    const long long room = static_cast<long long>(pageHeight) - options.TopMargin - options.BottomMargin -
                           bands.header - bands.footer;
    if (room >= 0)
        return std::nullopt;
    return "The header and footer (" + std::to_string(bands.header) + " and " + std::to_string(bands.footer) +
           " points high) leave no room for text between the top and bottom margins (" +
           std::to_string(options.TopMargin) + " and " + std::to_string(options.BottomMargin) +
           " points) on a page " + std::to_string(pageHeight) +
           " points high; make them or the margins smaller, or the page higher.";
}

// An archival PDF may hold nothing a reader could fail to have in a hundred years: no
// encryption, and no font it does not carry. Encryption is refused rather than left out, so
// that nobody believes an unprotected file protected. A TrueType font chosen not to be embedded
// is embedded all the same: the file is at hand, and leaving it out would only spoil the file.
std::optional<std::string> CheckArchival(const ConversionOptions& options, const std::string& ownerPassword,
                                         const std::string& userPassword)
{
    if (!MakesArchivalPdf(options))
        return std::nullopt;
    constexpr char kTurnOff[] = ", or turn PDF/A off.";
    if (!ownerPassword.empty() || !userPassword.empty())
        return std::string("PDF/A forbids encryption, and passwords are given: remove the passwords") + kTurnOff;
    if (options.EncryptLevel != kDefaultEncryptLevel)
        return "PDF/A forbids encryption, and the Encrypt Level is set to " + std::to_string(options.EncryptLevel) +
               " bits: set it back to " + std::to_string(kDefaultEncryptLevel) + " (EncryptLevel=" +
               std::to_string(kDefaultEncryptLevel) + "; without a password nothing is encrypted)" + kTurnOff;
    if (options.PageFont == CidFont)
        return std::string("PDF/A needs every font embedded, and the CID fonts are the PDF library's built-in "
                           "fonts with no font program to embed: choose \"TrueType Font\" with a font that has "
                           "the characters and the encoding UTF-8") + kTurnOff;
    if (options.PageFont == Type1Font && options.Type1DataFile.empty())
        return std::string("PDF/A needs every font embedded, and the Type 1 font has no data file (.pfa/.pfb): "
                           "choose its data file") + kTurnOff;
    if (!IsLanguageTag(DocumentLanguage(options)))
        return "The document language \"" + DocumentLanguage(options) +
               "\" is not a language tag such as en-US or de-DE: correct the Language option.";
    return std::nullopt;
}

std::optional<std::string> CheckFont(const ConversionOptions& options)
{
    PdfDocument document;
    SilentObserver observer;
    if (document.IsCreated() && !document.Open(options, ChosenDrawing(options), observer))
        return document.FailureReason();
    return std::nullopt;
}

} // namespace

std::optional<std::string> CheckPasswords(const std::string& ownerPassword, const std::string& userPassword)
{
    if (!ownerPassword.empty() && ownerPassword == userPassword)
        return "The owner password and the user password are the same; they must differ.";
    return std::nullopt;
}

std::optional<std::string> CheckPageAndPasswords(const ConversionOptions& options, const std::string& ownerPassword,
                                                 const std::string& userPassword)
{
    int width = 0;
    int height = 0;
    TextLayout::PageSizeOf(options, width, height);
    if (width < kMinPageSide || width > kMaxPageSide || height < kMinPageSide || height > kMaxPageSide)
        return "The page size " + std::to_string(width) + " x " + std::to_string(height) +
               " points is outside 3 to 14400 points.";
    if (auto problem = CheckMargins(options))
        return problem;
    if (TextLayout::AvailableWidth(options) <= 0)
        return "The left and right margins (" + std::to_string(options.LeftMargin) + " and " +
               std::to_string(options.RightMargin) + " points) leave no room for text on a page " +
               std::to_string(width) + " points wide.";
    if (options.FontSize < 0 || options.FontSize > kMaxFontSize)
        return "The font size " + std::to_string(options.FontSize) + " is outside 1 to 300 points.";
    if (auto problem = CheckFurniture(options, width, height))
        return problem;
    if (auto problem = CheckPasswords(ownerPassword, userPassword))
        return problem;
    if (auto problem = CheckInformation(options))
        return problem;
    if (auto problem = CheckUtf8FontKind(options))
        return problem;
    if (auto problem = CheckArchival(options, ownerPassword, userPassword))
        return problem;
    return CheckTrueTypeFileChosen(options);
}

std::optional<std::string> CheckOptions(const ConversionOptions& options, const std::string& ownerPassword,
                                        const std::string& userPassword)
{
    if (auto problem = CheckPageAndPasswords(options, ownerPassword, userPassword))
        return problem;
    return CheckFont(options);
}
