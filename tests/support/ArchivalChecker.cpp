#include "support/ArchivalChecker.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <map>
#include <optional>

namespace {

using Object = QPDFObjectHandle;

// --- Type 1 font programs: the advance widths their charstrings give -------------------------

std::string Decrypt(std::string_view bytes, unsigned short key, std::size_t skip)
{
    std::string plain;
    for (const unsigned char cipher : bytes) {
        plain += char(cipher ^ (key >> 8));
        key = static_cast<unsigned short>((cipher + key) * 52845u + 22719u);
    }
    return plain.size() > skip ? plain.substr(skip) : std::string();
}

// The width an hsbw at the start of the decrypted charstring sets.
std::optional<int> CharstringWidth(std::string_view program)
{
    std::vector<int> operands;
    for (std::size_t i = 0; i < program.size(); ++i) {
        const int v = static_cast<unsigned char>(program[i]);
        if (v >= 32 && v <= 246) {
            operands.push_back(v - 139);
        } else if (v >= 247 && v <= 254 && i + 1 < program.size()) {
            const int w = static_cast<unsigned char>(program[++i]);
            operands.push_back(v <= 250 ? (v - 247) * 256 + w + 108 : -(v - 251) * 256 - w - 108);
        } else if (v == 255 && i + 4 < program.size()) {
            int value = 0;
            for (int b = 0; b < 4; ++b)
                value = value * 256 + static_cast<unsigned char>(program[++i]);
            operands.push_back(value);
        } else {
            return v == 13 && operands.size() == 2 ? std::optional<int>(operands[1]) : std::nullopt;
        }
    }
    return std::nullopt;
}

// Glyph name to width, from the encrypted part of a Type 1 font program.
std::map<std::string, int> ProgramWidths(Object fontFile)
{
    const auto data = fontFile.getStreamData(qpdf_dl_generalized);
    const std::string bytes(reinterpret_cast<const char*>(data->getBuffer()), data->getSize());
    const auto clear = static_cast<std::size_t>(fontFile.getDict().getKey("/Length1").getIntValue());
    const std::string privatePart = Decrypt(std::string_view(bytes).substr(std::min(clear, bytes.size())), 55665, 4);
    std::map<std::string, int> widths;
    std::size_t pos = privatePart.find("/CharStrings");
    while (pos != std::string::npos && (pos = privatePart.find('/', pos + 1)) != std::string::npos) {
        const std::size_t nameEnd = privatePart.find(' ', pos);
        if (nameEnd == std::string::npos)
            break;
        const std::string name = privatePart.substr(pos + 1, nameEnd - pos - 1);
        // After the last charstring the font's closing code names other things.
        int length = 0;
        const char* number = privatePart.data() + nameEnd + 1;
        const auto [lengthEnd, error] = std::from_chars(number, privatePart.data() + privatePart.size(), length);
        const std::size_t start = privatePart.find(' ', std::size_t(lengthEnd - privatePart.data()) + 1) + 1;
        if (error != std::errc() || start == 0 || start + std::size_t(length) > privatePart.size())
            break;
        if (auto width = CharstringWidth(Decrypt(std::string_view(privatePart).substr(start, std::size_t(length)), 4330, 4)))
            widths[name] = *width;
        pos = start + std::size_t(length);
    }
    return widths;
}

bool LetterWidthsMatchProgram(Object font, Object descriptor)
{
    Object file = descriptor.getKey("/FontFile");
    Object widths = font.getKey("/Widths");
    if (!file.isStream() || !widths.isArray())
        return false;
    const std::map<std::string, int> program = ProgramWidths(file);
    const long long first = font.getKey("/FirstChar").getIntValue();
    for (const char* range : {"AZ", "az"}) {
        for (char letter = range[0]; letter <= range[1]; ++letter) {
            const int index = int(letter - first);
            const auto found = program.find(std::string(1, letter));
            if (index < 0 || index >= widths.getArrayNItems() || found == program.end() ||
                widths.getArrayItem(index).getNumericValue() != found->second)
                return false;
        }
    }
    return true;
}

// --- TrueType font programs of composite fonts: the advances of their glyphs -----------------

unsigned U16(std::string_view bytes, std::size_t at)
{
    return at + 2 <= bytes.size() ? unsigned(static_cast<unsigned char>(bytes[at])) << 8 | static_cast<unsigned char>(bytes[at + 1]) : 0;
}

std::uint32_t U32(std::string_view bytes, std::size_t at)
{
    return std::uint32_t(U16(bytes, at)) << 16 | U16(bytes, at + 2);
}

// The table `tag` of a TrueType font program; empty when there is none.
std::string_view TrueTypeTable(std::string_view program, std::string_view tag)
{
    for (std::size_t record = 12; record + 16 <= program.size() && record < 12 + U16(program, 4) * 16; record += 16) {
        const std::size_t offset = U32(program, record + 8);
        const std::size_t length = U32(program, record + 12);
        if (program.substr(record, 4) == tag && offset <= program.size() && length <= program.size() - offset)
            return program.substr(offset, length);
    }
    return {};
}

std::string StreamBytes(Object stream)
{
    const auto data = stream.getStreamData(qpdf_dl_generalized);
    return {reinterpret_cast<const char*>(data->getBuffer()), data->getSize()};
}

// The advance of `glyph` in thousandths of the em, from the program's metrics; -1 where it has
// none.
long ProgramAdvance(std::string_view program, unsigned glyph)
{
    const std::string_view head = TrueTypeTable(program, "head");
    const std::string_view hhea = TrueTypeTable(program, "hhea");
    const std::string_view metrics = TrueTypeTable(program, "hmtx");
    const unsigned unitsPerEm = U16(head, 18);
    const unsigned longMetrics = U16(hhea, 34);
    if (unitsPerEm == 0 || longMetrics == 0 || metrics.size() < longMetrics * 4)
        return -1;
    return long(U16(metrics, std::min(glyph, longMetrics - 1) * 4)) * 1000 / unitsPerEm;
}

// Whether each width of the composite font's /W is the advance its glyph has in the program,
// give or take the rounding of a thousandth.
bool GlyphWidthsMatchProgram(Object font, Object descriptor)
{
    Object file = descriptor.getKey("/FontFile2");
    Object widths = font.getKey("/W");
    if (!file.isStream() || !widths.isArray())
        return false;
    const std::string program = StreamBytes(file);
    Object map = font.getKey("/CIDToGIDMap");
    const std::string glyphOf = map.isStream() ? StreamBytes(map) : std::string();
    const auto matches = [&](unsigned cid, double width) {
        const unsigned glyph = map.isStream() ? U16(glyphOf, cid * 2) : cid;
        const long advance = ProgramAdvance(program, glyph);
        return advance >= 0 && std::abs(double(advance) - width) <= 1;
    };
    // Runs are "first [w w ...]" or "first last w".
    for (int index = 0; index + 1 < widths.getArrayNItems();) {
        const auto first = static_cast<unsigned>(widths.getArrayItem(index).getIntValue());
        Object next = widths.getArrayItem(index + 1);
        if (next.isArray()) {
            for (int i = 0; i < next.getArrayNItems(); ++i)
                if (!matches(first + unsigned(i), next.getArrayItem(i).getNumericValue()))
                    return false;
            index += 2;
            continue;
        }
        if (index + 2 >= widths.getArrayNItems())
            return false;
        for (auto cid = first; cid <= static_cast<unsigned>(next.getIntValue()); ++cid)
            if (!matches(cid, widths.getArrayItem(index + 2).getNumericValue()))
                return false;
        index += 3;
    }
    return true;
}

// --- fonts ---------------------------------------------------------------------------------

bool FontEmbedded(Object font)
{
    if (font.getKey("/Subtype").isNameAndEquals("/Type0"))
        font = font.getKey("/DescendantFonts").getArrayItem(0);
    Object descriptor = font.getKey("/FontDescriptor");
    if (!descriptor.isDictionary())
        return false;
    if (font.getKey("/Subtype").isNameAndEquals("/Type1"))
        return LetterWidthsMatchProgram(font, descriptor);
    if (font.getKey("/Subtype").isNameAndEquals("/CIDFontType2"))
        return GlyphWidthsMatchProgram(font, descriptor);
    return descriptor.getKey("/FontFile2").isStream() || descriptor.getKey("/FontFile3").isStream();
}

// Whether a shown string draws a .notdef: glyph 0 of a composite font, a code without width in
// a simple one.
bool DrawsNotdef(Object font, const std::string& shown)
{
    if (font.getKey("/Subtype").isNameAndEquals("/Type0")) {
        for (std::size_t i = 0; i + 1 < shown.size(); i += 2)
            if (shown[i] == 0 && shown[i + 1] == 0)
                return true;
        return false;
    }
    const long long first = font.getKey("/FirstChar").getIntValue();
    Object widths = font.getKey("/Widths");
    // The codes WinAnsiEncoding leaves without a glyph name.
    const std::string_view winAnsiUndefined = "\x81\x8D\x8F\x90\x9D";
    const bool winAnsi = font.getKey("/Encoding").isNameAndEquals("/WinAnsiEncoding");
    for (const unsigned char code : shown) {
        const long long index = code - first;
        if (index < 0 || index >= widths.getArrayNItems() || widths.getArrayItem(int(index)).getNumericValue() == 0 ||
            (winAnsi && winAnsiUndefined.find(char(code)) != std::string_view::npos))
            return true;
    }
    return false;
}

// --- marked content ------------------------------------------------------------------------

struct Mark {
    bool artifact = false;
    long long mcid = -1;
};

class ContentWalker : public QPDFObjectHandle::ParserCallbacks {
public:
    ContentWalker(Object resources, std::set<ArchivalRule>& broken, int& artifactTexts)
        : m_fonts(resources.getKey("/Font")), m_broken(broken), m_artifactTexts(artifactTexts)
    {
    }

