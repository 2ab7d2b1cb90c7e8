#include "conversion/ArchivalPdf.h"

#include "conversion/PdfRewrite.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFWriter.hh>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

namespace {

using Object = QPDFObjectHandle;

// One instant in the two spellings a document gives it: its information's and its XMP's.
struct Instant {
    std::string pdf; // D:20261207210648Z
    std::string xmp; // 2026-12-07T21:06:48Z
};

Instant Now()
{
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char pdf[32];
    char xmp[32];
    std::strftime(pdf, sizeof pdf, "D:%Y%m%d%H%M%SZ", &utc);
    std::strftime(xmp, sizeof xmp, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return {pdf, xmp};
}

std::string XmlEscaped(const std::string& text)
{
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

std::string InformationText(Object info, const char* key)
{
    Object value = info.isDictionary() ? info.getKey(key) : Object::newNull();
    return value.isString() ? value.getUTF8Value() : std::string();
}

// The XMP packet: what the document information says, with the conformance it claims.
std::string MetadataPacket(Object info, const Instant& made)
{
    const auto text = [&](const char* key) { return XmlEscaped(InformationText(info, key)); };
    const auto alternative = [](const std::string& value) {
        return "<rdf:Alt><rdf:li xml:lang=\"x-default\">" + value + "</rdf:li></rdf:Alt>";
    };
    std::string body = "<pdfaid:part>2</pdfaid:part><pdfaid:conformance>U</pdfaid:conformance>"
                       "<dc:format>application/pdf</dc:format>"
                       "<dc:title>" + alternative(text("/Title")) + "</dc:title>"
                       "<pdf:Producer>" + text("/Producer") + "</pdf:Producer>"
                       "<xmp:CreateDate>" + made.xmp + "</xmp:CreateDate>"
                       "<xmp:ModifyDate>" + made.xmp + "</xmp:ModifyDate>"
                       "<xmp:MetadataDate>" + made.xmp + "</xmp:MetadataDate>";
    if (const std::string author = text("/Author"); !author.empty())
        body += "<dc:creator><rdf:Seq><rdf:li>" + author + "</rdf:li></rdf:Seq></dc:creator>";
    if (const std::string subject = text("/Subject"); !subject.empty())
        body += "<dc:description>" + alternative(subject) + "</dc:description>";
    if (const std::string keywords = text("/Keywords"); !keywords.empty())
        body += "<pdf:Keywords>" + keywords + "</pdf:Keywords>";
    if (const std::string creator = text("/Creator"); !creator.empty())
        body += "<xmp:CreatorTool>" + creator + "</xmp:CreatorTool>";
    return "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
           "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">"
           "<rdf:Description rdf:about=\"\" xmlns:pdfaid=\"http://www.aiim.org/pdfa/ns/id/\" "
           "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:pdf=\"http://ns.adobe.com/pdf/1.3/\" "
           "xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\">" +
           body + "</rdf:Description></rdf:RDF></x:xmpmeta>\n<?xpacket end=\"w\"?>";
}

void AddMetadata(QPDF& pdf, const Instant& made)
{
    Object info = pdf.getTrailer().getKey("/Info");
    if (!info.isDictionary()) {
        info = pdf.makeIndirectObject(Object::newDictionary());
        pdf.getTrailer().replaceKey("/Info", info);
    }
    info.replaceKey("/CreationDate", Object::newString(made.pdf));
    info.replaceKey("/ModDate", Object::newString(made.pdf));
    Object metadata = Object::newStream(&pdf, MetadataPacket(info, made));
    metadata.getDict().replaceKey("/Type", Object::newName("/Metadata"));
    metadata.getDict().replaceKey("/Subtype", Object::newName("/XML"));
    pdf.getRoot().replaceKey("/Metadata", metadata);
}

std::string ReadProfile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::string bytes;
    if (file)
        bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (file.bad() || bytes.empty())
        throw std::runtime_error("the sRGB colour profile \"" + path +
                                 "\" cannot be read (it comes with the package libgs-common)");
    return bytes;
}

void AddOutputIntent(QPDF& pdf, const std::string& profilePath)
{
    Object profile = Object::newStream(&pdf, ReadProfile(profilePath));
    profile.getDict().replaceKey("/N", Object::newInteger(3));
    Object intent = Object::parse("<< /Type /OutputIntent /S /GTS_PDFA1 /OutputConditionIdentifier (sRGB IEC61966-2.1)"
                                  " /Info (sRGB IEC61966-2.1) >>");
    intent.replaceKey("/DestOutputProfile", profile);
    pdf.getRoot().replaceKey("/OutputIntents", Object::newArray({intent}));
}

Object StructureElement(QPDF& pdf, const char* type, Object parent)
{
    Object element = pdf.makeIndirectObject(Object::newDictionary());
    element.replaceKey("/Type", Object::newName("/StructElem"));
    element.replaceKey("/S", Object::newName(type));
    element.replaceKey("/P", parent);
    return element;
}

// The marked content of one paragraph: a plain MCID on the paragraph's first page, a reference
// with its page elsewhere.
Object ContentItems(const std::vector<MarkedPiece>& pieces, const std::vector<Object>& pages)
{
    std::vector<Object> items;
    for (const MarkedPiece& piece : pieces) {
        if (piece.page == pieces.front().page) {
            items.push_back(Object::newInteger(piece.mcid));
            continue;
        }
        Object reference = Object::newDictionary();
        reference.replaceKey("/Type", Object::newName("/MCR"));
        reference.replaceKey("/Pg", pages.at(std::size_t(piece.page)));
        reference.replaceKey("/MCID", Object::newInteger(piece.mcid));
        items.push_back(reference);
    }
    return Object::newArray(items);
}

// A Document element holding one P element per paragraph, and the parent tree that leads from
// each page's MCIDs back to their paragraphs.
void AddStructureTree(QPDF& pdf, const DocumentStructure& structure)
{
    const std::vector<Object> pages = pdf.getAllPages();
    if (int(pages.size()) != structure.pageCount)
        throw std::runtime_error("the pages do not match their marked content");
    Object root = pdf.makeIndirectObject(Object::parse("<< /Type /StructTreeRoot >>"));
    Object document = StructureElement(pdf, "/Document", root);
    std::vector<std::vector<Object>> parents(pages.size());
    std::vector<Object> paragraphs;
    for (const std::vector<MarkedPiece>& pieces : structure.paragraphs) {
        Object paragraph = StructureElement(pdf, "/P", document);
        paragraph.replaceKey("/Pg", pages.at(std::size_t(pieces.front().page)));
        paragraph.replaceKey("/K", ContentItems(pieces, pages));
        for (const MarkedPiece& piece : pieces) {
            std::vector<Object>& onPage = parents[std::size_t(piece.page)];
            onPage.resize(std::max(onPage.size(), std::size_t(piece.mcid) + 1), Object::newNull());
            onPage[std::size_t(piece.mcid)] = paragraph;
        }
        paragraphs.push_back(paragraph);
    }
    document.replaceKey("/K", Object::newArray(paragraphs));
    std::vector<Object> numbers;
    for (std::size_t page = 0; page < pages.size(); ++page) {
        Object dictionary = pages[page];
        dictionary.replaceKey("/StructParents", Object::newInteger(static_cast<long long>(page)));
        dictionary.replaceKey("/Tabs", Object::newName("/S"));
        numbers.push_back(Object::newInteger(static_cast<long long>(page)));
        numbers.push_back(Object::newArray(parents[page]));
    }
    Object parentTree = Object::newDictionary();
    parentTree.replaceKey("/Nums", Object::newArray(numbers));
    root.replaceKey("/K", document);
    root.replaceKey("/ParentTree", pdf.makeIndirectObject(parentTree));
    root.replaceKey("/ParentTreeNextKey", Object::newInteger(static_cast<long long>(pages.size())));
    pdf.getRoot().replaceKey("/StructTreeRoot", root);
    pdf.getRoot().replaceKey("/MarkInfo", Object::parse("<< /Marked true >>"));
}

// The library writes a filter as an array of one name, which qpdf would compress again.
void NameSingleFilters(QPDF& pdf)
{
    for (Object object : pdf.getAllObjects()) {
        if (!object.isStream())
            continue;
        Object filter = object.getDict().getKey("/Filter");
        if (filter.isArray() && filter.getArrayNItems() == 1)
            object.getDict().replaceKey("/Filter", filter.getArrayItem(0));
    }
}

void MakeArchival(QPDF& pdf, QPDFWriter& writer, const ArchivalFacts& facts)
{
    NameSingleFilters(pdf);
    AddMetadata(pdf, Now());
    AddOutputIntent(pdf, facts.iccProfilePath);
    AddStructureTree(pdf, facts.structure);
    Object catalog = pdf.getRoot();
    catalog.replaceKey("/Lang", Object::newUnicodeString(facts.language));
    catalog.replaceKey("/ViewerPreferences", Object::parse("<< /DisplayDocTitle true >>"));
    // The structure tree is thousands of small objects: in compressed object streams it costs
    // little. Streams already compressed stay as they are, and qpdf leaves the XMP uncompressed.
    writer.setCompressStreams(true);
    writer.setObjectStreamMode(qpdf_o_generate);
}

} // namespace

bool WriteArchival(std::string_view plainPdf, const ArchivalFacts& facts,
                   const std::function<bool(std::string_view)>& write, std::string& error)
{
    static constexpr RewriteWording kWording{"for its archival form", "making the archival form of", "Making the archival form of"};
    return RewritePdf(
        plainPdf, [&](QPDF& pdf, QPDFWriter& writer) { MakeArchival(pdf, writer, facts); }, kWording, write, error);
}
