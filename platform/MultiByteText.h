#pragma once
// Character boundaries in byte strings of a multi-byte encoding. Text is never converted: the
// bytes go to the PDF library as they are, so searches for a space or a line end must skip the
// trail bytes of double-byte characters, which may equal 13 or 32. This platform has no system
// code page; the lead-byte rules are those of the encoding the chosen font uses.
#include <cstddef>
#include <string_view>

enum class ByteScheme {
    SingleByte,
    Gbk,       // GB-EUC and GBK: lead bytes 0x81 to 0xFE
    Big5,      // ETen-B5: lead bytes 0x81 to 0xFE
    ShiftJis,  // 90ms-RKSJ and 90msp-RKSJ: lead bytes 0x81 to 0x9F and 0xE0 to 0xFC
    EucJp,     // EUC: lead bytes 0xA1 to 0xFE, 0x8E (two bytes) and 0x8F (three bytes)
    Uhc,       // KSC-EUC and KSCms-UHC: lead bytes 0x81 to 0xFE
};

// The scheme of a PDF library encoding name; any name that is not a multi-byte CMap is single-byte.
ByteScheme ByteSchemeForEncoding(std::string_view encodingName);

// Length in bytes of the character that starts at text[pos]; never beyond the end of text,
// so a lead byte cut off at the end counts as one byte.
std::size_t CharLengthAt(ByteScheme scheme, std::string_view text, std::size_t pos);

// Position of the first byte equal to `byte` that starts a character, at or after `from`;
// npos when there is none. `byte` must be an ASCII byte.
std::size_t FindCharByte(ByteScheme scheme, std::string_view text, char byte, std::size_t from = 0);