    void handleObject(QPDFObjectHandle object) override
    {
        if (!object.isOperator()) {
            m_operands.push_back(object);
            return;
        }
        const std::string op = object.getOperatorValue();
        if (op == "BDC" || op == "BMC")
            Begin(op == "BDC");
        else if (op == "EMC" && m_marks.empty())
            m_broken.insert(ArchivalRule::MarkedContent);
        else if (op == "EMC")
            m_marks.pop_back();
        else if (op == "Tf" && !m_operands.empty())
            m_font = m_fonts.getKey(m_operands.front().getName());
        else if (op == "Tj" || op == "TJ" || op == "'" || op == "\"")
            Shown(m_operands.back());
        m_operands.clear();
    }
    void handleEOF() override
    {
        if (!m_marks.empty())
            m_broken.insert(ArchivalRule::MarkedContent);
    }

    std::map<long long, std::string> textByMcid;

private:
    void Begin(bool withProperties)
    {
        Mark mark;
        mark.artifact = !m_operands.empty() && m_operands.front().isNameAndEquals("/Artifact");
        if (withProperties && m_operands.size() == 2 && m_operands[1].isDictionary() &&
            m_operands[1].getKey("/MCID").isInteger())
            mark.mcid = m_operands[1].getKey("/MCID").getIntValue();
        m_marks.push_back(mark);
    }

