#include "conversion/ComposedText.h"

#include "platform/Utf8.h"

#include <unicode/bytestream.h>
#include <unicode/normalizer2.h>

#include <algorithm>

namespace {

// Only characters from U+0300 up compose or reorder, except the Latin, Greek and Cyrillic
// letters, whose UTF-8 lead bytes (0xC2 to 0xCB, 0xCE to 0xD5) never do: most texts are passed
// over without asking the normaliser.
bool MayHoldMarks(const std::string& text)
{
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte == 0xCC || byte == 0xCD || byte >= 0xD6;
    });
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
