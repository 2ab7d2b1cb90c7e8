#pragma once
// Settings.ini: the options record kept between runs (SettingsLocation.h says where). The key table
// is the one place that knows every key, its section and its field; loading, saving and the
// command line's --set all go through it.
#include "conversion/ConversionOptions.h"
#include "platform/ProfileSnapshot.h"

#include <span>
#include <string>
#include <string_view>

struct SettingsKey {
    std::string_view section;
    std::string_view key;
    int ConversionOptions::*number = nullptr;       // set for integer keys
    std::string ConversionOptions::*text = nullptr; // set for text keys
};

// Every key in the order the file is written and read.
std::span<const SettingsKey> SettingsKeys();

// The key of that name, compared without regard to case; null when there is none.
const SettingsKey* FindSettingsKey(std::string_view name);

// Sets the key's field from a value given by the user. Integer keys take an optional minus
// sign and decimal digits only; returns a message saying what is wrong, or empty.
std::string ApplySetting(ConversionOptions& options, const SettingsKey& key, std::string_view value);

// Fills every field that has a key from one reading of the file; missing keys (or a missing
// file) give the defaults, numbers are taken as they stand. A text ends at a zero byte and is
// cut to at most 1023 bytes, at the end of a UTF-8 character. The font-file paths have no key
// and are left as they are. Returns one warning naming the texts that were cut, or empty.
std::string LoadSettings(ConversionOptions& options, const ProfileSnapshot& settings);
std::string LoadSettings(ConversionOptions& options, const std::string& settingsPath);

// Writes every key, in table order, in one replacement of the file. A text that loading cut
// short and that still holds what loading gave keeps the whole value the file has. Returns
// false when the file could not be written; it is then as it was, and errno says why.
bool SaveSettings(const ConversionOptions& options, const std::string& settingsPath);

// The folder of the running executable, with a trailing separator.
std::string ExeDirectory();
