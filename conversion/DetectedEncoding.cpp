#include "conversion/DetectedEncoding.h"

#include "conversion/Transcode.h"
#include "platform/Utf8.h"

#include <uchardet/uchardet.h>

#include <algorithm>
#include <array>
#include <memory>

namespace {

using Basis = DetectedEncoding::Basis;

constexpr char kFallbackCharset[] = "CP1252";
constexpr std::size_t kDetectorSample = 64 * 1024;
// UTF-16 text without a mark is taken for such when at least this share of the characters
// in a sample has a zero high byte and nearly none a zero low byte: Latin text in UTF-16.
constexpr std::size_t kZeroSample = 4096;
constexpr double kZeroShare = 0.3;
constexpr double kStrayZeroShare = 0.02;

struct ByteOrderMark {
    std::string_view bytes;
    const char* charset;
};
// UTF-32 LE first: its mark begins with that of UTF-16 LE.
constexpr std::array<ByteOrderMark, 5> kMarks = {{
    {std::string_view("\xFF\xFE\0\0", 4), "UTF-32LE"},
    {std::string_view("\0\0\xFE\xFF", 4), "UTF-32BE"},
    {"\xEF\xBB\xBF", "UTF-8"},
    {"\xFF\xFE", "UTF-16LE"},
    {"\xFE\xFF", "UTF-16BE"},
}};

DetectedEncoding Detected(std::string charset, Basis basis, std::size_t markLength = 0)
{
    DetectedEncoding detected;
    detected.charset = std::move(charset);
    detected.basis = basis;
    detected.markLength = markLength;
    return detected;
}

// The charset of UTF-16 without a mark, or empty: the zero bytes of its ASCII characters sit
// on one side of each pair.
std::string Utf16ByZeroBytes(std::string_view bytes)
{
    const std::size_t pairs = std::min(bytes.size(), kZeroSample) / 2;
    if (pairs == 0)
        return {};
    std::size_t zeroEven = 0;
    std::size_t zeroOdd = 0;
    for (std::size_t i = 0; i < pairs; ++i) {
        zeroEven += bytes[2 * i] == '\0';
        zeroOdd += bytes[2 * i + 1] == '\0';
    }
    const auto share = [pairs](std::size_t count) { return double(count) / double(pairs); };
    if (share(zeroOdd) >= kZeroShare && share(zeroEven) <= kStrayZeroShare)
        return "UTF-16LE";
    if (share(zeroEven) >= kZeroShare && share(zeroOdd) <= kStrayZeroShare)
        return "UTF-16BE";
    return {};
}

bool IsTextAscii(char16_t unit)
{
    return (unit >= 0x20 && unit < 0x7F) || unit == '\t' || unit == '\n' || unit == '\r' || unit == '\f';
}

// Whether the `sample` reads as UTF-16 text in the byte order: its surrogates paired (one cut by
// the sample's end aside) and its characters below U+0100 printable ASCII, tabs or line ends, of
// which there is at least one. That some are ASCII says the zero bytes stand where text in
// UTF-16 has them; bytes of an 8-bit text with a stray zero byte rarely pass.
bool ReadsAsUtf16Text(std::string_view sample, bool bigEndian, bool cutShort)
{
    bool lowSurrogateDue = false;
    bool hasAscii = false;
    for (std::size_t i = 0; i + 1 < sample.size(); i += 2) {
        const auto first = static_cast<unsigned char>(sample[i]);
        const auto second = static_cast<unsigned char>(sample[i + 1]);
        const auto unit = static_cast<char16_t>(bigEndian ? first << 8 | second : second << 8 | first);
        if ((unit >= 0xDC00 && unit <= 0xDFFF) != lowSurrogateDue)
            return false;
        lowSurrogateDue = unit >= 0xD800 && unit <= 0xDBFF;
        if (unit < 0x100 && !IsTextAscii(unit))
            return false;
        hasAscii = hasAscii || unit < 0x100;
    }
    return hasAscii && (!lowSurrogateDue || cutShort);
}

// The charset of UTF-16 without a mark whose text is mostly outside Latin, or empty: such text
// has few zero bytes (only its ASCII characters have them), but any zero byte at all in bytes
// that are not UTF-8 makes UTF-16 likelier than an 8-bit text. The side with more zero bytes
// is taken for the high bytes first.
std::string Utf16ByDecoding(std::string_view bytes)
{
    const std::string_view sample = bytes.substr(0, kZeroSample);
    if (sample.find('\0') == std::string_view::npos || bytes.size() % 2 != 0 || IsWellFormedUtf8(bytes))
        return {};
    std::size_t zeroOdd = 0;
    for (std::size_t i = 1; i < sample.size(); i += 2)
        zeroOdd += sample[i] == '\0';
    const std::size_t zeroEven = std::size_t(std::count(sample.begin(), sample.end(), '\0')) - zeroOdd;
    const bool cutShort = sample.size() < bytes.size();
    const bool bigEndianFirst = zeroEven > zeroOdd;
    for (const bool bigEndian : {bigEndianFirst, !bigEndianFirst}) {
        if (ReadsAsUtf16Text(sample, bigEndian, cutShort))
            return bigEndian ? "UTF-16BE" : "UTF-16LE";
    }
    return {};
}

struct DetectorDeleter {
    void operator()(uchardet* detector) const { uchardet_delete(detector); }
};

std::string DetectorGuess(std::string_view text)
{
    const std::unique_ptr<uchardet, DetectorDeleter> detector(uchardet_new());
    if (!detector)
        return {};
    const std::string_view sample = text.substr(0, kDetectorSample);
    if (uchardet_handle_data(detector.get(), sample.data(), sample.size()) != 0)
        return {};
    uchardet_data_end(detector.get());
    const char* charset = uchardet_get_charset(detector.get());
    return charset ? charset : "";
}

} // namespace

std::optional<DetectedEncoding> EncodingByMark(std::string_view bytes)
{
    for (const ByteOrderMark& mark : kMarks) {
        if (bytes.starts_with(mark.bytes))
            return Detected(mark.charset, Basis::ByteOrderMark, mark.bytes.size());
    }
    return std::nullopt;
}

DetectedEncoding DetectEncoding(std::string_view bytes)
{
    if (std::optional<DetectedEncoding> marked = EncodingByMark(bytes))
        return *marked;
    const std::string_view beforeCtrlZ = bytes.substr(0, bytes.find('\x1A'));
    if (std::string utf16 = Utf16ByZeroBytes(beforeCtrlZ); !utf16.empty())
        return Detected(std::move(utf16), Basis::ZeroBytes);
    // A byte 0x1A is as common as any in UTF-16 (U+4E1A): no end of text there.
    if (std::string utf16 = Utf16ByDecoding(bytes); !utf16.empty())
        return Detected(std::move(utf16), Basis::ZeroBytes);
    const std::string_view text = beforeCtrlZ.substr(0, beforeCtrlZ.find('\0'));
    if (IsWellFormedUtf8(text))
        return Detected("UTF-8", Basis::WellFormedUtf8);
    const std::string guess = DetectorGuess(text);
    if (!guess.empty() && ReadsCleanly(text.substr(0, kDetectorSample), guess))
        return Detected(guess, Basis::Detector);
    return Detected(kFallbackCharset, Basis::Fallback);
}
