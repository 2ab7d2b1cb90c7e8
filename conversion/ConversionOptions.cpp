#include "conversion/ConversionOptions.h"

#include <algorithm>
#include <cstdlib>

const std::array<PaperSize, 37> kPaperSizes = {{
    {"Letter [8.5 x 11 in]", 612, 792},
    {"Legal [8.5 x 14 in]", 612, 1008},
    {"Executive [7.25 x 10.5 in]", 522, 756},
    {"Ledger [355.6 x 215.9 mm]", 1008, 612},
    {"Tabloid [11 x 17 in]", 792, 1224},
    {"Screen [10 x 7.5 in]", 720, 540},
    {"A3 [297 x 420 mm]", 842, 1190},
    {"A4 [210 x 297 mm]", 595, 842},
    {"A5 [148 x 210 mm]", 420, 595},
    {"Statement [5.5 x 8.5 in]", 396, 612},
    {"B4 [(JIS) 250 x 354 mm]", 709, 1001},
    {"B5 [(JIS) 182 x 257 mm]", 516, 729},
    {"A0 [841 x 1189 mm]", 2384, 3370},
    {"A1 [594 x 841 mm]", 1685, 2384},
    {"A2 [420 x 594 mm]", 1190, 1684},
    {"B0 [1000 x 1414 mm]", 2835, 4008},
    {"B1 [707 x 1000 mm]", 2004, 2835},
    {"B2 [500 x 707 mm]", 1417, 2004},
    {"B3 [354 x 500 mm]", 1003, 1417},
    {"ANSI C [17 x 22 in]", 1224, 1584},
    {"ANSI D [22 x 34 in]", 1584, 2448},
    {"ANSI E [34 x 44 in]", 2448, 3168},
    {"Folio [8.5 x 13 in]", 612, 936},
    {"Quarto [215 x 275 mm]", 610, 780},
    {"Envelope DL [110 x 220 mm]", 312, 624},
    {"Envelope C5 [162 x 229 mm]", 459, 649},
    {"Envelope C3 [324 x 458 mm]", 918, 1298},
    {"Envelope C4 [229 x 324 mm]", 649, 919},
    {"Envelope C6 [114 x 162 mm]", 323, 459},
    {"Envelope B4 [250 x 353 mm]", 709, 1001},
    {"Envelope B5 [176 x 250 mm]", 499, 709},
    {"Envelope B6 [176 x 125 mm]", 499, 354},
    {"Arch A [9 x 12 in]", 648, 864},
    {"Arch B [12 x 18 in]", 864, 1296},
    {"Arch C [18 x 24 in]", 1296, 1728},
    {"Arch D [24 x 36 in]", 1728, 2592},
    {"Arch E [36 x 48 in]", 2592, 3456},
}};

const std::array<std::string_view, 4> FontKindLabels = {
    "Base14 Font", "Type1 Font", "TrueType Font", "CID Font"};

const std::array<std::string_view, 14> Base14FontNames = {
    "Courier", "Courier-Bold", "Courier-Oblique", "Courier-BoldOblique",
    "Helvetica", "Helvetica-Bold", "Helvetica-Oblique", "Helvetica-BoldOblique",
    "Times-Roman", "Times-Bold", "Times-Italic", "Times-BoldItalic",
    "Symbol", "ZapfDingbats"};

const std::array<std::string_view, 11> CidFontLabels = {
    "SimSun(Simplified Chinese Fonts)", "SimHei(Simplified Chinese Fonts)",
    "MingLiU(Traditional Chinese Fonts)", "MS-Mincyo(Japanese Fonts)",
    "MS-Gothic(Japanese Fonts)", "MS-PMincyo(Japanese Fonts)", "MS-PGothic(Japanese Fonts)",
    "Batang(Korean Fonts)", "Dotum(Korean Fonts)", "BatangChe(Korean Fonts)",
    "DotumChe(Korean Fonts)"};

