#include "support/PdfInspector.h"

#include <qpdf/Buffer.hh>
#include <qpdf/Pl_Discard.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFOutlineDocumentHelper.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

// Follows the text operators the converter writes: Td moves the line start, TL sets the text
// leading, ' moves down by it and shows text, Tj shows text, T* alone moves down by it and
// stands for an empty line.
class TextCollector : public QPDFObjectHandle::ParserCallbacks {
public:
    explicit TextCollector(std::vector<PdfTextLine>& lines) : m_lines(lines) {}

    void handleObject(QPDFObjectHandle object) override
    {
        if (!object.isOperator()) {
            m_operands.push_back(object);
            return;
        }
        const std::string op = object.getOperatorValue();
        if (op == "BT") {
            m_x = m_y = 0;
        } else if (op == "Td" && m_operands.size() == 2) {
            m_x += m_operands[0].getNumericValue();
            m_y += m_operands[1].getNumericValue();
        } else if (op == "Tf" && m_operands.size() == 2) {
            m_font = m_operands[0].getName();
        } else if (op == "TL" && m_operands.size() == 1) {
            m_leading = m_operands[0].getNumericValue();
        } else if (op == "'" && m_operands.size() == 1) {
            m_y -= m_leading;
            m_lines.push_back({m_x, m_y, m_operands[0].getStringValue(), m_font});
        } else if (op == "Tj" && m_operands.size() == 1) {
            m_lines.push_back({m_x, m_y, m_operands[0].getStringValue(), m_font});
        } else if (op == "T*") {
            // An empty line is written as a bare move to the next line.
            m_y -= m_leading;
            m_lines.push_back({m_x, m_y, "", m_font});
        }
        m_operands.clear();
    }
    void handleEOF() override {}

private:
    std::vector<PdfTextLine>& m_lines;
    std::vector<QPDFObjectHandle> m_operands;
    double m_x = 0;
    double m_y = 0;
    double m_leading = 0; // kept across text objects, as a reader keeps it
    std::string m_font;
};

PdfPage ReadPage(QPDFPageObjectHelper& page)
{
    PdfPage facts;
    QPDFObjectHandle::Rectangle box = page.getAttribute("/MediaBox", false).getArrayAsRectangle();
    facts.width = box.urx - box.llx;
    facts.height = box.ury - box.lly;
    TextCollector collector(facts.lines);
    page.parseContents(&collector);
    return facts;
}

// The font program a font embeds; null when it embeds none.
QPDFObjectHandle FontFile(QPDFObjectHandle font)
{
    QPDFObjectHandle descriptor = font.getKey("/FontDescriptor");
    if (!descriptor.isDictionary())
        return QPDFObjectHandle::newNull();
    for (const char* key : {"/FontFile", "/FontFile2", "/FontFile3"})
        if (descriptor.getKey(key).isStream())
            return descriptor.getKey(key);
    return QPDFObjectHandle::newNull();
}

std::size_t StoredBytes(QPDFObjectHandle stream)
{
    return stream.isStream() ? stream.getRawStreamData()->getSize() : 0;
}

std::vector<PdfFontFacts> ReadFonts(QPDFPageObjectHelper& page)
{
    std::vector<PdfFontFacts> fonts;
    QPDFObjectHandle resources = page.getAttribute("/Resources", false);
    QPDFObjectHandle fontDictionary = resources.isDictionary() ? resources.getKey("/Font") : QPDFObjectHandle();
    if (!fontDictionary.isDictionary())
        return fonts;
    for (const std::string& key : fontDictionary.getKeys()) {
        QPDFObjectHandle font = fontDictionary.getKey(key);
        PdfFontFacts facts;
        facts.name = key;
        facts.baseFont = font.getKey("/BaseFont").getName();
        facts.subtype = font.getKey("/Subtype").getName();
        if (font.getKey("/Encoding").isName())
            facts.encoding = font.getKey("/Encoding").getName();
        // A composite font keeps its program and its map of codes to glyphs in its descendant.
        QPDFObjectHandle glyphs =
            facts.subtype == "/Type0" ? font.getKey("/DescendantFonts").getArrayItem(0) : font;
        facts.embedded = FontFile(glyphs).isStream();
        facts.storedBytes = StoredBytes(FontFile(glyphs)) + StoredBytes(glyphs.getKey("/CIDToGIDMap"));
        if (glyphs.getKey("/CIDToGIDMap").isStream()) {
            const auto map = glyphs.getKey("/CIDToGIDMap").getStreamData();
            facts.codeToGlyph.assign(reinterpret_cast<const char*>(map->getBuffer()), map->getSize());
        }
        facts.toUnicode = font.hasKey("/ToUnicode");
        fonts.push_back(facts);
    }
    return fonts;
}

