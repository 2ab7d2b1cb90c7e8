#include "conversion/UnicodeBreaks.h"

#include <linebreak.h>

#include <algorithm>
#include <mutex>
#include <vector>

std::size_t LastUnicodeBreak(std::string_view text, std::size_t fits)
{
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
