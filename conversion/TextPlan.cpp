#include "conversion/TextPlan.h"

#include "conversion/ComposedText.h"
#include "conversion/ControlCharacters.h"
#include "conversion/DetectedEncoding.h"
#include "conversion/SystemFont.h"
#include "conversion/TextCharacters.h"
#include "conversion/TextFile.h"
#include "conversion/Transcode.h"
#include "conversion/WinAnsiText.h"
#include "platform/Utf8.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr int kStylesPerFamily = 4; // regular, bold, slanted, bold slanted
constexpr int kSymbolFonts = 12;    // from here on the Base14 fonts have no text style

void AddNote(std::vector<std::string>& notes, std::string note)
{
    if (!note.empty())
        notes.push_back(std::move(note));
}

std::string GuessNote(const DetectedEncoding& encoding)
{
    switch (encoding.basis) {
    case DetectedEncoding::Basis::Detector:
        return "The text is not UTF-8; it was read as " + encoding.charset + ", the encoding it looks like.";
    case DetectedEncoding::Basis::Fallback:
        return "The text is not UTF-8 and its encoding was not recognised; it was read as Windows-1252.";
    case DetectedEncoding::Basis::ZeroBytes:
        return "The text has no byte-order mark but looks like " + encoding.charset + "; it was read so.";
    case DetectedEncoding::Basis::ByteOrderMark:
    case DetectedEncoding::Basis::WellFormedUtf8: break;
    }
    return {};
}

std::string UndecodableNote(const DetectedEncoding& encoding, std::size_t replaced)
{
    if (replaced == 0)
        return {};
    return std::to_string(replaced) + (replaced == 1 ? " sequence was" : " sequences were") + " not valid " +
           encoding.charset + " and shown as U+FFFD, the replacement character.";
}

void DrawAsWinAnsi(TextPlan& plan, std::string text)
{
    std::size_t replaced = 0;
    plan.text = ToWinAnsi(std::move(text), replaced);
    plan.options.SingeEncode = kWinAnsiEncoding;
    plan.drawing = TextDrawing::WinAnsi;
    if (replaced > 0)
        AddNote(plan.notes, std::to_string(replaced) + " characters without a Windows-1252 code were drawn as '?': "
                            "no installed TrueType font was found to draw them (" +
                            std::string(FontKindLabels[TrueTypeFont]) +
                            " with a font file draws every character the file has).");
}

// The TrueType font the options name, if they do.
SystemFont ChosenTrueTypeFont(const ConversionOptions& options)
{
    SystemFont chosen;
    if (options.PageFont == TrueTypeFont) {
        chosen.file = options.TrueTypeFile;
        chosen.index = options.TrueTypeFontIndex;
    }
    return chosen;
}

// Text beyond Windows-1252: UTF-8 with a TrueType font, the user's or an installed one.
void DrawAsUtf8(TextPlan& plan, std::string text, std::string_view alsoDrawn)
{
    const SystemFont chosen = ChosenTrueTypeFont(plan.options);
    TextCharacters found = CharactersIn(text, alsoDrawn);
    FontsForText fonts = FindFontsFor(SubstituteRequest(plan.options), found.characters, chosen);
    if (fonts.main.file.empty())
        return DrawAsWinAnsi(plan, std::move(text));
    plan.options.PageFont = TrueTypeFont;
    plan.options.TrueTypeFile = fonts.main.file;
    plan.options.TrueTypeFontIndex = fonts.main.index;
    plan.options.SingeEncode = kUtf8Encoding;
    plan.drawing = TextDrawing::Utf8;
    plan.fallbackFonts = std::move(fonts.fallbacks);
    plan.searchedInstalledFonts = fonts.searchedAll;
    plan.text = std::move(text);
    plan.characters = std::move(found);
}

// Unicode text, as UTF-8 with CR LF folded.
void ReadAsUnicode(FileText& read, std::string bytes, const DetectedEncoding& encoding, bool more)
{
    std::size_t replaced = 0;
    if (encoding.IsUtf8()) {
        bytes.erase(0, encoding.markLength);
        read.text = std::move(bytes);
    } else {
        read.text = DecodeToUtf8(std::string_view(bytes).substr(encoding.markLength), encoding.charset, more, &replaced);
        std::string().swap(bytes);
    }
    read.cut = more;
    AddNote(read.notes, UndecodableNote(encoding, replaced));
    // No end of text at a zero byte or Ctrl+Z: they are control characters like any other, left
    // out of the drawing and counted, and the text after them is converted.
    FoldCrLf(read.text);
    ComposeMarks(read.text);
}

