#include "platform/ProfileSnapshot.h"

#include "platform/Utf8.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Far beyond any settings file; a device that never ends (/dev/zero) stops here.
constexpr std::size_t kMostBytes = 16 << 20;

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

// The whole file, or the error number that stopped its reading. Not blocking on a named pipe.
int ReadWholeFile(const std::string& fileName, std::string& contents)
{
    const int fd = open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return errno;
    int error = 0;
    char buffer[65536];
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && errno != EAGAIN)
            error = errno;
        if (got <= 0)
            break;
        contents.append(buffer, static_cast<std::size_t>(got));
        if (contents.size() > kMostBytes) {
            error = EFBIG;
            break;
        }
    }
    close(fd);
    return error;
}

} // namespace

ProfileSnapshot::ProfileSnapshot(const std::string& fileName)
{
    std::string contents;
    m_readError = ReadWholeFile(fileName, contents);
    if (m_readError)
        return;
    std::string_view rest = contents;
    m_byteOrderMark = rest.starts_with(kUtf8ByteOrderMark);
    if (m_byteOrderMark)
        rest.remove_prefix(kUtf8ByteOrderMark.size());
    while (!rest.empty()) {
        const std::size_t end = std::min(rest.find('\n'), rest.size());
        m_lines.emplace_back(rest.substr(0, end));
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    m_crlf = !m_lines.empty() && !m_lines.front().empty() && m_lines.front().back() == '\r';
}

// Line indexes of the section's header and of the end of its lines (the next header or the
// end of the file); nothing when the section is missing.
std::optional<std::pair<std::size_t, std::size_t>> ProfileSnapshot::FindSection(std::string_view section) const
{
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const auto name = SectionName(m_lines[i]);
        if (!name || !SameName(*name, section))
            continue;
        std::size_t end = i + 1;
        while (end < m_lines.size() && !SectionName(m_lines[end]))
            ++end;
        return std::make_pair(i, end);
    }
    return std::nullopt;
}

std::optional<std::string_view> ProfileSnapshot::Value(std::string_view section, std::string_view key) const
{
    const auto range = FindSection(section);
    if (!range)
        return std::nullopt;
    for (std::size_t i = range->first + 1; i < range->second; ++i) {
        const std::string_view line = m_lines[i];
        if (IsKeyLine(line, key))
            return TrimProfileBlanks(line.substr(line.find('=') + 1));
    }
    return std::nullopt;
}

int ProfileSnapshot::IntValue(std::string_view section, std::string_view key, int defaultValue) const
{
    const std::optional<std::string_view> value = Value(section, key);
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

void ProfileSnapshot::SetValue(std::string_view section, std::string_view key, std::string_view value)
{
    std::string keyLine = MadeLine(std::string(key) + "=" + std::string(value));
    const auto range = FindSection(section);
    if (!range) {
        std::string header = "[";
        header.append(section).append("]");
        m_lines.push_back(MadeLine(std::move(header)));
        m_lines.push_back(std::move(keyLine));
        return;
    }
    for (std::size_t i = range->first + 1; i < range->second; ++i) {
        if (IsKeyLine(m_lines[i], key)) {
            m_lines[i] = std::move(keyLine);
            return;
        }
    }
    // After the section's last line that is not blank, so that blank lines stay between sections.
    std::size_t insertAt = range->second;
    while (insertAt > range->first + 1 && TrimProfileBlanks(m_lines[insertAt - 1]).empty())
        --insertAt;
    m_lines.insert(m_lines.begin() + static_cast<long>(insertAt), std::move(keyLine));
}

std::string ProfileSnapshot::Contents() const
{
    std::string contents = m_byteOrderMark ? std::string(kUtf8ByteOrderMark) : std::string();
    for (const std::string& line : m_lines)
        contents.append(line).append(1, '\n');
    return contents;
}

std::string_view TrimProfileBlanks(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}
