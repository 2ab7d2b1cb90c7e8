// UTF-8 text against the same characters in a single-byte encoding, with the same embedded
// TrueType font, and the growth of one long UTF-8 paragraph. Run without arguments; it writes
// its inputs to a scratch folder and prints one line per figure. See bench/README.md.
#include "bench/BenchFiles.h"
#include "conversion/ConversionObserver.h"
#include "conversion/ConversionOptions.h"
#include "conversion/DetectedEncoding.h"
#include "conversion/FileConverter.h"
#include "conversion/TextPlan.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr char kFont[] = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr char kChineseFont[] = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc";

// The same prose twice: in UTF-8 with Latin, Greek and Cyrillic words, and in Latin-1 with
// every Greek or Cyrillic letter replaced by a Latin-1 letter, so that both hold the same
// number of characters, words and lines.
struct Prose {
    std::string utf8;
    std::string latin1;
};

class ProseWriter {
public:
    Prose Paragraphs(std::size_t utf8Bytes, bool lineEnds)
    {
        Prose prose;
        while (prose.utf8.size() < utf8Bytes) {
            for (int word = 0; word < 60; ++word) {
                AddWord(prose);
                prose.utf8 += ' ';
                prose.latin1 += ' ';
            }
            if (lineEnds) {
                prose.utf8.back() = '\n';
                prose.latin1.back() = '\n';
            }
        }
        return prose;
    }

private:
    void AddWord(Prose& prose)
    {
        const int script = int(m_random() % 3);
        const int length = 2 + int(m_random() % 9);
        for (int i = 0; i < length; ++i) {
            const int letter = int(m_random() % 24);
            if (script == 0) {
                // a to x, with an accented letter now and then
                const unsigned latin = letter == 0 ? 0xE9u : letter == 1 ? 0xFCu : unsigned('a' + letter);
                AppendUtf8(prose.utf8, latin);
                prose.latin1 += char(latin);
            } else {
                AppendUtf8(prose.utf8, (script == 1 ? 0x3B1 : 0x430) + letter); // alpha..., a...
                prose.latin1 += char(0xE0 + letter);
            }
        }
    }

    static void AppendUtf8(std::string& out, unsigned codePoint)
    {
        if (codePoint < 0x80) {
            out += char(codePoint);
            return;
        }
        out += char(0xC0 | (codePoint >> 6));
        out += char(0x80 | (codePoint & 0x3F));
    }

    std::mt19937 m_random{2026};
};

// Three-byte characters from U+4E00 on, without a single space.
std::string ChineseWithoutSpaces(std::size_t bytes)
{
    std::mt19937 random(7);
    std::string text;
    while (text.size() < bytes) {
        const unsigned codePoint = 0x4E00 + random() % 0x1400;
        text += char(0xE0 | (codePoint >> 12));
        text += char(0x80 | ((codePoint >> 6) & 0x3F));
        text += char(0x80 | (codePoint & 0x3F));
    }
    return text;
}

void Convert(const ConversionOptions& options, const std::string& input)
{
    SilentObserver observer;
    const ConversionResult result = ConvertFile(options, input, "", "", input + ".pdf", observer);
    if (!result.written)
        std::fprintf(stderr, "conversion failed: %s\n", result.reason.c_str());
}

ConversionOptions TrueType(int encoding)
{
    ConversionOptions options;
    options.PageFont = TrueTypeFont;
    options.TrueTypeFile = kFont;
    options.EmbeddingFont = kYes;
    options.SingeEncode = encoding;
    return options;
}

} // namespace

