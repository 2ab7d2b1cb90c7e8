#include "conversion/WinAnsiText.h"

#include "platform/Utf8.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace {

constexpr char kNoCode = '?';

// The characters of codes 0x80 to 0x9F; zero where the code has none. The codes below and
// above the range are the characters of the same value.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The code of `character`, or 0 when it has none (U+0000 itself is never asked for).
unsigned char CodeOf(char32_t character)
{
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF))
        return static_cast<unsigned char>(character);
    const auto found = std::find(kHighControls.begin(), kHighControls.end(), character);
    return found == kHighControls.end() ? 0 : static_cast<unsigned char>(0x80 + (found - kHighControls.begin()));
}

// Calls `take` with each character's code (0 for none) and returns early when it says false.
template <typename Take>
void ForEachCode(std::string_view text, Take take)
{
    for (std::size_t pos = 0; pos < text.size();) {
        const auto byte = static_cast<unsigned char>(text[pos]);
        if (byte < 0x80) {
            if (!take(byte))
                return;
            ++pos;
            continue;
        }
        const std::size_t length = std::max<std::size_t>(Utf8SequenceLength(text, pos), 1);
        const unsigned char code = length > 1 ? CodeOf(DecodeUtf8(text, pos, length)) : 0;
        if (!take(code))
            return;
        pos += length;
    }
}

} // namespace

bool IsAscii(std::string_view text)
{
    // Eight bytes at a time: asked of every text before it is drawn.
    constexpr std::uint64_t highBits = 0x8080808080808080u;
    std::size_t at = 0;
    for (; at + sizeof highBits <= text.size(); at += sizeof highBits) {
        std::uint64_t bytes = 0;
        std::memcpy(&bytes, text.data() + at, sizeof bytes);
        if (bytes & highBits)
            return false;
    }
    return std::all_of(text.begin() + static_cast<std::ptrdiff_t>(at), text.end(),
                       [](char byte) { return static_cast<unsigned char>(byte) < 0x80; });
}

bool FitsWinAnsi(std::string_view text)
{
    if (IsAscii(text))
        return true;
    bool fits = true;
    ForEachCode(text, [&](unsigned char code) { return fits = code != 0; });
    return fits;
}

std::string ToWinAnsi(std::string text, std::size_t& replaced)
{
    if (IsAscii(text))
        return text;
    std::string codes;
    codes.reserve(text.size());
    ForEachCode(text, [&](unsigned char code) {
        replaced += code == 0;
        codes += code == 0 ? kNoCode : static_cast<char>(code);
        return true;
    });
    return codes;
}
