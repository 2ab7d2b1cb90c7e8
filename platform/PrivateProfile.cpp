#include "platform/PrivateProfile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// Each line as the file holds it before its LF, a CR included, so that a write gives back every
// line it does not change byte for byte; the lines it makes end as the file's first line does.
struct ProfileFile {
    std::vector<std::string> lines;
    bool crlf = false;

    std::string MadeLine(std::string text) const { return crlf ? text + '\r' : text; }
};

bool SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// The name of a "[Section]" line, or nothing for any other line.
std::optional<std::string_view> SectionName(std::string_view line)
{
    line = TrimProfileBlanks(line);
    if (line.size() < 2 || line.front() != '[')
        return std::nullopt;
    const std::size_t close = line.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return TrimProfileBlanks(line.substr(1, close - 1));
}

bool IsKeyLine(std::string_view line, std::string_view key)
{
    const std::string_view trimmed = TrimProfileBlanks(line);
    if (trimmed.empty() || trimmed.front() == ';')
        return false;
    const std::size_t equals = trimmed.find('=');
    return equals != std::string_view::npos && SameName(TrimProfileBlanks(trimmed.substr(0, equals)), key);
}

std::optional<ProfileFile> ReadProfile(const std::string& fileName)
{
    std::ifstream in(fileName, std::ios::binary);
    if (!in)
        return std::nullopt;
    ProfileFile file;
    for (std::string line; std::getline(in, line);)
        file.lines.push_back(std::move(line));
    file.crlf = !file.lines.empty() && !file.lines.front().empty() && file.lines.front().back() == '\r';
    return file;
}

// Line indexes of the section's header and of the end of its lines (the next header or the
// end of the file); nothing when the section is missing.
std::optional<std::pair<std::size_t, std::size_t>> FindSection(const ProfileFile& file, std::string_view section)
{
    for (std::size_t i = 0; i < file.lines.size(); ++i) {
        const auto name = SectionName(file.lines[i]);
        if (!name || !SameName(*name, section))
            continue;
        std::size_t end = i + 1;
        while (end < file.lines.size() && !SectionName(file.lines[end]))
            ++end;
        return std::make_pair(i, end);
    }
    return std::nullopt;
}

std::optional<std::string> ReadValue(std::string_view section, std::string_view key, const std::string& fileName)
{
    const std::optional<ProfileFile> file = ReadProfile(fileName);
    if (!file)
        return std::nullopt;
    const auto range = FindSection(*file, section);
    if (!range)
        return std::nullopt;
    for (std::size_t i = range->first + 1; i < range->second; ++i) {
        const std::string& line = file->lines[i];
        if (IsKeyLine(line, key))
            return std::string(TrimProfileBlanks(std::string_view(line).substr(line.find('=') + 1)));
    }
    return std::nullopt;
}

void SetValue(ProfileFile& file, std::string_view section, std::string_view key, std::string_view value)
{
    std::string keyLine = file.MadeLine(std::string(key) + "=" + std::string(value));
    const auto range = FindSection(file, section);
    if (!range) {
        // GCC 12 at -O3 takes the copies inside "text" + std::string for overlapping ones, a
        // known false alarm.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
        file.lines.push_back(file.MadeLine("[" + std::string(section) + "]"));
#pragma GCC diagnostic pop
        file.lines.push_back(std::move(keyLine));
        return;
    }
    for (std::size_t i = range->first + 1; i < range->second; ++i) {
        if (IsKeyLine(file.lines[i], key)) {
            file.lines[i] = std::move(keyLine);
            return;
        }
    }
    // After the section's last line that is not blank, so that blank lines stay between sections.
    std::size_t insertAt = range->second;
    while (insertAt > range->first + 1 && TrimProfileBlanks(file.lines[insertAt - 1]).empty())
        --insertAt;
    file.lines.insert(file.lines.begin() + static_cast<long>(insertAt), std::move(keyLine));
}

// The rename below needs only the folder's permission, so a file marked read-only is refused
// here, as the system's own profile functions refuse it. errno says why.
bool MayReplace(const std::string& fileName)
{
    struct stat facts {};
    if (stat(fileName.c_str(), &facts) != 0)
        return true; // a new file
    if (access(fileName.c_str(), W_OK) != 0)
        return false;
    // The superuser may write any file; the marks still say that it is read-only.
    if ((facts.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        errno = EACCES;
        return false;
    }
    return true;
}

bool ReplaceFile(const ProfileFile& file, const std::string& fileName)
{
    if (!MayReplace(fileName))
        return false;
    std::string contents;
    for (const std::string& line : file.lines)
        contents += line + '\n';
    std::string temporary = fileName + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0)
        return false;
    struct stat existing {};
    fchmod(fd, stat(fileName.c_str(), &existing) == 0 ? existing.st_mode & 07777 : 0644);
    const bool written = write(fd, contents.data(), contents.size()) == static_cast<ssize_t>(contents.size());
    const bool closed = close(fd) == 0;
    if (written && closed && std::rename(temporary.c_str(), fileName.c_str()) == 0)
        return true;
    std::remove(temporary.c_str());
    return false;
}

} // namespace

std::string_view TrimProfileBlanks(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

int GetPrivateProfileIntA(std::string_view section, std::string_view key, int defaultValue,
                          const std::string& fileName)
{
    const std::optional<std::string> value = ReadValue(section, key, fileName);
    if (!value)
        return defaultValue;
    std::string_view text = *value;
    const bool negative = !text.empty() && text.front() == '-';
    if (negative)
        text.remove_prefix(1);
    long long number = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            break;
        number = std::min<long long>(number * 10 + (c - '0'), 1LL + INT_MAX);
    }
    number = negative ? -number : number;
    return static_cast<int>(std::clamp<long long>(number, INT_MIN, INT_MAX));
}

DWORD GetPrivateProfileStringA(std::string_view section, std::string_view key,
                               std::string_view defaultValue, char* buffer, DWORD size,
                               const std::string& fileName)
{
    if (size == 0)
        return 0;
    const std::optional<std::string> value = ReadValue(section, key, fileName);
    const std::string_view text = value ? std::string_view(*value) : defaultValue;
    const std::size_t copied = std::min<std::size_t>(text.size(), size - 1);
    std::memcpy(buffer, text.data(), copied);
    buffer[copied] = '\0';
    return static_cast<DWORD>(copied);
}

BOOL WritePrivateProfileStringA(std::string_view section, std::string_view key,
                                std::string_view value, const std::string& fileName)
{
    const ProfileEntry entry{section, key, std::string(value)};
    return WritePrivateProfileEntries({&entry, 1}, fileName);
}

BOOL WritePrivateProfileEntries(std::span<const ProfileEntry> entries, const std::string& fileName)
{
    ProfileFile file = ReadProfile(fileName).value_or(ProfileFile{});
    for (const ProfileEntry& entry : entries)
        SetValue(file, entry.section, entry.key, entry.value);
    return ReplaceFile(file, fileName) ? TRUE : FALSE;
}
