// Settings.ini loading into the options record: any file loads without harm, its texts are
// cut as promised, and what is loaded survives a save and a second load unchanged, both into
// the same file (whose other lines stay) and into a new one.
//
// Input: the bytes of the file.
#include "FuzzInput.h"
#include "ScratchPath.h"

#include "conversion/SettingsFile.h"

#include <cstdio>
#include <fstream>

namespace {

constexpr std::size_t kMaxTextSize = 1023;

ConversionOptions Load(const std::string& path)
{
    ConversionOptions options;
    LoadSettings(options, path);
    return options;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = ScratchPath("Settings.ini");
    static const std::string freshPath = ScratchPath("Fresh.ini");
    FuzzInput input(data, size);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << input.Rest();

    const ConversionOptions loaded = Load(path);
    for (const SettingsKey& key : SettingsKeys())
        Require(!key.text || (loaded.*key.text).size() <= kMaxTextSize, "texts are cut to 1023 characters");

    Require(SaveSettings(loaded, path), "settings in a scratch folder can be saved");
    Require(Load(path) == loaded, "loaded settings saved into their own file load the same");
    std::remove(freshPath.c_str());
    Require(SaveSettings(loaded, freshPath), "settings can be saved into a new file");
    Require(Load(freshPath) == loaded, "loaded settings saved into a new file load the same");
    return 0;
}
