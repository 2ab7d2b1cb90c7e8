#include "conversion/PdfDocument.h"

#include "conversion/CidTypeface.h"
#include "conversion/ToUnicodeMap.h"
#include "conversion/LibharuPrivate.h"
#include "conversion/ObjectStreams.h"
#include "conversion/TrueTypeSubset.h"
#include "platform/Utf8.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <optional>
#include <tuple>
#include <utility>

namespace {

constexpr char kFontWarning[] = "Can not find right font, use default font.";
constexpr char kProducer[] = "Quillary 2.1";
// Pages are grouped in nodes of this many, so that a document may have any number of pages;
// a flat page tree stops at 32767.
constexpr HPDF_UINT kPagesPerNode = 1000;

// The fonts of the Base14 list, in its order, as the metric-compatible URW Type 1 fonts
// (fonts-urw-base35), which an archival PDF can embed where the Base14 fonts have no program.
constexpr char kUrwFolder[] = "/usr/share/fonts/type1/urw-base35/";
constexpr std::array<std::string_view, 14> kUrwBase14Files = {
    "NimbusMonoPS-Regular", "NimbusMonoPS-Bold", "NimbusMonoPS-Italic", "NimbusMonoPS-BoldItalic",
    "NimbusSans-Regular", "NimbusSans-Bold", "NimbusSans-Italic", "NimbusSans-BoldItalic",
    "NimbusRoman-Regular", "NimbusRoman-Bold", "NimbusRoman-Italic", "NimbusRoman-BoldItalic",
    "StandardSymbolsPS", "D050000L"};
constexpr int kHelvetica = 4;

template <std::size_t N>
const char* ListEntry(const std::array<std::string_view, N>& list, int index)
{
    return index >= 0 && index < int(N) ? list[index].data() : nullptr;
}

void UseCidSets(HPDF_Doc pdf, CidLanguage language)
{
    switch (language) {
    case CidLanguage::SimplifiedChinese:
        HPDF_UseCNSFonts(pdf);
        HPDF_UseCNSEncodings(pdf);
        break;
    case CidLanguage::TraditionalChinese:
        HPDF_UseCNTFonts(pdf);
        HPDF_UseCNTEncodings(pdf);
        break;
    case CidLanguage::Japanese:
        HPDF_UseJPFonts(pdf);
        HPDF_UseJPEncodings(pdf);
        break;
    case CidLanguage::Korean:
        HPDF_UseKRFonts(pdf);
        HPDF_UseKREncodings(pdf);
        break;
    }
}

bool EndsWithTtc(const std::string& path)
{
    if (path.size() < 3)
        return false;
    std::string tail = path.substr(path.size() - 3);
    std::transform(tail.begin(), tail.end(), tail.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return tail == "ttc";
}

std::string TrimTrailingBlanks(std::string text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.pop_back();
    return text;
}

const char* DescribeError(HPDF_STATUS code)
{
    switch (code) {
    case HPDF_INVALID_FONT_NAME: return "the font is unknown, or does not go with the encoding";
    case HPDF_INVALID_ENCODING_NAME: return "the encoding is unknown";
    case HPDF_FILE_OPEN_ERROR:
    case HPDF_FILE_IO_ERROR: return "the file cannot be opened or read";
    case HPDF_INVALID_AFM_HEADER:
    case HPDF_INVALID_CHAR_MATRICS_DATA:
    case HPDF_INVALID_WX_DATA:
    case HPDF_INVALID_FONTDEF_DATA:
    case HPDF_UNSUPPORTED_TYPE1_FONT: return "the file is not a usable Type 1 font";
    case HPDF_INVALID_TTC_FILE:
    case HPDF_INVALID_TTC_INDEX:
    case HPDF_TTF_CANNOT_EMBEDDING_FONT:
    case HPDF_TTF_INVALID_CMAP:
    case HPDF_TTF_INVALID_FOMAT:
    case HPDF_TTF_MISSING_TABLE: return "the file is not a usable TrueType font";
    case HPDF_PAGE_INVALID_SIZE: return "the page size is outside 3 to 14400 points";
    case HPDF_PAGE_INVALID_FONT_SIZE: return "the font size is out of range";
    case HPDF_ENCRYPT_INVALID_PASSWORD: return "the passwords are not valid";
    case HPDF_INVALID_ENCRYPT_KEY_LEN: return "the key length is not valid";
    case HPDF_FAILD_TO_ALLOC_MEM: return "out of memory";
    case HPDF_ARRAY_COUNT_ERR: return "too many items for the PDF library";
    case HPDF_STRING_OUT_OF_RANGE: return "a text is too long for the PDF library";
    default: return "the PDF library refused it";
    }
}

// A permission is granted by the option that reads "Yes" (0). All four at "Yes" give no mask:
// the library's default, everything permitted.
std::optional<HPDF_UINT> PermissionMask(const ConversionOptions& options)
{
    const std::pair<int, HPDF_UINT> permissions[] = {
        {options.PermitRead, HPDF_ENABLE_READ},
        {options.PermitPrint, HPDF_ENABLE_PRINT},
        {options.PermitCopy, HPDF_ENABLE_COPY},
        {options.PermitModify, HPDF_ENABLE_EDIT_ALL},
    };
    bool allPermitted = true;
    HPDF_UINT mask = 0;
    for (const auto& [option, flag] : permissions) {
        if (option == kYes)
            mask |= flag;
        else
            allPermitted = false;
    }
    return allPermitted ? std::nullopt : std::optional<HPDF_UINT>(mask);
}

// What tells one loaded font from another: the options that choose the font and its encoding.
std::string FontKey(const ConversionOptions& options)
{
    std::string key;
    for (int number : {options.PageFont, options.B14Font, options.EmbeddingFont, options.CIDFont,
                       options.SingeEncode, options.MultiEncode, options.TrueTypeFontIndex})
        key += std::to_string(number) + ',';
    for (const std::string* path : {&options.Type1MetricsFile, &options.Type1DataFile, &options.TrueTypeFile})
        key += *path + '\0';
    return key;
}

} // namespace

PdfDocument::PdfDocument() : m_pdf(HPDF_New(nullptr, nullptr)) {}

PdfDocument::~PdfDocument()
{
    if (m_pdf)
        HPDF_Free(m_pdf);
}

bool PdfDocument::Check(const std::string& step)
{
    if (!m_pdf)
        return Failed();
    const HPDF_STATUS code = HPDF_GetError(m_pdf);
    if (code != HPDF_OK && m_errorCode == HPDF_OK) {
        m_errorCode = code;
        m_failedStep = step;
    }
    return Failed();
}

std::string PdfDocument::FailureReason() const
{
    if (!m_rewriteFailure.empty())
        return m_rewriteFailure;
    if (!m_pages.FailureReason().empty())
        return m_pages.FailureReason();
    if (!Failed())
        return {};
    char code[16];
    std::snprintf(code, sizeof code, "0x%04X", static_cast<unsigned>(m_errorCode));
    return m_failedStep + " failed: " + DescribeError(m_errorCode) + " (PDF library error " + code + ").";
}

HPDF_Font PdfDocument::Open(const ConversionOptions& options, TextDrawing drawing, ConversionObserver& observer)
{
    SetUp(options);
    HPDF_Font& font = m_fonts[FontKey(options)];
    if (!font) {
        font = LoadFont(options, drawing);
        if (!font) {
            observer.Warn(kFontWarning);
            font = m_archival ? LoadArchivalBase14Font(kHelvetica, SingleByteEncodings[kWinAnsiEncoding].data())
                              : GetFont("Helvetica", "");
        }
    }
    m_charset = MultiByteCharset{};
    if (font)
        ReadCharset(font);
    return font;
}

// The library refuses the page configuration once a page exists.
void PdfDocument::SetUp(const ConversionOptions& options)
{
    if (std::exchange(m_setUp, true))
        return;
    m_archival = MakesArchivalPdf(options);
    if (m_archival) {
        m_marks.emplace();
        m_language = DocumentLanguage(options);
    }
    HPDF_SetPagesConfiguration(m_pdf, kPagesPerNode);
    HPDF_SetCompressionMode(m_pdf, HPDF_COMP_ALL);
    if (options.OpenMode >= 0 && options.OpenMode < int(OpenModeLabels.size()))
        HPDF_SetPageMode(m_pdf, static_cast<HPDF_PageMode>(options.OpenMode));
    Check("Setting up the document");
}

HPDF_Font PdfDocument::LoadFont(const ConversionOptions& options, TextDrawing drawing)
{
    // Auto, settled per file by its plan, starts from WinAnsi before any file is read.
    const int encoding = drawing == TextDrawing::WinAnsi ? kWinAnsiEncoding : options.SingeEncode;
    const char* singleByte = ListEntry(SingleByteEncodings, encoding);
    switch (options.PageFont) {
    case Base14Font: {
        const char* name = ListEntry(Base14FontNames, options.B14Font);
        if (!name || !singleByte)
            return nullptr;
        return m_archival ? LoadArchivalBase14Font(options.B14Font, singleByte) : GetFont(name, singleByte);
    }
    case Type1Font: {
        const char* data = options.Type1DataFile.empty() ? nullptr : options.Type1DataFile.c_str();
        const char* name = HPDF_LoadType1FontFromFile(m_pdf, options.Type1MetricsFile.c_str(), data);
        Check("Loading the Type 1 font \"" + options.Type1MetricsFile + "\"");
        return singleByte ? GetFont(name ? name : "", singleByte) : nullptr;
    }
    case TrueTypeFont:
        return singleByte ? LoadTrueTypeFont(options, drawing, singleByte) : nullptr;
    case CidFont:
        return LoadCidFont(options);
    default:
        return nullptr;
    }
}

HPDF_Font PdfDocument::LoadArchivalBase14Font(int base14Index, const char* encoding)
{
    const std::string base = kUrwFolder + std::string(kUrwBase14Files[std::size_t(base14Index)]);
    const char* name = HPDF_LoadType1FontFromFile(m_pdf, (base + ".afm").c_str(), (base + ".t1").c_str());
    Check("Loading \"" + base + ".t1\", the embeddable form of " + std::string(Base14FontNames[std::size_t(base14Index)]) +
          " (from the package fonts-urw-base35)");
    return name ? GetFont(name, encoding) : nullptr;
}

HPDF_Font PdfDocument::LoadTrueTypeFont(const ConversionOptions& options, TextDrawing drawing,
                                        const std::string& encoding)
{
    const std::string path = TrimTrailingBlanks(options.TrueTypeFile);
    // UTF-8 text is written as glyph numbers of this very font, which no other font shares, so
    // a reader can show it only with the font program in the PDF; an archival PDF carries
    // every font it uses.
    const bool utf8 = drawing == TextDrawing::Utf8;
    const HPDF_BOOL embed = options.EmbeddingFont == kYes || utf8 || m_archival ? HPDF_TRUE : HPDF_FALSE;
    const char* name = EndsWithTtc(path)
                           ? HPDF_LoadTTFontFromFile2(m_pdf, path.c_str(), HPDF_UINT(options.TrueTypeFontIndex), embed)
                           : HPDF_LoadTTFontFromFile(m_pdf, path.c_str(), embed);
    Check("Loading the TrueType font \"" + path + "\"");
    if (utf8)
        UseUtf8Encoder();
    return GetFont(name ? name : "", encoding);
}

HPDF_Font PdfDocument::LoadCidFont(const ConversionOptions& options)
{
    const CidTypeface* cid = ChosenCidFont(options);
    if (!cid)
        return nullptr;
    UseCidSets(m_pdf, cid->language);
    const char* encoding = ListEntry(MultiByteEncodings, EffectiveMultiEncode(options));
    return encoding ? GetFont(cid->libraryName, encoding) : nullptr;
}

HPDF_Font PdfDocument::GetFont(const std::string& fontName, const std::string& encodingName)
{
    HPDF_Font font = GetFontWithoutCodeMaps(m_pdf, fontName.c_str(), encodingName.empty() ? nullptr : encodingName.c_str());
    std::string step = "Getting the font \"" + fontName + "\"";
    if (!encodingName.empty())
        step += " with the encoding \"" + encodingName + "\"";
    Check(step);
    return font;
}

// The library knows which bytes lead a double-byte character of its encodings; asking it
// keeps our searches and its measurements in step.
void PdfDocument::ReadCharset(HPDF_Font font)
{
    const char* encodingName = HPDF_Font_GetEncodingName(font);
    if (encodingName && std::string_view(encodingName) == SingleByteEncodings[kUtf8Encoding]) {
        m_charset.SetUtf8();
        return;
    }
    HPDF_Encoder encoder = encodingName ? HPDF_GetEncoder(m_pdf, encodingName) : nullptr;
    if (!encoder || HPDF_Encoder_GetType(encoder) != HPDF_ENCODER_TYPE_DOUBLE_BYTE)
        return;
    for (int byte = 1; byte < 256; ++byte) {
        const char probe[3] = {char(byte), 'A', 0};
        if (HPDF_Encoder_GetByteType(encoder, probe, 0) == HPDF_BYTE_TYPE_LEAD)
            m_charset.SetLeadByte(static_cast<unsigned char>(byte));
    }
}

HPDF_Encoder PdfDocument::SingleByteEncoder(HPDF_Font font) const
{
    const char* encodingName = HPDF_Font_GetEncodingName(font);
    if (!encodingName || m_charset.IsUtf8())
        return nullptr;
    HPDF_Encoder encoder = HPDF_GetEncoder(m_pdf, encodingName);
    return encoder && HPDF_Encoder_GetType(encoder) == HPDF_ENCODER_TYPE_SINGLE_BYTE ? encoder : nullptr;
}

std::vector<HPDF_Font> PdfDocument::LoadFallbackFonts(const std::vector<SystemFont>& fonts)
{
    std::vector<HPDF_Font> loaded;
    for (const SystemFont& font : fonts) {
        const auto [known, added] = m_fallbackFonts.try_emplace(font.file + '\0' + std::to_string(font.index));
        if (added)
            known->second = LoadFallbackFont(font);
        if (known->second)
            loaded.push_back(known->second);
    }
    return loaded;
}

HPDF_Font PdfDocument::LoadFallbackFont(const SystemFont& font)
{
    const char* name = EndsWithTtc(font.file)
                           ? HPDF_LoadTTFontFromFile2(m_pdf, font.file.c_str(), HPDF_UINT(font.index), HPDF_TRUE)
                           : HPDF_LoadTTFontFromFile(m_pdf, font.file.c_str(), HPDF_TRUE);
    HPDF_Font loaded = name ? GetFontWithoutCodeMaps(m_pdf, name, SingleByteEncodings[kUtf8Encoding].data()) : nullptr;
    // A fallback is a help, not a need: its failure is forgotten, not the document's.
    if (HPDF_GetError(m_pdf) == HPDF_OK && loaded)
        return loaded;
    HPDF_ResetError(m_pdf);
    return nullptr;
}

void PdfDocument::AddDrawnCodes(HPDF_Font font, const std::vector<char16_t>& codes,
                                const std::map<char16_t, char32_t>& standIns)
{
    std::vector<char16_t>& drawn = m_drawnCodes[font];
    std::map<char16_t, char32_t>& standing = m_standIns[font];
    const std::size_t earlier = drawn.size();
    const std::size_t earlierStandIns = standing.size();
    standing.insert(standIns.begin(), standIns.end());
    drawn.insert(drawn.end(), codes.begin(), codes.end());
    std::inplace_merge(drawn.begin(), drawn.begin() + std::ptrdiff_t(earlier), drawn.end());
    drawn.erase(std::unique(drawn.begin(), drawn.end()), drawn.end());
    // Files of one document mostly draw what earlier ones drew: the map is made again only
    // when it grows.
    if (earlier == 0 || drawn.size() > earlier || standing.size() > earlierStandIns)
        ReplaceToUnicodeMap(font, drawn, standing);
}

bool PdfDocument::AddOutlineEntry(std::string title, HPDF_Page page, float pageHeight)
{
    // An ASCII title reads the same in PDFDocEncoding; any other goes out as UTF-16.
    const bool ascii = std::none_of(title.begin(), title.end(), [](char c) { return (c & 0x80) != 0; });
    if (!ascii)
        RepairUtf8(title);
    HPDF_Outline entry = HPDF_CreateOutline(m_pdf, nullptr, ascii ? title.c_str() : "", nullptr);
    if (entry && !ascii)
        LibharuDocument(m_pdf).SetTextString(entry, "Title", title);
    HPDF_Destination destination = entry ? HPDF_Page_CreateDestination(page) : nullptr;
    if (destination) {
        HPDF_Destination_SetFitH(destination, pageHeight);
        HPDF_Outline_SetDestination(entry, destination);
    }
    return !Check("Adding the outline entry \"" + title + "\"");
}

bool PdfDocument::FinishPage(HPDF_Page page)
{
    ++m_pageCount;
    if (!m_firstPage)
        m_firstPage = page;
    return m_pages.Compress(page);
}

// The library refuses a second registration of its encoders, and asking for one that is not
// registered puts the document in error, so whether it is registered is remembered here.
void PdfDocument::UseUtf8Encoder()
{
    if (!m_utf8Registered)
        HPDF_UseUTFEncodings(m_pdf);
    m_utf8Registered = true;
}

void PdfDocument::Finish(const ConversionOptions& options, const std::string& ownerPassword,
                         const std::string& userPassword)
{
    SetInformation(options);
    if (m_archival)
        AddArchivalParts(options);
    if (!ownerPassword.empty() && options.EncryptLevel >= kAes256Level)
        m_aes256 = Aes256Encryption{ownerPassword, userPassword, PermissionMask(options)};
    else if (!ownerPassword.empty())
        SetSecurity(options, ownerPassword, userPassword);
    for (const auto* fonts : {&m_fonts, &m_fallbackFonts})
        for (const auto& [key, font] : *fonts)
            if (font) {
                IncludeCompositeGlyphParts(font);
                TrimToUsedGlyphs(font);
            }
    if (!m_pages.Complete())
        return;
    HPDF_SaveToStream(m_pdf);
    Check("Making the PDF");
}

bool PdfDocument::WriteOut(const std::function<bool(std::string_view)>& write)
{
    if (!m_aes256 && !m_archival)
        return ReadOut(write);
    std::string plain;
    plain.reserve(HPDF_GetStreamSize(m_pdf));
    const auto keep = [&](std::string_view bytes) {
        plain.append(bytes);
        return true;
    };
    if (!ReadOut(keep))
        return false;
    // The document is not needed any more, and the re-write needs room of its own.
    HPDF_Free(m_pdf);
    m_pdf = nullptr;
    if (m_aes256)
        return WriteEncrypted(plain, *m_aes256, write, m_rewriteFailure);
    const auto structure = [this](std::size_t firstFree) {
        return StructureObjects(m_structureNumbers, m_marks->Structure(), firstFree);
    };
    return WriteWithObjectStreams(plain, write, m_rewriteFailure, structure);
}

bool PdfDocument::ReadOut(const std::function<bool(std::string_view)>& write)
{
    HPDF_ResetStream(m_pdf);
    std::array<HPDF_BYTE, 1 << 16> chunk;
    HPDF_STATUS status = HPDF_OK;
    while (status == HPDF_OK) {
        HPDF_UINT32 size = chunk.size();
        status = HPDF_ReadFromStream(m_pdf, chunk.data(), &size);
        if (!write({reinterpret_cast<const char*>(chunk.data()), size}))
            return false;
    }
    return status == HPDF_STREAM_EOF || !Check("Reading the finished PDF");
}

void PdfDocument::SetInformation(const ConversionOptions& options)
{
    const std::tuple<HPDF_InfoType, const char*, const std::string*> entries[] = {
        {HPDF_INFO_AUTHOR, "Author", &options.Author},       {HPDF_INFO_CREATOR, "Creator", &options.Creator},
        {HPDF_INFO_TITLE, "Title", &options.Title},          {HPDF_INFO_SUBJECT, "Subject", &options.Subject},
        {HPDF_INFO_KEYWORDS, "Keywords", &options.Keywords},
    };
    // Texts are UTF-8 on this platform, but a reader takes the bytes of an information entry
    // as PDFDocEncoding unless they are UTF-16 with a byte-order mark, which they become. ASCII
    // and texts that are not UTF-8 (an old Settings.ini in Latin-1) stay as they are.
    HPDF_SetInfoAttr(m_pdf, HPDF_INFO_PRODUCER, kProducer);
    const LibharuDocument document(m_pdf);
    for (const auto& [type, key, text] : entries) {
        if (HoldsMultiByteUtf8(*text) && document.Information())
            document.SetTextString(document.Information(), key, *text);
        else if (!text->empty())
            HPDF_SetInfoAttr(m_pdf, type, text->c_str());
    }
    Check("Setting the document information");
}

void PdfDocument::AddArchivalParts(const ConversionOptions& options)
{
    AddOutputIntent(m_pdf, kSrgbProfilePath);
    if (Check("Loading the sRGB colour profile \"" + std::string(kSrgbProfilePath) + "\" (from the package libgs-common)"))
        return;
    const ArchivalInformation information{options.Title,   options.Author,   options.Creator,
                                          options.Subject, options.Keywords, kProducer};
    m_structureNumbers = AddArchivalEntries(m_pdf, ArchivalFacts{m_marks->Structure(), m_language, information});
    Check("Writing the archival metadata and structure");
}

void PdfDocument::SetSecurity(const ConversionOptions& options, const std::string& ownerPassword,
                              const std::string& userPassword)
{
    HPDF_SetPassword(m_pdf, ownerPassword.c_str(), userPassword.c_str());
    Check("Setting the passwords");
    if (const auto mask = PermissionMask(options))
        HPDF_SetPermission(m_pdf, *mask);

    // Up to 40 bits the library's default stays (revision 2, 40 bits); from 128 bits up to the
    // AES-256 level the strongest key it offers is used.
    if (options.EncryptLevel >= 128)
        HPDF_SetEncryptionMode(m_pdf, HPDF_ENCRYPT_R3, 16);
    else if (options.EncryptLevel > 40)
        HPDF_SetEncryptionMode(m_pdf, HPDF_ENCRYPT_R3, static_cast<HPDF_UINT>(options.EncryptLevel / 8));
    Check("Setting the permissions and the key length");
}
