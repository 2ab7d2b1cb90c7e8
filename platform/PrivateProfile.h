#pragma once
// INI profile files, read and written the way the settings have always been kept:
//  - "[Section]" lines open sections, "Key=Value" lines hold values, ";" starts a comment line;
//  - section and key names match without regard to case; names and values are trimmed of
//    surrounding blanks; a key may hold blanks ("Font Size");
//  - a write changes only its own line (or adds the section or key at the end of the file or
//    section) and keeps every other line, comment and blank line in its place;
//  - a write replaces the whole file at once (ReplacingFile.h), so that a crash never leaves
//    half a file behind; a file that exists but cannot be read is not written.
// Each call reads the file anew (ProfileSnapshot.h reads it once for many keys). Not
// synchronised: one writer per file at a time.
#include "platform/ProfileSnapshot.h"
#include "platform/WinTypes.h"

#include <span>
#include <string>
#include <string_view>

// The number at the start of the value as ProfileSnapshot::IntValue reads it; the default when
// the file, the section or the key is missing.
int GetPrivateProfileIntA(std::string_view section, std::string_view key, int defaultValue,
                          const std::string& fileName);

// Copies the value (or the default when missing) into buffer, cut to size - 1 characters and
// zero-terminated; returns the number of characters copied. Nothing is copied when size is 0.
DWORD GetPrivateProfileStringA(std::string_view section, std::string_view key,
                               std::string_view defaultValue, char* buffer, DWORD size,
                               const std::string& fileName);

// Sets the key's value, creating the file, the section and the key as needed. FALSE when the
// file could not be written, a file marked read-only included (no write permission for anyone,
// or none for this user); the file is then as it was, and errno says why.
BOOL WritePrivateProfileStringA(std::string_view section, std::string_view key,
                                std::string_view value, const std::string& fileName);

struct ProfileEntry {
    std::string_view section;
    std::string_view key;
    std::string value;
};

// Sets many keys at once, in order, as WritePrivateProfileStringA sets one: the file is read
// once and replaced once, so it holds either all of them or, when it could not be written
// (FALSE), none.
BOOL WritePrivateProfileEntries(std::span<const ProfileEntry> entries, const std::string& fileName);
