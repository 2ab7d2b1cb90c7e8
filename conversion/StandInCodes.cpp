#include "conversion/StandInCodes.h"

#include "conversion/LibharuPrivate.h"
#include "conversion/TrueTypeProgram.h"
#include "conversion/VisualOrder.h"
#include "platform/Utf8.h"

#include <fribidi/fribidi.h>

#include <algorithm>
#include <set>

namespace {

constexpr char32_t kFirstPrivate = 0xE000;
constexpr char32_t kLastPrivate = 0xF8FF;

// The characters beyond U+FFFF in `text`, those with a mirror image, and the private codes it
// uses itself.
struct Scan {
    std::set<char32_t> beyondBmp;
    std::set<char32_t> mirrorable;
    std::set<char32_t> privateCodes;
};

void ScanText(std::string_view text, Scan& scan)
{
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = std::max<std::size_t>(Utf8SequenceLength(text, pos), 1);
        const char32_t character = length > 1 ? DecodeUtf8(text, pos, length) : static_cast<unsigned char>(text[pos]);
        FriBidiChar image = 0;
        if (length == 4)
            scan.beyondBmp.insert(character);
        else if (character >= kFirstPrivate && character <= kLastPrivate)
            scan.privateCodes.insert(character);
        else if (fribidi_get_mirror_char(character, &image) && image <= 0xFFFF)
            scan.mirrorable.insert(character);
        pos += length;
    }
}

// Hands out the private codes from the top down that neither the text nor a font uses.
class PrivateCodes {
public:
    PrivateCodes(const std::set<char32_t>& inText, const std::vector<HPDF_Font>& fonts)
        : m_inText(inText), m_fonts(fonts)
    {
    }

    char16_t Next()
    {
        for (; m_next >= kFirstPrivate; --m_next) {
            const auto code = char16_t(m_next);
            const bool free = !m_inText.count(m_next) &&
                              std::none_of(m_fonts.begin(), m_fonts.end(),
                                           [code](HPDF_Font font) { return LibharuFont(font).CoversCode(code); });
            if (free)
                return char16_t(m_next--);
        }
        return 0;
    }

private:
    const std::set<char32_t>& m_inText;
    const std::vector<HPDF_Font>& m_fonts;
    char32_t m_next = kLastPrivate;
};

// Only a character beyond U+FFFF starts with a byte from 0xF0 up: most texts are passed over
// at the speed of memory.
bool HoldsBeyondBmp(std::string_view text)
{
    return std::any_of(text.begin(), text.end(), [](char byte) { return static_cast<unsigned char>(byte) >= 0xF0; });
}

} // namespace

std::size_t StandInCodes::Substitute(std::string& text) const
{
    if (!HoldsBeyondBmp(text))
        return 0;
    std::map<char32_t, char16_t> codeOf;
    for (const auto& [code, character] : characters)
        codeOf.emplace(character, code);
    return ReplaceBeyondBmp(text, [&codeOf](char32_t character) {
        const auto found = codeOf.find(character);
        return found != codeOf.end() ? found->second : char16_t(0xFFFD);
    });
}

// Gives each mirrorable character a stand-in drawn as its mirror image in every font that has
// the image.
void AddMirrorImages(const std::set<char32_t>& mirrorable, const std::vector<HPDF_Font>& fonts,
                     PrivateCodes& privateCodes, StandInCodes& standIns)
{
    for (char32_t character : mirrorable) {
        FriBidiChar image = 0;
        fribidi_get_mirror_char(character, &image);
        char16_t code = 0;
        for (HPDF_Font font : fonts) {
            const unsigned glyph = LibharuFont(font).GlyphOf(static_cast<char16_t>(image));
            code = glyph != 0 && code == 0 ? privateCodes.Next() : code;
            if (glyph != 0 && code != 0 && LibharuFont(font).AddCode(code, glyph))
                standIns.mirrored[character] = code;
        }
        if (standIns.mirrored.count(character))
            standIns.characters[standIns.mirrored[character]] = character;
    }
}

StandInCodes DrawBeyondBmp(std::string& text, const std::vector<HPDF_Font>& fonts, std::string_view alsoDrawn)
{
    StandInCodes standIns;
    const bool rightToLeft = HoldsRightToLeft(text) || HoldsRightToLeft(alsoDrawn);
    if (!HoldsBeyondBmp(text) && !HoldsBeyondBmp(alsoDrawn) && !rightToLeft)
        return standIns;
    Scan scan;
    ScanText(text, scan);
    ScanText(alsoDrawn, scan);
    std::vector<std::vector<HPDF_BYTE>> characterMaps;
    for (HPDF_Font font : fonts)
        characterMaps.push_back(LibharuFont(font).TableBytes("cmap"));
    PrivateCodes privateCodes(scan.privateCodes, fonts);
    std::map<char32_t, char16_t> codeOf;
    for (char32_t character : scan.beyondBmp) {
        char16_t code = 0;
        for (std::size_t index = 0; index < fonts.size(); ++index) {
            const unsigned glyph = GlyphBeyondBmp(characterMaps[index], character);
            code = glyph != 0 && code == 0 ? privateCodes.Next() : code;
            if (glyph != 0 && code != 0 && LibharuFont(fonts[index]).AddCode(code, glyph))
                codeOf[character] = code;
        }
        if (codeOf.count(character))
            standIns.characters[codeOf[character]] = character;
    }
    if (rightToLeft)
        AddMirrorImages(scan.mirrorable, fonts, privateCodes, standIns);
    std::string drawnBesides(alsoDrawn);
    standIns.withoutGlyph = standIns.Substitute(text) + standIns.Substitute(drawnBesides);
    return standIns;
}
