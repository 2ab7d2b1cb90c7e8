#pragma once
// What encoding the bytes of a text file are in, for the Auto encoding. The order of the
// evidence, strongest first: a byte-order mark; the zero bytes of UTF-16 text without one, or
// bytes that are not UTF-8, have a zero byte and read cleanly as UTF-16; the
// text being well-formed UTF-8 (which plain ASCII is); else the guess of uchardet, a detector
// trained on text in many languages. Any thread.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

struct DetectedEncoding {
    enum class Basis { ByteOrderMark, ZeroBytes, WellFormedUtf8, Detector, Fallback };
    std::string charset;        // the iconv name; "UTF-8" when no conversion is needed
    std::size_t markLength = 0; // the byte-order mark's bytes, to be skipped
    Basis basis = Basis::WellFormedUtf8;

    bool IsUtf8() const { return charset == "UTF-8"; }
};

// The encoding the text is read with. Looks at the bytes up to the first Ctrl+Z (the old end of
// a text file) or, except in UTF-16 and UTF-32, the first zero byte; the detector sees at
// most its first 64 KiB. Where the detector has no answer, or names an encoding that does not
// read the bytes cleanly, the answer is Windows-1252 with the basis Fallback.
DetectedEncoding DetectEncoding(std::string_view bytes);

// The encoding a byte-order mark at the start of `bytes` names (UTF-8, UTF-16 or UTF-32, either
// byte order), with the basis ByteOrderMark; none without a mark. A mark holds no doubt, so even
// a reader told the encoding follows it.
std::optional<DetectedEncoding> EncodingByMark(std::string_view bytes);
