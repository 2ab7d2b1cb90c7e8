#include "conversion/UnicodeBreaks.h"

#include "platform/Utf8.h"

#include <linebreak.h>

#include <algorithm>
#include <mutex>
#include <vector>

namespace {

// The library takes U+FFFF for the end of its input (and then aborts, finding input after it).
constexpr char32_t kLibraryEnd = 0xFFFF;

// The head of `text` the library reads safely: up to the first byte that starts no well-formed
// character, such as one cut off at the end, or the first U+FFFF.
std::string_view WholeCharacters(std::string_view text)
{
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t length = Utf8SequenceLength(text, end);
        if (length == 0 || DecodeUtf8(text, end, length) == kLibraryEnd)
            break;
        end += length;
    }
    return text.substr(0, end);
}

// Digits and the letters of the Latin, Greek and Cyrillic alphabets, which the rules treat
// alike: between them and spaces a line breaks only after a run of spaces.
bool IsPlainLetterOrDigit(char32_t c)
{
    if (c < 0x80)
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (c >= 0xC0 && c <= 0x24F)
        return c != 0xD7 && c != 0xF7;
    if (c >= 0x386 && c <= 0x3CE)
        return c != 0x387;
    return (c >= 0x400 && c <= 0x481) || (c >= 0x48A && c <= 0x4FF);
}

bool HoldsOnlyPlainWords(std::string_view text)
{
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = Utf8SequenceLength(text, pos);
        if (text[pos] != ' ' && !IsPlainLetterOrDigit(DecodeUtf8(text, pos, length)))
            return false;
        pos += length;
    }
    return true;
}

// The break opportunities after each byte of `text`, as set_linebreaks_utf8 gives them, with
// each stand-in taken for the character it stands for.
void FindBreaks(std::string_view text, const std::map<char16_t, char32_t>& standIns, std::vector<char>& breaks)
{
    breaks.resize(text.size());
    const auto* bytes = reinterpret_cast<const utf8_t*>(text.data());
    if (standIns.empty())
        return set_linebreaks_utf8(bytes, text.size(), nullptr, breaks.data());
    std::vector<utf32_t> characters;
    std::vector<std::size_t> ends;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = Utf8SequenceLength(text, pos);
        const char32_t character = DecodeUtf8(text, pos, length);
        const auto found = length == 3 ? standIns.find(static_cast<char16_t>(character)) : standIns.end();
        characters.push_back(found != standIns.end() ? found->second : character);
        ends.push_back(pos += length);
    }
    std::vector<char> perCharacter(characters.size());
    set_linebreaks_utf32(characters.data(), characters.size(), nullptr, perCharacter.data());
    std::fill(breaks.begin(), breaks.end(), LINEBREAK_INSIDEACHAR);
    for (std::size_t index = 0; index < ends.size(); ++index)
        breaks[ends[index] - 1] = perCharacter[index];
}

} // namespace

std::size_t LastUnicodeBreak(std::string_view text, std::size_t fits, const std::map<char16_t, char32_t>& standIns)
{
    // A window's end may cut a character off, and the library aborts on one.
    text = WholeCharacters(text);
    if (text.empty())
        return 0;
    static std::once_flag initialised;
    std::call_once(initialised, init_linebreak);
    std::size_t reach = fits;
    while (reach < text.size() && text[reach] == ' ')
        ++reach;
    // Most lines of most alphabetic texts: the library's search of its tables for each
    // character was a sixth of such a text's conversion.
    if (HoldsOnlyPlainWords(text)) {
        for (std::size_t head = std::min(reach, text.size() - 1); head > 0; --head) {
            if (text[head - 1] == ' ' && text[head] != ' ')
                return head;
        }
        return 0;
    }
    thread_local std::vector<char> breaks;
    FindBreaks(text, standIns, breaks);
    // The last byte's answer speaks of the end of the text, which is only the end of the window.
    for (std::size_t head = std::min(reach, text.size() - 1); head > 0; --head) {
        if (breaks[head - 1] == LINEBREAK_ALLOWBREAK)
            return head;
    }
    return 0;
}
