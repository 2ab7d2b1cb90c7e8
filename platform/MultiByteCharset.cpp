#include "platform/MultiByteCharset.h"

std::size_t MultiByteCharset::CharLengthAt(std::string_view text, std::size_t pos) const
{
    if (pos >= text.size())
        return 0;
    return IsLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() ? 2 : 1;
}

std::size_t MultiByteCharset::Find(std::string_view text, char byte, std::size_t from) const
{
    if (IsSingleByte())
        return text.find(byte, from);
    for (std::size_t pos = from; pos < text.size(); pos += CharLengthAt(text, pos)) {
        if (text[pos] == byte)
            return pos;
    }
    return std::string_view::npos;
}

std::size_t MultiByteCharset::FindLast(std::string_view text, char byte) const
{
    if (IsSingleByte())
        return text.rfind(byte);
    std::size_t found = std::string_view::npos;
    for (std::size_t pos = 0; pos < text.size(); pos += CharLengthAt(text, pos)) {
        if (text[pos] == byte)
            found = pos;
    }
    return found;
}
