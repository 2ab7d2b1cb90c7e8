#pragma once
// What an archival (PDF/A-2u), tagged document holds besides its pages, written into the
// library's document before it is saved: the library has no call for any of it but the
// output intent. The fonts are embedded and the text drawn in marked content before this
// (PdfDocument, MarkedContent). Failures put the document in error; the caller checks it after
// each call. The thread that owns the document.
#include "conversion/MarkedContent.h"

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
    DocumentStructure structure;
    std::string language; // the document's language tag
    ArchivalInformation information;
};

// The output intent: sRGB, with the ICC profile at `profilePath`.
void AddOutputIntent(HPDF_Doc pdf, const std::string& profilePath);

// The dates (now) in the document information and the XMP metadata, the XMP itself, the
// structure tree with its parent tree, /MarkInfo, /Lang, DisplayDocTitle and a file identifier.
void AddArchivalEntries(HPDF_Doc pdf, const ArchivalFacts& facts);
