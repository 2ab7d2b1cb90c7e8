#pragma once
// The archival (PDF/A-2u), tagged form of a finished PDF, which the PDF library cannot write
// itself: the library makes the PDF with its fonts embedded and its text in marked content
// (MarkedContent.h), and WriteArchival re-writes it through libqpdf with what belongs to the
// whole document: XMP metadata agreeing with the document information, the dates, an sRGB
// output intent, the structure tree with its parent tree, the language, and a file
// identifier. Any thread; calls share nothing.
#include "conversion/MarkedContent.h"

#include <functional>
#include <string>
#include <string_view>

// Ghostscript's sRGB profile (libgs-common), the colour space the output intent declares.
inline constexpr char kSrgbProfilePath[] = "/usr/share/color/icc/ghostscript/srgb.icc";

struct ArchivalFacts {
    DocumentStructure structure;
    std::string language;               // the document's language tag
    std::string iccProfilePath = kSrgbProfilePath;
};

// Hands the archival PDF made from `plainPdf` to `write` piece by piece, in order. Returns true
// when all of it was written. On false, `error` says why in one sentence, or is empty when
// `write` refused, whose caller knows its own reason.
bool WriteArchival(std::string_view plainPdf, const ArchivalFacts& facts,
                   const std::function<bool(std::string_view)>& write, std::string& error);
