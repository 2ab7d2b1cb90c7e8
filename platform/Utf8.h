#pragma once
// UTF-8 as the converter reads it. The PDF library decodes UTF-8 on its own and trusts what it
// is given, so malformed bytes never reach it: a text is repaired first, each byte that does
// not start a well-formed sequence becoming U+FFFD, which a reader shows and extracts as the
// replacement character. Well-formed means the shortest form of a scalar value: no overlong
// forms, no surrogates (U+D800 to U+DFFF), nothing above U+10FFFF.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
inline constexpr std::string_view kUtf8Replacement = "\xEF\xBF\xBD";

// Length (1 to 4) of the well-formed sequence that starts at text[pos]; 0 when the bytes there
// are not one (a stray continuation byte, a sequence cut short, an overlong form...) or pos is
// at or past the end.
// Every line's every character passes here more than once: ASCII and the two-byte sequences
// (accented Latin, Greek, Cyrillic...), most of most texts, cost no call.
std::size_t Utf8MultiByteSequenceLength(std::string_view text, std::size_t pos);
inline std::size_t Utf8SequenceLength(std::string_view text, std::size_t pos)
{
    if (pos >= text.size())
        return 0;
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80)
        return 1;
    const bool twoBytes = lead >= 0xC2 && lead <= 0xDF && pos + 1 < text.size();
    if (twoBytes && (static_cast<unsigned char>(text[pos + 1]) & 0xC0) == 0x80)
        return 2;
    return Utf8MultiByteSequenceLength(text, pos);
}

// The scalar value of the well-formed sequence of `length` bytes at text[pos].
inline char32_t DecodeUtf8(std::string_view text, std::size_t pos, std::size_t length)
{
    static constexpr unsigned char kLeadMask[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    char32_t value = static_cast<unsigned char>(text[pos]) & kLeadMask[length];
    for (std::size_t i = 1; i < length; ++i)
        value = (value << 6) | (static_cast<unsigned char>(text[pos + i]) & 0x3F);
    return value;
}

// Replaces every byte that does not start a well-formed sequence by U+FFFD, in place, and
// drops a leading byte-order mark. Returns how many bytes were replaced.
std::size_t RepairUtf8(std::string& text);

// Replaces every well-formed four-byte sequence (a character beyond U+FFFF) by U+FFFD, in
// place, and returns how many were replaced. The PDF library's UTF-8 writing covers only
// U+0000 to U+FFFF and drops any other character without a word. Malformed bytes are left
// as they are: repair them first.
std::size_t ReplaceBeyondBmp(std::string& text);

// The same, each such character replaced by what `standIn` gives for it, a character from
// U+0800 to U+FFFF; returns how many became U+FFFD.
std::size_t ReplaceBeyondBmp(std::string& text, const std::function<char16_t(char32_t)>& standIn);

// A text made fit for the PDF library's UTF-8 writing: repaired, then every character beyond
// U+FFFF replaced. Says how many of each were replaced, for the notes the user gets.
struct Utf8Fix {
    std::size_t malformedBytes = 0;
    std::size_t beyondBmp = 0;
};
Utf8Fix FixUtf8ForLibrary(std::string& text);

// The well-formed UTF-8 `text` as UTF-16 in big-endian byte order, characters beyond U+FFFF
// as surrogate pairs; no byte-order mark.
std::string ToUtf16BigEndian(std::string_view text);

// True when the text is well-formed UTF-8 and holds at least one character beyond ASCII: the
// sign that a file was saved as UTF-8 (ASCII alone reads the same in every encoding).
bool HoldsMultiByteUtf8(std::string_view text);

// Whether every byte of `text` belongs to a well-formed UTF-8 sequence.
bool IsWellFormedUtf8(std::string_view text);
