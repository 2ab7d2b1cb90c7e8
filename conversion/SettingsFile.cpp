#include "conversion/SettingsFile.h"

#include "platform/PrivateProfile.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <climits>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::string_view kPaper = "Paper Option";
constexpr std::string_view kDisplay = "Document Display Option";
constexpr std::string_view kProperty = "PDF Property Option";
constexpr std::string_view kSecurity = "PDF Security Option";
constexpr std::string_view kText = "Text Option";
constexpr std::string_view kFurniture = "Page Furniture";
constexpr std::string_view kArchive = "Archive Option";
// Texts were always read into a buffer of 1024 bytes, which keeps one byte for the zero.
constexpr std::size_t kMostTextBytes = 1023;

using O = ConversionOptions;
const std::array<SettingsKey, 42> kKeys = {{
    {kPaper, "PageSize", &O::PageSize},
    {kPaper, "PageWidth", &O::PageWidth},
    {kPaper, "PageHeight", &O::PageHeight},
    {kPaper, "LeftMargin", &O::LeftMargin},
    {kPaper, "RightMargin", &O::RightMargin},
    {kPaper, "TopMargin", &O::TopMargin},
    {kPaper, "BottomMargin", &O::BottomMargin},
    {kPaper, "PageFont", &O::PageFont},
    {kPaper, "B14Font", &O::B14Font},
    {kPaper, "EmbeddingFont", &O::EmbeddingFont},
    {kPaper, "CIDFont", &O::CIDFont},
    {kPaper, "SingeEncode", &O::SingeEncode},
    {kPaper, "MultiEncode", &O::MultiEncode},
    {kPaper, "Font Size", &O::FontSize},
    {kDisplay, "OpenMode", &O::OpenMode},
    {kDisplay, "OpenResult", &O::OpenResult},
    {kProperty, "Author", nullptr, &O::Author},
    {kProperty, "Creator", nullptr, &O::Creator},
    {kProperty, "Title", nullptr, &O::Title},
    {kProperty, "Subject", nullptr, &O::Subject},
    {kProperty, "Keywords", nullptr, &O::Keywords},
    {kSecurity, "PermitRead", &O::PermitRead},
    {kSecurity, "PermitPrint", &O::PermitPrint},
    {kSecurity, "PermitCopy", &O::PermitCopy},
    {kSecurity, "PermitModify", &O::PermitModify},
    {kSecurity, "EncryptLevel", &O::EncryptLevel},
    {kText, "TabSize", &O::TabSize},
    {kText, "FormFeed", &O::FormFeed},
    {kFurniture, "HeaderLeft", nullptr, &O::HeaderLeft},
    {kFurniture, "HeaderCentre", nullptr, &O::HeaderCentre},
    {kFurniture, "HeaderRight", nullptr, &O::HeaderRight},
    {kFurniture, "FooterLeft", nullptr, &O::FooterLeft},
    {kFurniture, "FooterCentre", nullptr, &O::FooterCentre},
    {kFurniture, "FooterRight", nullptr, &O::FooterRight},
    {kFurniture, "FurnitureFontSize", &O::FurnitureFontSize},
    {kFurniture, "HeaderRule", &O::HeaderRule},
    {kFurniture, "FooterRule", &O::FooterRule},
    {kFurniture, "LineNumbers", &O::LineNumbers},
    {kFurniture, "LineNumberStep", &O::LineNumberStep},
    {kFurniture, "CombinedNumbering", &O::CombinedNumbering},
    {kArchive, "PDFA", &O::Archive},
    {kArchive, "Language", nullptr, &O::Language},
}};

bool SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// The text up to its first zero byte.
std::string_view UpToZero(std::string_view stored)
{
    return stored.substr(0, stored.find('\0'));
}

bool IsCut(std::string_view stored)
{
    return UpToZero(stored).size() > kMostTextBytes;
}

// What a stored text loads as. The cut, or a zero byte, can leave a blank at the end that the
// file cannot keep; without it, what is loaded is what a save gives back.
std::string LoadedText(std::string_view stored)
{
    std::string_view text = UpToZero(stored);
    if (text.size() > kMostTextBytes) {
        std::size_t end = kMostTextBytes;
        // Back to the first byte of the character that would be split; at most three steps, so
        // that bytes that are not UTF-8 are still cut near the limit.
        for (int step = 0; step < 3 && end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80; ++step)
            --end;
        text = text.substr(0, end);
    }
    return std::string(TrimProfileBlanks(text));
}

} // namespace

std::span<const SettingsKey> SettingsKeys()
{
    return kKeys;
}

const SettingsKey* FindSettingsKey(std::string_view name)
{
    const auto found = std::find_if(kKeys.begin(), kKeys.end(),
                                    [&](const SettingsKey& key) { return SameName(key.key, name); });
    return found == kKeys.end() ? nullptr : &*found;
}

std::string ApplySetting(ConversionOptions& options, const SettingsKey& key, std::string_view value)
{
    if (key.text) {
        options.*key.text = std::string(value);
        return {};
    }
    int number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (value.empty() || error != std::errc() || end != value.data() + value.size())
        return "\"" + std::string(value) + "\" is not a whole number for " + std::string(key.key);
    options.*key.number = number;
    return {};
}

std::string LoadSettings(ConversionOptions& options, const ProfileSnapshot& settings)
{
    const ConversionOptions defaults;
    std::string cutKeys;
    for (const SettingsKey& key : kKeys) {
        if (key.number) {
            options.*key.number = settings.IntValue(key.section, key.key, defaults.*key.number);
            continue;
        }
        const std::string_view stored = settings.Value(key.section, key.key).value_or("");
        options.*key.text = LoadedText(stored);
        if (IsCut(stored))
            cutKeys += (cutKeys.empty() ? "" : ", ") + std::string(key.key);
    }
    if (cutKeys.empty())
        return {};
    return "Settings.ini: longer than 1023 bytes: " + cutKeys +
           ". Only the first 1023 bytes of each are used (cut at a whole character); the file keeps the full text "
           "until you change it";
}

std::string LoadSettings(ConversionOptions& options, const std::string& settingsPath)
{
    return LoadSettings(options, ProfileSnapshot(settingsPath));
}

bool SaveSettings(const ConversionOptions& options, const std::string& settingsPath)
{
    const ProfileSnapshot stored(settingsPath);
    std::vector<ProfileEntry> entries;
    for (const SettingsKey& key : kKeys) {
        if (key.number) {
            entries.push_back({key.section, key.key, std::to_string(options.*key.number)});
            continue;
        }
        const std::string_view old = stored.Value(key.section, key.key).value_or("");
        if (!IsCut(old) || LoadedText(old) != options.*key.text)
            entries.push_back({key.section, key.key, options.*key.text});
    }
    return WritePrivateProfileEntries(entries, settingsPath);
}

std::string ExeDirectory()
{
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return "./";
    const std::string executable(path, static_cast<std::size_t>(length));
    return executable.substr(0, executable.find_last_of('/') + 1);
}
