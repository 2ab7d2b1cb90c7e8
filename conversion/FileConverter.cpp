#include "conversion/FileConverter.h"

#include "conversion/Aes256Encryption.h"
#include "conversion/CheckOptions.h"
#include "conversion/PdfDocument.h"
#include "platform/ReplacingFile.h"
#include "platform/SystemMessage.h"
#include "conversion/TextFile.h"
#include "conversion/TextLayout.h"
#include "conversion/ToUnicodeMap.h"
#include "platform/WriteAll.h"
#include "platform/Utf8.h"

#include <optional>
#include <vector>
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
// patterns with UTF-8. The options are named as the window shows them and as Settings.ini and
// the command line take them, so that the one text serves both.
std::optional<std::string> Utf8Hint(const ConversionOptions& options, const std::string& text)
{
    if (options.PageFont == CidFont || UsesUtf8(options) || !HoldsMultiByteUtf8(text))
        return std::nullopt;
    const bool known = options.SingeEncode >= 0 && options.SingeEncode < int(SingleByteEncodings.size());
    const std::string chosen = known ? std::string(SingleByteEncodings[options.SingeEncode]) : "the chosen one";
    return "The text looks like UTF-8, which the encoding " + chosen +
           " reads wrongly. To read it right, choose Single-byte Encoding \"UTF-8\" and Page Font \"" +
           std::string(FontKindLabels[TrueTypeFont]) + "\" with a TrueType font file (Settings.ini: SingeEncode=" +
           std::to_string(kUtf8Encoding) + " and PageFont=" + std::to_string(TrueTypeFont) +
           "; command line: --utf8).";
}

std::string CountOf(std::size_t count, const std::string& one, const std::string& many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string MalformedUtf8Note(std::size_t replaced)
{
    return CountOf(replaced, "byte was", "bytes were") +
           " not valid UTF-8 and shown as U+FFFD, the replacement character.";
}

std::size_t ReplaceBeyondBmpInInformation(ConversionOptions& options)
{
    std::size_t replaced = 0;
    for (std::string* text : {&options.Author, &options.Creator, &options.Title, &options.Subject, &options.Keywords}) {
        if (HoldsMultiByteUtf8(*text))
            replaced += ReplaceBeyondBmp(*text);
    }
    return replaced;
}

std::optional<std::string> BeyondBmpNote(std::size_t inText, std::size_t inInformation)
{
    if (inText + inInformation == 0)
        return std::nullopt;
    std::string where;
    if (inText > 0)
        where = CountOf(inText, "character", "characters") + " beyond U+FFFF (such as emoji) in the text";
    if (inText > 0 && inInformation > 0)
        where += " and " + std::to_string(inInformation) + " in the document information";
    else if (inInformation > 0)
        where = CountOf(inInformation, "character", "characters") +
                " beyond U+FFFF (such as emoji) in the document information";
    return where + " shown as U+FFFD, the replacement character: the PDF library writes only characters up to U+FFFF.";
}

ConversionResult Written(const std::string& ownerPassword, const std::string& userPassword,
                         std::vector<std::string> textNotes)
{
    ConversionResult result;
    result.written = true;
    result.notes = std::move(textNotes);
    if (ownerPassword.empty() && !userPassword.empty())
        result.notes.push_back("The user password was ignored because the owner password is "
                               "empty; the PDF is not encrypted.");
    return result;
}

// Makes the whole PDF of `text` in `document`, in memory. The text is given up once it has
// been laid out, so that it and the finished PDF are not held at the same time.
// The options are a copy of the caller's: characters beyond U+FFFF in their document
// information are replaced for this document.
ConversionResult BuildDocument(PdfDocument& document, ConversionOptions options, std::string text,
                               const std::string& ownerPassword, const std::string& userPassword,
                               ConversionObserver& observer)
{
    if (const auto problem = CheckPageAndPasswords(options, ownerPassword, userPassword))
        return ConversionResult::Failed(*problem);
    std::vector<std::string> textNotes;
    const std::size_t beyondBmpInInformation = ReplaceBeyondBmpInInformation(options);
    // The library trusts the UTF-8 it is given and drops every character beyond U+FFFF
    // without a word; both kinds of trouble are drawn as U+FFFD instead, and the notes say so.
    const Utf8Fix fix = UsesUtf8(options) ? FixUtf8ForLibrary(text) : Utf8Fix{};
    if (fix.malformedBytes > 0)
        textNotes.push_back(MalformedUtf8Note(fix.malformedBytes));
    if (auto note = BeyondBmpNote(fix.beyondBmp, beyondBmpInInformation))
        textNotes.push_back(std::move(*note));
    if (auto hint = Utf8Hint(options, text))
        textNotes.push_back(std::move(*hint));
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
    ConversionResult result = Written(ownerPassword, userPassword, std::move(textNotes));
    if (!ownerPassword.empty() && options.EncryptLevel >= PdfDocument::kAes256Level)
        for (std::string& note : Aes256PasswordNotes(ownerPassword, userPassword))
            result.notes.push_back(std::move(note));
    if (std::optional<std::string> note = layout.MissingGlyphNote())
        result.notes.push_back(std::move(*note));
    return result;
}

ConversionResult WithReadNote(ConversionResult result, const std::string& readNote)
{
    if (result.written && !readNote.empty())
        result.notes.insert(result.notes.begin(), readNote);
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
    // The old PDF goes with a failed conversion of an input that was read, so that no PDF is
    // taken for this text's; a folder of its name stays.
    if (!result.written && unlink(outputPath.c_str()) == 0)
        result.reason += " The old PDF \"" + outputPath + "\" was removed.";
    return WithReadNote(std::move(result), content.note);
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
    result = WithReadNote(std::move(result), content.note);
    int error = 0;
    const auto write = [&](std::string_view bytes) { return (error = WriteAll(outputFd, bytes)) == 0; };
    if (!document.WriteOut(write))
        return ConversionResult::Failed(error ? "Cannot write the PDF: " + SystemMessage(error) + "."
                                              : document.FailureReason());
    return result;
}
