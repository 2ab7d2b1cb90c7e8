#include "conversion/ArchivalPdf.h"

#include "conversion/LibharuPrivate.h"
#include "platform/Utf8.h"

#include <hpdf_pdfa.h>

#include <ctime>
#include <random>

namespace {

// One instant as the document information and the XMP write it.
struct Instant {
    HPDF_Date date{};
    std::string xmp; // 2026-12-07T21:06:48Z
};

Instant Now()
{
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char xmp[32];
    std::strftime(xmp, sizeof xmp, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return {{utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec, 'Z', 0, 0}, xmp};
}

// XML text in UTF-8: a text that is not UTF-8 is read as Latin-1, as the document information
// takes it.
std::string XmlText(const std::string& text)
{
    const bool latin1 = !HoldsMultiByteUtf8(text);
    std::string escaped;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '&')
            escaped += "&amp;";
        else if (c == '<')
            escaped += "&lt;";
        else if (c == '>')
            escaped += "&gt;";
        else if (latin1 && byte >= 0x80)
            escaped += {char(0xC0 | (byte >> 6)), char(0x80 | (byte & 0x3F))};
        else
            escaped += c;
    }
    return escaped;
}

std::string MetadataPacket(const ArchivalInformation& info, const std::string& date)
{
    const auto alternative = [](const std::string& value) {
        return "<rdf:Alt><rdf:li xml:lang=\"x-default\">" + XmlText(value) + "</rdf:li></rdf:Alt>";
    };
    std::string body = "<pdfaid:part>2</pdfaid:part><pdfaid:conformance>U</pdfaid:conformance>"
                       "<dc:format>application/pdf</dc:format>"
                       "<dc:title>" + alternative(info.title) + "</dc:title>"
                       "<pdf:Producer>" + XmlText(info.producer) + "</pdf:Producer>"
                       "<xmp:CreateDate>" + date + "</xmp:CreateDate>"
                       "<xmp:ModifyDate>" + date + "</xmp:ModifyDate>"
                       "<xmp:MetadataDate>" + date + "</xmp:MetadataDate>";
    if (!info.author.empty())
        body += "<dc:creator><rdf:Seq><rdf:li>" + XmlText(info.author) + "</rdf:li></rdf:Seq></dc:creator>";
    if (!info.subject.empty())
        body += "<dc:description>" + alternative(info.subject) + "</dc:description>";
    if (!info.keywords.empty())
        body += "<pdf:Keywords>" + XmlText(info.keywords) + "</pdf:Keywords>";
    if (!info.creator.empty())
        body += "<xmp:CreatorTool>" + XmlText(info.creator) + "</xmp:CreatorTool>";
    return "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
           "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">"
           "<rdf:Description rdf:about=\"\" xmlns:pdfaid=\"http://www.aiim.org/pdfa/ns/id/\" "
           "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:pdf=\"http://ns.adobe.com/pdf/1.3/\" "
           "xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\">" +
           body + "</rdf:Description></rdf:RDF></x:xmpmeta>\n<?xpacket end=\"w\"?>";
}

void AddMetadata(HPDF_Doc pdf, const ArchivalInformation& info)
{
    const Instant now = Now();
    HPDF_SetInfoDateAttr(pdf, HPDF_INFO_CREATION_DATE, now.date);
    HPDF_SetInfoDateAttr(pdf, HPDF_INFO_MOD_DATE, now.date);
    const LibharuDocument document(pdf);
    HPDF_Dict metadata = document.NewStream(MetadataPacket(info, now.xmp));
    if (!metadata)
        return;
    HPDF_Dict_AddName(metadata, "Type", "Metadata");
    HPDF_Dict_AddName(metadata, "Subtype", "XML");
    HPDF_Dict_Add(document.Catalog(), "Metadata", metadata);
}

// Two equal halves, as a new file has them: made of chance, so that files made in the same
// second differ.
void AddFileIdentifier(HPDF_Doc pdf)
{
    std::random_device chance;
    HPDF_BYTE id[16];
    for (HPDF_BYTE& byte : id)
        byte = static_cast<HPDF_BYTE>(chance());
    const LibharuDocument document(pdf);
    HPDF_Array pair = HPDF_Array_New(document.Memory());
    if (!pair)
        return;
    HPDF_Array_Add(pair, HPDF_Binary_New(document.Memory(), id, sizeof id));
    HPDF_Array_Add(pair, HPDF_Binary_New(document.Memory(), id, sizeof id));
    HPDF_Dict_Add(document.Trailer(), "ID", pair);
}

std::string Reference(std::size_t number)
{
    return std::to_string(number) + " 0 R";
}