    void Shown(Object operand)
    {
        std::string shown;
        if (operand.isString())
            shown = operand.getStringValue();
        for (int i = 0; operand.isArray() && i < operand.getArrayNItems(); ++i)
            if (operand.getArrayItem(i).isString())
                shown += operand.getArrayItem(i).getStringValue();
        if (m_font.isDictionary() && DrawsNotdef(m_font, shown))
            m_broken.insert(ArchivalRule::NoNotdef);
        if (m_marks.empty() || (!m_marks.back().artifact && m_marks.back().mcid < 0))
            m_broken.insert(ArchivalRule::MarkedContent);
        else if (m_marks.back().artifact)
            ++m_artifactTexts;
        else
            textByMcid[m_marks.back().mcid] += shown;
    }

    Object m_fonts;
    Object m_font = Object::newNull();
    std::vector<Object> m_operands;
    std::vector<Mark> m_marks;
    std::set<ArchivalRule>& m_broken;
    int& m_artifactTexts;
};

bool HoldsMcid(Object element, long long mcid)
{
    Object kids = element.getKey("/K");
    if (!kids.isArray())
        kids = Object::newArray({kids});
    for (int i = 0; i < kids.getArrayNItems(); ++i) {
        Object kid = kids.getArrayItem(i);
        if ((kid.isInteger() && kid.getIntValue() == mcid) ||
            (kid.isDictionary() && kid.getKey("/MCID").isInteger() && kid.getKey("/MCID").getIntValue() == mcid))
            return true;
    }
    return false;
}

// The parent tree's array for a page's StructParents; a flat /Nums is what we write.
Object ParentsOf(Object structRoot, Object page)
{
    Object nums = structRoot.getKey("/ParentTree").getKey("/Nums");
    Object key = page.getKey("/StructParents");
    for (int i = 0; key.isInteger() && i + 1 < nums.getArrayNItems(); i += 2)
        if (nums.getArrayItem(i).getIntValue() == key.getIntValue())
            return nums.getArrayItem(i + 1);
    return Object::newNull();
}

// --- document-level rules ------------------------------------------------------------------

std::string XmpValue(const std::string& xmp, const std::string& element)
{
    const std::size_t open = xmp.find("<" + element + ">");
    if (open == std::string::npos)
        return "\x01missing";
    std::size_t start = open + element.size() + 2;
    // A language alternative holds its value in an rdf:li.
    if (xmp.compare(start, 8, "<rdf:Alt") == 0)
        start = xmp.find('>', xmp.find("<rdf:li", start)) + 1;
    return xmp.substr(start, xmp.find('<', start) - start);
}

// "D:20261207210648Z00'00'" as XMP spells it; only times in UTC are taken.
std::string XmpDate(const std::string& pdfDate)
{
    if (pdfDate.size() < 17 || pdfDate[16] != 'Z' || (pdfDate.size() > 17 && pdfDate.substr(17) != "00'00'"))
        return "\x02";
    const std::string d = pdfDate.substr(2);
    return d.substr(0, 4) + "-" + d.substr(4, 2) + "-" + d.substr(6, 2) + "T" + d.substr(8, 2) + ":" +
           d.substr(10, 2) + ":" + d.substr(12, 2) + "Z";
}

bool MetadataAgrees(QPDF& pdf)
{
    Object stream = pdf.getRoot().getKey("/Metadata");
    if (!stream.isStream() || stream.getDict().hasKey("/Filter"))
        return false;
    const auto data = stream.getRawStreamData();
    const std::string xmp(reinterpret_cast<const char*>(data->getBuffer()), data->getSize());
    Object info = pdf.getTrailer().getKey("/Info");
    const auto entry = [&](const char* key) {
        return info.getKey(key).isString() ? info.getKey(key).getUTF8Value() : std::string("\x03");
    };
    return XmpValue(xmp, "pdfaid:part") == "2" && XmpValue(xmp, "pdfaid:conformance") == "U" &&
           !entry("/Title").empty() && XmpValue(xmp, "dc:title") == entry("/Title") &&
           XmpValue(xmp, "pdf:Producer") == entry("/Producer") &&
           XmpValue(xmp, "xmp:CreateDate") == XmpDate(entry("/CreationDate")) &&
           XmpValue(xmp, "xmp:ModifyDate") == XmpDate(entry("/ModDate"));
}

bool HasOutputIntent(QPDF& pdf)
{
    Object intents = pdf.getRoot().getKey("/OutputIntents");
    if (!intents.isArray() || intents.getArrayNItems() != 1)
        return false;
    Object intent = intents.getArrayItem(0);
    Object profile = intent.getKey("/DestOutputProfile");
    if (!intent.getKey("/S").isNameAndEquals("/GTS_PDFA1") || !profile.isStream() ||
        profile.getDict().getKey("/N").getIntValue() != 3)
        return false;
    const auto data = profile.getStreamData(qpdf_dl_generalized);
    const std::string icc(reinterpret_cast<const char*>(data->getBuffer()), data->getSize());
    return icc.size() > 40 && icc.substr(36, 4) == "acsp" && icc.substr(16, 4) == "RGB ";
}

bool HasDocumentOfParagraphs(QPDF& pdf)
{
    Object root = pdf.getRoot().getKey("/StructTreeRoot");
    Object document = root.isDictionary() ? root.getKey("/K") : Object::newNull();
    if (!document.isDictionary() || !document.getKey("/S").isNameAndEquals("/Document") ||
        !pdf.getRoot().getKey("/MarkInfo").getKey("/Marked").isBool() ||
        !pdf.getRoot().getKey("/MarkInfo").getKey("/Marked").getBoolValue())
        return false;
    Object kids = document.getKey("/K");
    for (int i = 0; i < kids.getArrayNItems(); ++i)
        if (!kids.getArrayItem(i).getKey("/S").isNameAndEquals("/P"))
            return false;
    return kids.isArray();
}

bool ViewerSettings(QPDF& pdf)
{
    Object lang = pdf.getRoot().getKey("/Lang");
    Object display = pdf.getRoot().getKey("/ViewerPreferences").getKey("/DisplayDocTitle");
    return lang.isString() && !lang.getUTF8Value().empty() && display.isBool() && display.getBoolValue();
}

bool HasFileIdentifier(QPDF& pdf)
{
    Object id = pdf.getTrailer().getKey("/ID");
    return id.isArray() && id.getArrayNItems() == 2 && id.getArrayItem(0).isString() && id.getArrayItem(1).isString();
}

// Walks every page: fonts, shown codes, marked content and its parents; collects the
// paragraphs' text.
void CheckPages(QPDF& pdf, ArchivalReport& report)
{
    Object structRoot = pdf.getRoot().getKey("/StructTreeRoot");
    std::map<QPDFObjGen, std::string> textOfElement;
    std::vector<QPDFObjGen> order;
    for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(pdf).getAllPages()) {
        Object resources = page.getAttribute("/Resources", false);
        for (auto& [name, font] : resources.getKey("/Font").ditems())
            if (!FontEmbedded(font))
                report.broken.insert(ArchivalRule::FontsEmbedded);
        ContentWalker walker(resources, report.broken, report.artifactTexts);
        page.parseContents(&walker);
        Object parents = structRoot.isDictionary() ? ParentsOf(structRoot, page.getObjectHandle()) : Object::newNull();
        for (const auto& [mcid, text] : walker.textByMcid) {
            Object element = parents.isArray() && mcid < parents.getArrayNItems() ? parents.getArrayItem(int(mcid)) : Object::newNull();
            if (!element.isDictionary() || !HoldsMcid(element, mcid)) {
                report.broken.insert(ArchivalRule::MarkedContent);
                continue;
            }
            if (!textOfElement.count(element.getObjGen()))
                order.push_back(element.getObjGen());
            textOfElement[element.getObjGen()] += text;
        }
    }
    for (const QPDFObjGen& element : order)
        report.paragraphs.push_back(textOfElement[element]);
}

