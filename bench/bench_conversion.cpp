// Throughput, scaling and memory of the conversion of one file. Run without arguments; it
// writes its inputs to a scratch folder and prints one line per figure. See bench/README.md.
//   bench_conversion [--quick]   (--quick: 10 MB instead of 100 MB for the memory figures)
//   bench_conversion --furniture (only the header, footer and line numbers against plain)
//   bench_conversion --floor     (only the ready lines and the small files against the library alone)
//   bench_conversion --small     (only the small files against the library alone)
//   bench_conversion --memory    (only the peak memory figures, 100 MB)
#include "bench/BenchFiles.h"
#include "conversion/ConversionObserver.h"
#include "conversion/ConversionOptions.h"
#include "conversion/FileConverter.h"
#include "conversion/TextFile.h"

#include <hpdf.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::mt19937 g_random(2026);

std::string Word()
{
    static const char* const words[] = {"the", "converter", "turns", "plain", "text", "into", "pages", "of",
                                        "a", "document", "with", "margins", "and", "lines", "that", "wrap"};
    return words[g_random() % 16];
}

// Paragraphs of a few hundred characters: most lines need wrapping.
std::string Paragraphs(std::size_t bytes)
{
    std::string text;
    while (text.size() < bytes) {
        for (int i = 0; i < 60; ++i)
            text += Word() + " ";
        text.back() = '\n';
    }
    return text;
}

// Paragraphs of 60 to 200 words, a blank line between each two: the tagging's paragraphs.
std::string SpacedParagraphs(std::size_t bytes)
{
    std::string text;
    while (text.size() < bytes) {
        for (int words = 60 + int(g_random() % 141); words > 0; --words)
            text += Word() + " ";
        text.back() = '\n';
        text += '\n';
    }
    return text;
}

// Lines that fit a default A4 line (at most 80 characters), already broken.
std::string ShortLines(std::size_t bytes)
{
    std::string text;
    std::string line;
    while (text.size() < bytes) {
        const std::string word = Word();
        if (line.size() + word.size() + 1 > 80) {
            text += line + "\n";
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
    }
    return text;
}

std::string OneParagraph(std::size_t bytes)
{
    std::string text;
    while (text.size() < bytes)
        text += Word() + " ";
    return text;
}

// GB2312 characters without a single space.
std::string ChineseWithoutSpaces(std::size_t bytes)
{
    std::string text;
    while (text.size() < bytes) {
        text += char(0xB0 + g_random() % 40);
        text += char(0xA1 + g_random() % 94);
    }
    return text;
}

void Convert(const ConversionOptions& options, const std::string& input, const std::string& ownerPassword = "",
             const std::string& userPassword = "")
{
    SilentObserver observer;
    const ConversionResult result = ConvertFile(options, input, ownerPassword, userPassword, input + ".pdf", observer);
    if (!result.written)
        std::fprintf(stderr, "conversion failed: %s\n", result.reason.c_str());
}

// The library alone writing lines that need no breaking, with the calls the converter makes.
void LibraryOnly(const std::string& input, const std::string& output)
{
    TextFileContent content = ReadTextFile(input);
    HPDF_Doc pdf = HPDF_New(nullptr, nullptr);
    HPDF_SetPagesConfiguration(pdf, 1000);
    HPDF_SetCompressionMode(pdf, HPDF_COMP_ALL);
    HPDF_SetPageMode(pdf, HPDF_PAGE_MODE_USE_NONE);
    HPDF_Font font = HPDF_GetFont(pdf, "Courier", "StandardEncoding");
    const float size = 9;
    const auto newPage = [&] {
        HPDF_Page page = HPDF_AddPage(pdf);
        HPDF_Page_SetWidth(page, 595);
        HPDF_Page_SetHeight(page, 842);
        HPDF_Page_SetFontAndSize(page, font, size);
        HPDF_Page_BeginText(page);
        HPDF_Page_MoveTextPos(page, 60, HPDF_Page_GetHeight(page) - 60 + size);
        return page;
    };
    HPDF_Page page = newPage();
    std::size_t start = 0;
    std::string line;
    while (start < content.text.size()) {
        std::size_t end = content.text.find('\n', start);
        if (end == std::string::npos)
            end = content.text.size();
        line.assign(content.text, start, end - start);
        start = end + 1;
        HPDF_Page_MoveTextPos(page, 0, -(size + 5));
        HPDF_Page_ShowTextNextLine(page, line.c_str());
        if (HPDF_Page_GetCurrentTextPos(page).y <= 60) {
            HPDF_Page_EndText(page);
            page = newPage();
        }
    }
    HPDF_Page_EndText(page);
    HPDF_SetInfoAttr(pdf, HPDF_INFO_PRODUCER, "Quillary 2.1");
    HPDF_SaveToFile(pdf, output.c_str());
    HPDF_Free(pdf);
}

double Megabytes(const std::string& path)
{
    return double(fs::file_size(path)) / 1e6;
}

} // namespace

