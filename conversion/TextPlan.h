#pragma once
// How one input file is read and drawn, decided once, before anything is drawn: the bytes are
// decoded, the encoding and font the document uses are chosen, and what the reading left out
// is noted. The document and the layout take the plan's options and text and ask nothing
// again. Any thread.
//
// With the Auto encoding (ReadsEachFileAsDetected) the file is decoded as DetectEncoding
// finds it. Text whose characters all have a Windows-1252 code keeps the chosen font, drawn
// through WinAnsiEncoding; other text is drawn as UTF-8 with the chosen TrueType font, or, for
// the other font kinds, with the installed TrueType font most like the chosen one that has its
// characters. With UTF-8 chosen the bytes are read as UTF-8 unless a byte-order mark names
// UTF-16 or UTF-32. With any other encoding the bytes stay as they are, read in text mode. Text
// drawn as UTF-8 gets fallback fonts for the characters its font lacks.
//
// The plan's `drawing` is the one answer to how the text is drawn: the document loads its font
// for it, and the repair of malformed UTF-8, the hint that a file looks like UTF-8 and the
// stand-ins for characters beyond U+FFFF follow from it alone.
#include "conversion/ConversionOptions.h"
#include "conversion/SystemFont.h"
#include "conversion/TextCharacters.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class TextDrawing {
    SingleByte, // the file's bytes as they are, in the chosen single-byte encoding
    WinAnsi,    // text read as Unicode, drawn through Windows-1252 codes with the chosen font
    Utf8,       // UTF-8 with a TrueType font, its fallback fonts and stand-ins
    Cid,        // the file's bytes as they are, in the chosen multi-byte encoding
};

struct TextPlan {
    ConversionOptions options;      // the caller's, with Auto resolved for this file
    TextDrawing drawing = TextDrawing::SingleByte;
    std::string text;               // the bytes to draw, in the plan's encoding, in text mode
    std::vector<std::string> notes; // what the user should know about the reading, in order
    // In UTF-8: installed fonts for the characters the options' TrueType font lacks, in order.
    std::vector<SystemFont> fallbackFonts;
    // Whether every installed font was looked at for the characters the fonts above lack.
    bool searchedInstalledFonts = false;
    // In UTF-8: the characters of the text and of what is drawn besides it, found as the fonts
    // were chosen; none when they were not looked at.
    std::optional<TextCharacters> characters;
};

// Makes the plan for `bytes`, the whole file as read. Control characters other than line ends,
// tabs and form feeds are left out (see ControlCharacters.h) in every encoding. `alsoDrawn`,
// well-formed UTF-8 drawn on the pages besides the text (the header and footer), counts as text
// for the choice of encoding and fonts.
TextPlan MakeTextPlan(const ConversionOptions& options, std::string bytes, std::string_view alsoDrawn = {});

// How text is drawn with `options` before any file is read: Auto starts from WinAnsi, which
// each file's plan may change to UTF-8.
TextDrawing ChosenDrawing(const ConversionOptions& options);

// A file's text as MakeTextPlan reads it, before any font is chosen: under Auto decoded to UTF-8
// as DetectEncoding finds it (`decoded`), CR LF folded; under UTF-8 the same, but decoded only
// where a byte-order mark names UTF-16 or UTF-32; in either, zero bytes and Ctrl+Z do not end
// the text. Under any other encoding the bytes in text mode, in that encoding. With `more`,
// `bytes` are only the file's beginning, and a character cut off at their end is dropped. The
// window's preview reads files through this too, so that it shows what the PDF draws.
struct FileText {
    std::string text;
    bool decoded = false;
    bool cut = false;                 // the text ends before the bytes do: more is left unread
    std::vector<std::string> notes;   // what the user should know about the reading, in order
};
FileText ReadFileText(const ConversionOptions& options, std::string bytes, bool more = false);

// The installed font for text beyond Windows-1252 under Auto, for the options' font: the same
// style as the chosen Base14 font, a sans-serif one for the other kinds.
FontRequest SubstituteRequest(const ConversionOptions& options);
