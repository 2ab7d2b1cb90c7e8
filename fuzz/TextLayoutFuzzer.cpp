// The text-mode reader and the line breaker on random bytes, in every font kind and encoding
// the options offer (walked from the engine's own lists, so a new encoding is fuzzed as soon as
// it is listed), at random widths and font sizes.
//
// Besides its own promises, each line must be the one the step-by-step reference of the tests
// takes. Input: two bytes pick the font set-up, then the font size (1 to 300 points) and the width
// between the margins (1 to 3000 points); the rest is the file's bytes.
#include "FuzzInput.h"
#include "ReferenceLineBreaker.h"

#include "conversion/ConversionObserver.h"
#include "conversion/ConversionOptions.h"
#include "conversion/GlyphWidths.h"
#include "conversion/LineBreaker.h"
#include "conversion/PdfDocument.h"
#include "conversion/TextFile.h"
#include "conversion/TextPlan.h"
#include "platform/Utf8.h"

#include <algorithm>
#include <memory>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr char kTrueTypeFont[] = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr unsigned long kMaxFontSize = 300;
constexpr unsigned long kMaxWidth = 3000;
// The step-by-step reference measures every candidate head anew; past this size it would
// spend the run on a few inputs.
constexpr std::size_t kMaxReferenceSize = 2048;
// Each call sets the page's font into its content stream, so a document is made anew now and
// then to keep the stream small.
constexpr int kUsesPerDocument = 512;

std::vector<ConversionOptions> FontSetups()
{
    std::vector<ConversionOptions> setups;
    for (int encoding = 0; encoding < int(SingleByteEncodings.size()); ++encoding) {
        ConversionOptions options;
        options.SingeEncode = encoding;
        options.PageFont = Base14Font;
        for (int font = 0; font < int(Base14FontNames.size()); ++font) {
            options.B14Font = font;
            setups.push_back(options);
        }
        options.PageFont = TrueTypeFont;
        options.TrueTypeFile = kTrueTypeFont;
        setups.push_back(options);
    }
    for (int font = 0; font < int(CidFontLabels.size()); ++font) {
        for (int encoding = 0; encoding < int(MultiByteEncodings.size()); ++encoding) {
            ConversionOptions options;
            options.PageFont = CidFont;
            options.CIDFont = font;
            options.MultiEncode = encoding;
            setups.push_back(options);
        }
    }
    return setups;
}

struct LoadedFont {
    std::unique_ptr<PdfDocument> document;
    HPDF_Font font = nullptr;
    HPDF_Page page = nullptr;
    int uses = 0;
};

LoadedFont& FontFor(const ConversionOptions& options, LoadedFont& loaded)
{
    if (loaded.document && ++loaded.uses < kUsesPerDocument)
        return loaded;
    loaded = LoadedFont{std::make_unique<PdfDocument>()};
    SilentObserver observer;
    // Some pairs of font and encoding do not go together; such a document is in error and has
    // no font at all, and the file is not converted.
    loaded.font = loaded.document->Open(options, ChosenDrawing(options), observer);
    if (loaded.font)
        loaded.page = HPDF_AddPage(loaded.document->Handle());
    return loaded;
}

std::string ReadThroughStream(const std::string& bytes)
{
    const int fd = memfd_create("fuzz-text", MFD_CLOEXEC);
    Require(fd >= 0 && write(fd, bytes.data(), bytes.size()) == ssize_t(bytes.size()) && lseek(fd, 0, SEEK_SET) == 0,
            "a memory file takes the input");
    TextFileContent content = ReadTextStream(fd);
    close(fd);
    Require(content.error.empty(), "a memory file reads without error");
    return std::move(content.text);
}

// The text as text mode should leave it: cut at the first Ctrl+Z or zero byte, each CR LF pair
// of what is left made one LF, scanning from the left.
std::string ExpectedTextMode(const std::string& bytes)
{
    std::string text = bytes.substr(0, bytes.find_first_of(std::string("\x1A\0", 2)));
    for (std::size_t pos = text.find("\r\n"); pos != std::string::npos; pos = text.find("\r\n", pos + 1))
        text.erase(pos, 1);
    return text;
}

