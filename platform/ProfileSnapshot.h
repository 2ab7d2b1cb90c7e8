#pragma once
// One reading of an INI profile file, kept in memory: what every profile function reads, and
// what a write changes and then writes back. PrivateProfile.h describes the format. A UTF-8
// byte-order mark at the start is not part of the first line (an editor may add one) and is
// written back as it was. Each line is kept as the file holds it before its LF, a CR included,
// so that a write gives back every line it does not change byte for byte; the lines it makes
// end as the file's first line does. A plain value: copy it to hand it to another thread.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class ProfileSnapshot {
public:
    ProfileSnapshot() = default;
    // Reads the file once. A file that is missing or cannot be read gives an empty snapshot,
    // and ReadError() says why (ENOENT for a missing file); 0 when it was read.
    explicit ProfileSnapshot(const std::string& fileName);

    int ReadError() const { return m_readError; }

    // The key's value, trimmed of blanks; nothing when the section or the key is missing.
    std::optional<std::string_view> Value(std::string_view section, std::string_view key) const;

    // The number at the start of the value: blanks skipped, an optional minus sign, the decimal
    // digits (clamped to the int range); 0 when the value does not start with a digit. The
    // default when the section or the key is missing.
    int IntValue(std::string_view section, std::string_view key, int defaultValue) const;

    // Sets the key's value, adding the section or the key (at the end of the file or section)
    // when missing.
    void SetValue(std::string_view section, std::string_view key, std::string_view value);

    // The file as it is to be written.
    std::string Contents() const;

private:
    std::string MadeLine(std::string text) const { return m_crlf ? text + '\r' : text; }
    std::optional<std::pair<std::size_t, std::size_t>> FindSection(std::string_view section) const;

    std::vector<std::string> m_lines;
    bool m_crlf = false;
    bool m_byteOrderMark = false;
    int m_readError = 0;
};

// The text without the blanks (spaces, tabs, CRs) that values and names are trimmed of.
std::string_view TrimProfileBlanks(std::string_view text);