// Header and footer with every placeholder (the page count too) and line numbers, against the
// plain conversion of the same prose, taken in turns so that both see the same machine.
void FurnitureFigure(const std::string& prose)
{
    ConversionOptions furnished;
    // Moved in whole: GCC 12 takes the copy of a short literal into a string for a read of
    // uninitialised bytes at -O3.
    furnished.HeaderLeft = std::string("%f");
    furnished.HeaderCentre = std::string("%m");
    furnished.HeaderRight = std::string("Page %p of %P");
    furnished.FooterLeft = std::string("%F");
    furnished.FooterRight = std::string("%D");
    furnished.HeaderRule = furnished.FooterRule = 1;
    furnished.LineNumbers = 1;
    double plain = 1e9;
    double withFurniture = 1e9;
    for (int round = 0; round < 3; ++round) {
        plain = std::min(plain, BestSeconds([&] { Convert(ConversionOptions{}, prose); }));
        withFurniture = std::min(withFurniture, BestSeconds([&] { Convert(furnished, prose); }));
    }
    std::printf("prose 10 MB with header, footer and line numbers %.3f s / plain %.3f s = %.3f (goal <= 1.05)\n",
                withFurniture, plain, withFurniture / plain);
}

// The ready lines against the library alone writing the same lines.
void ReadyLinesFigure(const fs::path& folder)
{
    const ConversionOptions defaults;
    const std::string lines = WriteBenchFile(folder, "lines10m.txt", ShortLines(10'000'000));
    const double ours = BestSeconds([&] { Convert(defaults, lines); });
    const double library = BestSeconds([&] { LibraryOnly(lines, lines + ".library.pdf"); });
    const double ourSize = Megabytes(lines + ".pdf");
    const double librarySize = Megabytes(lines + ".library.pdf");
    std::printf("10 MB of ready lines: converter %.3f s, library alone %.3f s, ratio %.2f (goal <= 0.6); "
                "PDF %.2f MB / %.2f MB = %.3f (goal <= 1)\n",
                ours, library, ours / library, ourSize, librarySize, ourSize / librarySize);

}

