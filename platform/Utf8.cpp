#include "platform/Utf8.h"

#include <algorithm>
#include <cstdint>

namespace {

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The range the second byte must fall in, which rules out overlong forms, surrogates and
// values above U+10FFFF; the bytes after it are plain continuation bytes.
struct LeadRule {
    std::size_t length;
    unsigned char secondLow;
    unsigned char secondHigh;
};

LeadRule RuleFor(unsigned char lead)
{
    if (lead < 0x80)
        return {1, 0, 0};
    if (lead >= 0xC2 && lead <= 0xDF)
        return {2, 0x80, 0xBF};
    if (lead == 0xE0)
        return {3, 0xA0, 0xBF};
    if (lead == 0xED)
        return {3, 0x80, 0x9F};
    if (lead >= 0xE1 && lead <= 0xEF)
        return {3, 0x80, 0xBF};
    if (lead == 0xF0)
        return {4, 0x90, 0xBF};
    if (lead >= 0xF1 && lead <= 0xF3)
        return {4, 0x80, 0xBF};
    if (lead == 0xF4)
        return {4, 0x80, 0x8F};
    return {0, 0, 0};
}

// Whether the eight bytes of `word` (in memory order) are ASCII and well-formed two-byte
// sequences, given whether the byte before them was the lead of a two-byte sequence (`leadWaiting`,
// then set for the word's last byte). Each byte's top bit stands for the byte: a continuation
// byte is 10xxxxxx, a two-byte lead 110xxxxx but not 0xC0 or 0xC1 (an overlong form), and each
// continuation must follow a lead.
bool IsAsciiOrTwoByteWord(std::uint64_t word, bool& leadWaiting)
{
    constexpr std::uint64_t kTops = 0x8080808080808080ull;
    constexpr std::uint64_t kLowSevens = 0x7F7F7F7F7F7F7F7Full;
    constexpr std::uint64_t kBitsOneToFour = 0x1E1E1E1E1E1E1E1Eull;
    const std::uint64_t beyondAscii = word & kTops;
    const std::uint64_t continuations = word & ~(word << 1) & kTops;
    const std::uint64_t notOverlong = ((word & kBitsOneToFour) + kLowSevens) & kTops;
    const std::uint64_t leads = word & (word << 1) & ~(word << 2) & notOverlong & kTops;
    const std::uint64_t followingLeads = leads << 8 | (leadWaiting ? 0x80u : 0u);
    if (beyondAscii != (leads | continuations) || continuations != followingLeads)
        return false;
    leadWaiting = (leads >> 56) != 0;
    return true;
}

} // namespace

std::size_t Utf8MultiByteSequenceLength(std::string_view text, std::size_t pos)
{
    if (pos >= text.size())
        return 0;
    const LeadRule rule = RuleFor(static_cast<unsigned char>(text[pos]));
    if (rule.length <= 1)
        return rule.length;
    if (text.size() - pos < rule.length)
        return 0;
    const auto second = static_cast<unsigned char>(text[pos + 1]);
    if (second < rule.secondLow || second > rule.secondHigh)
        return 0;
    for (std::size_t i = 2; i < rule.length; ++i) {
        if (!IsContinuation(static_cast<unsigned char>(text[pos + i])))
            return 0;
    }
    return rule.length;
}

std::size_t RepairUtf8(std::string& text)
{
    const std::size_t start = text.starts_with(kUtf8ByteOrderMark) ? kUtf8ByteOrderMark.size() : 0;
    std::string repaired;
    std::size_t replaced = 0;
    std::size_t copiedUpTo = start;
    for (std::size_t pos = start; pos < text.size();) {
        const std::size_t length = Utf8SequenceLength(text, pos);
        if (length > 0) {
            pos += length;
            continue;
        }
        repaired.append(text, copiedUpTo, pos - copiedUpTo);
        repaired += kUtf8Replacement;
        ++replaced;
        copiedUpTo = ++pos;
    }
    if (replaced == 0) {
        text.erase(0, start);
        return 0;
    }
    repaired.append(text, copiedUpTo, std::string::npos);
    text.swap(repaired);
    return replaced;
}

std::size_t ReplaceBeyondBmp(std::string& text, const std::function<char16_t(char32_t)>& standIn)
{
    std::size_t replaced = 0;
    auto out = text.begin();
    // The stand-in takes three bytes where the character took four, so the text only shrinks
    // and is rewritten in place, front to back.
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = std::max<std::size_t>(Utf8SequenceLength(text, pos), 1);
        const auto from = text.begin() + static_cast<std::ptrdiff_t>(pos);
        if (length == 4) {
            const char16_t code = standIn(DecodeUtf8(text, pos, length));
            replaced += code == 0xFFFD ? 1 : 0;
            *out++ = char(0xE0 | (code >> 12));
            *out++ = char(0x80 | ((code >> 6) & 0x3F));
            *out++ = char(0x80 | (code & 0x3F));
        } else {
            out = std::copy(from, from + static_cast<std::ptrdiff_t>(length), out);
        }
        pos += length;
    }
    text.erase(out, text.end());
    return replaced;
}

std::size_t ReplaceBeyondBmp(std::string& text)
{
    return ReplaceBeyondBmp(text, [](char32_t) { return char16_t(0xFFFD); });
}

Utf8Fix FixUtf8ForLibrary(std::string& text)
{
    Utf8Fix fix;
    fix.malformedBytes = RepairUtf8(text);
    fix.beyondBmp = ReplaceBeyondBmp(text);
    return fix;
}

std::string ToUtf16BigEndian(std::string_view text)
{
    std::string utf16;
    const auto append = [&utf16](char32_t unit) { utf16 += {char(unit >> 8), char(unit & 0xFF)}; };
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = Utf8SequenceLength(text, pos);
        const char32_t c = length > 0 ? DecodeUtf8(text, pos, length) : U'\uFFFD';
        pos += std::max<std::size_t>(length, 1);
        if (c < 0x10000) {
            append(c);
        } else {
            append(0xD800 + ((c - 0x10000) >> 10));
            append(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
    }
    return utf16;
}

bool HoldsMultiByteUtf8(std::string_view text)
{
    bool multiByte = false;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = Utf8SequenceLength(text, pos);
        if (length == 0)
            return false;
        multiByte = multiByte || length > 1;
        pos += length;
    }
    return multiByte;
}

bool IsWellFormedUtf8(std::string_view text)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    bool leadWaiting = false;
    std::size_t pos = 0;
    while (pos < size) {
        // ASCII and two-byte sequences, most of most texts, are passed eight bytes at a time.
        if (pos + 8 <= size) {
            std::uint64_t word;
            std::copy_n(bytes + pos, 8, reinterpret_cast<unsigned char*>(&word));
            if (IsAsciiOrTwoByteWord(word, leadWaiting)) {
                pos += 8;
                continue;
            }
        }
        // Else those eight bytes are stepped through, from the lead byte still waiting, if any.
        if (leadWaiting) {
            --pos;
            leadWaiting = false;
        }
        for (const std::size_t end = std::min(pos + 8, size); pos < end;) {
            const std::size_t length = Utf8SequenceLength(text, pos);
            if (length == 0)
                return false;
            pos += length;
        }
    }
    return !leadWaiting;
}
