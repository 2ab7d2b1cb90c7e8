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

} // namespace

std::size_t LastUnicodeBreak(std::string_view text, std::size_t fits)
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
    thread_local std::vector<char> breaks;
    breaks.resize(text.size());
    set_linebreaks_utf8(reinterpret_cast<const utf8_t*>(text.data()), text.size(), nullptr, breaks.data());
    // The last byte's answer speaks of the end of the text, which is only the end of the window.
    for (std::size_t head = std::min(reach, text.size() - 1); head > 0; --head) {
        if (breaks[head - 1] == LINEBREAK_ALLOWBREAK)
            return head;
    }
    return 0;
}
