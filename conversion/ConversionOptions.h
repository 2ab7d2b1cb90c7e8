#pragma once
// Every setting of a conversion. Plain data: the window edits the fields one at a time, the
// settings file and the command line fill them, the conversion reads them. No field is range
// checked here; the conversion decides what an out-of-range value does.
#include <array>
#include <string>
#include <string_view>

struct ConversionOptions {
    int PageSize = 7;          // position in PaperSizeLabels; 37 is the custom size
    int PageWidth = 595;       // points; the page width when PageSize is 37
    int PageHeight = 842;      // points; the page height when PageSize is 37
    int LeftMargin = 60;
    int RightMargin = 60;
    int TopMargin = 60;
    int BottomMargin = 60;
    int PageFont = 0;          // position in FontKindLabels
    int B14Font = 0;           // position in Base14FontNames
    std::string Type1MetricsFile;
    std::string Type1DataFile;
    std::string TrueTypeFile;
    int TrueTypeFontIndex = 0; // the font within a .ttc collection; no key, like the paths
    int EmbeddingFont = 0;     // YesNoLabels: 0 "Yes" embeds the TrueType font program
    int CIDFont = 0;           // position in CidFontLabels
    int SingeEncode = 29;      // position in SingleByteEncodings; Auto where no setting says
    int MultiEncode = 0;       // position in MultiByteEncodings
    int FontSize = 9;          // points
    int OpenMode = 0;          // position in OpenModeLabels, equal to the library's page mode
    int OpenResult = 0;        // YesNoLabels
    std::string Author;
    std::string Creator;
    std::string Title;
    std::string Subject;
    std::string Keywords;
    int PermitRead = 0;        // YesNoLabels: 0 "Yes" permits
    int PermitPrint = 0;
    int PermitCopy = 0;
    int PermitModify = 0;
    int EncryptLevel = 48;     // key length in bits
    int TabSize = 8;           // a tab reaches the next multiple of this many space widths; 0 draws it
    int FormFeed = 1;          // 1: a form feed ends the page; 0 draws it
    // The page furniture: each field a text with placeholders (see PageFields.h); a line
    // whose three fields are all empty is not drawn and takes no room.
    std::string HeaderLeft;
    std::string HeaderCentre;
    std::string HeaderRight;
    std::string FooterLeft;
    std::string FooterCentre;
    std::string FooterRight;
    int FurnitureFontSize = 0; // points; 0 takes the body's size
    int HeaderRule = 0;        // OnOffLabels: a rule under the header
    int FooterRule = 0;        // OnOffLabels: a rule over the footer
    int LineNumbers = 0;       // OnOffLabels: the source lines numbered in a gutter
    int LineNumberStep = 1;    // only every this many-th number is drawn
    int CombinedNumbering = 0; // with every file in one PDF: 1 numbers the pages through the whole document
    // The window's run writes every checked file into this one PDF; empty: a PDF per file. No
    // key: a path left from an earlier session would quietly merge the next run's files.
    std::string CombineInto;
    int Archive = 0;           // position in ArchiveLabels: 1 makes archival, tagged PDFs
    std::string Language;      // the document's language tag, e.g. "en-US"; empty: the user's locale

    bool operator==(const ConversionOptions&) const = default;
};

inline constexpr int kCustomPageSize = 37;
inline constexpr int kFontSizeForZero = 9; // FontSize 0 draws at this size, with a warning
inline constexpr int kYes = 0;
inline constexpr int kNo = 1;
inline constexpr int kWinAnsiEncoding = 2; // position of "WinAnsiEncoding" in SingleByteEncodings
inline constexpr int kUtf8Encoding = 28;   // position of "UTF-8" in SingleByteEncodings
// Position of "Auto": each file is read as what it is (see TextPlan.h).
inline constexpr int kAutoEncoding = 29;
inline constexpr int kArchiveOff = 0;
inline constexpr int kArchivePdfA = 1;   // PDF/A-2u, tagged
inline constexpr int kDefaultEncryptLevel = 48;

enum FontKind { Base14Font = 0, Type1Font = 1, TrueTypeFont = 2, CidFont = 3 };

struct PaperSize {
    std::string_view label;
    int width;
    int height;
};

extern const std::array<PaperSize, 37> kPaperSizes;
extern const std::array<std::string_view, 4> FontKindLabels;
extern const std::array<std::string_view, 14> Base14FontNames;
extern const std::array<std::string_view, 11> CidFontLabels;
// The library's single-byte encodings at 0 to 27, then UTF-8, which only TrueType fonts take,
// then Auto, which is no encoding of the library but a choice made per file.
extern const std::array<std::string_view, 30> SingleByteEncodings;
extern const std::array<std::string_view, 16> MultiByteEncodings;
extern const std::array<std::string_view, 4> OpenModeLabels;
extern const std::array<std::string_view, 2> YesNoLabels;
// What a form feed does, by the value of FormFeed.
extern const std::array<std::string_view, 2> FormFeedLabels;
// The switches of the page furniture, 0 off and 1 on.
extern const std::array<std::string_view, 2> OnOffLabels;
// What the Archive field makes, by its value.
extern const std::array<std::string_view, 2> ArchiveLabels;

// The label of a paper-size position, "Custom Page Size" for 37, empty for anything else.
std::string_view PaperSizeLabel(int index);

// Sets width and height for positions 0 to 36; leaves them as they were for 37 and for any
// other value, so a caller that wants the custom size passes PageWidth and PageHeight in.
void LookupPaperSize(int index, int& width, int& height);

void ResetOptionsToDefaults(ConversionOptions& options);

// The size the body is drawn at: FontSize, or kFontSizeForZero for 0, of which the run warns.
int BodyFontSize(const ConversionOptions& options);

// Whether each file decides how it is read and drawn: a font kind that takes the single-byte
// list with "Auto" chosen there.
bool ReadsEachFileAsDetected(const ConversionOptions& options);

// Whether every PDF is made archival (PDF/A-2u) and tagged.
bool MakesArchivalPdf(const ConversionOptions& options);

// The language a document declares: the Language field, or when it is empty the user's locale
// (LC_ALL, LC_MESSAGES, LANG in that order: "de_DE.UTF-8" gives "de-DE"), "en-US" when no
// locale names one.
std::string DocumentLanguage(const ConversionOptions& options);

// Whether `tag` has the shape of a language tag: subtags of 1 to 8 letters or digits joined by
// hyphens, the first of 2 to 8 letters ("en", "en-US", "zh-Hant-TW", "sr-Latn").
bool IsLanguageTag(std::string_view tag);