void ReadEncryption(QPDF& pdf, PdfFacts& facts)
{
    int revision = 0;
    int permissions = 0;
    facts.encrypted = pdf.isEncrypted(revision, permissions);
    if (!facts.encrypted)
        return;
    facts.revision = revision;
    facts.permissions = permissions;
    QPDFObjectHandle encrypt = pdf.getTrailer().getKey("/Encrypt");
    facts.keyBits = encrypt.getKey("/Length").isInteger() ? encrypt.getKey("/Length").getIntValueAsInt() : 40;
    QPDFObjectHandle filters = encrypt.getKey("/CF");
    QPDFObjectHandle standard = filters.isDictionary() ? filters.getKey("/StdCF") : QPDFObjectHandle();
    if (standard.isDictionary() && standard.getKey("/CFM").isName())
        facts.cipher = standard.getKey("/CFM").getName();
    facts.allowed = {pdf.allowPrintLowRes(),   pdf.allowPrintHighRes(),     pdf.allowExtractAll(),
                     pdf.allowModifyOther(),   pdf.allowModifyAnnotation(), pdf.allowModifyForm(),
                     pdf.allowModifyAssembly(), pdf.allowAccessibility()};
    facts.ownerPasswordMatched = pdf.ownerPasswordMatched();
    facts.userPasswordMatched = pdf.userPasswordMatched();
}

} // namespace

std::size_t CodesShownAsMissingGlyphs(const PdfFacts& pdf)
{
    std::size_t missing = 0;
    for (const PdfFontFacts& font : pdf.fonts) {
        if (font.subtype != "/Type0")
            continue;
        for (const PdfTextLine& line : pdf.pages.at(0).lines) {
            for (std::size_t at = 0; line.font == font.name && at + 1 < line.text.size(); at += 2) {
                const std::size_t code = std::size_t(static_cast<unsigned char>(line.text[at])) << 8 |
                                         static_cast<unsigned char>(line.text[at + 1]);
                const bool mapped = 2 * code + 1 < font.codeToGlyph.size() &&
                                    (font.codeToGlyph[2 * code] != 0 || font.codeToGlyph[2 * code + 1] != 0);
                missing += mapped ? 0 : 1;
            }
        }
    }
    return missing;
}

std::vector<std::string> PdfFacts::AllLineTexts() const
{
    std::vector<std::string> texts;
    for (const PdfPage& page : pages)
        for (const PdfTextLine& line : page.lines)
            texts.push_back(line.text);
    return texts;
}

namespace {

std::vector<PdfOutlineEntry> ReadOutline(QPDF& pdf)
{
    std::vector<QPDFObjGen> pages;
    for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(pdf).getAllPages())
        pages.push_back(page.getObjectHandle().getObjGen());
    std::vector<PdfOutlineEntry> outline;
    QPDFOutlineDocumentHelper outlines(pdf);
    for (QPDFOutlineObjectHelper& entry : outlines.getTopLevelOutlines()) {
        PdfOutlineEntry read;
        read.title = entry.getTitle();
        QPDFObjectHandle destination = entry.getDest();
        const auto found = std::find(pages.begin(), pages.end(), entry.getDestPage().getObjGen());
        read.page = found == pages.end() ? 0 : int(found - pages.begin()) + 1;
        if (destination.isArray() && destination.getArrayNItems() > 1 && destination.getArrayItem(1).isName())
            read.fit = destination.getArrayItem(1).getName();
        read.kids = entry.getKids().size();
        outline.push_back(read);
    }
    return outline;
}

} // namespace

