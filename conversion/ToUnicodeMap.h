#pragma once
// The map from the codes of a UTF-8 font back to Unicode, which readers use to extract text.
// The library writes a TrueType font with the UTF-8 encoding as Identity-H, each character's
// code being its UTF-16 value, but gives it its encoding CMap (code-to-CID ranges) as the map
// back to Unicode; readers reject that and can only guess. The map is made here from the codes
// the text used. Any thread that owns the document.
#include <hpdf.h>

#include <map>
#include <string>
#include <vector>

// A map, in the CMap syntax readers expect, that takes each of `codes` (ascending, no
// repeats, below U+10000) to the character of the same value, an Arabic presentation form to
// the letters it stands for (ArabicBaseLetters). Runs of consecutive codes
// become ranges, which never cross a change of the first byte, as readers require; a
// surrogate has no character and is left out. Without codes, the map holds the space alone.
// A code of `standIns` (StandInCodes.h) gives the character it stands for.
std::string ToUnicodeCMap(const std::vector<char16_t>& codes, const std::map<char16_t, char32_t>& standIns = {});

// Replaces the library's map in a font got with the UTF-8 encoding by ToUnicodeCMap(codes, standIns);
// must come before the document is saved. Does nothing for any other font.
void ReplaceToUnicodeMap(HPDF_Font font, const std::vector<char16_t>& codes,
                         const std::map<char16_t, char32_t>& standIns = {});
