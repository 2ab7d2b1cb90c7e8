#pragma once
// The characters of a UTF-8 text and the kinds it holds, found in one pass over it. The plan
// chooses the fonts by the characters; the kinds let the passes that look for what few texts
// hold (malformed bytes, control characters, right-to-left letters, characters beyond U+FFFF)
// be skipped for a text that has none. Any thread.
#include <string_view>
#include <vector>

struct TextCharacters {
    std::vector<char32_t> characters; // the different ones from U+0020 on, ascending
    bool wellFormed = true;           // `text` is well-formed UTF-8
    bool controls = false;            // a character DropControlCharacters removes, in either text
    // A character from U+0590 on, in either text: every right-to-left letter, direction control
    // and character beyond U+FFFF lies there.
    bool fromHebrewOn = false;
};

// A byte that does not start a well-formed sequence counts as the character of its value.
TextCharacters CharactersIn(std::string_view text, std::string_view alsoDrawn);
