// Pages are compressed as soon as they are finished: what readers make of the PDF whatever the
// number of pages, the encoding and the encryption, the same bytes from the same input, and a
// compressor that fails.
#include "ConversionTestSupport.h"
#include "support/PdfInspector.h"

#include "conversion/FileConverter.h"

#include <gtest/gtest.h>

#include <libdeflate.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

// A4 (842 points), margins of 60, Courier 9 at a pitch of 14: baselines from 777 down to 49.
constexpr int kLinesPerPage = 53;

// A new page follows every 53rd line, even the last one, so the last page is left part full.
int LinesOnPages(int pages)
{
    return (pages - 1) * kLinesPerPage + 20;
}

enum class Kind { Latin1, Utf8, Rc4, Aes256 };

struct Case {
    const char* what;
    Kind kind;
    int pages;
};

void PrintTo(const Case& c, std::ostream* out)
{
    *out << c.what << ", " << c.pages << " pages";
}

ConversionOptions OptionsFor(Kind kind)
{
    ConversionOptions options = kind == Kind::Utf8 ? Utf8Options() : ConversionOptions{};
    if (kind == Kind::Rc4)
        options.EncryptLevel = 128;
    if (kind == Kind::Aes256)
        options.EncryptLevel = 256;
    return options;
}

std::string OwnerPasswordFor(Kind kind)
{
    return kind == Kind::Rc4 || kind == Kind::Aes256 ? "owner" : "";
}

// Numbered lines, each its own, long enough that a page's content outgrows the library's
// 4 KB blocks.
std::vector<std::string> Lines(int count, Kind kind)
{
    const std::string words = kind == Kind::Utf8 ? "\xCE\xB1\xCE\xB2\xCE\xB3 \xD0\xB4\xD0\xB6 caf\xC3\xA9 lorem ipsum dolor sit"
                                                 : "lorem ipsum dolor sit amet consectetur adipiscing elit";
    std::vector<std::string> lines;
    for (int i = 1; i <= count; ++i)
        lines.push_back("line " + std::to_string(i) + " " + words + " " + std::to_string(i * 7919 % 100003));
    return lines;
}

// Without a line end after the last line, which would begin a page of its own after a full one.
std::string Joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += (text.empty() ? "" : "\n") + line;
    return text;
}

std::string WithoutBlanks(std::string text)
{
    std::erase_if(text, [](char c) { return c == ' ' || c == '\n' || c == '\f'; });
    return text;
}

// The pages are compressed by a second thread: a conversion that waits for it forever ends the
// test program with a failure after a minute instead of hanging it. The conversion runs on a
// new thread, which has no compressor yet.
template <typename Result>
Result InTime(std::function<Result()> work)
{
    auto task = std::make_shared<std::packaged_task<Result()>>(std::move(work));
    std::future<Result> done = task->get_future();
    std::thread([task] { (*task)(); }).detach();
    if (done.wait_for(std::chrono::minutes(1)) != std::future_status::ready) {
        std::fprintf(stderr, "FAILED: the conversion did not end within a minute\n");
        std::_Exit(1);
    }
    return done.get();
}

Converted ConvertInTime(const ScratchFolder& folder, const Case& c, const std::string& text)
{
    return InTime<Converted>(
        [&folder, c, text] { return ConvertText(folder, OptionsFor(c.kind), text, OwnerPasswordFor(c.kind)); });
}

class CompressedPages : public testing::TestWithParam<Case> {};

TEST_P(CompressedPages, OpenInQpdfAndPopplerWithEveryLineInPlace)
{
    const Case c = GetParam();
    ScratchFolder folder;
    const std::vector<std::string> lines = Lines(LinesOnPages(c.pages), c.kind);
    const Converted converted = ConvertInTime(folder, c, Joined(lines));
    ASSERT_TRUE(converted.result.written) << converted.result.reason;

    EXPECT_EQ(QpdfWarnings(converted.pdfPath), "");
    EXPECT_EQ(PdfReaderWarnings(converted.pdfPath), "");
    const PdfFacts pdf = InspectPdf(converted.pdfPath);
    EXPECT_EQ(pdf.pages.size(), std::size_t(c.pages));
    // UTF-8 is shown as glyph numbers; poppler reads it back below.
    if (c.kind != Kind::Utf8) {
        EXPECT_EQ(pdf.AllLineTexts(), lines);
    }
    const std::string extracted = ExtractPdfText(converted.pdfPath);
    EXPECT_EQ(std::count(extracted.begin(), extracted.end(), '\f'), c.pages);
    EXPECT_EQ(WithoutBlanks(extracted), WithoutBlanks(Joined(lines)));
}

