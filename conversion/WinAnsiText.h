#pragma once
// UTF-8 text in the PDF's WinAnsiEncoding, the Windows-1252 character set, which every Base14
// font draws. Text that fits it keeps the chosen standard font. Any thread.
#include <cstddef>
#include <string>
#include <string_view>

// Whether every byte of `text` is below 0x80.
bool IsAscii(std::string_view text);

// Whether every character of the well-formed UTF-8 `text` has a WinAnsiEncoding code. Pure
// ASCII fits, and is told quickly.
bool FitsWinAnsi(std::string_view text);

// The WinAnsiEncoding codes of the well-formed UTF-8 `text`; a character without one becomes
// '?', counted in `replaced`. Pure ASCII is given back as it is.
std::string ToWinAnsi(std::string text, std::size_t& replaced);
