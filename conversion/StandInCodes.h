#pragma once
// Characters beyond U+FFFF drawn through the library, whose UTF-8 writing stops at U+FFFF.
// Each such character that one of the document's fonts has gets a stand-in: a code of the
// private use area (U+E000 to U+F8FF) that neither the text nor any of the fonts uses, which
// every font that has the character takes to its glyph. The text is drawn with the stand-ins,
// and the map back to Unicode gives the characters (ToUnicodeMap.h).
//
// Right-to-left text draws a bracket as its mirror image: "(" shows as ")". So that copying and
// reading give the text's own bracket, each mirrored character of such text gets a stand-in
// too, which draws the image and reads as the character. Any thread that owns the document.
#include <hpdf.h>

#include <map>
#include <string>
#include <string_view>
#include <vector>

struct StandInCodes {
    std::map<char16_t, char32_t> characters; // the stand-in, and the character it reads as
    std::map<char32_t, char16_t> mirrored;   // a character, and the stand-in of its mirror image
    std::size_t withoutGlyph = 0;            // characters drawn as U+FFFD: no font has them

    // Replaces in `text`, well-formed UTF-8, every character beyond U+FFFF by its stand-in, or
    // by U+FFFD where it has none. Returns how many became U+FFFD.
    std::size_t Substitute(std::string& text) const;
};

// Replaces in `text`, well-formed UTF-8, every character beyond U+FFFF by its stand-in, or by
// U+FFFD where none of `fonts` (UTF-8 fonts with nothing drawn yet) has it or no private code
// is left. `alsoDrawn`, well-formed UTF-8 drawn with the same fonts besides the text (the
// header and footer), gets stand-ins for its characters too, which its drawing substitutes, and
// its characters drawn as U+FFFD are counted with the text's. Where either holds right-to-left
// text, its characters that have a mirror image get stand-ins for the image (`mirrored`).
StandInCodes DrawBeyondBmp(std::string& text, const std::vector<HPDF_Font>& fonts, std::string_view alsoDrawn = {});
