#include "conversion/ControlCharacters.h"

#include <algorithm>

std::size_t DropControlCharacters(std::string& text)
{
    // A lambda, which the search takes inline where it would call through a function pointer.
    const auto dropped = [](char byte) { return IsDroppedControl(byte); };
    // Most texts hold none: they are only read.
    const auto first = std::find_if(text.begin(), text.end(), dropped);
    const auto kept = first == text.end() ? first : std::remove_if(first, text.end(), dropped);
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
