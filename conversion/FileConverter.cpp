#include "conversion/FileConverter.h"

#include "conversion/Aes256Encryption.h"
#include "conversion/CheckOptions.h"
#include "conversion/GlyphlessCharacters.h"
#include "conversion/PdfDocument.h"
#include "platform/CommitPool.h"
#include "platform/SystemMessage.h"
#include "conversion/TextFile.h"
#include "conversion/TextLayout.h"
#include "conversion/TextPlan.h"
#include "conversion/ToUnicodeMap.h"
#include "platform/WriteAll.h"
#include "platform/Utf8.h"

#include <memory>
#include <new>
#include <optional>
#include <vector>
#include <sys/stat.h>

namespace {

constexpr char kFontSizeWarning[] = "Font size can not be 0. Set default 9.";
constexpr int kDefaultFontSize = 9;
// What a document read from the standard input is called where it needs a name.
constexpr char kStandardInputName[] = "standard input";

std::string FileNameOf(const std::string& path)
{
    return path.substr(path.find_last_of('/') + 1);
}

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
    if (options.PageFont == CidFont || UsesUtf8(options) || ReadsEachFileAsDetected(options) ||
        !HoldsMultiByteUtf8(text))
        return std::nullopt;
    const bool known = options.SingeEncode >= 0 && options.SingeEncode < int(SingleByteEncodings.size());
    const std::string chosen = known ? std::string(SingleByteEncodings[options.SingeEncode]) : "the chosen one";
    // Auto reads this file right and every other file too, whatever font is chosen.
    return "The text looks like UTF-8, which the encoding " + chosen +
           " reads wrongly. To read it right, choose Single-byte Encoding \"" +
           std::string(SingleByteEncodings[kAutoEncoding]) +
           "\", which reads each file as what it is (Settings.ini: SingeEncode=" + std::to_string(kAutoEncoding) +
           "; command line: --set SingeEncode=" + std::to_string(kAutoEncoding) + ").";
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

// The options one document is made with: a copy of the caller's whose document information has
// its characters beyond U+FFFF replaced, which the library would drop.
struct DocumentOptions {
    ConversionOptions options;
    std::size_t beyondBmpInInformation = 0;
};

// `name` is what the document is called when an archival PDF needs a title and none is set:
// the input's file name.
DocumentOptions OptionsForDocument(const ConversionOptions& chosen, const std::string& name)
{
    DocumentOptions document{chosen};
    if (MakesArchivalPdf(chosen) && document.options.Title.empty())
        document.options.Title = name;
    document.beyondBmpInInformation = ReplaceBeyondBmpInInformation(document.options);
    return document;
}

// The text as the layout takes it, and the notes on what was changed in it or looks wrong.
struct LayoutText {
    std::string text;               // UTF-8 made fit for the library; CR as the only line end
    std::size_t progressLength = 0; // the range of the file's progress
    std::vector<std::string> notes;
};

// `chosen` are the options as the user gave them, before the plan settled Auto.
LayoutText PrepareText(std::string text, const DocumentOptions& document, const ConversionOptions& chosen)
{
    const ConversionOptions& options = document.options;
    LayoutText prepared;
    // The library trusts the UTF-8 it is given and drops every character beyond U+FFFF
    // without a word; both kinds of trouble are drawn as U+FFFD instead, and the notes say so.
    const Utf8Fix fix = UsesUtf8(options) ? FixUtf8ForLibrary(text) : Utf8Fix{};
    if (fix.malformedBytes > 0)
        prepared.notes.push_back(MalformedUtf8Note(fix.malformedBytes));
    if (auto note = BeyondBmpNote(fix.beyondBmp, document.beyondBmpInInformation))
        prepared.notes.push_back(std::move(*note));
    if (auto hint = Utf8Hint(chosen, text))
        prepared.notes.push_back(std::move(*hint));
    prepared.progressLength = NormaliseLineEnds(text);
    prepared.text = std::move(text);
    return prepared;
}

// What writing the pages came to.
struct Pages {
    std::string failure;                         // empty when every page was written
    std::optional<std::string> missingGlyphNote; // characters the font has no glyph for
    std::string droppedNote;                     // characters left out of an archival PDF
};

// Opens the document's fonts and lays `text` out on its pages. The text is taken by value and
// given up once it is laid out, so that it and the finished PDF are not held at the same time.
Pages WritePages(PdfDocument& document, const ConversionOptions& options, const TextPlan& plan, std::string text,
                 std::size_t progressLength, ConversionObserver& observer)
{
    HPDF_Font font = document.Open(options, observer);
    if (!font)
        return {document.FailureReason(), std::nullopt, {}};
    const std::vector<HPDF_Font> fallbacks = document.LoadFallbackFonts(plan.fallbackFonts);
    const float fontSize = FontSizeToUse(options, observer);
    std::string droppedNote;
    if (document.Marks()) {
        GlyphWidths glyphs(font, fontSize, document.Charset(), fallbacks);
        droppedNote = DroppedGlyphlessNote(
            DropCharactersWithoutGlyph(text, glyphs, document.Charset(), document.SingleByteEncoder(font)));
    }
    TextLayout layout(document.Handle(), font, fontSize, options, document.Charset(), observer, fallbacks);
    layout.OnPageFinished([&document](HPDF_Page page) { return document.FinishPage(page); });
    layout.MarkContent(document.Marks());
    layout.Write(text, progressLength);
    for (HPDF_Font drawing : fallbacks)
        ReplaceToUnicodeMap(drawing, layout.DrawnCodes());
    ReplaceToUnicodeMap(font, layout.DrawnCodes());
    std::string().swap(text);
    if (document.Check("Writing the pages"))
        return {document.FailureReason(), std::nullopt, {}};
    return {{}, layout.MissingGlyphNote(plan.searchedInstalledFonts), droppedNote};
}

// Makes the whole PDF of `bytes`, the file as read, in `document`, in memory, step by step: the
// options checked, the file's reading planned, the options copied for this document, the text
// prepared, the pages written (which gives the text up), and the document finished. The caller then hands the PDF out with the document's
// WriteOut, once: its AES-256 path frees the library's document on the way.
ConversionResult BuildDocument(PdfDocument& document, const ConversionOptions& chosen, std::string bytes,
                               const std::string& documentName, const std::string& ownerPassword,
                               const std::string& userPassword, ConversionObserver& observer)
{
    if (const auto problem = CheckPageAndPasswords(chosen, ownerPassword, userPassword))
        return ConversionResult::Failed(*problem);
    TextPlan plan = MakeTextPlan(chosen, std::move(bytes));
    const DocumentOptions adjusted = OptionsForDocument(plan.options, documentName);
    const ConversionOptions& options = adjusted.options;
    LayoutText prepared = PrepareText(std::move(plan.text), adjusted, chosen);
    prepared.notes.insert(prepared.notes.begin(), plan.notes.begin(), plan.notes.end());
    if (!document.IsCreated())
        return ConversionResult::DocumentNotCreated();
    const Pages pages = WritePages(document, options, plan, std::move(prepared.text), prepared.progressLength, observer);
    if (!pages.failure.empty())
        return ConversionResult::Failed(pages.failure);
    document.Finish(options, ownerPassword, userPassword);
    if (document.Failed())
        return ConversionResult::Failed(document.FailureReason());
    ConversionResult result = Written(ownerPassword, userPassword, std::move(prepared.notes));
    if (!ownerPassword.empty() && options.EncryptLevel >= PdfDocument::kAes256Level)
        for (std::string& note : Aes256PasswordNotes(ownerPassword, userPassword))
            result.notes.push_back(std::move(note));
    if (pages.missingGlyphNote)
        result.notes.push_back(*pages.missingGlyphNote);
    if (!pages.droppedNote.empty())
        result.notes.push_back(pages.droppedNote);
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
    if (SameFile(inputPath, outputPath))
        return {ConversionResult::Failed("The PDF would replace the input file itself; the input "
                                         "was left untouched."),
                nullptr};
    TextFileContent content = ReadFileBytes(inputPath);
    if (!content.error.empty())
        return {ConversionResult::Failed("Cannot read the input file: " + content.error + "."), nullptr};
    PdfDocument document;
    ConversionResult result =
        BuildDocument(document, options, std::move(content.text), FileNameOf(inputPath), ownerPassword, userPassword,
                      observer);
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
        BuildDocument(document, options, std::move(content.text), kStandardInputName, ownerPassword, userPassword,
                      observer);
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