// As `quillary-convert -j 1` converts them: one after the other in one process.
void SmallFilesFigure(const fs::path& folder)
{
    const ConversionOptions defaults;
    std::vector<std::string> smallFiles;
    for (int i = 0; i < 1000; ++i)
        smallFiles.push_back(WriteBenchFile(folder, "small" + std::to_string(i) + ".txt", ShortLines(2'000)));
    const double smallOurs = BestSeconds([&] {
        for (const std::string& file : smallFiles)
            Convert(defaults, file);
    });
    const double smallLibrary = BestSeconds([&] {
        for (const std::string& file : smallFiles)
            LibraryOnly(file, file + ".library.pdf");
    });
    std::printf("1000 files of 2 KB one after the other: converter %.3f s, library alone %.3f s, ratio %.2f (goal <= 0.8)\n",
                smallOurs, smallLibrary, smallOurs / smallLibrary);
}

// Peak memory of the converter alone in a child process, for the large file and the many pages.
void MemoryFigures(const fs::path& folder, bool quick)
{
    const ConversionOptions defaults;
    const std::size_t bigBytes = quick ? 10'000'000 : 100'000'000;
    const std::string big = WriteBenchFile(folder, "big.txt", ShortLines(bigBytes));
    const double ourPeak = PeakMegabytes([&] { Convert(defaults, big); });
    const double libraryPeak = PeakMegabytes([&] { LibraryOnly(big, big + ".library.pdf"); });
    std::printf("peak memory for %zu MB of ready lines: converter %.0f MB = %.2f x the input (goal <= 2.5), "
                "library alone %.0f MB\n",
                bigBytes / 1'000'000, ourPeak, ourPeak / (double(bigBytes) / 1e6), libraryPeak);

    ConversionOptions fontSize300;
    fontSize300.FontSize = 300;
    const std::string few = WriteBenchFile(folder, "fontsize300.txt", ShortLines(1'000'000));
    std::printf("peak memory for 1 MB of ready lines at font size 300: %.0f MB (goal <= 300)\n",
                PeakMegabytes([&] { Convert(fontSize300, few); }));
}

int main(int argc, char** argv)
{
    const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
    const bool furnitureOnly = argc > 1 && std::strcmp(argv[1], "--furniture") == 0;
    const bool floorOnly = argc > 1 && std::strcmp(argv[1], "--floor") == 0;
    const bool smallOnly = argc > 1 && std::strcmp(argv[1], "--small") == 0;
    const bool memoryOnly = argc > 1 && std::strcmp(argv[1], "--memory") == 0;
    const fs::path folder = fs::temp_directory_path() / "quillary-bench";
    fs::create_directories(folder);
    const ConversionOptions defaults;
    ConversionOptions chinese;
    chinese.PageFont = CidFont;

    if (memoryOnly) {
        MemoryFigures(folder, false);
        fs::remove_all(folder);
        return 0;
    }
    if (floorOnly || smallOnly) {
        if (floorOnly)
            ReadyLinesFigure(folder);
        SmallFilesFigure(folder);
        fs::remove_all(folder);
        return 0;
    }
    const std::string prose = WriteBenchFile(folder, "prose.txt", Paragraphs(10'000'000));
    FurnitureFigure(prose);
    if (furnitureOnly) {
        fs::remove_all(folder);
        return 0;
    }
    const double proseSeconds = BestSeconds([&] { Convert(defaults, prose); });
    std::printf("prose 10 MB (paragraphs to wrap): %.3f s, %.1f MB/s\n", proseSeconds, 10.0 / proseSeconds);
    ConversionOptions standard;
    standard.SingeEncode = 0; // StandardEncoding, the default before Auto
    const double standardSeconds = BestSeconds([&] { Convert(standard, prose); });
    std::printf("prose 10 MB of ASCII, Auto %.3f s / StandardEncoding %.3f s = %.3f (goal <= 1.05)\n", proseSeconds,
                standardSeconds, proseSeconds / standardSeconds);

    ConversionOptions aes256;
    aes256.EncryptLevel = 256;
    const auto encrypted = [&] { Convert(aes256, prose, "owner", "user"); };
    const double aesSeconds = BestSeconds(encrypted);
    const double plainPeak = PeakMegabytes([&] { Convert(defaults, prose); });
    const double aesPeak = PeakMegabytes(encrypted);
    std::printf("prose 10 MB with AES-256: %.3f s, ratio to unencrypted %.2f (goal <= 1.5); peak memory %.0f MB, "
                "unencrypted %.0f MB, ratio %.2f (goal <= 1.5)\n",
                aesSeconds, aesSeconds / proseSeconds, aesPeak, plainPeak, aesPeak / plainPeak);

    // Side by side with the plain run: archival and tagged. What the fonts (and the colour profile
    // and metadata) add is what a one-line file grows by when it is made archival.
    ConversionOptions archival;
    archival.Archive = kArchivePdfA;
    Convert(defaults, prose);
    const double plainProseSize = Megabytes(prose + ".pdf");
    const double archivalSeconds = BestSeconds([&] { Convert(archival, prose); });
    const double archivalProseSize = Megabytes(prose + ".pdf");
    std::fflush(stdout);
    const std::string oneLine = WriteBenchFile(folder, "oneline.txt", "one line\n");
    Convert(defaults, oneLine);
    const double plainOneLine = Megabytes(oneLine + ".pdf");
    Convert(archival, oneLine);
    const double fonts = Megabytes(oneLine + ".pdf") - plainOneLine;
    std::printf("prose 10 MB as PDF/A, tagged: %.3f s, ratio to plain %.2f (goal <= 1.3); PDF %.2f MB, plain %.2f MB "
                "+ fonts %.2f MB, ratio %.3f (goal <= 1.15)\n",
                archivalSeconds, archivalSeconds / proseSeconds, archivalProseSize, plainProseSize, fonts,
                archivalProseSize / (plainProseSize + fonts));
    // Prose as it is mostly written: paragraphs of 60 to 200 words with a blank line between
    // them, each a structure element of its own, about 12,500 of them.
    const std::string spacedProse = WriteBenchFile(folder, "spaced.txt", SpacedParagraphs(10'000'000));
    Convert(defaults, spacedProse);
    const double spacedSize = Megabytes(spacedProse + ".pdf");
    double spacedSeconds = 1e9;
    double spacedArchivalSeconds = 1e9;
    for (int turn = 0; turn < 3; ++turn) {
        spacedSeconds = std::min(spacedSeconds, CpuSeconds([&] { Convert(defaults, spacedProse); }));
        spacedArchivalSeconds = std::min(spacedArchivalSeconds, CpuSeconds([&] { Convert(archival, spacedProse); }));
    }
    std::printf("prose 10 MB in paragraphs of 60 to 200 words with blank lines between them as PDF/A, tagged: "
                "CPU %.3f s, plain %.3f s, ratio %.2f (goal <= 1.3); PDF %.2f MB, plain %.2f MB + fonts %.2f MB, "
                "ratio %.3f (goal <= 1.15)\n",
                spacedArchivalSeconds, spacedSeconds, spacedArchivalSeconds / spacedSeconds,
                Megabytes(spacedProse + ".pdf"), spacedSize, fonts,
                Megabytes(spacedProse + ".pdf") / (spacedSize + fonts));

    const std::string small = WriteBenchFile(folder, "para100k.txt", OneParagraph(100'000));
    const std::string large = WriteBenchFile(folder, "para400k.txt", OneParagraph(400'000));
    const double paragraphRatio = BestSeconds([&] { Convert(defaults, large); }) / BestSeconds([&] { Convert(defaults, small); });
    std::printf("one paragraph, 400 KB / 100 KB time: %.2f (goal <= 4.5)\n", paragraphRatio);

    const std::string zhSmall = WriteBenchFile(folder, "zh250k.txt", ChineseWithoutSpaces(250'000));
    const std::string zhLarge = WriteBenchFile(folder, "zh1m.txt", ChineseWithoutSpaces(1'000'000));
    const double chineseRatio = BestSeconds([&] { Convert(chinese, zhLarge); }) / BestSeconds([&] { Convert(chinese, zhSmall); });
    std::printf("GB2312 without spaces, 1 MB / 250 KB time: %.2f (goal <= 4.5)\n", chineseRatio);

    ReadyLinesFigure(folder);
    SmallFilesFigure(folder);

    MemoryFigures(folder, quick);

    fs::remove_all(folder);
    return 0;
}
