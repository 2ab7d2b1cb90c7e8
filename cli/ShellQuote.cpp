#include "cli/ShellQuote.h"

#include "platform/Utf8.h"

#include <algorithm>
#include <cstdio>

namespace {

// The escape of one byte inside $'...', or empty for a byte printed as it is.
std::string Escape(unsigned char byte)
{
    switch (byte) {
    case '\a': return "\\a";
    case '\b': return "\\b";
    case '\t': return "\\t";
    case '\n': return "\\n";
    case '\v': return "\\v";
    case '\f': return "\\f";
    case '\r': return "\\r";
    default: break;
    }
    char octal[8];
    std::snprintf(octal, sizeof octal, "\\%03o", unsigned(byte));
    return octal;
}

// How many bytes at `pos` print as they are: a printable character; 0 for a byte to escape.
std::size_t PrintableLength(std::string_view text, std::size_t pos)
{
    const std::size_t length = Utf8SequenceLength(text, pos);
    if (length == 0)
        return 0;
    const char32_t code = DecodeUtf8(text, pos, length);
    const bool control = code < 0x20 || (code >= 0x7F && code < 0xA0);
    return control ? 0 : length;
}

bool NeedsQuoting(std::string_view name)
{
    for (std::size_t pos = 0; pos < name.size();) {
        const std::size_t length = PrintableLength(name, pos);
        if (length == 0)
            return true;
        pos += length;
    }
    return false;
}

// Every byte of the character at `pos` escaped: a C1 control is two bytes in UTF-8.
std::string EscapedCharacter(std::string_view text, std::size_t pos, std::size_t& next)
{
    const std::size_t length = std::max<std::size_t>(1, Utf8SequenceLength(text, pos));
    std::string escaped;
    for (std::size_t i = 0; i < length; ++i)
        escaped += Escape(static_cast<unsigned char>(text[pos + i]));
    next = pos + length;
    return escaped;
}

} // namespace

std::string ShellQuoted(std::string_view name)
{
    if (!NeedsQuoting(name))
        return std::string(name);
    std::string quoted = "'";
    for (std::size_t pos = 0; pos < name.size();) {
        const std::size_t length = PrintableLength(name, pos);
        if (length == 0) {
            quoted += "'$'" + EscapedCharacter(name, pos, pos) + "''";
            continue;
        }
        quoted += name[pos] == '\'' ? "'\\''" : std::string(name.substr(pos, length));
        pos += length;
    }
    quoted += "'";
    // A name that ends in an escape needs no empty quotes after it.
    if (quoted.ends_with("'''"))
        quoted.resize(quoted.size() - 2);
    return quoted;
}

std::string EscapedControls(std::string_view text)
{
    std::string escaped;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = PrintableLength(text, pos);
        if (length == 0) {
            escaped += EscapedCharacter(text, pos, pos);
            continue;
        }
        escaped += text.substr(pos, length);
        pos += length;
    }
    return escaped;
}
