// The INI profile functions: a random file, then a few writes. Each write must keep every other
// line of the file byte for byte, and every value written must read back as written.
//
// Input: the file's first contents, then (section, key, value) triples, each part ended by a
// zero byte. Names and values are first brought within what the format can hold: no line ends,
// no "=" in a key, no "]" in a section, no ";" or "[" leading a key, no blanks around either.
#include "FuzzInput.h"
#include "ScratchPath.h"

#include "platform/PrivateProfile.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <utility>
#include <vector>

namespace {

constexpr std::size_t kMaxFileSize = 4096;
constexpr std::size_t kMaxNameSize = 32;
constexpr std::size_t kMaxValueSize = 256;
constexpr int kMaxWrites = 8;

std::string WithinFormat(std::string text, std::string_view forbidden)
{
    std::replace_if(text.begin(), text.end(), [&](char c) { return forbidden.find(c) != std::string_view::npos; }, '_');
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.back()))
        text.pop_back();
    text.erase(text.begin(), std::find_if_not(text.begin(), text.end(), blank));
    return text;
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

// The file's lines without their LFs; a CR before an LF stays.
std::vector<std::string> LinesOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(std::move(line));
    return lines;
}

// A line the write made: the text, and a CR when the file's lines end in CR LF.
bool IsMadeLine(const std::string& line, const std::string& text)
{
    return line == text || line == text + '\r';
}

// `after` is `before` with one line replaced by `keyLine`, with `keyLine` inserted, or with the
// section and `keyLine` added at the end.
bool OnlyTheKeyChanged(const std::vector<std::string>& before, const std::vector<std::string>& after,
                       const std::string& sectionLine, const std::string& keyLine)
{
    const auto [differs, unused] = std::mismatch(before.begin(), before.end(), after.begin(), after.end());
    const std::size_t at = differs - before.begin();
    const auto tailMatches = [&](std::size_t beforeFrom, std::size_t afterFrom) {
        return std::equal(before.begin() + beforeFrom, before.end(), after.begin() + afterFrom, after.end());
    };
    if (after == before) // the same value written again
        return std::any_of(after.begin(), after.end(), [&](const std::string& line) { return IsMadeLine(line, keyLine); });
    if (after.size() == before.size())
        return IsMadeLine(after[at], keyLine) && tailMatches(at + 1, at + 1);
    if (after.size() == before.size() + 1)
        return IsMadeLine(after[at], keyLine) && tailMatches(at, at + 1);
    return after.size() == before.size() + 2 && at == before.size() && IsMadeLine(after[at], sectionLine) &&
           IsMadeLine(after[at + 1], keyLine);
}

std::string ReadBack(const std::string& section, const std::string& key, const std::string& path)
{
    char buffer[kMaxValueSize + 1];
    const DWORD length = GetPrivateProfileStringA(section, key, "\x01missing", buffer, sizeof buffer, path);
    return std::string(buffer, length);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = ScratchPath("Profile.ini");
    FuzzInput input(data, size);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << input.Text(kMaxFileSize);

    std::map<std::pair<std::string, std::string>, std::pair<std::string, std::string>> written;
    for (int write = 0; write < kMaxWrites && !input.Empty(); ++write) {
        const std::string section = WithinFormat(input.Text(kMaxNameSize), "]\r\n");
        std::string key = WithinFormat(input.Text(kMaxNameSize), "=\r\n");
        if (!key.empty() && (key.front() == ';' || key.front() == '['))
            key.front() = '_';
        const std::string value = WithinFormat(input.Text(kMaxValueSize), "\r\n");

        const std::vector<std::string> before = LinesOf(path);
        Require(WritePrivateProfileStringA(section, key, value, path), "a profile in a scratch folder can be written");
        Require(OnlyTheKeyChanged(before, LinesOf(path), "[" + section + "]", key + "=" + value),
                "a write changes its own line and keeps every other line");
        written[{Lower(section), Lower(key)}] = {value, key};
        for (const auto& [names, entry] : written)
            Require(ReadBack(names.first, entry.second, path) == entry.first, "every value written reads back");
    }
    return 0;
}
