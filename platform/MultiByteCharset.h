#pragma once
// Character boundaries in byte strings of a multi-byte encoding. Text is never converted: the
// bytes go to the PDF library as they are, so a search for a space or a line end must not take
// the second byte of a double-byte character for one. A lead byte and the byte after it form one
// character, whatever that byte is. This platform has no system code page: whoever knows the
// encoding in use (the conversion asks the PDF library) marks its lead bytes. UTF-8 is the one
// encoding whose characters run to four bytes; there a byte that starts no well-formed sequence
// counts as a character of its own, so that no search ever stalls on it.
#include "platform/Utf8.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

class MultiByteCharset {
public:
    // A single-byte charset: every byte is a character of its own.
    MultiByteCharset() = default;

    void SetLeadByte(unsigned char byte)
    {
        m_lead[byte] = true;
        m_multiByte = true;
    }
    void SetUtf8()
    {
        m_utf8 = true;
        m_multiByte = true;
    }
    bool IsLeadByte(unsigned char byte) const { return m_lead[byte]; }
    bool IsSingleByte() const { return !m_multiByte; }
    bool IsUtf8() const { return m_utf8; }

    // Length of the character that starts at text[pos]: 2 for a lead byte that has a byte after
    // it, else 1 (in UTF-8: the length of the well-formed sequence there, else 1); 0 at or past
    // the end.
    std::size_t CharLengthAt(std::string_view text, std::size_t pos) const
    {
        // Asked for every character a line is measured by: the single-byte answer stays inline.
        if (!m_multiByte)
            return pos < text.size() ? 1 : 0;
        // So does UTF-8's for ASCII and two-byte sequences.
        if (m_utf8 && pos < text.size())
            return std::max<std::size_t>(Utf8SequenceLength(text, pos), 1);
        return MultiByteCharLengthAt(text, pos);
    }

    // The first character equal to the ASCII byte `byte` at or after `from`, which must start a
    // character; npos when there is none.
    std::size_t Find(std::string_view text, char byte, std::size_t from = 0) const;

    // The last character equal to `byte` in text; npos when there is none.
    std::size_t FindLast(std::string_view text, char byte) const;

    // The length of the longest head of `text` that ends after a whole character and is at most
    // `maxBytes` long (at least one character when maxBytes is 0).
    std::size_t WholeCharsWithin(std::string_view text, std::size_t maxBytes) const;

private:
    std::size_t MultiByteCharLengthAt(std::string_view text, std::size_t pos) const;

    std::array<bool, 256> m_lead{};
    bool m_multiByte = false;
    bool m_utf8 = false;
};
