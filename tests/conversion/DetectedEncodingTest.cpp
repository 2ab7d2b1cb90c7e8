// How the Auto encoding tells what a file's bytes are.
#include "conversion/DetectedEncoding.h"

#include <gtest/gtest.h>

namespace {

using Basis = DetectedEncoding::Basis;

struct DetectionCase {
    const char* name;
    std::string bytes;
    const char* charset;
    Basis basis;
    std::size_t markLength;
};

void PrintTo(const DetectionCase& c, std::ostream* out)
{
    *out << c.name;
}

std::string Repeated(const std::string& text, int times)
{
    std::string all;
    for (int i = 0; i < times; ++i)
        all += text;
    return all;
}

// Russian prose in KOI8-R: "Привет, это проверка текста в кодировке" a few times over.
const std::string kKoi8Prose = Repeated("\xF0\xD2\xC9\xD7\xC5\xD4, \xDC\xD4\xCF \xD0\xD2\xCF\xD7\xC5\xD2\xCB\xC1 "
                                        "\xD4\xC5\xCB\xD3\xD4\xC1 \xD7 \xCB\xCF\xC4\xC9\xD2\xCF\xD7\xCB\xC5. ", 20);

class Detection : public testing::TestWithParam<DetectionCase> {};

TEST_P(Detection, NamesTheEncodingAndWhatItWasToldBy)
{
    const DetectionCase& c = GetParam();
    const DetectedEncoding detected = DetectEncoding(c.bytes);
    EXPECT_EQ(detected.charset, c.charset);
    EXPECT_EQ(detected.basis, c.basis);
    EXPECT_EQ(detected.markLength, c.markLength);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Detection,
    testing::Values(
        DetectionCase{"PlainAsciiIsUtf8", "don't 'a'\n", "UTF-8", Basis::WellFormedUtf8, 0},
        DetectionCase{"EmptyIsUtf8", "", "UTF-8", Basis::WellFormedUtf8, 0},
        DetectionCase{"WellFormedUtf8", "Gr\xC3\xBC\xC3\x9F" "e \xE4\xB8\xAD\n", "UTF-8", Basis::WellFormedUtf8, 0},
        DetectionCase{"Utf8Mark", "\xEF\xBB\xBFx", "UTF-8", Basis::ByteOrderMark, 3},
        DetectionCase{"Utf16LittleEndianMark", std::string("\xFF\xFEH\0i\0", 6), "UTF-16LE", Basis::ByteOrderMark, 2},
        DetectionCase{"Utf16BigEndianMark", std::string("\xFE\xFF\0H\0i", 6), "UTF-16BE", Basis::ByteOrderMark, 2},
        DetectionCase{"Utf32LittleEndianMarkIsNotUtf16", std::string("\xFF\xFE\0\0H\0\0\0", 8), "UTF-32LE",
                      Basis::ByteOrderMark, 4},
        DetectionCase{"Utf32BigEndianMark", std::string("\0\0\xFE\xFF\0\0\0H", 8), "UTF-32BE", Basis::ByteOrderMark, 4},
        DetectionCase{"Utf16LittleEndianWithoutMark", std::string("H\0e\0l\0l\0o\0\n\0", 12), "UTF-16LE",
                      Basis::ZeroBytes, 0},
        DetectionCase{"Utf16BigEndianWithoutMark", std::string("\0H\0e\0l\0l\0o\0\n", 12), "UTF-16BE",
                      Basis::ZeroBytes, 0},
        // "张三业\n" (业 is U+4E1A, whose low byte is Ctrl+Z): too few zero bytes for Latin UTF-16.
        DetectionCase{"ChineseUtf16LittleEndianWithoutMark", std::string("\x87\x65\x20\x5F\x1A\x4E\x0A\0", 8),
                      "UTF-16LE", Basis::ZeroBytes, 0},
        DetectionCase{"ChineseUtf16BigEndianWithoutMark", std::string("\x65\x87\x5F\x20\x4E\x1A\0\x0A", 8),
                      "UTF-16BE", Basis::ZeroBytes, 0},
        DetectionCase{"AnUnpairedSurrogateIsNoUtf16", std::string("\x20\x5F\x00\xD8\x0A\0\x0A\0", 8), "UTF-8",
                      Basis::WellFormedUtf8, 0},
        DetectionCase{"AZeroByteEndsWhatIsLookedAt", std::string("text\0\xFF\xFE\xFD", 8), "UTF-8",
                      Basis::WellFormedUtf8, 0},
        DetectionCase{"ACtrlZEndsWhatIsLookedAt", "text\x1A\xFF\xFE", "UTF-8", Basis::WellFormedUtf8, 0},
        DetectionCase{"Koi8rProseIsRecognised", kKoi8Prose, "KOI8-R", Basis::Detector, 0},
        DetectionCase{"UnrecognisedBytesAreWindows1252", "\x81\x8D\x8F", "CP1252", Basis::Fallback, 0}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
