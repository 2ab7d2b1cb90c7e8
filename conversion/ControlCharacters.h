#pragma once
// Control characters of a text on their way to the page. No font draws them but as an empty
// box or as nothing, so they are left out; line ends stay, and so do tabs and form feeds, which
// the layout gives their meaning (or, where the options say so, draws as the font has them).
// Works on the bytes of any of the converter's encodings: no byte below 0x20 is ever the second
// byte of a double-byte character, and in UTF-8 no byte below 0x80 is part of a longer
// sequence. Any thread.
#include <cstddef>
#include <string>

// Whether `byte` is one of those: below 0x20 but CR, LF, tab and form feed, or 0x7F.
inline bool IsDroppedControl(char byte)
{
    switch (byte) {
    case '\r':
    case '\n':
    case '\t':
    case '\f': return false;
    case '\x7F': return true;
    default: return static_cast<unsigned char>(byte) < 0x20;
    }
}

// Removes every such byte, in place. Returns how many were removed.
std::size_t DropControlCharacters(std::string& text);

// The note that tells how many control characters were left out; empty for none.
std::string DroppedControlsNote(std::size_t dropped);
