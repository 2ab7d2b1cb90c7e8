#include "conversion/ControlCharacters.h"

#include <algorithm>

std::size_t DropControlCharacters(std::string& text)
{
    // Most texts hold none: they are only read.
    const auto first = std::find_if(text.begin(), text.end(), IsDroppedControl);
    const auto kept = first == text.end() ? first : std::remove_if(first, text.end(), IsDroppedControl);
    const auto count = static_cast<std::size_t>(text.end() - kept);
    text.erase(kept, text.end());
    return count;
}

std::string DroppedControlsNote(std::size_t dropped)
{
    if (dropped == 0)
        return {};
    return std::to_string(dropped) + (dropped == 1 ? " control character was" : " control characters were") +
           " left out of the drawing: fonts have no glyph for them.";
}
