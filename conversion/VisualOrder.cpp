#include "conversion/VisualOrder.h"

#include "platform/Utf8.h"

#include <fribidi/fribidi.h>

#include <algorithm>
#include <vector>

namespace {

// Every right-to-left character lies at U+0590 or above, whose UTF-8 lead byte is 0xD6 or more.
constexpr unsigned char kFirstRightToLeftLead = 0xD6;
constexpr FriBidiChar kLigatureFiller = 0xFEFF;
constexpr FriBidiChar kRightToLeftMark = 0x200F;

std::vector<FriBidiChar> Decoded(std::string_view line)
{
    std::vector<FriBidiChar> characters;
    characters.reserve(line.size());
    for (std::size_t pos = 0; pos < line.size();) {
        const std::size_t length = std::max<std::size_t>(Utf8SequenceLength(line, pos), 1);
        characters.push_back(length > 1 ? DecodeUtf8(line, pos, length) : static_cast<unsigned char>(line[pos]));
        pos += length;
    }
    return characters;
}

// `drawn` with each stand-in replaced by the character it stands for.
std::vector<FriBidiChar> StoodFor(std::vector<FriBidiChar> drawn, const std::map<char16_t, char32_t>& standIns)
{
    if (standIns.empty())
        return drawn;
    for (FriBidiChar& c : drawn) {
        const auto found = c <= 0xFFFF ? standIns.find(static_cast<char16_t>(c)) : standIns.end();
        if (found != standIns.end())
            c = found->second;
    }
    return drawn;
}

void AppendUtf8(std::string& out, FriBidiChar c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// The line's characters in visual order, with Arabic joined; `visualPosition` gets where each
// character went. Fonts of right-to-left scripts draw a zero-width mark (a Hebrew point, an Arabic
// vowel sign) over the letter that stands at the same pen position, so a mark is left where the
// reversal puts it, left of its letter, instead of after it as the default flags would move it.
// False when the algorithm fails.
bool VisualOf(const std::vector<FriBidiChar>& logical, std::vector<FriBidiChar>& visual,
              std::vector<FriBidiStrIndex>& visualPosition)
{
    constexpr FriBidiFlags kFlags = FRIBIDI_FLAG_SHAPE_MIRRORING | FRIBIDI_FLAGS_ARABIC;
    const auto length = static_cast<FriBidiStrIndex>(logical.size());
    std::vector<FriBidiCharType> types(logical.size());
    std::vector<FriBidiBracketType> brackets(logical.size());
    std::vector<FriBidiLevel> levels(logical.size());
    std::vector<FriBidiArabicProp> joining(logical.size());
    std::vector<FriBidiStrIndex> logicalAt(logical.size());
    FriBidiParType direction = FRIBIDI_PAR_ON;
    fribidi_get_bidi_types(logical.data(), length, types.data());
    fribidi_get_bracket_types(logical.data(), length, types.data(), brackets.data());
    if (fribidi_get_par_embedding_levels_ex(types.data(), brackets.data(), length, &direction, levels.data()) == 0)
        return false;
    visual = logical;
    fribidi_get_joining_types(logical.data(), length, joining.data());
    fribidi_join_arabic(types.data(), length, levels.data(), joining.data());
    fribidi_shape(kFlags, levels.data(), length, joining.data(), visual.data());
    for (FriBidiStrIndex i = 0; i < length; ++i)
        logicalAt[static_cast<std::size_t>(i)] = i;
    if (fribidi_reorder_line(kFlags, types.data(), length, 0, direction, levels.data(), visual.data(),
                             logicalAt.data()) == 0)
        return false;
    visualPosition.resize(logical.size());
    for (FriBidiStrIndex v = 0; v < length; ++v)
        visualPosition[static_cast<std::size_t>(logicalAt[static_cast<std::size_t>(v)])] = v;
    return true;
}

// The spaces a tab became in a right-to-left line are followed by a right-to-left mark
// (TabStops.h): all but the first are left out of the pieces, so that where the tab was the text
// reads one space, as a reader of the page's glyphs reads the gap; what follows still stands where
// the visual line has it.
std::vector<bool> TabSpacesLeftOut(const std::vector<FriBidiChar>& logical)
{
    std::vector<bool> leftOut(logical.size());
    for (std::size_t mark = 0; mark < logical.size(); ++mark) {
        if (logical[mark] != kRightToLeftMark)
            continue;
        std::size_t first = mark;
        while (first > 0 && logical[first - 1] == ' ')
            --first;
        for (std::size_t space = first + 1; space < mark; ++space)
            leftOut[space] = true;
    }
    return leftOut;
}

} // namespace

bool StartsRightToLeft(std::string_view line)
{
    for (const FriBidiChar c : Decoded(line)) {
        const FriBidiCharType type = fribidi_get_bidi_type(c);
        if (FRIBIDI_IS_LETTER(type))
            return FRIBIDI_IS_RTL(type) != 0;
    }
    return false;
}

bool IsDirectionControl(char32_t c)
{
    return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

bool IsRightToLeftMark(char32_t c)
{
    // Hebrew, Arabic, Syriac, Thaana, N'Ko, Samaritan and Mandaic, and the Hebrew presentation
    // forms' point.
    const bool rightToLeftBlock = (c >= 0x0591 && c <= 0x08FF) || c == 0xFB1E;
    return rightToLeftBlock && fribidi_get_bidi_type(c) == FRIBIDI_TYPE_NSM;
}

void RemoveDirectionControls(std::string& line)
{
    // Every direction control lies at U+061C or above, whose UTF-8 lead byte is 0xD8 or more.
    const bool mayHold = std::any_of(line.begin(), line.end(), [](char byte) { return static_cast<unsigned char>(byte) >= 0xD8; });
    if (!mayHold)
        return;
    std::size_t kept = 0;
    for (std::size_t pos = 0; pos < line.size();) {
        const std::size_t length = std::max<std::size_t>(Utf8SequenceLength(line, pos), 1);
        if (length == 1 || !IsDirectionControl(DecodeUtf8(line, pos, length))) {
            std::char_traits<char>::move(line.data() + kept, line.data() + pos, length);
            kept += length;
        }
        pos += length;
    }
    line.resize(kept);
}

bool HoldsRightToLeft(std::string_view line, const std::map<char16_t, char32_t>& standIns)
{
    const bool mayHold = std::any_of(line.begin(), line.end(), [](char byte) {
        return static_cast<unsigned char>(byte) >= kFirstRightToLeftLead;
    });
    if (!mayHold)
        return false;
    const std::vector<FriBidiChar> characters = StoodFor(Decoded(line), standIns);
    return std::any_of(characters.begin(), characters.end(),
                       [](FriBidiChar c) { return FRIBIDI_IS_RTL(fribidi_get_bidi_type(c)) != 0; });
}

std::string VisualOrder(std::string_view line, const std::map<char16_t, char32_t>& standIns,
                        const std::map<char32_t, char16_t>& mirrored)
{
    return Reordered(line, standIns, mirrored).visual;
}

ReorderedLine Reordered(std::string_view line, const std::map<char16_t, char32_t>& standIns,
                        const std::map<char32_t, char16_t>& mirrored)
{
    const std::vector<FriBidiChar> drawn = Decoded(line);
    const std::vector<FriBidiChar> logical = StoodFor(drawn, standIns);
    std::vector<FriBidiChar> visual;
    std::vector<FriBidiStrIndex> visualPosition;
    if (!VisualOf(logical, visual, visualPosition))
        return {std::string(line), {{std::string(line), 0}}};
    // The order is that of the characters stood for; what is drawn is still the stand-in.
    for (std::size_t l = 0; l < drawn.size(); ++l) {
        FriBidiChar& shown = visual[static_cast<std::size_t>(visualPosition[l])];
        FriBidiChar image = 0;
        const auto mirror = mirrored.find(logical[l]);
        if (drawn[l] != logical[l])
            shown = drawn[l];
        else if (mirror != mirrored.end() && fribidi_get_mirror_char(logical[l], &image) && shown == image)
            shown = mirror->second;
    }
    for (std::size_t l = 0; l < logical.size(); ++l) {
        if (IsDirectionControl(logical[l]))
            visual[static_cast<std::size_t>(visualPosition[l])] = kLigatureFiller;
    }
    // Shaping leaves a zero-width filler where a ligature took two letters, and the direction
    // controls are taken in by the reordering: neither is drawn, and the characters right of
    // them move one place left.
    std::vector<std::size_t> drawnPosition(visual.size());
    ReorderedLine reordered;
    reordered.visual.reserve(line.size());
    std::size_t drawnCount = 0;
    for (std::size_t v = 0; v < visual.size(); ++v) {
        drawnPosition[v] = drawnCount;
        if (visual[v] != kLigatureFiller) {
            AppendUtf8(reordered.visual, visual[v]);
            ++drawnCount;
        }
    }
    const std::vector<bool> leftOut = TabSpacesLeftOut(logical);
    std::size_t nextPosition = 0; // right of the last character of the open piece
    for (std::size_t l = 0; l < visualPosition.size(); ++l) {
        const FriBidiStrIndex v = visualPosition[l];
        if (visual[v] == kLigatureFiller || leftOut[l])
            continue;
        if (reordered.pieces.empty() || drawnPosition[v] != nextPosition)
            reordered.pieces.push_back({{}, drawnPosition[v]});
        AppendUtf8(reordered.pieces.back().text, visual[v]);
        nextPosition = drawnPosition[v] + 1;
    }
    return reordered;
}
