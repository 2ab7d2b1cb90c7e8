#pragma once
// Where UTF-8 text may be broken into lines by the Unicode line-breaking rules (libunibreak):
// between words at spaces, and also between ideographs of Chinese and Japanese, after a
// hyphen, but never before closing punctuation. Any thread.
#include <cstddef>
#include <map>
#include <string_view>

// The longest head of `text` that a line may end after, no longer than `fits` bytes plus any
// spaces that follow them (the space stays at the end of a line, as everywhere in the layout);
// 0 when the rules allow no break there. `text` is UTF-8 without line ends, and the characters
// after `fits` are the context that decides the break before them; it is looked at up to its
// first byte that starts no well-formed character, such as one cut off at the end, or its first
// U+FFFF, a noncharacter the library cannot take. `standIns`, the private codes that draw
// characters beyond U+FFFF (StandInCodes.h), break as the characters they stand for.
std::size_t LastUnicodeBreak(std::string_view text, std::size_t fits,
                             const std::map<char16_t, char32_t>& standIns = {});
