#include "conversion/ComposedText.h"

#include "platform/Utf8.h"

#include <unicode/bytestream.h>
#include <unicode/normalizer2.h>

#include <algorithm>
#include <cstdint>

namespace {

// Only characters from U+0300 up compose or reorder, except the Latin, Greek and Cyrillic
// letters, whose UTF-8 lead bytes (0xC2 to 0xCB, 0xCE to 0xD5) never do: most texts are passed
// over without asking the normaliser.
bool MayStartMark(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte == 0xCC || byte == 0xCD || byte >= 0xD6;
}

// The same for eight bytes at once: a byte from 0xD6 up has its top bit set and reaches 0x80 in
// its low seven bits plus 0x2A; a byte 0xCC or 0xCD becomes zero once its lowest bit is cleared
// and 0xCC taken away.
bool MayStartMarkInWord(std::uint64_t word)
{
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    constexpr std::uint64_t kTops = 0x8080808080808080ull;
    const std::uint64_t fromD6 = word & ((word & ~kTops) + 0x2A * kOnes) & kTops;
    const std::uint64_t xored = (word & (0xFE * kOnes)) ^ (0xCC * kOnes);
    const std::uint64_t ccOrCd = (xored - kOnes) & ~xored & kTops;
    return (fromD6 | ccOrCd) != 0;
}

bool MayHoldMarks(const std::string& text)
{
    std::size_t pos = 0;
    for (; pos + 8 <= text.size(); pos += 8) {
        std::uint64_t word;
        std::copy_n(text.data() + pos, 8, reinterpret_cast<char*>(&word));
        if (MayStartMarkInWord(word))
            return true;
    }
    return std::any_of(text.begin() + std::ptrdiff_t(pos), text.end(), MayStartMark);
}

} // namespace

bool ComposeMarks(std::string& text)
{
    if (!MayHoldMarks(text))
        return false;
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* composition = icu::Normalizer2::getNFCInstance(status);
    if (U_FAILURE(status) || composition->isNormalizedUTF8(text, status) || U_FAILURE(status))
        return false;
    // The normaliser would turn malformed bytes into U+FFFD before they are counted for the
    // notes. Asked only of text that needs composing: most texts are composed already.
    if (!IsWellFormedUtf8(text))
        return false;
    std::string composed;
    composed.reserve(text.size());
    icu::StringByteSink<std::string> sink(&composed);
    composition->normalizeUTF8(0, text, sink, nullptr, status);
    if (U_FAILURE(status))
        return false;
    text.swap(composed);
    return true;
}
