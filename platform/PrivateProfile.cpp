#include "platform/PrivateProfile.h"

#include "platform/ReplacingFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

int GetPrivateProfileIntA(std::string_view section, std::string_view key, int defaultValue,
                          const std::string& fileName)
{
    return ProfileSnapshot(fileName).IntValue(section, key, defaultValue);
}

DWORD GetPrivateProfileStringA(std::string_view section, std::string_view key,
                               std::string_view defaultValue, char* buffer, DWORD size,
                               const std::string& fileName)
{
    if (size == 0)
        return 0;
    const ProfileSnapshot profile(fileName);
    const std::string_view text = profile.Value(section, key).value_or(defaultValue);
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
    ProfileSnapshot profile(fileName);
    // Writing what could not be read would lose every other line of the file.
    if (profile.ReadError() && profile.ReadError() != ENOENT) {
        errno = profile.ReadError();
        return FALSE;
    }
    for (const ProfileEntry& entry : entries)
        profile.SetValue(entry.section, entry.key, entry.value);
    ReplacingFile file(fileName);
    if (file.Write(profile.Contents()) && file.Commit())
        return TRUE;
    errno = file.ErrorNumber();
    return FALSE;
}
