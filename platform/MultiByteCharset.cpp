#include "platform/MultiByteCharset.h"

#include "platform/Utf8.h"

#include <algorithm>

std::size_t MultiByteCharset::MultiByteCharLengthAt(std::string_view text, std::size_t pos) const
{
    if (pos >= text.size())
        return 0;
    if (m_utf8)
        return std::max<std::size_t>(Utf8SequenceLength(text, pos), 1);
    return IsLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() ? 2 : 1;
}

std::size_t MultiByteCharset::Find(std::string_view text, char byte, std::size_t from) const
{
    // No byte of a multi-byte UTF-8 sequence is ASCII, so a plain byte search is exact there.
    if (IsSingleByte() || m_utf8)
        return text.find(byte, from);
    for (std::size_t pos = from; pos < text.size(); pos += CharLengthAt(text, pos)) {
        if (text[pos] == byte)
            return pos;
    }
    return std::string_view::npos;
}

std::size_t MultiByteCharset::FindLast(std::string_view text, char byte) const
{
    if (IsSingleByte() || m_utf8)
        return text.rfind(byte);
    std::size_t found = std::string_view::npos;
    for (std::size_t pos = 0; pos < text.size(); pos += CharLengthAt(text, pos)) {
        if (text[pos] == byte)
            found = pos;
    }
    return found;
}

std::size_t MultiByteCharset::WholeCharsWithin(std::string_view text, std::size_t maxBytes) const
{
    if (text.size() <= maxBytes)
        return text.size();
    std::size_t end = 0;
    for (std::size_t length = CharLengthAt(text, 0); end + length <= maxBytes; length = CharLengthAt(text, end))
        end += length;
    return end > 0 ? end : CharLengthAt(text, 0);
}
