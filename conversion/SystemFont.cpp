#include "conversion/SystemFont.h"

#include <fontconfig/fontconfig.h>

#include <cctype>
#include <memory>
#include <mutex>

namespace {

constexpr char kTrueType[] = "TrueType";

struct PatternDeleter {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;

struct FontSetDeleter {
    void operator()(FcFontSet* set) const { FcFontSetDestroy(set); }
};
using FontSet = std::unique_ptr<FcFontSet, FontSetDeleter>;

struct CharSetDeleter {
    void operator()(FcCharSet* set) const { FcCharSetDestroy(set); }
};
using CharSet = std::unique_ptr<FcCharSet, CharSetDeleter>;

struct ConfigDeleter {
    void operator()(FcConfig* config) const { FcConfigDestroy(config); }
};
using Config = std::unique_ptr<FcConfig, ConfigDeleter>;

// Loading the configuration parses every fonts.conf and reads the font cache, which costs far
// more than a lookup; a batch of small files would spend most of its time there. So it is
// loaded once, on first use, and given back when the process ends.
FcConfig* SharedConfig()
{
    static const Config config(FcInitLoadConfigAndFonts());
    return config.get();
}

// Conversions run on several threads; fontconfig may rescan a configuration's fonts while a
// lookup uses it, so its lookups take turns.
std::mutex& ConfigMutex()
{
    static std::mutex mutex;
    return mutex;
}

const FcChar8* Text(const char* text)
{
    return reinterpret_cast<const FcChar8*>(text);
}

std::string StringOf(FcPattern* pattern, const char* object, int n = 0)
{
    FcChar8* value = nullptr;
    if (FcPatternGetString(pattern, object, n, &value) != FcResultMatch || !value)
        return {};
    return reinterpret_cast<const char*>(value);
}

// fontconfig's best font for the pattern, with the configuration's aliases applied
// ("monospace" becomes the preferred monospaced family); a TrueType file of the family is
// preferred where it has files of several formats.
Pattern BestMatch(FcConfig* config, FcPattern* request, bool preferTrueType)
{
    const Pattern pattern(FcPatternDuplicate(request));
    if (!config || !pattern)
        return nullptr;
    if (preferTrueType)
        FcPatternAddString(pattern.get(), FC_FONTFORMAT, Text(kTrueType));
    FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    return Pattern(FcFontMatch(config, pattern.get(), &result));
}

// The name as fontconfig compares family names: without blanks, in lower case.
std::string Folded(const std::string& name)
{
    std::string folded;
    for (unsigned char c : name) {
        if (c != ' ')
            folded += char(std::tolower(c));
    }
    return folded;
}

// fontconfig's generic families stand for the font the configuration prefers, whose own name
// is never the generic one.
bool IsGenericFamily(const std::string& family)
{
    const std::string folded = Folded(family);
    return folded == "monospace" || folded == "mono" || folded == "sans-serif" || folded == "sans" ||
           folded == "serif";
}

bool HasName(FcPattern* font, const char* object, const std::string& name)
{
    for (int n = 0;; ++n) {
        const std::string value = StringOf(font, object, n);
        if (value.empty())
            return false;
        if (Folded(value) == Folded(name))
            return true;
    }
}

SystemFont Found(FcPattern* font, const std::string& shownName)
{
    SystemFont found;
    if (StringOf(font, FC_FONTFORMAT) != kTrueType) {
        found.problem = "the installed font " + shownName + " is not a TrueType font";
        return found;
    }
    found.file = StringOf(font, FC_FILE);
    int index = 0;
    FcPatternGetInteger(font, FC_INDEX, 0, &index);
    // The upper bits number the instances of a variable font; the face is in the lower ones.
    found.index = index & 0xFFFF;
    if (found.file.empty())
        found.problem = "fontconfig gives no file for the font " + shownName;
    return found;
}

SystemFont NotFound(std::string problem)
{
    SystemFont none;
    none.problem = std::move(problem);
    return none;
}

} // namespace

SystemFont FindSystemFont(const std::string& name)
{
    const Pattern pattern(FcNameParse(Text(name.c_str())));
    const std::string family = pattern ? StringOf(pattern.get(), FC_FAMILY) : std::string();
    if (family.empty())
        return NotFound("'" + name + "' names no font family");
    const bool generic = IsGenericFamily(family);
    const auto named = [&](const Pattern& font) {
        return font && (generic || HasName(font.get(), FC_FAMILY, family) || HasName(font.get(), FC_FULLNAME, family));
    };
    const std::lock_guard lock(ConfigMutex());
    Pattern font = BestMatch(SharedConfig(), pattern.get(), true);
    // Without a TrueType file the family may still be installed, in a format the converter
    // cannot load; that is the better thing to tell.
    if (!named(font))
        font = BestMatch(SharedConfig(), pattern.get(), false);
    if (!named(font))
        return NotFound("no installed font is called '" + family + "' (fc-list lists the installed fonts)");
    return Found(font.get(), "'" + family + "'");
}

SystemFont FindMonospacedFont()
{
    const Pattern pattern(FcPatternCreate());
    FcPatternAddString(pattern.get(), FC_FAMILY, Text("monospace"));
    FcPatternAddInteger(pattern.get(), FC_SPACING, FC_MONO);
    const std::lock_guard lock(ConfigMutex());
    const Pattern font = BestMatch(SharedConfig(), pattern.get(), true);
    if (!font)
        return NotFound("fontconfig finds no monospaced font");
    // Built by appending: GCC 12 at -O3 takes "'" + StringOf(...) for overlapping copies.
    SystemFont found = Found(font.get(), std::string("'").append(StringOf(font.get(), FC_FAMILY)).append("'"));
    if (!found.problem.empty())
        found.problem = "the system's monospaced font is not a TrueType font (" + found.problem + ")";
    return found;
}

namespace {

constexpr std::size_t kMostFallbacks = 8;

// The request's family and style; with `characters` (may be null) their coverage too.
Pattern RequestPattern(const FontRequest& request, FcCharSet* characters)
{
    Pattern pattern(FcPatternCreate());
    if (!pattern)
        return nullptr;
    for (const std::string& family : request.families)
        FcPatternAddString(pattern.get(), FC_FAMILY, Text(family.c_str()));
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, request.bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern.get(), FC_SLANT, request.slanted ? FC_SLANT_OBLIQUE : FC_SLANT_ROMAN);
    if (characters)
        FcPatternAddCharSet(pattern.get(), FC_CHARSET, characters);
    return pattern;
}

FcCharSet* CharSetOf(FcPattern* font)
{
    FcCharSet* characters = nullptr;
    return FcPatternGetCharSet(font, FC_CHARSET, 0, &characters) == FcResultMatch ? characters : nullptr;
}

bool IsFile(FcPattern* font, const SystemFont& file)
{
    int index = 0;
    FcPatternGetInteger(font, FC_INDEX, 0, &index);
    return StringOf(font, FC_FILE) == file.file && (index & 0xFFFF) == file.index;
}

// Adds to `fonts` the fallbacks from `sorted` for the characters `missing`.
void AddFallbacks(FcFontSet* sorted, CharSet missing, FontsForText& fonts)
{
    for (int i = 0; i < sorted->nfont && fonts.fallbacks.size() < kMostFallbacks; ++i) {
        if (!missing || FcCharSetCount(missing.get()) == 0)
            return;
        FcPattern* font = sorted->fonts[i];
        FcCharSet* has = CharSetOf(font);
        if (!has || StringOf(font, FC_FONTFORMAT) != kTrueType || IsFile(font, fonts.main) ||
            FcCharSetIntersectCount(missing.get(), has) == 0)
            continue;
        fonts.fallbacks.push_back(Found(font, StringOf(font, FC_FAMILY)));
        missing.reset(FcCharSetSubtract(missing.get(), has));
    }
}

// The request's font by family and style alone. The text's characters stay out of it: fontconfig
// ranks coverage above family, so a few Chinese letters in a name would otherwise pick a Chinese
// font for the whole file, and Hebrew ones a proportional font for a monospaced request. What the
// font lacks goes to the fallbacks. Empty when the best match is not a TrueType file.
SystemFont MainFontFor(FcConfig* config, const FontRequest& request)
{
    const Pattern pattern = RequestPattern(request, nullptr);
    const Pattern font = pattern ? BestMatch(config, pattern.get(), true) : nullptr;
    if (!font || StringOf(font.get(), FC_FONTFORMAT) != kTrueType)
        return {};
    return Found(font.get(), "'" + StringOf(font.get(), FC_FAMILY) + "'");
}

// The main font's place among the `sorted` fonts: the one `main` names, or, when it names none,
// the first TrueType font, which it is then set to. Returns the main font's characters; null
// when it is not among them.
FcCharSet* FindMain(FcFontSet* sorted, SystemFont& main)
{
    for (int i = 0; i < sorted->nfont; ++i) {
        FcPattern* font = sorted->fonts[i];
        if (main.file.empty() && StringOf(font, FC_FONTFORMAT) == kTrueType)
            main = Found(font, "'" + StringOf(font, FC_FAMILY) + "'");
        if (!main.file.empty() && IsFile(font, main))
            return CharSetOf(font);
    }
    return nullptr;
}

} // namespace

