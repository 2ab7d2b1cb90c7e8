// Many small files into one PDF, side by side with converting them one PDF each: time, size of
// the PDFs and peak memory. Run without arguments; see bench/README.md.
//   bench_combine [--quick]   (--quick: 2,000 files instead of 10,000 for the memory figure)
#include "bench/BenchFiles.h"
#include "conversion/CombineFiles.h"
#include "conversion/FileConverter.h"

#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::mt19937 g_random(2026);

std::string Prose(std::size_t bytes)
{
    static const char* const words[] = {"the", "file", "converter", "writes", "a", "page", "of", "lines",
                                        "with", "margins", "and", "tabs", "into", "one", "document"};
    std::string text;
    while (text.size() < bytes) {
        for (int i = 0; i < 12; ++i)
            text += std::string(words[g_random() % std::size(words)]) + (i < 11 ? " " : "\n");
    }
    return text;
}

class QuietCombine : public CombineObserver {
public:
    std::optional<std::string> FileStarting(std::size_t) override { return std::nullopt; }
    void FileDone(std::size_t, const ConversionResult& result) override
    {
        if (!result.written)
            std::fprintf(stderr, "left out: %s\n", result.reason.c_str());
    }
    bool StopAsked() const override { return false; }
    void SetProgressRange(int, int) override {}
    void SetProgressPos(int) override {}
    void Warn(std::string_view) override {}
};

std::vector<std::string> MakeFiles(const fs::path& folder, std::size_t count, std::size_t bytes)
{
    fs::create_directories(folder);
    std::vector<std::string> files;
    for (std::size_t i = 0; i < count; ++i)
        files.push_back(WriteBenchFile(folder, "f" + std::to_string(i) + ".txt", Prose(bytes)));
    return files;
}

void Combine(const std::vector<std::string>& files, const std::string& output)
{
    QuietCombine observer;
    const ConversionResult result = CombineFilesInto({}, files, "", "", output, observer);
    if (!result.written)
        std::fprintf(stderr, "combining failed: %s\n", result.reason.c_str());
}

// Returns the sum of the PDFs' sizes.
std::uintmax_t ConvertEach(const std::vector<std::string>& files)
{
    std::uintmax_t total = 0;
    SilentObserver observer;
    for (const std::string& file : files) {
        const std::string pdf = file + ".pdf";
        if (!ConvertFile({}, file, "", "", pdf, observer).written)
            std::fprintf(stderr, "conversion failed: %s\n", file.c_str());
        total += fs::file_size(pdf);
    }
    return total;
}

} // namespace

int main(int argc, char** argv)
{
    const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
    const fs::path folder = fs::temp_directory_path() / "quillary-bench-combine";
    fs::remove_all(folder);

    const std::vector<std::string> thousand = MakeFiles(folder / "1000", 1000, 2048);
    std::uintmax_t separateBytes = 0;
    const double separate = BestSeconds([&] { separateBytes = ConvertEach(thousand); });
    const std::string combinedPdf = (folder / "1000.pdf").string();
    const double combined = BestSeconds([&] { Combine(thousand, combinedPdf); });
    std::printf("1000 files of 2 KB: combined / one PDF each: time %.3f s / %.3f s = %.2f (at most 1.1)\n", combined,
                separate, combined / separate);
    std::printf("  size %.2f MB / %.2f MB = %.2f (at most 1)\n", double(fs::file_size(combinedPdf)) / 1e6,
                double(separateBytes) / 1e6, double(fs::file_size(combinedPdf)) / double(separateBytes));
    const double separatePeak = PeakMegabytes([&] { ConvertEach(thousand); });
    const double combinedPeak = PeakMegabytes([&] { Combine(thousand, combinedPdf); });
    std::printf("  peak memory %.0f MB / %.0f MB = %.2f\n", combinedPeak, separatePeak, combinedPeak / separatePeak);

    const std::size_t many = quick ? 2000 : 10000;
    std::vector<std::string> files = MakeFiles(folder / "many", many - 1, 2048);
    const std::string largest = WriteBenchFile(folder / "many", "largest.txt", Prose(4 << 20));
    files.push_back(largest);
    const double alone = PeakMegabytes([&] { ConvertEach({largest}); });
    const double all = PeakMegabytes([&] { Combine(files, (folder / "many.pdf").string()); });
    std::printf("%zu files (one of 4 MB, the others 2 KB): peak memory combined %.0f MB, the largest alone %.0f MB; "
                "goal: below 2 x %.0f + 100 = %.0f MB\n",
                many, all, alone, alone, 2 * alone + 100);
    fs::remove_all(folder);
    return 0;
}
