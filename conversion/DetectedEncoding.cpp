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

bool IsWellFormedUtf8(std::string_view text)
{
    for (std::size_t pos = 0; pos < text.size();) {
        // Runs of ASCII, most of any text, are passed eight bytes at a time.
        if (pos + 8 <= text.size()) {
            std::uint64_t word;
            std::copy_n(text.data() + pos, 8, reinterpret_cast<char*>(&word));
            if ((word & 0x8080808080808080ull) == 0) {
                pos += 8;
                continue;
            }
        }
        const std::size_t length = Utf8SequenceLength(text, pos);
        if (length == 0)
            return false;
        pos += length;
    }
    return true;
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

DetectedEncoding DetectEncoding(std::string_view bytes)
{
    for (const ByteOrderMark& mark : kMarks) {
        if (bytes.starts_with(mark.bytes))
            return Detected(mark.charset, Basis::ByteOrderMark, mark.bytes.size());
    }
    const std::string_view beforeCtrlZ = bytes.substr(0, bytes.find('\x1A'));
    if (std::string utf16 = Utf16ByZeroBytes(beforeCtrlZ); !utf16.empty())
        return Detected(std::move(utf16), Basis::ZeroBytes);
    const std::string_view text = beforeCtrlZ.substr(0, beforeCtrlZ.find('\0'));
    if (IsWellFormedUtf8(text))
        return Detected("UTF-8", Basis::WellFormedUtf8);
    const std::string guess = DetectorGuess(text);
    if (!guess.empty() && ReadsCleanly(text.substr(0, kDetectorSample), guess))
        return Detected(guess, Basis::Detector);
    return Detected(kFallbackCharset, Basis::Fallback);
}
