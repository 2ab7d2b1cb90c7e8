#include "cli/SettingsHelp.h"

#include "conversion/SettingsFile.h"

#include <algorithm>
#include <vector>

namespace {

struct KeyMeaning {
    std::string_view key;
    std::string_view text;
    std::vector<std::string> values; // one line each, "position label"
};

template <std::size_t N>
std::vector<std::string> Numbered(const std::array<std::string_view, N>& labels)
{
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < N; ++i)
        lines.push_back(std::to_string(i) + " " + std::string(labels[i]));
    return lines;
}

std::vector<std::string> PaperSizes()
{
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < kPaperSizes.size(); ++i) {
        const PaperSize& paper = kPaperSizes[i];
        lines.push_back(std::to_string(i) + " " + std::string(paper.label) + ", " + std::to_string(paper.width) +
                        " x " + std::to_string(paper.height));
    }
    lines.push_back(std::to_string(kCustomPageSize) + " " + std::string(PaperSizeLabel(kCustomPageSize)) +
                    ", PageWidth x PageHeight");
    return lines;
}

const std::vector<KeyMeaning>& Meanings()
{
    static const std::vector<KeyMeaning> meanings = {
        {"PageSize", "the paper, width x height in points:", PaperSizes()},
        {"PageWidth", "the page width in points when PageSize is 37, 3 to 14400", {}},
        {"PageHeight", "the page height in points when PageSize is 37, 3 to 14400", {}},
        {"LeftMargin", "the left margin in points, -14400 to 14400", {}},
        {"RightMargin", "the right margin in points, -14400 to 14400", {}},
        {"TopMargin", "the top margin in points, -14400 to 14400", {}},
        {"BottomMargin", "the bottom margin in points, -14400 to 14400", {}},
        {"PageFont", "the kind of font (Type 1 files come from --type1-metrics and --type1-data, a TrueType "
                     "file from --truetype):", Numbered(FontKindLabels)},
        {"B14Font", "the standard font when PageFont is 0:", Numbered(Base14FontNames)},
        {"EmbeddingFont", "whether the TrueType font is embedded in the PDF (with UTF-8 it always is):",
         Numbered(YesNoLabels)},
        {"CIDFont", "the CID font when PageFont is 3 (the Chinese fonts 0 and 1 take MultiEncode 0 to 3, the "
                    "Korean fonts 11 to 15):", Numbered(CidFontLabels)},
        {"SingeEncode", "the encoding of the text when PageFont is 0 to 2 (the key is spelled so; 28 UTF-8 "
                        "needs PageFont 2, a TrueType font; 29 Auto, the default, reads each file as what it "
                        "is: a byte-order mark, else UTF-8, else the encoding the text looks like, and draws "
                        "text beyond Windows-1252 with an installed font of the Base14 font's style):",
         Numbered(SingleByteEncodings)},
        {"MultiEncode", "the encoding of the text when PageFont is 3:", Numbered(MultiByteEncodings)},
        {"Font Size", "the font size in points, 1 to 300 (0 gives 9, with a warning)", {}},
        {"OpenMode", "how a viewer opens the PDF:", Numbered(OpenModeLabels)},
        {"OpenResult", "whether the window opens the results after a run (not used here):", Numbered(YesNoLabels)},
        {"Author", "the author in the document information", {}},
        {"Creator", "the creator in the document information", {}},
        {"Title", "the title in the document information", {}},
        {"Subject", "the subject in the document information", {}},
        {"Keywords", "the keywords in the document information", {}},
        {"PermitRead", "with an owner password: whether reading is permitted:", Numbered(YesNoLabels)},
        {"PermitPrint", "with an owner password: whether printing is permitted:", Numbered(YesNoLabels)},
        {"PermitCopy", "with an owner password: whether copying is permitted:", Numbered(YesNoLabels)},
        {"PermitModify", "with an owner password: whether changing is permitted:", Numbered(YesNoLabels)},
        {"EncryptLevel", "with an owner password: the encryption, by its key length in bits:",
         {"40 or less  RC4, 40 bits", "41 to 127   RC4, the number's whole bytes (48 gives 48 bits, 127 gives 120)",
          "128 to 255  RC4, 128 bits",
          "256 or more AES-256 (revision 6; readers from PDF 1.7 extension level 8 or PDF 2.0 on)"}},
        {"TabSize", "a tab advances to the next multiple of this many space widths from the line's start; 0 "
                    "draws the tab as the font has it", {}},
        {"FormFeed", "what a form feed does:", Numbered(FormFeedLabels)},
        {"HeaderLeft", "the header's left field (a header with three empty fields is not drawn); in every "
                       "field of the header and footer:",
         {"%f  the file's name", "%F  its path as given", "%m  its modification date and time, 2026-12-07 14:05",
          "%D  today's date, 2026-12-07", "%p  the page number", "%P  the page count", "%%  a percent sign",
          "(dates in local time; a field too long for its third of the line ends in ...)"}},
        {"HeaderCentre", "the header's centre field", {}},
        {"HeaderRight", "the header's right field", {}},
        {"FooterLeft", "the footer's left field (a footer with three empty fields is not drawn)", {}},
        {"FooterCentre", "the footer's centre field", {}},
        {"FooterRight", "the footer's right field", {}},
        {"FurnitureFontSize", "the header's and footer's font size in points, 1 to 300; 0 takes the body's", {}},
        {"HeaderRule", "a rule under the header:", Numbered(OnOffLabels)},
        {"FooterRule", "a rule over the footer:", Numbered(OnOffLabels)},
        {"LineNumbers", "the text's lines numbered in a gutter left of the text (a wrapped line's continuation "
                        "has none; a form feed does not restart the count):", Numbered(OnOffLabels)},
        {"LineNumberStep", "only every this many-th line number is drawn, 1 or more", {}},
        {"CombinedNumbering", "with --combine (or the window's Combine Into One PDF): how the page numbers of "
                              "headers and footers count:",
         {"0 within each file", "1 through the whole combined document"}},
        {"PDFA", "whether every PDF is archival and tagged (embedded fonts, XMP metadata, an sRGB output "
                 "intent, a structure tree of paragraphs; no passwords or encryption; --pdfa):",
         Numbered(ArchiveLabels)},
        {"Language", "with PDFA=1: the document's language tag, such as en-US or de-DE; empty: the user's "
                     "locale (--lang)", {}},
    };
    return meanings;
}

const KeyMeaning* MeaningOf(std::string_view key)
{
    const auto& meanings = Meanings();
    const auto found = std::find_if(meanings.begin(), meanings.end(), [&](const KeyMeaning& m) { return m.key == key; });
    return found == meanings.end() ? nullptr : &*found;
}

} // namespace

std::string SettingsHelp()
{
    const ConversionOptions defaults;
    std::string text = "Settings.ini keys by section, each as KEY=DEFAULT and what it means. Set one for a\n"
                       "call with --set KEY=VALUE; numbers are whole numbers, positions count from 0.\n";
    std::string_view section;
    for (const SettingsKey& key : SettingsKeys()) {
        if (key.section != section) {
            section = key.section;
            text += "\n[" + std::string(section) + "]\n";
        }
        text += "  " + std::string(key.key) + "=" +
                (key.number ? std::to_string(defaults.*key.number) : defaults.*key.text) + "\n";
        if (const KeyMeaning* meaning = MeaningOf(key.key)) {
            text += "      " + std::string(meaning->text) + "\n";
            for (const std::string& value : meaning->values)
                text += "        " + value + "\n";
        }
    }
    return text;
}
