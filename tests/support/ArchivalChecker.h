#pragma once
// A checker of our own for archival, tagged PDFs, as no validator is at hand: libqpdf reads the
// file back and each rule is checked as a reader would meet it. Only the rules the converter
// promises are checked, not all of the standard.
#include <set>
#include <string>
#include <vector>

enum class ArchivalRule {
    FontsEmbedded,  // every font has its program, and the widths of Type 1 and composite TrueType fonts are its program's
    Metadata,       // XMP: part 2, conformance U, title and dates as the document information
    OutputIntent,   // an output intent with an RGB ICC profile
    FileIdentifier, // a trailer /ID of two strings
    NoEncryption,
    NoNotdef,       // no shown code draws a font's .notdef glyph
    StructureTree,  // StructTreeRoot holding a Document of P elements; /MarkInfo marked
    MarkedContent,  // every text-showing operator in an artifact or in marked content with an
                    // MCID that the parent tree leads back to an element holding it
    Viewer,         // /Lang and DisplayDocTitle
    Version,        // the header (or the catalog's /Version) says 1.4 or later
};

struct ArchivalReport {
    std::set<ArchivalRule> broken;
    std::vector<std::string> paragraphs; // the text of each P element's marked content, raw bytes
    int artifactTexts = 0;               // text-showing operators inside artifacts
};

ArchivalReport CheckArchival(const std::string& pdfPath);
