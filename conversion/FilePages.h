#pragma once
// One input file's text laid out on pages of a document: its reading planned, the text made fit
// for the library, its font opened in the document (or taken again when an earlier file of the
// same document opened it) and its lines drawn. What the document's own finish needs (its
// information, passwords, save) is left to the caller, so that one document may take the pages
// of several files, each read as what it is. Runs on the thread that owns the document.
#include "conversion/ConversionObserver.h"
#include "conversion/ConversionOptions.h"
#include "conversion/ConversionResult.h"
#include "conversion/PageFurniture.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

class PdfDocument;

struct FilePages {
    // written: every page was drawn; notes: what the user should know about the reading, in
    // order. Otherwise the reason; the document is then in error.
    ConversionResult result;
    ConversionOptions options; // the caller's, with Auto settled for this file
    std::optional<std::string> beyondBmpNote;    // characters beyond U+FFFF drawn as U+FFFD
    std::optional<std::string> missingGlyphNote; // characters no font had a glyph for
    std::optional<std::string> droppedNote;      // characters left out of an archival PDF
};

// Lays out `bytes`, the whole file as read, on new pages at the end of `document`. `chosen`
// are the options as the user gave them. `inputPath` (empty for the standard input) and
// `numbering` serve the header and footer.
FilePages WriteFilePages(PdfDocument& document, const ConversionOptions& chosen, std::string bytes,
                         const std::string& inputPath, PageNumbering numbering, ConversionObserver& observer);

// How many pages WriteFilePages would lay `bytes` out on, the lines broken but nothing drawn:
// for a page count known before the first page is drawn. `scratch` takes the fonts and one
// page per file for the measures; it is never written. 0 when the file cannot be laid out.
long CountFilePages(PdfDocument& scratch, const ConversionOptions& chosen, std::string bytes,
                    const std::string& inputPath);

// The document's finish once every file's pages are in: its information and security set and
// the PDF made in memory, ready for the document's WriteOut. Returns the result of the document
// with `notes` (the files' notes) and those on the passwords after them.
ConversionResult FinishDocument(PdfDocument& document, const ConversionOptions& options,
                                const std::string& ownerPassword, const std::string& userPassword,
                                std::vector<std::string> notes);

// The note on characters beyond U+FFFF of a text that no font draws, replaced.
std::optional<std::string> BeyondBmpNote(std::size_t inText);