FontsForText FindFontsFor(const FontRequest& request, const std::vector<char32_t>& characters, const SystemFont& chosen)
{
    FontsForText fonts;
    fonts.main = chosen;
    const CharSet wanted(FcCharSetCreate());
    const std::lock_guard lock(ConfigMutex());
    FcConfig* config = SharedConfig();
    if (wanted)
        for (char32_t character : characters)
            FcCharSetAddChar(wanted.get(), character);
    const Pattern pattern = wanted && config ? RequestPattern(request, wanted.get()) : nullptr;
    if (!pattern) {
        fonts.main.problem = "fontconfig could not be asked for a font";
        return fonts;
    }
    if (fonts.main.file.empty())
        fonts.main = MainFontFor(config, request);
    FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    // Sorted by coverage of the characters first, then by likeness; only TrueType files load.
    const FontSet sorted(FcFontSort(config, pattern.get(), FcFalse, nullptr, &result));
    FcCharSet* mainHas = sorted ? FindMain(sorted.get(), fonts.main) : nullptr;
    if (fonts.main.file.empty())
        fonts.main.problem = "no TrueType font is installed (fc-list lists the installed fonts)";
    if (mainHas)
        AddFallbacks(sorted.get(), CharSet(FcCharSetSubtract(wanted.get(), mainHas)), fonts);
    fonts.searchedAll = mainHas && fonts.fallbacks.size() < kMostFallbacks;
    return fonts;
}
