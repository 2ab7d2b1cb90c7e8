#pragma once
// What a reader sees in a PDF written by the converter: pages, media boxes, the text lines with
// their positions (from the content streams), the page mode, the information entries and the
// encryption. Opening with a wrong password throws.
#include <map>
#include <string>
#include <vector>

struct PdfTextLine {
    double x = 0;
    double y = 0;
    std::string text; // the raw bytes shown
    std::string font; // the resource name of the font that shows them ("/F1")
};

struct PdfPage {
    double width = 0;
    double height = 0;
    std::vector<PdfTextLine> lines;
};

struct PdfFontFacts {
    std::string name;     // its resource name, "/F1"
    std::string baseFont; // "/Courier"
    std::string subtype;  // "/Type1", "/TrueType", "/Type0"
    std::string encoding; // "/WinAnsiEncoding", "/GB-EUC-H", "/Identity-H", or empty
    bool embedded = false;
    bool toUnicode = false; // a /ToUnicode map tells readers the characters behind the codes
    std::size_t storedBytes = 0; // the embedded font program and map of codes to glyphs, as stored
    std::string codeToGlyph;     // a composite font's map of codes to glyphs, two bytes per code
};

// What a reader that honours the permissions lets a user do, as libqpdf answers it.
struct PdfPermissions {
    bool printLowResolution = false;
    bool printHighResolution = false;
    bool extract = false;       // copy text and graphics
    bool modifyOther = false;   // change the document otherwise
    bool annotate = false;      // add or change annotations and fill forms
    bool fillForms = false;
    bool assemble = false;      // insert, rotate, delete pages
    bool accessibility = false; // extract for accessibility

    bool operator==(const PdfPermissions&) const = default;
};

// An entry of the document outline (a bookmark) as a reader shows it.
struct PdfOutlineEntry {
    std::string title;  // in UTF-8
    int page = 0;       // the page it opens, from 1; 0 when it opens none of the document's
    std::string fit;    // how it shows the page: "/FitH", "/XYZ", ...
    std::size_t kids = 0;

    bool operator==(const PdfOutlineEntry&) const = default;
};

struct PdfFacts {
    std::vector<PdfPage> pages;
    std::vector<PdfFontFacts> fonts;         // the fonts of the first page
    std::string pageMode;                    // "/FullScreen", ... or empty when absent
    std::vector<PdfOutlineEntry> outline;    // the top-level entries, in order
    std::map<std::string, std::string> info; // "/Title" -> text, the bytes as written
    std::map<std::string, std::string> infoText; // the same as a reader shows them, in UTF-8
    bool encrypted = false;
    int revision = 0;
    int permissions = 0;                     // the /P value
    int keyBits = 0;                         // the /Length of /Encrypt, 40 when absent
    std::string cipher;                      // "/AESV3" for AES-256, empty for RC4
    PdfPermissions allowed;
    bool ownerPasswordMatched = false;
    bool userPasswordMatched = false;

    std::vector<std::string> AllLineTexts() const;
};

PdfFacts InspectPdf(const std::string& path, const std::string& password = "");

// How many two-byte codes the first page shows with a composite font whose map of codes to
// glyphs takes them to glyph 0, the font's box for a missing character, or to nothing.
std::size_t CodesShownAsMissingGlyphs(const PdfFacts& pdf);

// The text a reader extracts from the PDF, as UTF-8 (pdftotext from poppler-utils): lines end
// in LF, pages in a form feed.
std::string ExtractPdfText(const std::string& path);
// The same without the line and page ends that close it.
std::string ExtractPdfTextTrimmed(const std::string& path);
// The text in the order the pages draw it, trimmed like the above: each run of right-to-left
// letters as the reader gives it back (in the order it is read), without the marks of direction
// the reader puts around it.
std::string ExtractPdfTextInDrawnOrder(const std::string& path);
// The extracted text of each page.
std::vector<std::string> ExtractPdfPageTexts(const std::string& path);

// What libqpdf complains about while it opens the PDF and decodes every page's content, one
// warning a line; empty for a PDF it reads without trouble.
std::string QpdfWarnings(const std::string& path);

// What a reader complains about while it extracts the text: pdftotext's messages, empty for a
// PDF it reads without trouble.
std::string PdfReaderWarnings(const std::string& path);

// How many pixels of the first page come out dark when a reader draws it (pdftoppm from
// poppler-utils, 100 dots per inch, grey): a measure of the ink the glyphs leave.
std::size_t DarkPixelsOfFirstPage(const std::string& path);