// XMP metadata, output intents and marked content need 1.4; the header, which a catalog's
// /Version may raise, must say so.
bool RecentEnoughVersion(QPDF& pdf)
{
    QPDFObjectHandle catalogVersion = pdf.getRoot().getKey("/Version");
    const std::string version = catalogVersion.isName() ? catalogVersion.getName().substr(1) : "";
    return pdf.getPDFVersion() >= "1.4" || version >= "1.4";
}

} // namespace

ArchivalReport CheckArchival(const std::string& pdfPath)
{
    ArchivalReport report;
    QPDF pdf;
    pdf.processFile(pdfPath.c_str());
    const std::pair<ArchivalRule, bool> documentRules[] = {
        {ArchivalRule::Metadata, MetadataAgrees(pdf)},
        {ArchivalRule::OutputIntent, HasOutputIntent(pdf)},
        {ArchivalRule::FileIdentifier, HasFileIdentifier(pdf)},
        {ArchivalRule::NoEncryption, !pdf.isEncrypted()},
        {ArchivalRule::StructureTree, HasDocumentOfParagraphs(pdf)},
        {ArchivalRule::Viewer, ViewerSettings(pdf)},
        {ArchivalRule::Version, RecentEnoughVersion(pdf)},
    };
    for (const auto& [rule, kept] : documentRules)
        if (!kept)
            report.broken.insert(rule);
    CheckPages(pdf, report);
    return report;
}