INSTANTIATE_TEST_SUITE_P(PageCounts, CompressedPages,
                         testing::Values(Case{"Latin-1", Kind::Latin1, 1}, Case{"Latin-1", Kind::Latin1, 2},
                                         Case{"Latin-1", Kind::Latin1, 1000}, Case{"UTF-8", Kind::Utf8, 1},
                                         Case{"UTF-8", Kind::Utf8, 2}, Case{"UTF-8", Kind::Utf8, 1000},
                                         Case{"RC4", Kind::Rc4, 1}, Case{"RC4", Kind::Rc4, 2},
                                         Case{"RC4", Kind::Rc4, 1000}, Case{"AES-256", Kind::Aes256, 1},
                                         Case{"AES-256", Kind::Aes256, 2}, Case{"AES-256", Kind::Aes256, 1000}));

class SameInput : public testing::TestWithParam<Case> {};

TEST_P(SameInput, GivesTheSameBytesTwice)
{
    const Case c = GetParam();
    const std::string text = Joined(Lines(LinesOnPages(c.pages), c.kind));
    ScratchFolder first, second;
    const Converted a = ConvertInTime(first, c, text);
    const Converted b = ConvertInTime(second, c, text);
    ASSERT_TRUE(a.result.written && b.result.written);
    const std::string bytes = FileBytes(a.pdfPath);
    EXPECT_GT(bytes.size(), 0u);
    EXPECT_TRUE(bytes == FileBytes(b.pdfPath));
}

// Encrypted PDFs differ by design: each has keys and salts of its own.
INSTANTIATE_TEST_SUITE_P(PageCounts, SameInput,
                         testing::Values(Case{"Latin-1", Kind::Latin1, 300}, Case{"UTF-8", Kind::Utf8, 300}));

// The compressor's memory runs out: every allocation of it fails while this is alive.
class CompressorWithoutMemory {
public:
    CompressorWithoutMemory() { libdeflate_set_memory_allocator(NoMemory, std::free); }
    ~CompressorWithoutMemory() { libdeflate_set_memory_allocator(std::malloc, std::free); }

private:
    static void* NoMemory(std::size_t) { return nullptr; }
};

class FailingCompressor : public testing::TestWithParam<Case> {};

TEST_P(FailingCompressor, FailsTheFileWithItsReasonAndKeepsTheOldPdf)
{
    const Case c = GetParam();
    ScratchFolder folder;
    const std::string input = folder.Write("report.txt", Joined(Lines(LinesOnPages(c.pages), c.kind)));
    const std::string pdf = folder.Write("report.pdf", "old pdf");
    RecordingObserver observer;
    const CompressorWithoutMemory noMemory;
    const ConversionResult result = InTime<ConversionResult>([&] {
        return ConvertFile(OptionsFor(c.kind), input, OwnerPasswordFor(c.kind), "", pdf, observer);
    });
    EXPECT_FALSE(result.written);
    EXPECT_EQ(result.reason.rfind("Compressing page 1 failed: out of memory for the compressor. ", 0), 0u)
        << result.reason;
    EXPECT_EQ(FileBytes(pdf), "old pdf");
    EXPECT_EQ(FilesIn(folder.Path()), (std::vector<std::string>{"report.pdf", "report.txt"}));
}

INSTANTIATE_TEST_SUITE_P(Kinds, FailingCompressor,
                         testing::Values(Case{"Latin-1", Kind::Latin1, 3}, Case{"AES-256", Kind::Aes256, 3}));

} // namespace
