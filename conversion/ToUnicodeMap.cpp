#include "conversion/ToUnicodeMap.h"

#include "conversion/ArabicBaseLetters.h"
#include "conversion/LibharuPrivate.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

namespace {

// Readers accept at most this many entries between one begin and end operator.
constexpr std::size_t kEntriesPerBlock = 100;

struct CodeRun {
    char16_t first;
    char16_t last;
    std::u16string letters; // what the code stands for; empty for the character of its value
};

bool IsSurrogate(char16_t code)
{
    return code >= 0xD800 && code <= 0xDFFF;
}

// The character in UTF-16.
std::u16string Utf16Of(char32_t character)
{
    if (character <= 0xFFFF)
        return {char16_t(character)};
    const char32_t offset = character - 0x10000;
    return {char16_t(0xD800 + (offset >> 10)), char16_t(0xDC00 + (offset & 0x3FF))};
}

// The codes as runs of consecutive values that share their first byte. Joined Arabic is drawn
// in presentation forms, which a reader would give back as such, and a search for the word as
// typed would not find it: each form stands alone for its letters instead.
std::vector<CodeRun> RunsOf(const std::vector<char16_t>& codes, const std::map<char16_t, char32_t>& standIns)
{
    std::vector<CodeRun> runs;
    for (char16_t code : codes) {
        if (IsSurrogate(code))
            continue;
        if (const auto standIn = standIns.find(code); standIn != standIns.end())
            runs.push_back({code, code, Utf16Of(standIn->second)});
        else if (std::u16string letters = ArabicBaseLetters(code); !letters.empty())
            runs.push_back({code, code, std::move(letters)});
        else if (!runs.empty() && runs.back().letters.empty() && code == runs.back().last + 1 &&
                 (code >> 8) == (runs.back().first >> 8))
            runs.back().last = code;
        else
            runs.push_back({code, code, {}});
    }
    return runs;
}

std::string Hex(std::u16string_view codes)
{
    std::string hex = "<";
    for (char16_t code : codes) {
        char digits[5];
        std::snprintf(digits, sizeof digits, "%04X", unsigned(code));
        hex += digits;
    }
    return hex + ">";
}

std::string Hex(char16_t code)
{
    return Hex(std::u16string_view(&code, 1));
}

void AppendBlocks(std::string& cmap, const std::vector<CodeRun>& runs, std::string_view kind)
{
    for (std::size_t start = 0; start < runs.size(); start += kEntriesPerBlock) {
        const std::size_t end = std::min(runs.size(), start + kEntriesPerBlock);
        cmap += std::to_string(end - start) + " begin" + std::string(kind) + "\n";
        for (std::size_t i = start; i < end; ++i) {
            // Appended piece by piece: GCC 12 at -O3 takes " " + Hex(...) for overlapping copies.
            cmap += Hex(runs[i].first);
            if (runs[i].last != runs[i].first)
                cmap.append(" ").append(Hex(runs[i].last));
            cmap.append(" ").append(runs[i].letters.empty() ? Hex(runs[i].first) : Hex(runs[i].letters)).append("\n");
        }
        cmap += "end" + std::string(kind) + "\n";
    }
}

} // namespace

std::string ToUnicodeCMap(const std::vector<char16_t>& codes, const std::map<char16_t, char32_t>& standIns)
{
    std::vector<CodeRun> singles;
    std::vector<CodeRun> ranges;
    // A reader drops a map without entries and then looks for the font's character collection,
    // which it does not know; the space, mapped as everywhere, keeps the map of an empty text.
    for (const CodeRun& run : codes.empty() ? RunsOf({u' '}, {}) : RunsOf(codes, standIns))
        (run.first == run.last ? singles : ranges).push_back(run);
    std::string cmap = "/CIDInit /ProcSet findresource begin\n"
                       "12 dict begin\n"
                       "begincmap\n"
                       "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
                       "/CMapName /Adobe-Identity-UCS def\n"
                       "/CMapType 2 def\n"
                       "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
    AppendBlocks(cmap, singles, "bfchar");
    AppendBlocks(cmap, ranges, "bfrange");
    cmap += "endcmap\n"
            "CMapName currentdict /CMap defineresource pop\n"
            "end\n"
            "end\n";
    return cmap;
}

void ReplaceToUnicodeMap(HPDF_Font font, const std::vector<char16_t>& codes,
                         const std::map<char16_t, char32_t>& standIns)
{
    if (font && std::string_view(HPDF_Font_GetEncodingName(font)) == "UTF-8")
        LibharuFont(font).ReplaceToUnicodeStream(ToUnicodeCMap(codes, standIns));
}