PdfFacts InspectPdf(const std::string& path, const std::string& password)
{
    QPDF pdf;
    pdf.processFile(path.c_str(), password.empty() ? nullptr : password.c_str());
    PdfFacts facts;
    for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(pdf).getAllPages()) {
        if (facts.pages.empty())
            facts.fonts = ReadFonts(page);
        facts.pages.push_back(ReadPage(page));
    }
    QPDFObjectHandle pageMode = pdf.getRoot().getKey("/PageMode");
    if (pageMode.isName())
        facts.pageMode = pageMode.getName();
    facts.outline = ReadOutline(pdf);
    QPDFObjectHandle info = pdf.getTrailer().getKey("/Info");
    if (info.isDictionary())
        for (const std::string& key : info.getKeys()) {
            facts.info[key] = info.getKey(key).getStringValue();
            facts.infoText[key] = info.getKey(key).getUTF8Value();
        }
    ReadEncryption(pdf, facts);
    return facts;
}

namespace {

std::string Quoted(const std::string& path)
{
    std::string quoted = "'";
    for (char c : path)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string OutputOf(const std::string& command)
{
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        throw std::runtime_error("cannot run " + command);
    std::string output;
    std::array<char, 1 << 16> chunk;
    for (std::size_t got; (got = fread(chunk.data(), 1, chunk.size(), pipe)) > 0;)
        output.append(chunk.data(), got);
    if (pclose(pipe) != 0)
        throw std::runtime_error("failed: " + command);
    return output;
}

} // namespace

std::string ExtractPdfText(const std::string& path)
{
    return OutputOf("pdftotext -q " + Quoted(path) + " -");
}

std::string ExtractPdfTextTrimmed(const std::string& path)
{
    std::string text = ExtractPdfText(path);
    text.erase(text.find_last_not_of("\n\f") + 1);
    return text;
}

std::string ExtractPdfTextInDrawnOrder(const std::string& path)
{
    std::string text = OutputOf("pdftotext -q -raw " + Quoted(path) + " -");
    // U+202A to U+202E, three bytes each.
    for (std::size_t at = 0; (at = text.find("\xE2\x80", at)) != std::string::npos;) {
        const unsigned char last = at + 2 < text.size() ? static_cast<unsigned char>(text[at + 2]) : 0;
        if (last >= 0xAA && last <= 0xAE)
            text.erase(at, 3);
        else
            at += 2;
    }
    text.erase(text.find_last_not_of("\n\f") + 1);
    return text;
}

std::vector<std::string> ExtractPdfPageTexts(const std::string& path)
{
    std::vector<std::string> pages;
    const std::string text = ExtractPdfText(path);
    for (std::size_t start = 0, end; (end = text.find('\f', start)) != std::string::npos; start = end + 1)
        pages.push_back(text.substr(start, end - start));
    return pages;
}

std::string QpdfWarnings(const std::string& path)
{
    QPDF pdf;
    pdf.setSuppressWarnings(true);
    pdf.processFile(path.c_str());
    Pl_Discard discard;
    for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(pdf).getAllPages())
        page.pipeContents(&discard);
    std::string warnings;
    for (const QPDFExc& warning : pdf.getWarnings())
        warnings += warning.what() + std::string("\n");
    return warnings;
}

std::string PdfReaderWarnings(const std::string& path)
{
    return OutputOf("pdftotext " + Quoted(path) + " /dev/null 2>&1");
}

std::size_t DarkPixelsOfFirstPage(const std::string& path)
{
    // A binary PGM: "P5", width, height and the largest value, each followed by white space,
    // then one byte per pixel.
    const std::string root = path + ".page";
    OutputOf("pdftoppm -q -gray -r 100 -f 1 -l 1 -singlefile " + Quoted(path) + " " + Quoted(root));
    std::ifstream file(root + ".pgm", std::ios::binary);
    const std::string image{std::istreambuf_iterator<char>(file), {}};
    file.close();
    std::remove((root + ".pgm").c_str());
    std::size_t at = 0;
    for (int field = 0; field < 4; ++field) {
        at = image.find_first_of(" \n", at);
        if (at == std::string::npos)
            throw std::runtime_error("pdftoppm gave no image");
        ++at;
    }
    std::size_t dark = 0;
    for (; at < image.size(); ++at)
        dark += static_cast<unsigned char>(image[at]) < 128;
    return dark;
}
