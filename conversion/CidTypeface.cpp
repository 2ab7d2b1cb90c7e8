#include "conversion/CidTypeface.h"

#include <array>

namespace {

constexpr std::array<CidTypeface, 11> kCidFonts = {{
    {"SimSun", CidLanguage::SimplifiedChinese},
    {"SimHei", CidLanguage::SimplifiedChinese},
    {"MingLiU", CidLanguage::TraditionalChinese},
    {"MS-Mincho", CidLanguage::Japanese},
    {"MS-Gothic", CidLanguage::Japanese},
    {"MS-PMincho", CidLanguage::Japanese},
    {"MS-PGothic", CidLanguage::Japanese},
    {"Batang", CidLanguage::Korean},
    {"Dotum", CidLanguage::Korean},
    {"BatangChe", CidLanguage::Korean},
    {"DotumChe", CidLanguage::Korean},
}};

constexpr int kLastGbEncoding = 1;
constexpr int kFirstKoreanEncoding = 11;

} // namespace

const CidTypeface* ChosenCidFont(const ConversionOptions& options)
{
    if (options.CIDFont < 0 || options.CIDFont >= int(kCidFonts.size()))
        return nullptr;
    return &kCidFonts[options.CIDFont];
}

int EffectiveMultiEncode(const ConversionOptions& options)
{
    const CidTypeface* font = options.PageFont == CidFont ? ChosenCidFont(options) : nullptr;
    if (font && font->language == CidLanguage::SimplifiedChinese && options.MultiEncode > kLastGbEncoding)
        return 0;
    if (font && font->language == CidLanguage::Korean && options.MultiEncode < kFirstKoreanEncoding)
        return kFirstKoreanEncoding;
    return options.MultiEncode;
}