void ReadAsDetected(FileText& read, std::string bytes, bool more)
{
    const DetectedEncoding encoding = DetectEncoding(bytes);
    read.decoded = true;
    AddNote(read.notes, GuessNote(encoding));
    ReadAsUnicode(read, std::move(bytes), encoding, more);
}

// UTF-8 is read whatever the bytes, but a UTF-16 or UTF-32 byte-order mark leaves no doubt
// that they are not: cut at its first zero byte, such a file gave a nearly empty PDF.
void ReadAsUtf8(FileText& read, std::string bytes, bool more)
{
    const DetectedEncoding encoding = EncodingByMark(bytes).value_or(DetectedEncoding{.charset = "UTF-8"});
    ReadAsUnicode(read, std::move(bytes), encoding, more);
}

void ReadAsChosen(FileText& read, std::string bytes, bool more, TextDrawing drawing)
{
    if (drawing == TextDrawing::Utf8)
        return ReadAsUtf8(read, std::move(bytes), more);
    AddNote(read.notes, TextEndNote(bytes));
    read.cut = ApplyTextMode(bytes) && more;
    read.text = std::move(bytes);
}

// Pure ASCII, most text files, passes as it is.
void ChooseDrawing(TextPlan& plan, std::string text, std::string_view alsoDrawn)
{
    if (FitsWinAnsi(text) && FitsWinAnsi(alsoDrawn))
        DrawAsWinAnsi(plan, std::move(text));
    else
        DrawAsUtf8(plan, std::move(text), alsoDrawn);
}

void FindFallbackFonts(TextPlan& plan, std::string_view alsoDrawn)
{
    if (plan.drawing != TextDrawing::Utf8)
        return;
    plan.characters = CharactersIn(plan.text, alsoDrawn);
    const std::vector<char32_t>& characters = plan.characters->characters;
    const bool ascii = characters.empty() || characters.back() < 0x80;
    if (plan.options.PageFont != TrueTypeFont || ascii)
        return;
    FontsForText fonts = FindFontsFor(SubstituteRequest(plan.options), characters, ChosenTrueTypeFont(plan.options));
    plan.fallbackFonts = std::move(fonts.fallbacks);
    plan.searchedInstalledFonts = fonts.searchedAll;
}

} // namespace

TextPlan MakeTextPlan(const ConversionOptions& options, std::string bytes, std::string_view alsoDrawn)
{
    TextPlan plan;
    plan.options = options;
    plan.drawing = ChosenDrawing(options);
    FileText read = ReadFileText(options, std::move(bytes));
    plan.notes = std::move(read.notes);
    if (read.decoded) {
        ChooseDrawing(plan, std::move(read.text), alsoDrawn);
    } else {
        plan.text = std::move(read.text);
        FindFallbackFonts(plan, alsoDrawn);
    }
    if (!plan.characters || plan.characters->controls)
        AddNote(plan.notes, DroppedControlsNote(DropControlCharacters(plan.text)));
    return plan;
}

TextDrawing ChosenDrawing(const ConversionOptions& options)
{
    if (options.PageFont == CidFont)
        return TextDrawing::Cid;
    if (ReadsEachFileAsDetected(options))
        return TextDrawing::WinAnsi;
    return options.SingeEncode == kUtf8Encoding ? TextDrawing::Utf8 : TextDrawing::SingleByte;
}

FileText ReadFileText(const ConversionOptions& options, std::string bytes, bool more)
{
    FileText read;
    if (ReadsEachFileAsDetected(options))
        ReadAsDetected(read, std::move(bytes), more);
    else
        ReadAsChosen(read, std::move(bytes), more, ChosenDrawing(options));
    return read;
}

FontRequest SubstituteRequest(const ConversionOptions& options)
{
    FontRequest request;
    const int font = options.B14Font;
    if (options.PageFont != Base14Font || font < 0 || font >= kSymbolFonts) {
        request.families = {"sans-serif"};
        return request;
    }
    static const std::vector<std::string> kFamilies[] = {
        {"Liberation Mono", "Nimbus Mono PS", "monospace"},
        {"Liberation Sans", "Nimbus Sans", "sans-serif"},
        {"Liberation Serif", "Nimbus Roman", "serif"},
    };
    request.families = kFamilies[font / kStylesPerFamily];
    const int style = font % kStylesPerFamily;
    request.bold = style == 1 || style == 3;
    request.slanted = style >= 2;
    return request;
}