const std::array<std::string_view, 30> SingleByteEncodings = {
    "StandardEncoding", "MacRomanEncoding", "WinAnsiEncoding", "FontSpecific",
    "ISO8859-2", "ISO8859-3", "ISO8859-4", "ISO8859-5", "ISO8859-6", "ISO8859-7",
    "ISO8859-8", "ISO8859-9", "ISO8859-10", "ISO8859-11", "ISO8859-13", "ISO8859-14",
    "ISO8859-15", "ISO8859-16", "CP1250", "CP1251", "CP1252", "CP1253", "CP1254",
    "CP1255", "CP1256", "CP1257", "CP1258", "KOI8-R", "UTF-8", "Auto"};

const std::array<std::string_view, 16> MultiByteEncodings = {
    "GB-EUC-H", "GB-EUC-V", "GBK-EUC-H", "GBK-EUC-V", "ETen-B5-H", "ETen-B5-V",
    "90ms-RKSJ-H", "90ms-RKSJ-V", "90msp-RKSJ-H", "EUC-H", "EUC-V", "KSC-EUC-H",
    "KSC-EUC-V", "KSCms-UHC-H", "KSCms-UHC-HW-H", "KSCms-UHC-HW-V"};

const std::array<std::string_view, 4> OpenModeLabels = {
    "None", "Bookmarks", "Thumbnails", "Full screen"};

const std::array<std::string_view, 2> YesNoLabels = {"Yes", "No"};

const std::array<std::string_view, 2> FormFeedLabels = {"Drawn as a character", "Ends the page"};

const std::array<std::string_view, 2> OnOffLabels = {"Off", "On"};
const std::array<std::string_view, 2> ArchiveLabels = {"Off", "PDF/A-2u, tagged"};

std::string_view PaperSizeLabel(int index)
{
    if (index >= 0 && index < int(kPaperSizes.size()))
        return kPaperSizes[index].label;
    return index == kCustomPageSize ? "Custom Page Size" : "";
}

void LookupPaperSize(int index, int& width, int& height)
{
    if (index < 0 || index >= int(kPaperSizes.size()))
        return;
    width = kPaperSizes[index].width;
    height = kPaperSizes[index].height;
}

void ResetOptionsToDefaults(ConversionOptions& options)
{
    options = ConversionOptions{};
}

int BodyFontSize(const ConversionOptions& options)
{
    return options.FontSize != 0 ? options.FontSize : kFontSizeForZero;
}

bool ReadsEachFileAsDetected(const ConversionOptions& options)
{
    return options.PageFont != CidFont && options.SingeEncode == kAutoEncoding;
}

bool MakesArchivalPdf(const ConversionOptions& options)
{
    return options.Archive == kArchivePdfA;
}

namespace {

bool IsAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsAsciiAlphanumeric(char c)
{
    return IsAsciiLetter(c) || (c >= '0' && c <= '9');
}

// "de_DE.UTF-8@euro" gives "de-DE"; "C", "POSIX" and an empty locale give nothing.
std::string LanguageOfLocale(std::string_view locale)
{
    locale = locale.substr(0, locale.find_first_of(".@"));
    if (locale == "POSIX")
        return {};
    std::string tag(locale);
    std::replace(tag.begin(), tag.end(), '_', '-');
    return IsLanguageTag(tag) ? tag : std::string();
}

} // namespace

std::string DocumentLanguage(const ConversionOptions& options)
{
    if (!options.Language.empty())
        return options.Language;
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value)
            if (std::string tag = LanguageOfLocale(value); !tag.empty())
                return tag;
    }
    return "en-US";
}

bool IsLanguageTag(std::string_view tag)
{
    std::size_t start = 0;
    for (int index = 0; start <= tag.size(); ++index) {
        const std::size_t end = std::min(tag.find('-', start), tag.size());
        const std::string_view subtag = tag.substr(start, end - start);
        const bool fits = index == 0 ? subtag.size() >= 2 && subtag.size() <= 8 &&
                                           std::all_of(subtag.begin(), subtag.end(), IsAsciiLetter)
                                     : !subtag.empty() && subtag.size() <= 8 &&
                                           std::all_of(subtag.begin(), subtag.end(), IsAsciiAlphanumeric);
        if (!fits)
            return false;
        start = end + 1;
    }
    return true;
}