void CheckTextMode(const std::string& bytes, std::string& text)
{
    text = bytes;
    const bool whole = ApplyTextMode(text);
    Require(whole == (bytes.find_first_of(std::string("\x1A\0", 2)) == std::string::npos),
            "text mode says whether an end byte cut the data");
    Require(text == ExpectedTextMode(bytes), "text mode cuts at the end byte and shrinks CR LF pairs");
    Require(ReadThroughStream(bytes) == text, "reading a stream gives the text mode of its bytes");

    const std::size_t lineFeeds = std::count(text.begin(), text.end(), '\n');
    const std::size_t progressLength = NormaliseLineEnds(text);
    Require(progressLength == text.size() + lineFeeds, "the progress range counts each LF as CR LF");
    Require(text.find('\n') == std::string::npos, "no LF is left after the line ends are normalised");
}

// Where characters start in the text, walking from its head.
std::vector<bool> CharacterStarts(std::string_view text, const MultiByteCharset& charset)
{
    std::vector<bool> starts(text.size() + 1, false);
    for (std::size_t pos = 0; pos <= text.size(); pos += std::max<std::size_t>(1, charset.CharLengthAt(text, pos)))
        starts[pos] = true;
    return starts;
}

std::size_t CharacterCount(std::string_view line, const MultiByteCharset& charset)
{
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < line.size(); pos += charset.CharLengthAt(line, pos))
        ++count;
    return count;
}

bool Fits(std::string_view line, GlyphWidths& widths, const MultiByteCharset& charset, double width)
{
    // The library breaks after any white-space byte and lets that character reach past the
    // end, as a space does on paper; in a double-byte encoding the byte may end a character.
    const bool endsInBlank = !line.empty() && std::string_view(" \t\f\r").find(line.back()) != std::string_view::npos;
    long sum = 0;
    for (std::size_t pos = 0; pos < line.size();) {
        const std::size_t length = charset.CharLengthAt(line, pos);
        if (endsInBlank && pos + length == line.size())
            break;
        sum += widths.CharWidth(line, pos, length);
        pos += length;
    }
    return widths.Points(sum) <= width;
}

void CheckLines(const std::string& text, LoadedFont& loaded, float fontSize, double width)
{
    const MultiByteCharset& charset = loaded.document->Charset();
    HPDF_Page_SetFontAndSize(loaded.page, loaded.font, fontSize);
    LineBreaker breaker(loaded.page, loaded.font, fontSize, width, charset);
    GlyphWidths widths(loaded.font, fontSize, charset);
    const std::vector<bool> starts = CharacterStarts(text, charset);

    const bool compare = text.size() <= kMaxReferenceSize;
    std::string reference = compare ? text : std::string();
    std::string_view rest = text;
    while (!rest.empty()) {
        const std::size_t lineStart = text.size() - rest.size();
        const std::string_view line = breaker.TakeLine(rest);
        const std::size_t used = text.size() - rest.size() - lineStart;
        Require(line.data() == text.data() + lineStart, "a line is the head of the text");
        Require(used > 0, "every line uses up text");
        Require(used == line.size() || (used == line.size() + 1 && text[lineStart + line.size()] == '\r'),
                "a line gives up only the CR that ends it");
        Require(charset.Find(line, '\r') == std::string_view::npos, "a line holds no line end");
        Require(starts[lineStart + line.size()] && starts[lineStart + used], "a line ends between characters");
        Require(Fits(line, widths, charset, width) || CharacterCount(line, charset) == 1,
                "a line fits the width unless it is a single character");
        Require(!compare || (ReferenceTakeLine(loaded.page, width, charset, reference) == line &&
                             reference.size() == rest.size()),
                "the line breaker takes the lines the step-by-step reference takes");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::vector<ConversionOptions> setups = FontSetups();
    static std::vector<LoadedFont> fonts(setups.size());

    FuzzInput input(data, size);
    const std::size_t setup = input.Between(0, setups.size() - 1);
    const float fontSize = static_cast<float>(input.Between(1, kMaxFontSize));
    const double width = static_cast<double>(input.Between(1, kMaxWidth));

    std::string text;
    CheckTextMode(input.Rest(), text);
    // The conversion repairs UTF-8 before any of it is laid out; the line breaker never sees
    // malformed bytes or characters beyond U+FFFF in that encoding.
    if (ChosenDrawing(setups[setup]) == TextDrawing::Utf8)
        FixUtf8ForLibrary(text);
    if (LoadedFont& loaded = FontFor(setups[setup], fonts[setup]); loaded.font)
        CheckLines(text, loaded, fontSize, width);
    return 0;
}