// The marked content of one paragraph: a plain MCID on the paragraph's first page, a reference
// with its page elsewhere; the MCID alone for a paragraph on one page.
std::string ContentItems(const std::vector<MarkedPiece>& pieces, const std::vector<std::size_t>& pages)
{
    if (pieces.size() == 1)
        return std::to_string(pieces.front().mcid);
    std::string items = "[";
    for (const MarkedPiece& piece : pieces) {
        if (piece.page == pieces.front().page)
            items += std::to_string(piece.mcid) + ' ';
        else
            items += "<</Type /MCR /Pg " + Reference(pages[std::size_t(piece.page)]) + " /MCID " +
                     std::to_string(piece.mcid) + ">> ";
    }
    items.back() = ']';
    return items;
}

// The root of the structure tree with placeholders for its Document element and parent tree,
// which StructureObjects fills, and each page's key into the parent tree.
StructureNumbers AddStructureRoot(HPDF_Doc pdf, const DocumentStructure& structure)
{
    const LibharuDocument document(pdf);
    HPDF_Dict root = document.NewIndirectDictionary();
    HPDF_Dict element = document.NewIndirectDictionary();
    HPDF_Dict parentTree = document.NewIndirectDictionary();
    if (!root || !element || !parentTree)
        return {};
    HPDF_Dict_AddName(root, "Type", "StructTreeRoot");
    HPDF_Dict_Add(root, "K", element);
    HPDF_Dict_Add(root, "ParentTree", parentTree);
    HPDF_Dict_AddNumber(root, "ParentTreeNextKey", HPDF_INT32(structure.pages.size()));
    HPDF_Dict_Add(document.Catalog(), "StructTreeRoot", root);
    StructureNumbers numbers{LibharuDocument::ObjectNumber(root), LibharuDocument::ObjectNumber(element),
                             LibharuDocument::ObjectNumber(parentTree), {}};
    for (std::size_t page = 0; page < structure.pages.size(); ++page) {
        HPDF_Dict_AddNumber(structure.pages[page], "StructParents", HPDF_INT32(page));
        HPDF_Dict_AddName(structure.pages[page], "Tabs", "S");
        numbers.pages.push_back(LibharuDocument::ObjectNumber(structure.pages[page]));
    }
    return numbers;
}

void AddViewerEntries(HPDF_Doc pdf, const std::string& language)
{
    const LibharuDocument document(pdf);
    HPDF_Dict markInfo = HPDF_Dict_New(document.Memory());
    HPDF_Dict viewer = HPDF_Dict_New(document.Memory());
    if (!markInfo || !viewer)
        return;
    HPDF_Dict_Add(document.Catalog(), "MarkInfo", markInfo);
    HPDF_Dict_AddBoolean(markInfo, "Marked", HPDF_TRUE);
    HPDF_Dict_Add(document.Catalog(), "ViewerPreferences", viewer);
    HPDF_Dict_AddBoolean(viewer, "DisplayDocTitle", HPDF_TRUE);
    HPDF_Dict_Add(document.Catalog(), "Lang", HPDF_String_New(document.Memory(), language.c_str(), nullptr));
}

} // namespace

void AddOutputIntent(HPDF_Doc pdf, const std::string& profilePath)
{
    if (HPDF_OutputIntent profile = HPDF_LoadIccProfileFromFile(pdf, profilePath.c_str(), 3))
        HPDF_PDFA_AppendOutputIntents(pdf, "sRGB IEC61966-2.1", profile);
}

StructureNumbers AddArchivalEntries(HPDF_Doc pdf, const ArchivalFacts& facts)
{
    AddMetadata(pdf, facts.information);
    const StructureNumbers numbers = AddStructureRoot(pdf, facts.structure);
    AddViewerEntries(pdf, facts.language);
    AddFileIdentifier(pdf);
    // The library's header says 1.3 whatever the document holds; XMP metadata, output intents,
    // marked content and object streams came later.
    LibharuDocument(pdf).SetVersion(HPDF_VER_17);
    return numbers;
}

OwnObjects StructureObjects(const StructureNumbers& numbers, const DocumentStructure& structure,
                            std::size_t firstFree)
{
    OwnObjects own;
    own.added.reserve(structure.paragraphs.size());
    std::string kids;
    std::vector<std::string> parents(numbers.pages.size());
    const std::string documentElement = Reference(numbers.document);
    for (const std::vector<MarkedPiece>& pieces : structure.paragraphs) {
        const std::string paragraph = Reference(firstFree + own.added.size());
        own.added.push_back("<</S /P /P " + documentElement + " /Pg " +
                            Reference(numbers.pages[std::size_t(pieces.front().page)]) + " /K " +
                            ContentItems(pieces, numbers.pages) + ">>");
        kids += paragraph + ' ';
        for (const MarkedPiece& piece : pieces)
            parents[std::size_t(piece.page)] += paragraph + ' ';
    }
    // Without its optional /Type, as the P elements.
    own.replaced.emplace_back(numbers.document,
                              "<</S /Document /P " + Reference(numbers.root) + " /K [" + kids + "]>>");
    std::string tree = "<</Nums [";
    for (std::size_t page = 0; page < parents.size(); ++page)
        tree += std::to_string(page) + " [" + parents[page] + "] ";
    own.replaced.emplace_back(numbers.parentTree, tree + "]>>");
    return own;
}
