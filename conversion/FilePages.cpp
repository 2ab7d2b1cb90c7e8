#include "conversion/FilePages.h"

#include "conversion/Aes256Encryption.h"
#include "conversion/GlyphlessCharacters.h"
#include "conversion/PageFields.h"
#include "conversion/PageFurniture.h"
#include "conversion/PdfDocument.h"
#include "conversion/StandInCodes.h"
#include "conversion/TextFile.h"
#include "conversion/TextLayout.h"
#include "conversion/TextPlan.h"
#include "platform/Utf8.h"

#include <functional>
#include <vector>

namespace {

// What the page furniture of one file needs besides the options.
struct FileFurniture {
    FieldFacts facts;
    std::string text; // the fields as drawn apart from their page numbers (see FurnitureText)
    PageNumbering numbering;
};

constexpr char kFontSizeWarning[] = "Font size can not be 0. Set default 9.";

float FontSizeToUse(const ConversionOptions& options, ConversionObserver& observer)
{
    if (options.FontSize == 0)
        observer.Warn(kFontSizeWarning);
    return static_cast<float>(BodyFontSize(options));
}

// A file saved as UTF-8 comes out as two or three wrong characters for each one beyond ASCII
// when a single-byte encoding reads it. CID fonts are left alone: their encodings share byte
// patterns with UTF-8. The options are named as the window shows them and as Settings.ini and
// the command line take them, so that the one text serves both.
std::optional<std::string> Utf8Hint(TextDrawing drawing, const ConversionOptions& options, const std::string& text)
{
    if (drawing != TextDrawing::SingleByte || !HoldsMultiByteUtf8(text))
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

// The text as the layout takes it, and the notes on what was changed in it or looks wrong.
struct LayoutText {
    std::string text;               // UTF-8 made fit for the library; CR as the only line end
    std::size_t progressLength = 0; // the range of the file's progress
    std::vector<std::string> notes;
};

// The library trusts the UTF-8 it is given: malformed bytes are drawn as U+FFFD instead. A
// text the plan found well-formed is not looked through again.
std::size_t RepairForLibrary(std::string& text, const TextPlan& plan)
{
    if (plan.drawing != TextDrawing::Utf8)
        return 0;
    if (!plan.characters || !plan.characters->wellFormed)
        return RepairUtf8(text);
    if (text.starts_with(kUtf8ByteOrderMark))
        text.erase(0, kUtf8ByteOrderMark.size());
    return 0;
}

// `chosen` are the user's options, before the plan settled Auto. Characters beyond U+FFFF wait
// for the fonts (see LayOutPages).
LayoutText PrepareText(TextPlan& plan, const ConversionOptions& chosen)
{
    LayoutText prepared;
    std::string text = std::move(plan.text);
    const std::size_t malformedBytes = RepairForLibrary(text, plan);
    if (malformedBytes > 0)
        prepared.notes.push_back(MalformedUtf8Note(malformedBytes));
    if (auto hint = Utf8Hint(plan.drawing, chosen, text))
        prepared.notes.push_back(std::move(*hint));
    prepared.progressLength = NormaliseLineEnds(text);
    prepared.text = std::move(text);
    return prepared;
}

bool HasFurniture(const ConversionOptions& options)
{
    return HasHeader(options) || HasFooter(options) || options.LineNumbers != 0;
}

// The header and footer fields as drawn apart from their page numbers, in well-formed UTF-8,
// for the choice of the document's encoding and fonts and of the stand-ins.
std::string FurnitureText(const ConversionOptions& options, const FieldFacts& facts)
{
    std::string text;
    for (const std::string* field : FieldsOf(options).fields)
        text += ExpandPlaceholders(*field, facts, 0, 0);
    RepairUtf8(text);
    return text;
}

// The gutter of the line numbers can leave the text no room, which only the text can tell.
std::optional<std::string> CheckBodyWidth(const ConversionOptions& body, long lastLineNumber)
{
    if (TextLayout::AvailableWidth(body) > 0)
        return std::nullopt;
    return "The line numbers up to " + std::to_string(lastLineNumber) +
           " leave no room for the text between the margins; make the margins or the font smaller, or turn the "
           "line numbers off.";
}

// A file ready for its layout: its fonts open and its text fit for them.
struct LaidFile {
    const TextPlan& plan;
    std::size_t progressLength;
    const FileFurniture& furnished;
    const std::vector<HPDF_Font>& fonts;
    const StandInCodes& standIns;
    FilePages& pages;
};

// What is done with a file's layout: its pages written or counted. Returns the failure, empty
// when it went well.
using LayoutUse = std::function<std::string(TextLayout& layout, std::string& text, const LaidFile& file)>;

// Opens the file's fonts, readies `text` for them and the layout of its pages, with the page
// furniture, if any, and hands the layout to `use`. Returns the failure, empty when all went well.
std::string LayOutPages(PdfDocument& document, const TextPlan& plan, std::string& text, std::size_t progressLength,
                        const FileFurniture& furnished, ConversionObserver& observer, FilePages& pages,
                        const LayoutUse& use)
{
    const ConversionOptions& options = plan.options;
    HPDF_Font font = document.Open(options, plan.drawing, observer);
    if (!font)
        return document.FailureReason();
    const std::vector<HPDF_Font> fallbacks = document.LoadFallbackFonts(plan.fallbackFonts);
    std::vector<HPDF_Font> fonts{font};
    fonts.insert(fonts.end(), fallbacks.begin(), fallbacks.end());
    // The library drops every character beyond U+FFFF without a word: those the fonts have are
    // drawn through stand-ins, the others as U+FFFD, and the notes say so.
    const bool mayHoldRightToLeft = !plan.characters || plan.characters->fromHebrewOn;
    const StandInCodes standIns = plan.drawing == TextDrawing::Utf8 && mayHoldRightToLeft
                                      ? DrawBeyondBmp(text, fonts, furnished.text)
                                      : StandInCodes{};
    const float fontSize = FontSizeToUse(options, observer);
    // An archival PDF may not show a glyph it has not: such characters are left out.
    if (document.Marks()) {
        GlyphWidths glyphs(font, fontSize, document.Charset(), fallbacks);
        const std::string dropped = DroppedGlyphlessNote(
            DropCharactersWithoutGlyph(text, glyphs, document.Charset(), document.SingleByteEncoder(font)));
        if (!dropped.empty())
            pages.droppedNote = dropped;
    }
    std::optional<PageFurniture> furniture;
    if (HasFurniture(options))
        furniture.emplace(options, furnished.facts, font, fontSize, document.Charset(), fallbacks, standIns,
                          options.LineNumbers ? PageFurniture::CountLines(text) : 0);
    const ConversionOptions body = furniture ? furniture->BodyArea() : options;
    if (auto problem = CheckBodyWidth(body, furniture ? furniture->LastLineNumber() : 0))
        return *problem;
    TextLayout layout(document.Handle(), font, fontSize, body, document.Charset(), observer, fallbacks);
    layout.UseStandIns(standIns);
    layout.MayHoldRightToLeft(mayHoldRightToLeft);
    if (furniture)
        layout.AddFurniture(*furniture, furnished.numbering);
    return use(layout, text, {plan, progressLength, furnished, fonts, standIns, pages});
}

// Lays the file's text out on its pages and draws them. The text is given up once it is laid
// out, so that it and the finished PDF are not held at the same time.
std::string WritePages(PdfDocument& document, TextLayout& layout, std::string& text, const LaidFile& file)
{
    layout.OnPageFinished([&document](HPDF_Page page) { return document.FinishPage(page); });
    layout.MarkContent(document.Marks());
    layout.Write(text, file.progressLength);
    for (HPDF_Font drawing : file.fonts)
        document.AddDrawnCodes(drawing, layout.DrawnCodes(), file.standIns.characters);
    std::string().swap(text);
    if (document.Check("Writing the pages"))
        return document.FailureReason();
    file.pages.beyondBmpNote = BeyondBmpNote(file.standIns.withoutGlyph);
    file.pages.missingGlyphNote = layout.MissingGlyphNote(file.plan.searchedInstalledFonts);
    return {};
}

// The file read and planned, its layout handed to `use`.
FilePages PlanFilePages(PdfDocument& document, const ConversionOptions& chosen, std::string bytes,
                        const std::string& inputPath, PageNumbering numbering, ConversionObserver& observer,
                        const LayoutUse& use)
{
    FileFurniture furnished{HasFurniture(chosen) ? FieldFactsOf(inputPath) : FieldFacts{}, {}, numbering};
    furnished.text = FurnitureText(chosen, furnished.facts);
    TextPlan plan = MakeTextPlan(chosen, std::move(bytes), furnished.text);
    FilePages pages{{}, plan.options, std::nullopt, std::nullopt, std::nullopt};
    LayoutText prepared = PrepareText(plan, chosen);
    prepared.notes.insert(prepared.notes.begin(), plan.notes.begin(), plan.notes.end());
    if (!document.IsCreated()) {
        pages.result = ConversionResult::DocumentNotCreated();
        return pages;
    }
    const std::string failure =
        LayOutPages(document, plan, prepared.text, prepared.progressLength, furnished, observer, pages, use);
    if (!failure.empty()) {
        pages.result = ConversionResult::Failed(failure);
        return pages;
    }
    pages.result.written = true;
    pages.result.notes = std::move(prepared.notes);
    return pages;
}

} // namespace

ConversionResult FinishDocument(PdfDocument& document, const ConversionOptions& options,
                                const std::string& ownerPassword, const std::string& userPassword,
                                std::vector<std::string> notes)
{
    document.Finish(options, ownerPassword, userPassword);
    if (document.Failed())
        return ConversionResult::Failed(document.FailureReason());
    ConversionResult result;
    result.written = true;
    result.notes = std::move(notes);
    if (ownerPassword.empty() && !userPassword.empty())
        result.notes.push_back("The user password was ignored because the owner password is "
                               "empty; the PDF is not encrypted.");
    if (!ownerPassword.empty() && options.EncryptLevel >= PdfDocument::kAes256Level)
        for (std::string& note : Aes256PasswordNotes(ownerPassword, userPassword))
            result.notes.push_back(std::move(note));
    return result;
}

FilePages WriteFilePages(PdfDocument& document, const ConversionOptions& chosen, std::string bytes,
                         const std::string& inputPath, PageNumbering numbering, ConversionObserver& observer)
{
    return PlanFilePages(document, chosen, std::move(bytes), inputPath, numbering, observer,
                         [&document](TextLayout& layout, std::string& text, const LaidFile& file) {
                             return WritePages(document, layout, text, file);
                         });
}

long CountFilePages(PdfDocument& scratch, const ConversionOptions& chosen, std::string bytes,
                    const std::string& inputPath)
{
    long count = 0;
    SilentObserver silent;
    PlanFilePages(scratch, chosen, std::move(bytes), inputPath, {}, silent,
                  [&count](TextLayout& layout, std::string& text, const LaidFile&) {
                      count = layout.CountPages(text);
                      return std::string();
                  });
    return count;
}

std::optional<std::string> BeyondBmpNote(std::size_t inText)
{
    if (inText == 0)
        return std::nullopt;
    return CountOf(inText, "character", "characters") +
           " beyond U+FFFF (such as emoji) in the text shown as U+FFFD, the replacement character: none of the "
           "installed fonts found for the text draws them.";
}