int main()
{
    const fs::path folder = fs::temp_directory_path() / "quillary-bench-utf8";
    fs::create_directories(folder);
    const ConversionOptions utf8 = TrueType(kUtf8Encoding);
    const ConversionOptions latin1 = TrueType(kWinAnsiEncoding);
    ProseWriter writer;

    const Prose prose = writer.Paragraphs(10'000'000, true);
    const std::string utf8Path = WriteBenchFile(folder, "prose-utf8.txt", prose.utf8);
    const std::string latin1Path = WriteBenchFile(folder, "prose-latin1.txt", prose.latin1);
    const double utf8Seconds = BestSeconds([&] { Convert(utf8, utf8Path); });
    const double latin1Seconds = BestSeconds([&] { Convert(latin1, latin1Path); });
    std::printf("10 MB of UTF-8 prose (Latin, Greek, Cyrillic; %.1f MB as Latin-1), DejaVu Sans embedded: "
                "UTF-8 %.3f s, Latin-1 %.3f s, ratio %.2f (goal <= 1.5)\n",
                double(prose.latin1.size()) / 1e6, utf8Seconds, latin1Seconds, utf8Seconds / latin1Seconds);

    const ConversionOptions automatic = TrueType(kAutoEncoding);
    const double autoSeconds = BestSeconds([&] { Convert(automatic, utf8Path); });
    std::printf("the same UTF-8 prose under Auto: %.3f s, ratio to Latin-1 %.2f (goal <= 1.5)\n", autoSeconds,
                autoSeconds / latin1Seconds);
    const double detectSeconds = BestSeconds([&] { DetectEncoding(prose.utf8); });
    const double planSeconds = BestSeconds([&] { MakeTextPlan(automatic, prose.utf8); });
    std::printf("its encoding detected in %.4f s, its whole reading plan (fonts included) made in %.4f s: %.2f %% and "
                "%.2f %% of its conversion (goal <= 3 %%)\n",
                detectSeconds, planSeconds, 100 * detectSeconds / autoSeconds, 100 * planSeconds / autoSeconds);

    const std::string page = "Copyright (C) 2024 Example Author <author@example.org>\nAll rights reserved.\n"
                             "Permission is granted to copy, distribute and modify this file.\n";
    const std::string withName = WriteBenchFile(folder, "name.txt", page + "Translation: \xE5\xBC\xA0\xE4\xB8\x89\n");
    const std::string without = WriteBenchFile(folder, "noname.txt", page + "Translation: Zhang San\n");
    Convert(ConversionOptions{}, withName);
    Convert(ConversionOptions{}, without);
    const auto withSize = double(fs::file_size(withName + ".pdf"));
    const auto withoutSize = double(fs::file_size(without + ".pdf"));
    std::printf("one page with a Chinese name under the defaults: %.0f KB, without it %.0f KB (goal <= 1.2 x + 60 KB "
                "= %.0f KB)\n", withSize / 1024, withoutSize / 1024, (1.2 * withoutSize + 60 * 1024) / 1024);

    const std::string small = WriteBenchFile(folder, "para100k.txt", writer.Paragraphs(100'000, false).utf8);
    const std::string large = WriteBenchFile(folder, "para400k.txt", writer.Paragraphs(400'000, false).utf8);
    const double ratio = BestSeconds([&] { Convert(utf8, large); }) / BestSeconds([&] { Convert(utf8, small); });
    std::printf("one UTF-8 paragraph, 400 KB / 100 KB time: %.2f (goal <= 4.5)\n", ratio);

    ConversionOptions chinese = utf8;
    chinese.TrueTypeFile = kChineseFont;
    chinese.TrueTypeFontIndex = 1;
    const std::string zhSmall = WriteBenchFile(folder, "zh250k.txt", ChineseWithoutSpaces(250'000));
    const std::string zhLarge = WriteBenchFile(folder, "zh1m.txt", ChineseWithoutSpaces(1'000'000));
    const double chineseRatio = BestSeconds([&] { Convert(chinese, zhLarge); }) / BestSeconds([&] { Convert(chinese, zhSmall); });
    std::printf("UTF-8 Chinese without spaces (WenQuanYi Micro Hei Mono), 1 MB / 250 KB time: %.2f (goal <= 4.5)\n",
                chineseRatio);

    fs::remove_all(folder);
    return 0;
}
