#include "conversion/TextCharacters.h"

#include "conversion/ControlCharacters.h"
#include "platform/Utf8.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr char32_t kFirstRightToLeft = 0x0590;

// Marks the characters of `part` in `seen` (those up to U+FFFF) or `beyondBmp`; returns whether
// it is well-formed.
bool Mark(std::string_view part, std::vector<unsigned char>& seen, std::vector<char32_t>& beyondBmp)
{
    bool wellFormed = true;
    const auto* bytes = reinterpret_cast<const unsigned char*>(part.data());
    for (std::size_t pos = 0; pos < part.size();) {
        const unsigned char lead = bytes[pos];
        if (lead < 0x80) {
            seen[lead] = 1;
            ++pos;
            continue;
        }
        // Accented Latin, Greek and Cyrillic, most of what is not ASCII, without the general decoding.
        if (lead >= 0xC2 && lead <= 0xDF && pos + 1 < part.size() && (bytes[pos + 1] & 0xC0) == 0x80) {
            seen[(lead & 0x1Fu) << 6 | (bytes[pos + 1] & 0x3Fu)] = 1;
            pos += 2;
            continue;
        }
        const std::size_t length = Utf8MultiByteSequenceLength(part, pos);
        if (length == 0) {
            wellFormed = false;
            seen[lead] = 1;
            ++pos;
            continue;
        }
        const char32_t character = DecodeUtf8(part, pos, length);
        if (character < seen.size())
            seen[character] = 1;
        else
            beyondBmp.push_back(character);
        pos += length;
    }
    return wellFormed;
}

} // namespace

TextCharacters CharactersIn(std::string_view text, std::string_view alsoDrawn)
{
    TextCharacters found;
    // Characters beyond U+FFFF are rare: they are kept apart, so that a small file's set is not
    // a table of every character there is.
    std::vector<unsigned char> seen(0x10000);
    std::vector<char32_t> beyondBmp;
    found.wellFormed = Mark(text, seen, beyondBmp);
    Mark(alsoDrawn, seen, beyondBmp);
    for (unsigned char byte = 0; byte < 0x80; ++byte)
        found.controls = found.controls || (seen[byte] && IsDroppedControl(char(byte)));
    for (char32_t character = 0x20; character < seen.size(); ++character) {
        if (seen[character])
            found.characters.push_back(character);
    }
    std::sort(beyondBmp.begin(), beyondBmp.end());
    std::unique_copy(beyondBmp.begin(), beyondBmp.end(), std::back_inserter(found.characters));
    found.fromHebrewOn = !found.characters.empty() && found.characters.back() >= kFirstRightToLeft;
    return found;
}
