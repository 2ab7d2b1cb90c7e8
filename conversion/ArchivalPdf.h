#pragma once
// What an archival (PDF/A-2u), tagged document holds besides its pages, written into the
// library's document before it is saved: the library has no call for any of it but the
// output intent. The fonts are embedded and the text drawn in marked content before this
// (PdfDocument, MarkedContent). Failures put the document in error; the caller checks it after
// each call. The thread that owns the document.
#include "conversion/MarkedContent.h"
#include "conversion/ObjectStreams.h"

#include <hpdf.h>

#include <string>

// Ghostscript's sRGB profile (libgs-common), the colour space the output intent declares.
inline constexpr char kSrgbProfilePath[] = "/usr/share/color/icc/ghostscript/srgb.icc";

// The document information as the XMP metadata repeats it; texts in UTF-8 or, as an old
// settings file may hold them, Latin-1.
struct ArchivalInformation {
    std::string title;
    std::string author;
    std::string creator;
    std::string subject;
    std::string keywords;
    std::string producer;
};

struct ArchivalFacts {
    const DocumentStructure& structure;
    std::string language; // the document's language tag
    ArchivalInformation information;
};

// The output intent: sRGB, with the ICC profile at `profilePath`.
void AddOutputIntent(HPDF_Doc pdf, const std::string& profilePath);

// The numbers the structure tree's objects are written under: its root, and the Document element
// and the parent tree, which the library's document holds as placeholders; and each page's.
struct StructureNumbers {
    std::size_t root = 0;
    std::size_t document = 0;
    std::size_t parentTree = 0;
    std::vector<std::size_t> pages;
};

// The dates (now) in the document information and the XMP metadata, the XMP itself, the root of
// the structure tree, /MarkInfo, /Lang, DisplayDocTitle and a file identifier. The rest of the
// structure tree is written by StructureObjects as the document goes out.
StructureNumbers AddArchivalEntries(HPDF_Doc pdf, const ArchivalFacts& facts);

// The Document element, the parent tree that leads from each page's MCIDs back to their
// paragraphs, and one P element per paragraph numbered on from `firstFree`, as objects of the
// caller's own (ObjectStreams.h).
OwnObjects StructureObjects(const StructureNumbers& numbers, const DocumentStructure& structure,
                            std::size_t firstFree);
