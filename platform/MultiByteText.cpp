#include "platform/MultiByteText.h"

#include <algorithm>

namespace {

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

std::size_t CharLengthOfLead(ByteScheme scheme, unsigned char lead)
{
    switch (scheme) {
    case ByteScheme::SingleByte:
        return 1;
    case ByteScheme::Gbk:
    case ByteScheme::Big5:
    case ByteScheme::Uhc:
        return lead >= 0x81 && lead <= 0xFE ? 2 : 1;
    case ByteScheme::ShiftJis:
        return (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC) ? 2 : 1;
    case ByteScheme::EucJp:
        if (lead == 0x8F)
            return 3;
        return lead == 0x8E || (lead >= 0xA1 && lead <= 0xFE) ? 2 : 1;
    }
    return 1;
}

} // namespace

ByteScheme ByteSchemeForEncoding(std::string_view name)
{
    if (StartsWith(name, "GB-EUC-") || StartsWith(name, "GBK-EUC-"))
        return ByteScheme::Gbk;
    if (StartsWith(name, "ETen-B5-"))
        return ByteScheme::Big5;
    if (StartsWith(name, "90ms-RKSJ-") || StartsWith(name, "90msp-RKSJ-"))
        return ByteScheme::ShiftJis;
    if (name == "EUC-H" || name == "EUC-V")
        return ByteScheme::EucJp;
    if (StartsWith(name, "KSC-EUC-") || StartsWith(name, "KSCms-UHC-"))
        return ByteScheme::Uhc;
    return ByteScheme::SingleByte;
}

std::size_t CharLengthAt(ByteScheme scheme, std::string_view text, std::size_t pos)
{
    if (pos >= text.size())
        return 0;
    const std::size_t length = CharLengthOfLead(scheme, static_cast<unsigned char>(text[pos]));
    return std::min(length, text.size() - pos);
}

std::size_t FindCharByte(ByteScheme scheme, std::string_view text, char byte, std::size_t from)
{
    if (scheme == ByteScheme::SingleByte)
        return text.find(byte, from);
    // Walking from `from` is only right when `from` starts a character; callers pass positions
    // they obtained from this walk or from 0.
    for (std::size_t pos = from; pos < text.size(); pos += CharLengthAt(scheme, text, pos)) {
        if (text[pos] == byte)
            return pos;
    }
    return std::string_view::npos;
}
